#pragma once

#include <span>
#include <string_view>

#include "platform/base/property_value.h"
#include "platform/base/result.h"

namespace tallowmere::platform {

// Localized strings tables as application bundles ship them
// (Resources/<language>.lproj/InfoPlist.strings): either the text form
//     /* comment */ "CFBundleDisplayName" = "Editor"; // comment
// in UTF-8 or in UTF-16 with a byte-order mark, optionally wrapped in one
// "{ ... }", or an XML or binary property list whose root is a dictionary.
// Damaged or hostile input is an error value, never a crash.
namespace StringsFile {

// Text-form values are strings ("key"; alone maps the key to itself);
// property-list values keep their types. A later duplicate key wins.
Result<PropertyValue::Dictionary> read(std::span<const std::uint8_t> bytes);

}  // namespace StringsFile

}  // namespace tallowmere::platform
