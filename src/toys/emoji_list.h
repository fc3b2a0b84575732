#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere {

// The emoji the library shows once each, and for those listed with skin
// tones, every form in file order under the shown one.
struct GroupedEmoji {
    std::vector<std::string> symbols;
    std::map<std::string, std::vector<std::string>, std::less<>> variants;
};

// The entries of an emoji list: one per line, split at every newline kind
// (LF, VT, FF, CR, CR LF, NEL, LS, PS), empty lines dropped, the rest kept
// as they are. Text that is not UTF-8 gives no entries.
std::vector<std::string> parseEmojiList(std::string_view text);

// True when `text` holds one of the five skin-tone modifiers.
bool containsSkinToneModifier(std::string_view text);

// One entry per emoji: the form without a skin tone if listed, else the
// first listed; two or more forms also get a variant list.
GroupedEmoji groupSkinTones(const std::vector<std::string>& emoji);

}  // namespace tallowmere
