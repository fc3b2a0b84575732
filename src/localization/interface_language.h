#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "localization/localized_text.h"

namespace tallowmere {

namespace platform {
class Image;
}

// One of the seventeen languages the interface is offered in. A class around
// the enumeration (rather than a bare enum class) so that the language and
// its statics read as `InterfaceLanguage::english`, `InterfaceLanguage::current()`
// and `InterfaceLanguage::text(key)` at the call sites.
class InterfaceLanguage {
public:
    // Declaration order is the order of the language menu.
    enum Value : std::uint8_t {
        simplifiedChinese,
        english,
        japanese,
        traditionalChineseTaiwan,
        traditionalChineseHongKong,
        korean,
        french,
        german,
        spanish,
        russian,
        thai,
        turkish,
        arabic,
        ukrainian,
        shandongChicken,
        shandongFish,
        cantonese,
    };
    static constexpr std::size_t count = 17;

    constexpr InterfaceLanguage(Value value) : value_(value) {}
    constexpr operator Value() const { return value_; }

    // Position in `allCases()` and in the language menu.
    constexpr std::size_t index() const { return value_; }

    // The stored identifier ("zh-Hant-TW"), kept under "interfaceLanguage".
    std::string_view rawValue() const;
    // Exact, case-sensitive match of a raw value.
    static std::optional<InterfaceLanguage> fromRawValue(std::string_view rawValue);
    // The identifier the translation catalogue names its languages by ("english").
    std::string_view caseName() const;
    static std::optional<InterfaceLanguage> fromCaseName(std::string_view caseName);
    // The menu title, written in the language itself and never translated.
    std::string_view title() const;
    // The flag emoji: two regional-indicator symbols.
    std::string flag() const;
    // The flag emoji drawn in the system font at 15 points, 22 by 16 points,
    // for the language menu.
    platform::Image flagImage() const;

    static const std::array<InterfaceLanguage, count>& allCases();

    // The language in force: the stored choice when it names a language,
    // otherwise `systemPreferred()`. Every call sees the latest choice; it
    // takes no lock, and works the answer out again only after a change.
    static InterfaceLanguage current();
    // Stores the choice; nobody is notified.
    static void setCurrent(InterfaceLanguage language);
    // The language the system's preferred-language list leads to.
    static InterfaceLanguage systemPreferred();
    // The rule behind `systemPreferred()`, applied to a given ordered list of
    // BCP 47-style identifiers ("zh_TW" and "zh-Hant-TW" alike).
    static InterfaceLanguage preferred(std::span<const std::string> identifiers);

    // The text of a Simplified Chinese source text in the current language;
    // `L` is its short form. A key answered as it is comes back as a copy.
    static LocalizedText text(std::string_view key);
    // The same lookup for a given language, for callers that already hold one.
    static LocalizedText text(std::string_view key, InterfaceLanguage language);
    // The lookup for a key that lives for the whole run (a string literal):
    // nothing is copied, whichever layer answers.
    static LocalizedText textOfLastingKey(std::string_view key);
    // The text of a source text that states a count ("已恢复 %d 个窗口。"),
    // worded for `count` by the language's plural rules ("Restored 1 window.");
    // the caller still fills the count in. Falls back to the plain lookup.
    static LocalizedText countedText(std::string_view key, long long count);
    static LocalizedText countedText(std::string_view key, long long count, InterfaceLanguage language);

private:
    Value value_;
};

// The UI string lookup: a Simplified Chinese source text in, the text for the
// current interface language out. Never fails; an unknown key comes back as is.
LocalizedText L(std::string_view key);
// Call sites pass string literals, which live for the whole run: the answer
// refers to them or to a table's text and copies nothing.
template <std::size_t size>
LocalizedText L(const char (&literal)[size]) {
    return InterfaceLanguage::textOfLastingKey(std::string_view(literal));
}

// The lookup of a text that states a count, worded for `count`. Enumerations
// (a language) are no integers here, so they never pass for a count.
template <std::size_t size, std::integral Count>
LocalizedText L(const char (&literal)[size], Count count) {
    return InterfaceLanguage::countedText(std::string_view(literal), static_cast<long long>(count));
}

}  // namespace tallowmere

template <>
struct std::hash<tallowmere::InterfaceLanguage> {
    std::size_t operator()(tallowmere::InterfaceLanguage language) const noexcept { return language.index(); }
};
