#include "app/instance_channel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "platform/base/text.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/system_error.h"
#include "platform/system/system_log.h"

namespace tallowmere {

namespace fs = std::filesystem;
using platform::Error;
using platform::ErrorCode;
using platform::Result;
using SteadyClock = std::chrono::steady_clock;

struct InstanceChannel::Connection {
    platform::UniqueFd fd;
    std::string received;
    SteadyClock::time_point deadline;
    bool finished = false;
};

namespace {

constexpr const char* socketName = "instance.socket";
constexpr const char* lockName = "instance.lock";
constexpr std::string_view acceptedReply = "ok\n";
constexpr std::string_view refusedReply = "refused\n";
// A refusal that says why: "refused: <why>\n".
constexpr std::string_view refusedWithReason = "refused: ";
constexpr std::size_t maximumReplyBytes = 4096;
// How long a launch waits between looks at an instance that is still starting.
constexpr int retryMilliseconds = 20;

// The folder, created private to the user and checked to be theirs: nobody
// else may see the socket, let alone connect to it.
Result<platform::UniqueFd> openPrivateFolder(const fs::path& folder) {
    if (auto made = platform::Files::createDirectories(folder, 0700); !made) return made.error();
    platform::UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.isValid()) return platform::systemError(errno, "The folder " + folder.string() + " couldn\u2019t be opened");
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return platform::systemError(errno, "The folder " + folder.string() + " couldn\u2019t be read");
    }
    if (info.st_uid != ::geteuid()) {
        return Error{ErrorCode::permissionDenied, "The folder " + folder.string() + " belongs to another user", 0};
    }
    if ((info.st_mode & 077) != 0 && ::fchmod(fd.get(), 0700) != 0) {
        return platform::systemError(errno, "The folder " + folder.string() + " couldn\u2019t be made private");
    }
    return fd;
}

// The socket's address through the open folder, so that it neither depends
// on the length of the home folder's path nor on the path staying the same.
sockaddr_un socketAddress(int folderFd) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = "/proc/self/fd/" + std::to_string(folderFd) + "/" + socketName;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

// The lock, or an invalid descriptor when another instance holds it.
Result<platform::UniqueFd> tryLock(int folderFd) {
    platform::UniqueFd fd(::openat(folderFd, lockName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.isValid()) return platform::systemError(errno, "The instance lock couldn\u2019t be opened");
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) return fd;
    if (errno == EWOULDBLOCK) return platform::UniqueFd();
    return platform::systemError(errno, "The instance lock couldn\u2019t be taken");
}

Result<platform::UniqueFd> listenIn(int folderFd) {
    // Holding the lock proves that a socket left here belongs to an
    // instance that ended without removing it.
    ::unlinkat(folderFd, socketName, 0);
    platform::UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.isValid()) return platform::systemError(errno, "The instance socket couldn\u2019t be made");
    const sockaddr_un address = socketAddress(folderFd);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return platform::systemError(errno, "The instance socket couldn\u2019t be bound");
    }
    if (::listen(fd.get(), InstanceChannel::maximumConnections) != 0) {
        return platform::systemError(errno, "The instance socket couldn\u2019t listen");
    }
    return fd;
}

bool peerIsThisUser(int fd) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
           credentials.uid == ::geteuid();
}

int millisecondsUntil(SteadyClock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
}

// Waits until `fd` is ready for `events` or the deadline passes.
bool waitFor(int fd, short events, SteadyClock::time_point deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, millisecondsUntil(deadline));
        if (ready > 0) return true;
        if (ready == 0 || errno != EINTR) return false;
    }
}

Error notAnswered() {
    return Error{ErrorCode::timedOut, "The running instance of the program did not answer in time", 0};
}

