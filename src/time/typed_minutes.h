#pragma once

#include <optional>
#include <string_view>

namespace tallowmere {

// The whole minutes a person typed into a length dialog: 1...longest after
// trimming white space, with an optional sign; absent for anything else
// (fractions, letters, blank, zero, negatives, past the limit).
std::optional<int> typedWholeMinutes(std::string_view typed, int longest);

}  // namespace tallowmere
