#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/desktop/display_identity.h"
#include "platform/desktop/i2c_bus.h"
#include "platform/desktop/simulated_ddc_monitor.h"

namespace tallowmere::platform {

// The hardware behind a screen, as a scene or a test describes it.
struct DisplayHardwareSpec {
    // Absent: the display reports no EDID identity.
    std::optional<DisplayIdentity> identity{};
    // A level the display-services layer reads and sets (a built-in panel);
    // absent: a built-in screen starts at 1, an external one has none.
    std::optional<double> panelBrightness{};
    // A simulated monitor answering DDC/CI on the connection's bus.
    std::optional<DdcMonitorSpec> ddc{};
    // One of this machine's monitors ("card0-HDMI-A-1"): its EDID gives the
    // identity and its DDC bus is the real one.
    std::string systemMonitor{};
    bool operator==(const DisplayHardwareSpec&) const = default;
};

// The hardware state of one attached display, shared by the screen and
// the display-hardware functions, which background queues call: every
// member is safe from any thread.
class DisplayDevice {
public:
    DisplayDevice(const DisplayHardwareSpec& spec, bool isBuiltIn);
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    const std::optional<DisplayIdentity>& identity() const { return identity_; }
    // Any number a test sets, even one no panel would report.
    std::optional<double> panelBrightness() const;
    void setPanelBrightness(std::optional<double> level);
    // The connection's bus; null when the connection has no DDC channel.
    std::shared_ptr<I2cBus> bus() const { return bus_; }
    // The simulated monitor on the bus, if that is what answers there.
    std::shared_ptr<SimulatedDdcMonitor> monitor() const { return monitor_; }

private:
    std::optional<DisplayIdentity> identity_;
    mutable std::mutex mutex_;
    std::optional<double> panelBrightness_;
    std::shared_ptr<SimulatedDdcMonitor> monitor_;
    std::shared_ptr<I2cBus> bus_;
};

}  // namespace tallowmere::platform