// Hands the request to the instance listening in the folder. Nobody
// listening (yet) is notFound, so the caller can look again.
Result<void> handOver(int folderFd, const InstanceRequest& request, SteadyClock::time_point deadline) {
    platform::UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.isValid()) return platform::systemError(errno, "A socket couldn\u2019t be made");
    const sockaddr_un address = socketAddress(folderFd);
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        // Not bound yet, gone, or its backlog is full: worth another look.
        if (errno == ENOENT || errno == ECONNREFUSED || errno == EAGAIN) {
            return Error{ErrorCode::notFound, "No instance is listening", 0};
        }
        return platform::systemError(errno, "The running instance couldn\u2019t be reached");
    }
    if (!peerIsThisUser(fd.get())) {
        return Error{ErrorCode::permissionDenied, "The instance socket is served by another user", 0};
    }
    const std::string message = request.encoded();
    for (std::size_t sent = 0; sent < message.size();) {
        if (!waitFor(fd.get(), POLLOUT, deadline)) return notAnswered();
        const ssize_t written = ::send(fd.get(), message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (written > 0) {
            sent += static_cast<std::size_t>(written);
        } else if (errno != EAGAIN && errno != EINTR) {
            return platform::systemError(errno, "The request couldn\u2019t be sent");
        }
    }
    ::shutdown(fd.get(), SHUT_WR);
    std::string reply;
    char buffer[512];
    for (;;) {
        if (!waitFor(fd.get(), POLLIN, deadline)) return notAnswered();
        const ssize_t read = ::recv(fd.get(), buffer, sizeof buffer, 0);
        if (read == 0) break;
        if (read > 0) {
            reply.append(buffer, static_cast<std::size_t>(read));
            if (reply.size() > maximumReplyBytes) break;
        } else if (errno != EAGAIN && errno != EINTR) {
            return platform::systemError(errno, "The answer couldn\u2019t be read");
        }
    }
    if (reply == acceptedReply) return {};
    std::string why = "The running instance of the program refused the request";
    // The instance's own words, when it gave some that can be shown.
    if (reply.starts_with(refusedWithReason) && reply.ends_with("\n") && reply.size() <= maximumReplyBytes) {
        std::string given = reply.substr(refusedWithReason.size(), reply.size() - refusedWithReason.size() - 1);
        const bool printable = platform::Text::isValidUtf8(given) &&
                               std::none_of(given.begin(), given.end(), [](unsigned char c) { return c < 0x20 || c == 0x7f; });
        if (printable && !given.empty()) why += ": " + given;
    }
    return Error{ErrorCode::invalidArgument, why, 0};
}

void logDropped(const std::string& why) {
    platform::SystemLog::shared().log("Instance channel dropped a request: " + why);
}

SteadyClock::time_point deadlineAfter(double seconds) {
    return SteadyClock::now() +
           std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(seconds));
}

// Hands the request to the instance holding the lock, looking again while
// it is still starting; when nobody holds the lock, takes it and hands
// nothing (an invalid descriptor means the request was handed over).
Result<platform::UniqueFd> handOverOrLock(int folderFd, const InstanceRequest& request,
                                          SteadyClock::time_point deadline) {
    for (;;) {
        auto lock = tryLock(folderFd);
        if (!lock) return lock.error();
        if (lock->isValid()) return lock;
        auto handed = handOver(folderFd, request, deadline);
        if (handed) return platform::UniqueFd();
        if (handed.error().code != ErrorCode::notFound) return handed.error();
        // The lock is held but nobody listens: an instance starting or ending.
        if (SteadyClock::now() >= deadline) return notAnswered();
        ::poll(nullptr, 0, retryMilliseconds);
    }
}

}  // namespace

fs::path InstanceChannel::defaultFolder() {
    return platform::Paths::library() / "Caches" / "com.quenlow.tallowmere";
}

Result<InstanceChannel::Claim> InstanceChannel::claim(const fs::path& folder, const InstanceRequest& request,
                                                      RequestHandler onRequest, double timeout) {
    auto folderFd = openPrivateFolder(folder);
    if (!folderFd) return folderFd.error();
    auto lock = handOverOrLock(folderFd->get(), request, deadlineAfter(timeout));
    if (!lock) return lock.error();
    if (!lock->isValid()) return Claim{};
    auto channel = listenWithLock(folder, std::move(*folderFd), std::move(*lock), std::move(onRequest));
    if (!channel) return channel.error();
    return Claim{std::move(*channel)};
}

Result<std::unique_ptr<InstanceChannel>> InstanceChannel::claimWhenReleased(const fs::path& folder,
                                                                            RequestHandler onRequest, double timeout) {
    auto folderFd = openPrivateFolder(folder);
    if (!folderFd) return folderFd.error();
    const auto deadline = deadlineAfter(timeout);
    for (;;) {
        auto lock = tryLock(folderFd->get());
        if (!lock) return lock.error();
        if (lock->isValid()) return listenWithLock(folder, std::move(*folderFd), std::move(*lock), std::move(onRequest));
        if (SteadyClock::now() >= deadline) {
            return Error{ErrorCode::timedOut, "The running program did not quit in time", 0};
        }
        ::poll(nullptr, 0, retryMilliseconds);
    }
}

Result<std::unique_ptr<InstanceChannel>> InstanceChannel::listenWithLock(const fs::path& folder,
                                                                         platform::UniqueFd folderFd,
                                                                         platform::UniqueFd lock,
                                                                         RequestHandler onRequest) {
    auto listener = listenIn(folderFd.get());
    if (!listener) return listener.error();
    platform::UniqueFd stop(::eventfd(0, EFD_CLOEXEC));
    if (!stop.isValid()) return platform::systemError(errno, "The instance channel couldn\u2019t be made");
    return std::unique_ptr<InstanceChannel>(new InstanceChannel(std::move(folderFd), std::move(lock),
                                                                std::move(*listener), std::move(stop),
                                                                folder / socketName, std::move(onRequest)));
}

Result<void> InstanceChannel::send(const fs::path& folder, const InstanceRequest& request, double timeout) {
    auto folderFd = openPrivateFolder(folder);
    if (!folderFd) return folderFd.error();
    auto lock = handOverOrLock(folderFd->get(), request, deadlineAfter(timeout));
    if (!lock) return lock.error();
    if (lock->isValid()) return Error{ErrorCode::notFound, "The program is not running", 0};
    return {};
}

