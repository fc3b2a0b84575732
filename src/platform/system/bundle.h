#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/base/property_value.h"

namespace tallowmere::platform {

// One file of the bundle's resources: "StatusOutline" of type "png".
struct BundleResource {
    std::string_view name;
    std::string_view type;
    std::string_view bytes;
};

// The program's bundle: its information property list, compiled into the
// program from resources/bundle/Info.plist.in (version numbers come from the
// build), and its resources (pictures and other files), compiled in from
// resources/bundle/ and from the art drawn at build time. Read-only for the
// whole run, except that a test may take a resource away or put one in.
class Bundle {
public:
    // The running program's bundle (the AppContext's shared instance).
    static Bundle& main();

    Bundle();

    const PropertyValue::Dictionary& infoDictionary() const { return info_; }
    // The value under `key`, if the information list has one.
    const PropertyValue* objectForInfoDictionaryKey(std::string_view key) const;
    std::optional<std::string> bundleIdentifier() const;

    // The bytes of the resource `name`.`type` (the type without its dot).
    std::optional<std::string_view> resource(std::string_view name, std::string_view type) const;
    // Tests: replaces the resource for this run, or takes it away (none).
    void setResource(std::string name, std::string type, std::optional<std::string> bytes);

private:
    PropertyValue::Dictionary info_;
    // What a test changed, by (name, type); none is a removed resource.
    std::map<std::pair<std::string, std::string>, std::optional<std::string>, std::less<>> replaced_;
};

}  // namespace tallowmere::platform
