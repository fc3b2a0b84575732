#include "screen/display_brightness_hardware.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "platform/base/text.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/sleeper.h"
#include "screen/ddc_brightness_channel.h"

namespace tallowmere {

using platform::DisplayHardware;
using platform::PropertyValue;

namespace {

constexpr const char* panelLabel = "硬件亮度";
constexpr const char* ddcLabel = "硬件亮度 · DDC";

// The context's one set of looked-up functions.
struct SharedInterfaces {
    std::shared_ptr<DisplayBrightnessHardware::Interfaces> interfaces =
        std::make_shared<DisplayBrightnessHardware::Interfaces>(DisplayBrightnessHardware::Interfaces::load(
            DisplayHardware::shared(), platform::Sleeper::shared()));
};

const std::string* text(const PropertyValue::Dictionary& dictionary, const char* key) {
    auto found = dictionary.find(key);
    return found == dictionary.end() ? nullptr : found->second.asString();
}

std::optional<std::int64_t> integer(const PropertyValue::Dictionary& dictionary, const char* key) {
    auto found = dictionary.find(key);
    if (found == dictionary.end()) return std::nullopt;
    if (auto value = found->second.asInteger()) return value;
    if (auto real = found->second.asReal(); real && std::isfinite(*real)) return static_cast<std::int64_t>(*real);
    return std::nullopt;
}

std::string upperCased(std::string text) {
    for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return text;
}

// The screen's product name from its information: the "en_US" entry, else
// any other; the screen's own name when there is none.
std::string productName(const std::optional<PropertyValue::Dictionary>& info, const std::string& fallback) {
    if (!info) return fallback;
    auto names = info->find("DisplayProductName");
    if (names == info->end() || !names->second.asDictionary() || names->second.asDictionary()->empty()) return fallback;
    const auto& byLocale = *names->second.asDictionary();
    if (const auto* english = text(byLocale, "en_US")) return *english;
    for (const auto& [locale, name] : byLocale) {
        if (const auto* value = name.asString()) return *value;
    }
    return fallback;
}

int score(const DisplayBrightnessHardware::Interfaces& interfaces, const DisplayBrightnessHardware::Screen& screen,
          const std::optional<PropertyValue::Dictionary>& info, std::int64_t screenSerial,
          const DisplayBrightnessHardware::Candidate& candidate) {
    if (screenSerial > 0 && candidate.serial > 0 && screenSerial != candidate.serial) return 0;
    if (info && !candidate.location.empty()) {
        if (const auto* location = text(*info, "IODisplayLocation"); location && *location == candidate.location) {
            return 1000;
        }
    }
    std::optional<std::int64_t> vendorInfo = info ? integer(*info, "DisplayVendorID") : std::nullopt;
    std::optional<std::int64_t> productInfo = info ? integer(*info, "DisplayProductID") : std::nullopt;
    const auto vendor = vendorInfo ? static_cast<std::uint32_t>(*vendorInfo)
                                   : interfaces.displayVendorNumber ? interfaces.displayVendorNumber(screen.id) : 0;
    const auto product = productInfo ? static_cast<std::uint32_t>(*productInfo)
                                     : interfaces.displayModelNumber ? interfaces.displayModelNumber(screen.id) : 0;
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%04X%02X%02X", vendor & 0xFFFF, product & 0xFF, (product >> 8) & 0xFF);
    const bool edidMatch = vendor != 0 && product != 0 && candidate.edid.starts_with(prefix);
    const bool serialMatch = screenSerial > 0 && screenSerial == candidate.serial;
    const bool nameMatch = !candidate.name.empty() &&
                           platform::Text::equalIgnoringCase(candidate.name, productName(info, screen.name));
    if (edidMatch) return (serialMatch ? 150 : 100) + (nameMatch ? 10 : 0);
    return serialMatch && nameMatch ? 60 : 0;
}

}  // namespace

bool DisplayBrightnessHardware::Endpoint::set(double level) const {
    if (!std::isfinite(level)) return false;
    return setter_(std::clamp(level, 0.05, 1.0));
}

std::shared_ptr<DisplayBrightnessHardware::Interfaces> DisplayBrightnessHardware::Interfaces::shared() {
    return platform::AppContext::current().shared<SharedInterfaces>().interfaces;
}

DisplayBrightnessHardware::Interfaces DisplayBrightnessHardware::Interfaces::load(DisplayHardware& hardware,
                                                                                  platform::Sleeper& sleeper) {
    Interfaces interfaces;
    auto* h = &hardware;
    if (h->hasFunction(DisplayHardware::getBrightnessFunction)) {
        interfaces.getApple = [h](DisplayID id, float* level) { return h->getBrightness(id, *level); };
    }
    if (h->hasFunction(DisplayHardware::setBrightnessFunction)) {
        interfaces.setApple = [h](DisplayID id, float level) { return h->setBrightness(id, level); };
    }
    if (h->hasFunction(DisplayHardware::infoDictionaryFunction)) {
        interfaces.displayInfo = [h](DisplayID id) { return h->infoDictionary(id); };
    }
    if (h->hasFunction(DisplayHardware::createServiceFunction)) {
        interfaces.createService = [h](std::uint64_t entry) { return h->createAVService(entry); };
    }
    if (h->hasFunction(DisplayHardware::readI2CFunction)) {
        interfaces.readI2C = [](const Service& service, std::uint32_t chip, std::uint32_t offset, std::uint8_t* buffer,
                                std::uint32_t length) { return service->read(chip, offset, buffer, length); };
    }
    if (h->hasFunction(DisplayHardware::writeI2CFunction)) {
        interfaces.writeI2C = [](const Service& service, std::uint32_t chip, std::uint32_t offset, std::uint8_t* buffer,
                                 std::uint32_t length) { return service->write(chip, offset, buffer, length); };
    }
    interfaces.serviceRegistry = [h] { return h->serviceRegistry(); };
    interfaces.displaySerialNumber = [h](DisplayID id) { return h->serialNumber(id); };
    interfaces.displayVendorNumber = [h](DisplayID id) { return h->vendorNumber(id); };
    interfaces.displayModelNumber = [h](DisplayID id) { return h->modelNumber(id); };
    interfaces.sleeper = &sleeper;
    return interfaces;
}

std::vector<DisplayBrightnessHardware::Candidate> DisplayBrightnessHardware::Interfaces::walkRegistry() const {
    std::vector<Candidate> candidates;
    if (!createService || !readI2C || !writeI2C || !serviceRegistry) return candidates;
    Candidate framebuffer;
    std::set<std::uint64_t> used;
    for (const auto& entry : serviceRegistry()) {
        const auto& properties = entry.properties;
        if (entry.name.find(DisplayHardware::builtInFramebufferName) != std::string::npos ||
            entry.name.find(DisplayHardware::externalFramebufferName) != std::string::npos) {
            framebuffer = Candidate{};
            const auto* edid = text(properties, "EDID UUID");
            framebuffer.edid = edid ? upperCased(*edid) : std::string();
            framebuffer.location = entry.path;
            const auto* attributes = properties.contains("DisplayAttributes")
                                         ? properties.at("DisplayAttributes").asDictionary()
                                         : nullptr;
            const auto product = attributes && attributes->contains("ProductAttributes")
                                     ? attributes->at("ProductAttributes").asDictionary()
                                     : nullptr;
            if (product) {
                const auto* name = text(*product, "ProductName");
                const auto* manufacturer = text(*product, "ManufacturerID");
                framebuffer.name = name ? *name : std::string();
                framebuffer.manufacturer = manufacturer ? *manufacturer : std::string();
                framebuffer.serial = integer(*product, "SerialNumber").value_or(0);
            }
            continue;
        }
        if (entry.name.find(DisplayHardware::avServiceName) == std::string::npos) continue;
        const auto* location = text(properties, "Location");
        if (!location || *location != "External") continue;
        // This monitor model is known to misbehave on DDC writes.
        if (framebuffer.manufacturer == "AOC" && framebuffer.name == "28E850") continue;
        if (!used.insert(entry.registryID).second) continue;
        if (auto service = createService(entry.registryID)) {
            Candidate candidate = framebuffer;
            candidate.registryID = entry.registryID;
            candidate.service = std::move(service);
            candidates.push_back(std::move(candidate));
        }
    }
    return candidates;
}

std::map<DisplayBrightnessHardware::DisplayID, DisplayBrightnessHardware::Candidate>
DisplayBrightnessHardware::Interfaces::match(const std::vector<Screen>& screens,
                                             const std::vector<Candidate>& candidates) const {
    std::map<DisplayID, Candidate> matches;
    for (const auto& screen : screens) {
        const auto info = displayInfo ? displayInfo(screen.id) : std::nullopt;
        std::optional<std::int64_t> infoSerial = info ? integer(*info, "DisplaySerialNumber") : std::nullopt;
        const std::int64_t serial = infoSerial ? *infoSerial
                                    : displaySerialNumber ? static_cast<std::int64_t>(displaySerialNumber(screen.id))
                                                          : 0;
        std::vector<std::pair<int, const Candidate*>> scored;
        for (const auto& candidate : candidates) {
            if (int points = score(*this, screen, info, serial, candidate); points > 0) scored.emplace_back(points, &candidate);
        }
        std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        if (scored.empty() || (scored.size() > 1 && scored[1].first == scored[0].first)) continue;
        matches.emplace(screen.id, *scored[0].second);
    }
    std::map<std::uint64_t, int> claims;
    for (const auto& [id, candidate] : matches) ++claims[candidate.registryID];
    std::erase_if(matches, [&](const auto& match) { return claims[match.second.registryID] > 1; });
    return matches;
}

std::map<DisplayBrightnessHardware::DisplayID, DisplayBrightnessHardware::Reading> DisplayBrightnessHardware::read(
    const std::vector<Screen>& screens, const std::shared_ptr<Interfaces>& interfaces) {
    std::map<DisplayID, Reading> readings;
    const Interfaces& functions = *interfaces;
    if (functions.getApple && functions.setApple) {
        for (const auto& screen : screens) {
            float level = 0;
            if (functions.getApple(screen.id, &level) != 0 || !(level >= 0 && level <= 1)) continue;
            auto setApple = functions.setApple;
            const DisplayID id = screen.id;
            auto endpoint = std::make_shared<Endpoint>(
                panelLabel, [setApple, id](double value) { return setApple(id, static_cast<float>(value)) == 0; });
            readings.emplace(screen.id, Reading{std::move(endpoint), level});
        }
    }
    std::vector<Screen> external;
    for (const auto& screen : screens) {
        if (!screen.isBuiltin && !readings.contains(screen.id)) external.push_back(screen);
    }
    if (external.empty() || !functions.readI2C) return readings;
    const auto matches = functions.match(external, functions.walkRegistry());
    for (const auto& screen : external) {
        auto found = matches.find(screen.id);
        if (found == matches.end() || !found->second.service) continue;
        const Service service = found->second.service;
        // The channel holds the looked-up functions alive with the service.
        auto channel = std::make_shared<DdcBrightnessChannel>(
            [interfaces, service](std::uint32_t chip, std::uint32_t offset, std::uint8_t* bytes, std::uint32_t length) {
                return interfaces->readI2C(service, chip, offset, bytes, length);
            },
            functions.writeI2C
                ? DdcBrightnessChannel::Transfer([interfaces, service](std::uint32_t chip, std::uint32_t offset,
                                                                       std::uint8_t* bytes, std::uint32_t length) {
                      return interfaces->writeI2C(service, chip, offset, bytes, length);
                  })
                : DdcBrightnessChannel::Transfer(),
            *functions.sleeper);
        const auto level = channel->readBrightness();
        if (!level) continue;
        const std::uint16_t maximum = level->maximum;
        auto endpoint = std::make_shared<Endpoint>(
            ddcLabel, [channel, maximum](double value) { return channel->setBrightness(value, maximum); });
        readings.emplace(screen.id, Reading{std::move(endpoint), static_cast<double>(level->current) / maximum});
    }
    return readings;
}

}  // namespace tallowmere
