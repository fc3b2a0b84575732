#pragma once

#include <string>
#include <string_view>

namespace tallowmere::platform {

// TALLOWMERE_TRACE: a comma-separated list of what to print on standard
// error while the program runs ("ui", "desktop", "views"; "all" for
// everything).
namespace TraceSwitches {

constexpr const char* variable = "TALLOWMERE_TRACE";

// Whether the list names `name` (or "all").
bool isOn(std::string_view name);
// The same for a list given as text.
bool names(std::string_view list, std::string_view name);

}  // namespace TraceSwitches

// Quotes a text for a trace line: "title", with newlines shown as \n.
std::string quotedForTrace(const std::string& text);

}  // namespace tallowmere::platform
