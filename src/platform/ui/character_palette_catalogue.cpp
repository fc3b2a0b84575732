#include "platform/ui/character_palette_catalogue.h"

#include <unicode/uniset.h>
#include <unicode/unistr.h>
#include <unicode/usetiter.h>

#include <algorithm>

namespace tallowmere::platform::CharacterPaletteCatalogue {

namespace {

bool hasSkinTone(const icu::UnicodeString& text) {
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        const UChar32 c = text.char32At(i);
        if (c >= 0x1F3FB && c <= 0x1F3FF) return true;
    }
    return false;
}

// Faces and people first, as a person looks for them, then nature, food,
// places and objects; sequences after the single characters.
int emojiRank(const icu::UnicodeString& text) {
    const UChar32 first = text.char32At(0);
    const bool single = text.countChar32() == 1 || (text.countChar32() == 2 && text.char32At(text.moveIndex32(0, 1)) == 0xFE0F);
    int block = 5;
    if (first >= 0x1F600 && first <= 0x1F64F) block = 0;
    else if (first >= 0x1F910 && first <= 0x1F9FF) block = 1;
    else if (first >= 0x1F300 && first <= 0x1F5FF) block = 2;
    else if (first >= 0x1F680 && first <= 0x1F6FF) block = 3;
    else if (first >= 0x1FA70 && first <= 0x1FAFF) block = 4;
    return (single ? 0 : 10) + block;
}

std::vector<std::string> fromPattern(const char16_t* pattern) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeSet set(pattern, status);
    std::vector<std::string> result;
    if (U_FAILURE(status)) return result;
    for (icu::UnicodeSetIterator it(set); it.next();) {
        std::string text;
        it.getString().toUTF8String(text);
        result.push_back(std::move(text));
    }
    return result;
}

std::vector<std::string> emoji() {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeSet set(u"[[:RGI_Emoji:]-[:RGI_Emoji_Flag_Sequence:]-[:RGI_Emoji_Tag_Sequence:]]", status);
    if (U_FAILURE(status)) return {};
    std::vector<std::pair<int, icu::UnicodeString>> ranked;
    for (icu::UnicodeSetIterator it(set); it.next();) {
        const icu::UnicodeString text = it.getString();
        if (hasSkinTone(text)) continue;
        ranked.emplace_back(emojiRank(text), text);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> result;
    result.reserve(ranked.size());
    for (const auto& [rank, text] : ranked) {
        std::string utf8;
        text.toUTF8String(utf8);
        result.push_back(std::move(utf8));
    }
    return result;
}

std::vector<std::string> make(Category category) {
    switch (category) {
    case Category::emoji:
        return emoji();
    case Category::flags:
        return fromPattern(u"[[:RGI_Emoji_Flag_Sequence:][:RGI_Emoji_Tag_Sequence:]]");
    case Category::arrows:
        return fromPattern(u"[[\\u2190-\\u21FF\\u27F0-\\u27FF\\u2900-\\u297F]&[:Assigned:]]");
    case Category::math:
        return fromPattern(u"[[\\u2200-\\u22FF]&[:Assigned:]]");
    case Category::currency:
        return fromPattern(u"[:Sc:]");
    }
    return {};
}

}  // namespace

std::string_view title(Category category) {
    switch (category) {
    case Category::emoji:
        return "Emoji";
    case Category::flags:
        return "Flags";
    case Category::arrows:
        return "Arrows";
    case Category::math:
        return "Math";
    case Category::currency:
        return "Currency";
    }
    return {};
}

std::vector<std::string> characters(Category category) { return make(category); }

}  // namespace tallowmere::platform::CharacterPaletteCatalogue
