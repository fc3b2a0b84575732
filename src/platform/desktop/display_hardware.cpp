#include "platform/desktop/display_hardware.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/desktop/desktop.h"
#include "platform/desktop/screen_arrangement.h"

namespace tallowmere::platform {

namespace {

constexpr const char* functionNames[] = {
    DisplayHardware::getBrightnessFunction,  DisplayHardware::setBrightnessFunction,
    DisplayHardware::infoDictionaryFunction, DisplayHardware::createServiceFunction,
    DisplayHardware::readI2CFunction,        DisplayHardware::writeI2CFunction,
};

// Registry entry ids: a framebuffer and its AV service per display.
std::uint64_t framebufferID(DisplayID id) { return 0x100000000ull + std::uint64_t{id} * 16; }
std::uint64_t avServiceID(DisplayID id) { return framebufferID(id) + 1; }

std::string framebufferPath(const Screen& screen) {
    const auto& identity = screen.device()->identity();
    if (identity && !identity->registryLocation.empty()) return identity->registryLocation;
    char path[160];
    std::snprintf(path, sizeof path, "IOService:/AppleARMPE/arm-io/%s@%u/%s",
                  screen.isBuiltIn() ? "disp0" : "dispext0", static_cast<unsigned>(screen.displayID()),
                  screen.isBuiltIn() ? DisplayHardware::builtInFramebufferName
                                     : DisplayHardware::externalFramebufferName);
    return path;
}

// The EDID UUID as the framebuffer reports it: vendor, then the product
// code low byte first, as the EDID stores it.
std::string edidUUID(const DisplayIdentity& identity) {
    char uuid[40];
    std::snprintf(uuid, sizeof uuid, "%04X%02X%02X-0000-0000-%04X-%012X", identity.vendor & 0xFFFF,
                  identity.product & 0xFF, (identity.product >> 8) & 0xFF, identity.serial & 0xFFFF,
                  identity.serial);
    return uuid;
}

}  // namespace

DisplayHardware& DisplayHardware::shared() { return Desktop::shared().displayHardware(); }

bool DisplayHardware::hasFunction(std::string_view name) const {
    std::lock_guard lock(mutex_);
    bool known = false;
    for (const char* function : functionNames) known = known || name == function;
    return known && !removed_.contains(name);
}

void DisplayHardware::removeFunction(std::string_view name) {
    std::lock_guard lock(mutex_);
    removed_.emplace(name);
}

std::shared_ptr<Screen> DisplayHardware::display(DisplayID id) const {
    for (auto& screen : screens_.onlineDisplaysFromAnyThread()) {
        if (screen->displayID() == id) return screen;
    }
    return nullptr;
}

std::int32_t DisplayHardware::getBrightness(DisplayID id, float& level) const {
    auto screen = display(id);
    auto panel = screen ? screen->device()->panelBrightness() : std::nullopt;
    if (!panel) return unsupportedStatus;
    level = static_cast<float>(*panel);
    return 0;
}

std::int32_t DisplayHardware::setBrightness(DisplayID id, float level) {
    auto screen = display(id);
    if (!screen || !screen->device()->panelBrightness() || !std::isfinite(level)) return unsupportedStatus;
    screen->device()->setPanelBrightness(std::clamp(static_cast<double>(level), 0.0, 1.0));
    return 0;
}

std::optional<PropertyValue::Dictionary> DisplayHardware::infoDictionary(DisplayID id) const {
    auto screen = display(id);
    if (!screen) return std::nullopt;
    PropertyValue::Dictionary info;
    const auto& identity = screen->device()->identity();
    std::string name = screen->localizedName();
    if (identity) {
        info["DisplayVendorID"] = identity->vendor;
        info["DisplayProductID"] = identity->product;
        if (identity->serial != 0) info["DisplaySerialNumber"] = identity->serial;
        if (!identity->productName.empty()) name = identity->productName;
        info["IODisplayLocation"] = framebufferPath(*screen);
    }
    info["DisplayProductName"] = PropertyValue::Dictionary{{"en_US", name}};
    return info;
}

std::uint32_t DisplayHardware::serialNumber(DisplayID id) const {
    auto screen = display(id);
    return screen && screen->device()->identity() ? screen->device()->identity()->serial : 0;
}

std::uint32_t DisplayHardware::vendorNumber(DisplayID id) const {
    auto screen = display(id);
    return screen && screen->device()->identity() ? screen->device()->identity()->vendor : 0;
}

std::uint32_t DisplayHardware::modelNumber(DisplayID id) const {
    auto screen = display(id);
    return screen && screen->device()->identity() ? screen->device()->identity()->product : 0;
}

std::vector<DisplayHardware::RegistryEntry> DisplayHardware::serviceRegistry() const {
    ++walks_;
    std::vector<RegistryEntry> entries;
    for (const auto& screen : screens_.onlineDisplaysFromAnyThread()) {
        const auto& identity = screen->device()->identity();
        RegistryEntry framebuffer{framebufferID(screen->displayID()),
                                  screen->isBuiltIn() ? builtInFramebufferName : externalFramebufferName,
                                  framebufferPath(*screen),
                                  {}};
        if (identity) {
            framebuffer.properties["EDID UUID"] = edidUUID(*identity);
            framebuffer.properties["DisplayAttributes"] = PropertyValue::Dictionary{
                {"ProductAttributes", PropertyValue::Dictionary{{"ProductName", identity->productName},
                                                                {"ManufacturerID", identity->manufacturerCode()},
                                                                {"SerialNumber", identity->serial}}}};
        }
        entries.push_back(std::move(framebuffer));
        entries.push_back({avServiceID(screen->displayID()), avServiceName, framebufferPath(*screen) + "/" + avServiceName,
                           {{"Location", screen->isBuiltIn() ? "Embedded" : "External"}}});
    }
    return entries;
}

std::shared_ptr<I2cBus> DisplayHardware::createAVService(std::uint64_t registryID) const {
    for (const auto& screen : screens_.onlineDisplaysFromAnyThread()) {
        if (avServiceID(screen->displayID()) != registryID) continue;
        if (auto bus = screen->device()->bus()) return bus;
        // A connection without a DDC channel: a service whose transfers fail.
        struct DeadBus final : I2cBus {
            std::int32_t write(std::uint32_t, std::uint32_t, const std::uint8_t*, std::uint32_t) override {
                return failureStatus;
            }
            std::int32_t read(std::uint32_t, std::uint32_t, std::uint8_t*, std::uint32_t) override {
                return failureStatus;
            }
        };
        return std::make_shared<DeadBus>();
    }
    return nullptr;
}

}  // namespace tallowmere::platform
