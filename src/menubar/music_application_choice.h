#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace tallowmere {

// One entry of the music-application chooser.
struct MusicApplicationChoice {
    std::string_view name;  // shown as it is, in every language
    // Tried in order: installed applications by identifier, then by file
    // name (without ".app").
    std::vector<std::string_view> bundleIdentifiers;
    std::vector<std::string_view> applicationNames;
    // A discontinued player listed in remembrance; never openable.
    bool isMemorial = false;
};

// The chooser's entries, in menu order.
const std::vector<MusicApplicationChoice>& musicApplicationChoices();

}  // namespace tallowmere
