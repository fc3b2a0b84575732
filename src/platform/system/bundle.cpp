#include "platform/system/bundle.h"

#include "platform/base/property_list.h"
#include "platform/runtime/app_context.h"

namespace tallowmere::resources {
extern const std::string_view infoPlist;
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

}  // namespace tallowmere::platform
