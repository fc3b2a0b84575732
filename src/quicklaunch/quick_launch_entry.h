#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/result.h"
#include "platform/base/uuid.h"

namespace tallowmere {

// What a quick-launch tile does when used.
enum class QuickLaunchKind {
    application,  // launch an application bundle
    website,      // open a web address in the default browser
    information,  // copy a short text to the pasteboard
    file,         // open a file or folder with its default application
    newFile,      // create a blank document on the Desktop
};
inline constexpr std::array allQuickLaunchKinds = {QuickLaunchKind::application, QuickLaunchKind::website,
                                                   QuickLaunchKind::information, QuickLaunchKind::file,
                                                   QuickLaunchKind::newFile};

std::string_view rawValue(QuickLaunchKind kind);
// Exact, case-sensitive match.
std::optional<QuickLaunchKind> quickLaunchKindFromRawValue(std::string_view rawValue);

// One tile. The JSON keys are the field names.
struct QuickLaunchEntry {
    platform::Uuid id;  // random at creation, never changed
    QuickLaunchKind kind = QuickLaunchKind::application;
    std::string name;    // title, tooltip and accessibility label
    // application: bundle path; website: address; information: the text;
    // file: its path; newFile: empty.
    std::string target;
    std::optional<std::string> bundleIdentifier;  // application only
    std::optional<std::string> websiteIconStyle;  // website only: a WebsiteIconStyle raw value
    std::optional<std::string> websiteEmoji;      // website and information: one character

    bool operator==(const QuickLaunchEntry&) const = default;
};

// quick-launch.json and the configuration mirror's copy: one array of entry
// objects, pretty-printed with sorted keys, "/" written "\/", absent
// optionals left out.
namespace QuickLaunchEntryCoding {

// Fails (the whole list) on anything but an array of objects that each have
// a UUID `id`, a known `kind` and string `name` and `target`; optionals
// must be strings when present (null counts as absent); unknown keys are
// ignored.
platform::Result<std::vector<QuickLaunchEntry>> decode(std::string_view json);
platform::Result<std::string> encode(const std::vector<QuickLaunchEntry>& entries);

}  // namespace QuickLaunchEntryCoding

}  // namespace tallowmere
