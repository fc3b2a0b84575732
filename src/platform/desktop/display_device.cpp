#include "platform/desktop/display_device.h"

#include "platform/desktop/system_monitor.h"

namespace tallowmere::platform {

DisplayDevice::DisplayDevice(const DisplayHardwareSpec& spec, bool isBuiltIn)
    : identity_(spec.identity),
      panelBrightness_(spec.panelBrightness ? spec.panelBrightness
                                            : isBuiltIn ? std::optional<double>(1.0) : std::nullopt) {
    if (!spec.systemMonitor.empty()) {
        if (auto monitor = SystemMonitor::find(spec.systemMonitor)) {
            const std::string location = identity_ ? identity_->registryLocation : std::string();
            identity_ = monitor->identity;
            identity_->registryLocation = location;
            if (!monitor->busDevice.empty()) bus_ = std::make_shared<LinuxDdcBus>(monitor->busDevice);
        }
        return;
    }
    if (spec.ddc) {
        monitor_ = std::make_shared<SimulatedDdcMonitor>(*spec.ddc);
        bus_ = monitor_;
    }
}

std::optional<double> DisplayDevice::panelBrightness() const {
    std::lock_guard lock(mutex_);
    return panelBrightness_;
}

void DisplayDevice::setPanelBrightness(std::optional<double> level) {
    std::lock_guard lock(mutex_);
    panelBrightness_ = level;
}

}  // namespace tallowmere::platform
