#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/property_value.h"
#include "platform/desktop/display_hardware.h"

namespace tallowmere::platform {
class Sleeper;
}

namespace tallowmere {

// The hardware side of brightness: which screens can be read and set, and
// how. Displays the display-services library reads are set through it;
// every other external screen is tied to one AV service of the registry by
// its identity and then read over DDC/CI. Blocking: run only on the
// brightness queue.
class DisplayBrightnessHardware {
public:
    using DisplayID = std::uint32_t;
    using Service = std::shared_ptr<platform::I2cBus>;

    struct Screen {
        DisplayID id = 0;
        std::string name;
        bool isBuiltin = false;
    };

    // A way to set one display's brightness, with the label its row shows.
    class Endpoint {
    public:
        Endpoint(std::string label, std::function<bool(double)> setter)
            : label_(std::move(label)), setter_(std::move(setter)) {}
        const std::string& label() const { return label_; }
        // False for a level that is not finite; otherwise the level, held
        // to 0.05...1, goes to the display, which answers whether it took it.
        bool set(double level) const;

    private:
        std::string label_;
        std::function<bool(double)> setter_;
    };

    struct Reading {
        std::shared_ptr<Endpoint> endpoint;
        double value = 0;  // 0...1
    };

    // One external display's AV service found in the registry, with the
    // identity of the framebuffer met before it.
    struct Candidate {
        std::string name;
        std::string manufacturer;
        std::int64_t serial = 0;
        std::string edid;  // upper case
        std::string location;
        std::uint64_t registryID = 0;
        Service service;
    };

    // The system's display functions, each looked up by name and empty when
    // the system lacks it, plus the public registry and display queries.
    struct Interfaces {
        std::function<std::int32_t(DisplayID, float* level)> getApple;
        std::function<std::int32_t(DisplayID, float level)> setApple;
        std::function<std::optional<platform::PropertyValue::Dictionary>(DisplayID)> displayInfo;
        std::function<Service(std::uint64_t registryEntry)> createService;
        std::function<std::int32_t(const Service&, std::uint32_t chip, std::uint32_t offset, std::uint8_t* buffer,
                                   std::uint32_t length)>
            readI2C, writeI2C;
        // The registry's service plane, walked from its root; empty when
        // the root entry cannot be had.
        std::function<std::vector<platform::DisplayHardware::RegistryEntry>()> serviceRegistry;
        std::function<std::uint32_t(DisplayID)> displaySerialNumber, displayVendorNumber, displayModelNumber;
        platform::Sleeper* sleeper = nullptr;

        // Looked up once per context, on first use.
        static std::shared_ptr<Interfaces> shared();
        static Interfaces load(platform::DisplayHardware& hardware, platform::Sleeper& sleeper);

        // The external AV services, in discovery order.
        std::vector<Candidate> walkRegistry() const;
        // Each screen's one best candidate, leaving out ambiguous screens and
        // services that more than one screen claims.
        std::map<DisplayID, Candidate> match(const std::vector<Screen>& screens,
                                             const std::vector<Candidate>& candidates) const;
    };

    // A reading for every screen whose brightness can be controlled.
    static std::map<DisplayID, Reading> read(const std::vector<Screen>& screens,
                                             const std::shared_ptr<Interfaces>& interfaces);

    DisplayBrightnessHardware() = delete;
};

}  // namespace tallowmere
