#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/property_value.h"

namespace tallowmere::platform {

// How a stored preference reads as each type, with the Mac's lenient rules:
// a switch stored as "YES", a number stored as text, a count stored as a
// real all read as the caller expects. `value` is null for an absent key.
namespace PreferenceReading {

// Absent: false. Numbers: non-zero. Text: true when, after leading blanks,
// an optional sign and any zeros, it starts with Y, y, T, t or 1-9
// ("YES", "true", "1", "007"); "NO", "false", "0" and "" are false.
bool boolean(const PropertyValue* value);

// Absent: 0. Reals are truncated toward zero, booleans are 0 or 1, text is
// read from its leading whole number ("12 items" is 12, "abc" 0); values out
// of range are clamped.
std::int64_t integer(const PropertyValue* value);

// Absent: 0. Booleans are 0 or 1; text is read from its leading number.
double real(const PropertyValue* value);

// Text as it is; a number as its text ("42", "3.5", a boolean "1" or "0").
std::optional<std::string> string(const PropertyValue* value);

// An array whose elements are all text; anything else is absent.
std::optional<std::vector<std::string>> stringArray(const PropertyValue* value);

}  // namespace PreferenceReading

}  // namespace tallowmere::platform
