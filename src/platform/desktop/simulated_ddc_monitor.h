#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/desktop/i2c_bus.h"

namespace tallowmere::platform {

// How a simulated monitor answers on its display bus.
struct DdcMonitorSpec {
    std::uint16_t maximum = 100;
    std::uint16_t current = 50;
    std::uint8_t vcpType = 0;  // byte 5 of a reply; hosts ignore it
    bool silent = false;       // takes packets but never replies
    bool badChecksum = false;  // replies with a broken checksum
    int failingSends = 0;      // this many writes fail before writes succeed
    bool operator==(const DdcMonitorSpec&) const = default;
};

// A monitor that speaks DDC/CI on the bus of its connection: at chip 0x37
// it takes Get and Set VCP Feature requests for brightness (code 0x10) and
// answers a Get with the reply the standard defines. Like a real monitor,
// it drops a request whose checksum (the XOR of the destination address
// 0x6E, the source address 0x51 and every byte of the packet) is wrong.
//
// Every transfer is recorded, so tests see what crossed the bus. A test may
// queue replies of its own, returned in place of the monitor's.
class SimulatedDdcMonitor final : public I2cBus {
public:
    struct Transfer {
        enum class Kind { write, read };
        Kind kind;
        std::uint32_t chip;
        std::uint32_t offset;
        std::vector<std::uint8_t> bytes;  // written, or returned by a read
        std::int32_t status;
        bool operator==(const Transfer&) const = default;
    };

    static constexpr std::uint32_t chipAddress = 0x37;
    static constexpr std::uint8_t hostAddress = 0x51;
    static constexpr std::uint8_t brightnessCode = 0x10;

    explicit SimulatedDdcMonitor(DdcMonitorSpec spec) : spec_(spec) {}

    std::int32_t write(std::uint32_t chip, std::uint32_t offset, const std::uint8_t* bytes,
                       std::uint32_t length) override;
    std::int32_t read(std::uint32_t chip, std::uint32_t offset, std::uint8_t* buffer,
                      std::uint32_t length) override;

    std::uint16_t current() const;
    std::uint16_t maximum() const;
    // Changes how it answers from now on (a test turning the monitor silent).
    void setSpec(DdcMonitorSpec spec);
    DdcMonitorSpec spec() const;
    // The next reads return these bytes, whatever was asked.
    void queueReply(std::vector<std::uint8_t> reply);
    std::vector<Transfer> transfers() const;
    void clearTransfers();
    // Runs at every transfer (from the transferring thread), after it is recorded.
    void setOnTransfer(std::function<void(const Transfer&)> onTransfer);

private:
    std::int32_t record(Transfer transfer);
    std::vector<std::uint8_t> replyToGet() const;

    mutable std::mutex mutex_;
    DdcMonitorSpec spec_;
    std::vector<std::uint8_t> pendingReply_;
    std::deque<std::vector<std::uint8_t>> queuedReplies_;
    std::vector<Transfer> transfers_;
    std::function<void(const Transfer&)> onTransfer_;
};

}  // namespace tallowmere::platform
