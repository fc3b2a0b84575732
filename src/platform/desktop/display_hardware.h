#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/property_value.h"
#include "platform/desktop/i2c_bus.h"
#include "platform/desktop/screen.h"

namespace tallowmere::platform {

class ScreenArrangement;

// The display hardware as the system's display libraries show it, for the
// attached screens: built-in brightness (display services), each display's
// information dictionary, the service registry with a framebuffer entry and
// an AV service per external display, and the AV services' I²C transfers,
// which reach the display's DDC channel (a simulated monitor or, for a
// screen that names one, a real monitor's bus).
//
// The libraries' functions are found by name (`hasFunction`); a test
// removes one to stage a system that lacks it. Every member is safe from
// any thread: the brightness queue calls them. One per desktop.
class DisplayHardware {
public:
    static constexpr const char* getBrightnessFunction = "DisplayServicesGetBrightness";
    static constexpr const char* setBrightnessFunction = "DisplayServicesSetBrightness";
    static constexpr const char* infoDictionaryFunction = "CoreDisplay_DisplayCreateInfoDictionary";
    static constexpr const char* createServiceFunction = "IOAVServiceCreateWithService";
    static constexpr const char* readI2CFunction = "IOAVServiceReadI2C";
    static constexpr const char* writeI2CFunction = "IOAVServiceWriteI2C";

    // Registry entry names, and the AV service's "Location" values.
    static constexpr const char* builtInFramebufferName = "AppleCLCD2";
    static constexpr const char* externalFramebufferName = "IOMobileFramebufferShim";
    static constexpr const char* avServiceName = "DCPAVServiceProxy";

    // What the display-services calls answer for a display they cannot reach.
    static constexpr std::int32_t unsupportedStatus = static_cast<std::int32_t>(0xE00002C7);

    static DisplayHardware& shared();

    explicit DisplayHardware(const ScreenArrangement& screens) : screens_(screens) {}
    DisplayHardware(const DisplayHardware&) = delete;
    DisplayHardware& operator=(const DisplayHardware&) = delete;

    // --- The libraries ---------------------------------------------------------
    bool hasFunction(std::string_view name) const;
    void removeFunction(std::string_view name);

    // Display services: status 0 and the panel's level, for a display that
    // has one.
    std::int32_t getBrightness(DisplayID display, float& level) const;
    std::int32_t setBrightness(DisplayID display, float level);
    // Core display: "DisplayVendorID", "DisplayProductID",
    // "DisplaySerialNumber", "DisplayProductName" (by locale) and
    // "IODisplayLocation"; none for a display that is not attached.
    std::optional<PropertyValue::Dictionary> infoDictionary(DisplayID display) const;
    // The public display queries; 0 when unknown.
    std::uint32_t serialNumber(DisplayID display) const;
    std::uint32_t vendorNumber(DisplayID display) const;
    std::uint32_t modelNumber(DisplayID display) const;

    // --- The service registry --------------------------------------------------
    struct RegistryEntry {
        std::uint64_t registryID = 0;
        std::string name;
        std::string path;  // in the service plane
        PropertyValue::Dictionary properties;
    };
    // Every entry in the order a walk of the service plane meets them: per
    // display, its framebuffer, then its AV service when it is external.
    std::vector<RegistryEntry> serviceRegistry() const;
    // How many times the registry was walked.
    int registryWalkCount() const { return walks_; }
    // The AV service of a registry entry; null for an entry that is none.
    std::shared_ptr<I2cBus> createAVService(std::uint64_t registryID) const;

private:
    std::shared_ptr<Screen> display(DisplayID id) const;

    const ScreenArrangement& screens_;
    mutable std::mutex mutex_;
    std::set<std::string, std::less<>> removed_;
    mutable std::atomic<int> walks_{0};
};

}  // namespace tallowmere::platform
