#include "toys/symbol_categories.h"

#include <array>
#include <string_view>

namespace tallowmere {
namespace {

struct BuiltInSet {
    std::string_view english;
    std::string_view chinese;
    std::string_view symbols;  // separated by single spaces
};

constexpr std::array<BuiltInSet, 6> builtInSets{{
    {"Icons", "常用图标",
     "★ ☆ ♥ ♡ ☀ ☁ ☂ ☃ ☕ ☎ ✉ ✎ ✂ ⚑ ⚐ ⚙ ⚠ ⌂ ⌘ ⌥ ⌫ ⏎ ⏻ ⏰ ⌚ ♫ ♪ ♬ ⚡ ❖ ✦ ✧ ◆ ◇ ● ○ ■ □"},
    {"Arrows", "箭头",
     "← → ↑ ↓ ↔ ↕ ↖ ↗ ↘ ↙ ⇐ ⇒ ⇑ ⇓ ⇔ ⇕ ⟵ ⟶ ⟷ ➜ ➝ ➞ ➟ ➠ ➤ ➥ ➦ ➧ ➨ ➲ ➳ ➵ ➸ ➽ ⤴ ⤵ ↩ ↪"},
    {"Shapes", "几何",
     "● ○ ◉ ◎ ◌ ◍ ◐ ◑ ◒ ◓ ■ □ ▪ ▫ ▲ △ ▼ ▽ ◆ ◇ ◈ ◊ ★ ☆ ✦ ✧ ✪ ✩ ✹ ✺ ✻ ✼ ❖ ⬟ ⬢ ⬡ ⬣ ⬤"},
    {"Math", "数学",
     "＋ − × ÷ ± = ≠ ≈ ≡ < > ≤ ≥ ∞ √ ∛ ∑ ∏ ∫ ∂ ∆ ∇ π α β γ θ λ μ σ φ Ω ∈ ∉ ∩ ∪ ⊂ ⊃ ⊆ ⊇ ∧ ∨ ∴ ∵"},
    {"Punctuation", "标点",
     "， 。 、 ； ： ？ ！ … — · ‘ ’ “ ” 「 」 『 』 【 】 〔 〕 （ ） 《 》 〈 〉 ﹏ ～ ｜ ‖ ※ † ‡ § ¶ • ‧ ′ ″ ‐ ‑ ‒ – ―"},
    {"Currency", "货币",
     "¥ ￥ $ ￠ ¢ € £ ₩ ₽ ₹ ₿ ₫ ₱ ₴ ₦ ₲ ₵ ₡ ₭ ₮ ₸ ₺ ₼ ₾ ฿ ៛ ₪ ﷼ ƒ ¤ % ‰ ‱"},
}};

std::vector<std::string> splitAtSpaces(std::string_view text) {
    std::vector<std::string> pieces;
    while (!text.empty()) {
        const auto space = text.find(' ');
        if (const auto piece = text.substr(0, space); !piece.empty()) pieces.emplace_back(piece);
        if (space == std::string_view::npos) break;
        text.remove_prefix(space + 1);
    }
    return pieces;
}

}  // namespace

std::vector<SymbolCategory> makeSymbolCategories(const GroupedEmoji& emoji, bool chineseTitles) {
    std::vector<SymbolCategory> categories;
    categories.push_back({"Emoji", emoji.symbols});
    for (const auto& set : builtInSets) {
        categories.push_back({std::string(chineseTitles ? set.chinese : set.english), splitAtSpaces(set.symbols)});
    }
    return categories;
}

}  // namespace tallowmere
