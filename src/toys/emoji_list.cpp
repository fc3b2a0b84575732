#include "toys/emoji_list.h"

#include <unordered_map>

#include "platform/base/text.h"

namespace tallowmere {
namespace {

// U+1F3FB...U+1F3FF in UTF-8: this prefix, then one byte from BB to BF.
// The prefix starts with a lead byte, so in valid UTF-8 a match is always a
// whole character.
constexpr std::string_view modifierPrefix = "\xF0\x9F\x8F";

bool isModifierAt(std::string_view text, std::size_t at) {
    if (text.substr(at, modifierPrefix.size()) != modifierPrefix || at + 3 >= text.size()) return false;
    const auto last = static_cast<unsigned char>(text[at + 3]);
    return last >= 0xBB && last <= 0xBF;
}

std::string withoutModifiers(std::string_view text) {
    std::string key;
    key.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (isModifierAt(text, i)) {
            i += 4;
        } else {
            key += text[i++];
        }
    }
    return key;
}

// The length of the line break at `at`, or 0 when there is none.
std::size_t newlineLength(std::string_view text, std::size_t at) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (c == '\r') return text.substr(at, 2) == "\r\n" ? 2 : 1;
    if (c >= '\n' && c <= '\f') return 1;
    const auto rest = text.substr(at);
    if (rest.starts_with("\xC2\x85")) return 2;
    if (rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9")) return 3;
    return 0;
}

}  // namespace

std::vector<std::string> parseEmojiList(std::string_view text) {
    std::vector<std::string> entries;
    if (!platform::Text::isValidUtf8(text)) return entries;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (const auto length = newlineLength(text, i)) {
            if (i > start) entries.emplace_back(text.substr(start, i - start));
            i += length;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) entries.emplace_back(text.substr(start));
    return entries;
}

bool containsSkinToneModifier(std::string_view text) {
    for (auto at = text.find(modifierPrefix); at != std::string_view::npos; at = text.find(modifierPrefix, at + 1)) {
        if (isModifierAt(text, at)) return true;
    }
    return false;
}

GroupedEmoji groupSkinTones(const std::vector<std::string>& emoji) {
    std::vector<std::vector<std::string>> forms;  // in order of each key's first appearance
    std::unordered_map<std::string, std::size_t> indexOfKey;
    for (const auto& entry : emoji) {
        auto [found, isNew] = indexOfKey.try_emplace(withoutModifiers(entry), forms.size());
        if (isNew) forms.emplace_back();
        forms[found->second].push_back(entry);
    }
    GroupedEmoji grouped;
    grouped.symbols.reserve(forms.size());
    for (auto& list : forms) {
        std::string shown = list.front();
        for (const auto& form : list) {
            if (!containsSkinToneModifier(form)) {
                shown = form;
                break;
            }
        }
        grouped.symbols.push_back(shown);
        if (list.size() >= 2) grouped.variants.emplace(std::move(shown), std::move(list));
    }
    return grouped;
}

}  // namespace tallowmere
