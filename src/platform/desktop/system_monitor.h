#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/display_identity.h"
#include "platform/desktop/i2c_bus.h"

namespace tallowmere::platform {

// One of this machine's own monitors, by its connector under
// /sys/class/drm ("card0-HDMI-A-1"): its identity from the EDID the
// connector read, and the I²C adapter of its DDC channel. A scene's screen
// names one to reach a real monitor.
struct SystemMonitor {
    std::string connector;
    DisplayIdentity identity;
    // The i2c-dev node of the connector's DDC bus; empty when it has none.
    std::filesystem::path busDevice;

    static constexpr const char* drmFolder = "/sys/class/drm";

    // A connector name is letters, digits and dashes: nothing that walks
    // out of the folder.
    static bool isConnectorName(std::string_view name);
    // The connected connectors, sorted by name.
    static std::vector<std::string> connectedConnectors(const std::filesystem::path& drm = drmFolder);
    // The monitor on `connector` when it is connected and its EDID reads.
    static std::optional<SystemMonitor> find(std::string_view connector,
                                             const std::filesystem::path& drm = drmFolder);
};

// A real DDC channel through i2c-dev: only the DDC/CI chip (0x37) is ever
// addressed. A write sends the offset byte (the host's address, 0x51) and
// then the packet, as the monitor expects it; a read takes the reply. The
// device opens on first use and stays open.
class LinuxDdcBus final : public I2cBus {
public:
    explicit LinuxDdcBus(std::filesystem::path device) : device_(std::move(device)) {}
    ~LinuxDdcBus() override;
    LinuxDdcBus(const LinuxDdcBus&) = delete;
    LinuxDdcBus& operator=(const LinuxDdcBus&) = delete;

    std::int32_t write(std::uint32_t chip, std::uint32_t offset, const std::uint8_t* bytes,
                       std::uint32_t length) override;
    std::int32_t read(std::uint32_t chip, std::uint32_t offset, std::uint8_t* buffer,
                      std::uint32_t length) override;

private:
    // The open device addressed at `chip`; -1 when it cannot be.
    int open(std::uint32_t chip);

    std::filesystem::path device_;
    std::mutex mutex_;
    int fd_ = -1;
};

}  // namespace tallowmere::platform
