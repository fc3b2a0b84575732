#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/base/property_value.h"

namespace tallowmere::platform {

// The program's bundle: its information property list, compiled into the
// program from resources/bundle/Info.plist.in (version numbers come from the
// build). Read-only for the whole run.
class Bundle {
public:
    // The running program's bundle (the AppContext's shared instance).
    static Bundle& main();

    Bundle();

    const PropertyValue::Dictionary& infoDictionary() const { return info_; }
    // The value under `key`, if the information list has one.
    const PropertyValue* objectForInfoDictionaryKey(std::string_view key) const;
    std::optional<std::string> bundleIdentifier() const;

private:
    PropertyValue::Dictionary info_;
};

}  // namespace tallowmere::platform
