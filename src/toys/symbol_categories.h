#pragma once

#include <string>
#include <vector>

#include "toys/emoji_list.h"

namespace tallowmere {

// One tab of the library: its title and its symbols in display order.
struct SymbolCategory {
    std::string title;
    std::vector<std::string> symbols;
};

// The seven tabs: the emoji, then the built-in sets of icons, arrows,
// shapes, maths, punctuation and currency, titled in Chinese or English.
std::vector<SymbolCategory> makeSymbolCategories(const GroupedEmoji& emoji, bool chineseTitles);

}  // namespace tallowmere
