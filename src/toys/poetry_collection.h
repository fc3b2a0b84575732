#pragma once

#include <array>
#include <string>
#include <vector>

namespace tallowmere {

// One short classical poem excerpt: its title, its poet, and one or two
// lines (separated by a line feed).
struct PoetryEntry {
    std::string title;
    std::string author;
    std::string excerpt;
    bool operator==(const PoetryEntry&) const = default;
};

// The 365 excerpts the poem header steps through, read once from the data
// shipped with the program (resources/toys/poems.json).
class PoetryCollection {
public:
    static constexpr int count = 365;
    static const std::vector<PoetryEntry>& entries();
};

}  // namespace tallowmere
