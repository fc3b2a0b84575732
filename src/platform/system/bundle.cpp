#include "platform/system/bundle.h"

#include "platform/base/property_list.h"
#include "platform/runtime/app_context.h"

#include <span>

namespace tallowmere::resources {
extern const std::string_view infoPlist;
extern const std::span<const platform::BundleResource> bundleResources;
}

namespace tallowmere::platform {

Bundle& Bundle::main() { return AppContext::current().shared<Bundle>(); }

Bundle::Bundle() {
    // Built from a file of the build; a broken one leaves the list empty, and
    // every reader has its own fallback for a missing value.
    if (auto read = PropertyList::read(resources::infoPlist); read.ok()) {
        if (const auto* dictionary = read->asDictionary()) info_ = *dictionary;
    }
}

const PropertyValue* Bundle::objectForInfoDictionaryKey(std::string_view key) const {
    auto it = info_.find(std::string(key));
    return it == info_.end() ? nullptr : &it->second;
}

std::optional<std::string> Bundle::bundleIdentifier() const {
    const PropertyValue* value = objectForInfoDictionaryKey("CFBundleIdentifier");
    const std::string* text = value ? value->asString() : nullptr;
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

std::optional<std::string_view> Bundle::resource(std::string_view name, std::string_view type) const {
    if (auto it = replaced_.find(std::pair{std::string(name), std::string(type)}); it != replaced_.end()) {
        if (!it->second) return std::nullopt;
        return std::string_view(*it->second);
    }
    for (const auto& entry : resources::bundleResources) {
        if (entry.name == name && entry.type == type) return entry.bytes;
    }
    return std::nullopt;
}

void Bundle::setResource(std::string name, std::string type, std::optional<std::string> bytes) {
    replaced_[std::pair{std::move(name), std::move(type)}] = std::move(bytes);
}

}  // namespace tallowmere::platform
