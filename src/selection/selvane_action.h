#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tallowmere {

// The text actions of the selection bar, in the order of the bar, the
// settings and the stored preference lists.
enum class SelvaneAction { cut, copy, paste, search, translate };

inline constexpr std::array<SelvaneAction, 5> allSelvaneActions = {
    SelvaneAction::cut, SelvaneAction::copy, SelvaneAction::paste, SelvaneAction::search, SelvaneAction::translate};

// The stored form ("cut").
std::string_view rawValue(SelvaneAction action);
std::optional<SelvaneAction> selvaneActionFromRawValue(std::string_view rawValue);
// The button's title: the short Chinese label in Simplified Chinese, else the
// translation of the long title, which every table gives as a short label.
std::string title(SelvaneAction action);

}  // namespace tallowmere
