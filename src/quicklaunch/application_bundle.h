#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/property_value.h"

namespace tallowmere {

// An application bundle chosen by the user, read for what quick launch
// shows: its identifier and the names in its information lists. A bundle
// is a folder read for real (Contents/Info.plist and
// Contents/Resources/<language>.lproj/InfoPlist.strings); an application
// installed only on the simulated desktop stands in with its identifier
// and name.
class ApplicationBundle {
public:
    // Nothing when neither a folder nor an installed application is there.
    static std::optional<ApplicationBundle> open(const std::filesystem::path& path);

    const std::filesystem::path& path() const { return path_; }
    // Empty when Info.plist is missing or unreadable.
    const platform::PropertyValue::Dictionary& infoDictionary() const { return info_; }
    std::optional<std::string> bundleIdentifier() const;

    // Resources/<localization>.lproj/<table>.strings, when it exists and
    // reads as a dictionary.
    std::optional<platform::PropertyValue::Dictionary> stringsTable(std::string_view localization,
                                                                   std::string_view table) const;
    // InfoPlist.strings of the localization that best fits the user's
    // preferred languages (else the bundle's development region, else
    // English); empty when there is none.
    platform::PropertyValue::Dictionary localizedInfoDictionary() const;

private:
    ApplicationBundle(std::filesystem::path path, platform::PropertyValue::Dictionary info, bool onDisk)
        : path_(std::move(path)), info_(std::move(info)), onDisk_(onDisk) {}

    std::optional<std::string> preferredLocalization() const;

    std::filesystem::path path_;
    platform::PropertyValue::Dictionary info_;
    bool onDisk_ = false;
};

// The path as a bundle's location compares: "." and ".." resolved, no
// trailing "/".
std::filesystem::path standardizedBundlePath(const std::filesystem::path& path);

// The name a user knows the application at `bundlePath` by: its Chinese
// localized name, else the name it runs under, else the names in its
// information lists, else the folder name without ".app".
std::string preferredApplicationName(const std::filesystem::path& bundlePath);

}  // namespace tallowmere