InstanceChannel::Reply::~Reply() { refuse(""); }

void InstanceChannel::Reply::accept() { send(acceptedReply); }

void InstanceChannel::Reply::refuse(const std::string& why) {
    // One line; the peer shows it as it is.
    std::string line;
    for (char c : why.substr(0, maximumReplyBytes - refusedWithReason.size() - 1)) {
        line += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    send(line.empty() ? std::string(refusedReply) : std::string(refusedWithReason) + line + "\n");
}

void InstanceChannel::Reply::send(std::string_view answer) {
    if (!peer_.isValid()) return;
    ::send(peer_.get(), answer.data(), answer.size(), MSG_NOSIGNAL);
    peer_ = platform::UniqueFd();
}

InstanceChannel::InstanceChannel(platform::UniqueFd folder, platform::UniqueFd lock, platform::UniqueFd listener, platform::UniqueFd stop,
                                 fs::path socketPath, RequestHandler onRequest)
    : folder_(std::move(folder)),
      lock_(std::move(lock)),
      listener_(std::move(listener)),
      stop_(std::move(stop)),
      socketPath_(std::move(socketPath)),
      onRequest_(std::move(onRequest)) {
    thread_ = std::thread([this] { serve(); });
}

InstanceChannel::~InstanceChannel() {
    const std::uint64_t one = 1;
    // An eventfd counter this small always takes the write.
    [[maybe_unused]] const ssize_t written = ::write(stop_.get(), &one, sizeof one);
    if (thread_.joinable()) thread_.join();
    ::unlinkat(folder_.get(), socketName, 0);
}

void InstanceChannel::serve() {
    std::vector<Connection> connections;
    std::vector<pollfd> entries;
    for (;;) {
        entries.clear();
        entries.push_back({stop_.get(), POLLIN, 0});
        entries.push_back({listener_.get(), POLLIN, 0});
        int timeout = -1;
        for (const Connection& connection : connections) {
            entries.push_back({connection.fd.get(), POLLIN, 0});
            const int left = millisecondsUntil(connection.deadline);
            timeout = timeout < 0 ? left : std::min(timeout, left);
        }
        const int ready = ::poll(entries.data(), entries.size(), timeout);
        if (ready < 0 && errno != EINTR) {
            logDropped(std::string("listening failed: ") + std::strerror(errno));
            return;
        }
        if (entries[0].revents != 0 || entries[1].revents & (POLLERR | POLLNVAL)) return;

        const auto now = SteadyClock::now();
        for (std::size_t i = 0; i < connections.size(); ++i) {
            Connection& connection = connections[i];
            if (ready > 0 && entries[i + 2].revents != 0) readFrom(connection);
            if (!connection.finished && now >= connection.deadline) {
                logDropped("no whole request within the deadline");
                connection.finished = true;
            }
        }
        std::erase_if(connections, [](const Connection& connection) { return connection.finished; });

        if (ready <= 0 || !(entries[1].revents & POLLIN)) continue;
        for (;;) {
            platform::UniqueFd peer(::accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
            if (!peer.isValid()) break;
            if (!peerIsThisUser(peer.get())) {
                logDropped("a peer of another user");
                continue;
            }
            if (connections.size() >= static_cast<std::size_t>(maximumConnections)) {
                logDropped("too many connections at once");
                continue;
            }
            connections.push_back(Connection{
                std::move(peer), {}, SteadyClock::now() + std::chrono::duration_cast<SteadyClock::duration>(
                                                             std::chrono::duration<double>(requestDeadline))});
        }
    }
}

void InstanceChannel::readFrom(Connection& connection) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t read = ::recv(connection.fd.get(), buffer, sizeof buffer, 0);
        if (read > 0) {
            if (connection.received.size() + static_cast<std::size_t>(read) > InstanceRequest::maximumBytes) {
                logDropped("a message over the size limit");
                ::send(connection.fd.get(), refusedReply.data(), refusedReply.size(), MSG_NOSIGNAL);
                connection.finished = true;
                return;
            }
            connection.received.append(buffer, static_cast<std::size_t>(read));
            continue;
        }
        if (read == 0) {  // the peer has said all it will say
            answer(connection);
            return;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return;
        logDropped(std::string("the connection failed: ") + std::strerror(errno));
        connection.finished = true;
        return;
    }
}

void InstanceChannel::answer(Connection& connection) {
    connection.finished = true;
    auto request = InstanceRequest::decode(connection.received);
    if (!request) {
        logDropped(request.error().message);
        ::send(connection.fd.get(), refusedReply.data(), refusedReply.size(), MSG_NOSIGNAL);
        return;
    }
    auto reply = std::make_shared<Reply>(std::move(connection.fd));
    if (onRequest_) {
        onRequest_(std::move(*request), std::move(reply));
    } else {
        reply->accept();
    }
}

}  // namespace tallowmere
