#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tallowmere {

// Where the user's choice of interface language is kept: its raw value under
// "interfaceLanguage" in the standard preferences. Nothing else is stored.
namespace InterfaceLanguagePreference {
inline constexpr std::string_view key = "interfaceLanguage";

// The stored text, recognised or not; none when nothing is stored.
std::optional<std::string> storedRawValue();
void store(std::string_view rawValue);
}  // namespace InterfaceLanguagePreference

}  // namespace tallowmere
