#include "platform/system/tcp_socket_counters.h"

#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sock_diag.h>
#include <linux/tcp.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <array>
#include <cstddef>
#include <cstring>

#include "platform/system/unique_fd.h"

namespace tallowmere::platform {

namespace {

// One dump of a family's TCP sockets into `bytes`; false when the kernel
// refused or the answer broke off.
bool dumpFamily(int socket, std::uint8_t family, std::map<std::uint64_t, TcpSocketBytes>& bytes) {
    struct {
        nlmsghdr header;
        inet_diag_req_v2 request;
    } message{};
    message.header.nlmsg_len = sizeof message;
    message.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    message.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    message.request.sdiag_family = family;
    message.request.sdiag_protocol = IPPROTO_TCP;
    message.request.idiag_states = ~0u;  // closing connections still count
    message.request.idiag_ext = 1u << (INET_DIAG_INFO - 1);
    if (::send(socket, &message, sizeof message, 0) != static_cast<ssize_t>(sizeof message)) return false;

    alignas(nlmsghdr) std::array<char, 32768> buffer;
    for (;;) {
        const ssize_t received = ::recv(socket, buffer.data(), buffer.size(), 0);
        if (received <= 0) return false;
        int length = static_cast<int>(received);
        for (auto* header = reinterpret_cast<nlmsghdr*>(buffer.data()); NLMSG_OK(header, length);
             header = NLMSG_NEXT(header, length)) {
            if (header->nlmsg_type == NLMSG_DONE) return true;
            if (header->nlmsg_type == NLMSG_ERROR) return false;
            if (header->nlmsg_len < NLMSG_LENGTH(sizeof(inet_diag_msg))) continue;
            const auto* diag = static_cast<const inet_diag_msg*>(NLMSG_DATA(header));
            int attributesLength = static_cast<int>(header->nlmsg_len - NLMSG_LENGTH(sizeof *diag));
            for (auto* attribute = reinterpret_cast<rtattr*>(const_cast<inet_diag_msg*>(diag) + 1);
                 RTA_OK(attribute, attributesLength); attribute = RTA_NEXT(attribute, attributesLength)) {
                if (attribute->rta_type != INET_DIAG_INFO) continue;
                // Older kernels hand out a shorter structure: only what
                // arrived is read.
                tcp_info info{};
                const std::size_t payload = RTA_PAYLOAD(attribute);
                std::memcpy(&info, RTA_DATA(attribute), std::min(payload, sizeof info));
                if (payload < offsetof(tcp_info, tcpi_bytes_received) + sizeof info.tcpi_bytes_received) continue;
                bytes[diag->idiag_inode] = TcpSocketBytes{info.tcpi_bytes_received, info.tcpi_bytes_acked};
            }
        }
    }
}

}  // namespace

std::map<std::uint64_t, TcpSocketBytes> readTcpSocketBytes() {
    std::map<std::uint64_t, TcpSocketBytes> bytes;
    UniqueFd socket(::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG));
    if (!socket.isValid()) return bytes;
    for (const std::uint8_t family : {std::uint8_t{AF_INET}, std::uint8_t{AF_INET6}}) {
        if (!dumpFamily(socket.get(), family, bytes)) return {};
    }
    return bytes;
}

}  // namespace tallowmere::platform
