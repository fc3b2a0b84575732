#include "platform/desktop/simulated_ddc_monitor.h"

#include <algorithm>
#include <utility>

namespace tallowmere::platform {

namespace {

constexpr std::uint8_t destinationAddress = 0x6E;
constexpr std::uint8_t getVcpOpcode = 0x01;
constexpr std::uint8_t getVcpReplyOpcode = 0x02;
constexpr std::uint8_t setVcpOpcode = 0x03;
// A reply's checksum starts from the address the host reads it at.
constexpr std::uint8_t replyChecksumSeed = 0x50;

}  // namespace

std::int32_t SimulatedDdcMonitor::write(std::uint32_t chip, std::uint32_t offset, const std::uint8_t* bytes,
                                        std::uint32_t length) {
    Transfer transfer{Transfer::Kind::write, chip, offset, {bytes, bytes + length}, 0};
    std::unique_lock lock(mutex_);
    if (chip != chipAddress) {
        transfer.status = failureStatus;  // nobody answers at that address
    } else if (spec_.failingSends > 0) {
        --spec_.failingSends;
        transfer.status = failureStatus;
    } else {
        pendingReply_.clear();
        // [length | 0x80, opcode, data..., checksum]
        const auto& packet = transfer.bytes;
        const bool framed = offset == hostAddress && packet.size() >= 3 && (packet[0] & 0x80) != 0 &&
                            packet.size() == static_cast<std::size_t>(packet[0] & 0x7F) + 2;
        std::uint8_t checksum = destinationAddress ^ hostAddress;
        if (framed) {
            for (std::size_t i = 0; i + 1 < packet.size(); ++i) checksum ^= packet[i];
        }
        if (framed && checksum == packet.back() && packet[2] == brightnessCode) {
            const std::uint8_t opcode = packet[1];
            if (opcode == getVcpOpcode && packet.size() == 4) {
                if (!spec_.silent) pendingReply_ = replyToGet();
            } else if (opcode == setVcpOpcode && packet.size() == 6) {
                const unsigned value = static_cast<unsigned>(packet[3]) << 8 | packet[4];
                spec_.current = static_cast<std::uint16_t>(std::min<unsigned>(value, spec_.maximum));
            }
        }
    }
    lock.unlock();
    return record(std::move(transfer));
}

std::int32_t SimulatedDdcMonitor::read(std::uint32_t chip, std::uint32_t offset, std::uint8_t* buffer,
                                       std::uint32_t length) {
    Transfer transfer{Transfer::Kind::read, chip, offset, {}, failureStatus};
    std::unique_lock lock(mutex_);
    std::vector<std::uint8_t> reply;
    if (!queuedReplies_.empty()) {
        reply = std::move(queuedReplies_.front());
        queuedReplies_.pop_front();
    } else {
        reply = std::exchange(pendingReply_, {});
    }
    if (chip == chipAddress && offset == 0 && !reply.empty()) {
        reply.resize(length, 0);
        std::copy(reply.begin(), reply.end(), buffer);
        transfer.bytes = reply;
        transfer.status = 0;
    }
    lock.unlock();
    return record(std::move(transfer));
}

std::vector<std::uint8_t> SimulatedDdcMonitor::replyToGet() const {
    std::vector<std::uint8_t> reply{destinationAddress,
                                    0x88,  // eight bytes follow
                                    getVcpReplyOpcode,
                                    0x00,  // supported
                                    brightnessCode,
                                    spec_.vcpType,
                                    static_cast<std::uint8_t>(spec_.maximum >> 8),
                                    static_cast<std::uint8_t>(spec_.maximum & 0xFF),
                                    static_cast<std::uint8_t>(spec_.current >> 8),
                                    static_cast<std::uint8_t>(spec_.current & 0xFF)};
    std::uint8_t checksum = replyChecksumSeed;
    for (std::uint8_t byte : reply) checksum ^= byte;
    if (spec_.badChecksum) checksum ^= 0xFF;
    reply.push_back(checksum);
    return reply;
}

std::int32_t SimulatedDdcMonitor::record(Transfer transfer) {
    std::function<void(const Transfer&)> onTransfer;
    {
        std::lock_guard lock(mutex_);
        transfers_.push_back(transfer);
        onTransfer = onTransfer_;
    }
    if (onTransfer) onTransfer(transfer);
    return transfer.status;
}

std::uint16_t SimulatedDdcMonitor::current() const {
    std::lock_guard lock(mutex_);
    return spec_.current;
}

std::uint16_t SimulatedDdcMonitor::maximum() const {
    std::lock_guard lock(mutex_);
    return spec_.maximum;
}

void SimulatedDdcMonitor::setSpec(DdcMonitorSpec spec) {
    std::lock_guard lock(mutex_);
    spec_ = spec;
}

DdcMonitorSpec SimulatedDdcMonitor::spec() const {
    std::lock_guard lock(mutex_);
    return spec_;
}

void SimulatedDdcMonitor::queueReply(std::vector<std::uint8_t> reply) {
    std::lock_guard lock(mutex_);
    queuedReplies_.push_back(std::move(reply));
}

std::vector<SimulatedDdcMonitor::Transfer> SimulatedDdcMonitor::transfers() const {
    std::lock_guard lock(mutex_);
    return transfers_;
}

void SimulatedDdcMonitor::clearTransfers() {
    std::lock_guard lock(mutex_);
    transfers_.clear();
}

void SimulatedDdcMonitor::setOnTransfer(std::function<void(const Transfer&)> onTransfer) {
    std::lock_guard lock(mutex_);
    onTransfer_ = std::move(onTransfer);
}

}  // namespace tallowmere::platform
