#include "localization/interface_language.h"

#include <cctype>

#include "localization/current_language.h"
#include "localization/interface_language_preference.h"
#include "platform/gfx/attributed_string.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"
#include "platform/system/locale.h"
#include "platform/system/user_defaults.h"

namespace tallowmere {
namespace {

struct LanguageRecord {
    std::string_view rawValue;
    std::string_view caseName;
    std::string_view title;
    char flagRegion[3];
};

// Indexed by InterfaceLanguage::Value.
constexpr std::array<LanguageRecord, InterfaceLanguage::count> records{{
    {"zh-Hans", "simplifiedChinese", "简体中文", "CN"},
    {"en", "english", "English", "US"},
    {"ja", "japanese", "日本語", "JP"},
    {"zh-Hant-TW", "traditionalChineseTaiwan", "繁体中文（中国台湾）", "CN"},
    {"zh-Hant-HK", "traditionalChineseHongKong", "繁体中文（中国香港）", "HK"},
    {"ko", "korean", "한국어", "KR"},
    {"fr", "french", "Français", "FR"},
    {"de", "german", "Deutsch", "DE"},
    {"es", "spanish", "Español", "ES"},
    {"ru", "russian", "Русский", "RU"},
    {"th", "thai", "ไทย", "TH"},
    {"tr", "turkish", "Türkçe", "TR"},
    {"ar", "arabic", "العربية", "SA"},
    {"uk", "ukrainian", "Українська", "UA"},
    {"zh-Hans-SD", "shandongChicken", "山东方言（吃🐔区）", "CN"},
    {"zh-Hans-JD", "shandongFish", "山东方言（吃🐟区）", "CN"},
    {"yue", "cantonese", "粤语方言（广州地区）", "CN"},
}};

// Prefixes of a normalised identifier, first match wins. The order matters:
// the regional traditional-Chinese rules must come before the bare "zh", so
// that every other Chinese identifier (zh-Hant, zh-Hant-SG) lands on
// Simplified Chinese. The dialect languages are never derived.
struct PrefixRule {
    std::string_view prefix;
    InterfaceLanguage::Value language;
};
constexpr PrefixRule prefixRules[] = {
    {"zh-hant-tw", InterfaceLanguage::traditionalChineseTaiwan},
    {"zh-tw", InterfaceLanguage::traditionalChineseTaiwan},
    {"zh-hant-hk", InterfaceLanguage::traditionalChineseHongKong},
    {"zh-hk", InterfaceLanguage::traditionalChineseHongKong},
    {"zh-hant-mo", InterfaceLanguage::traditionalChineseHongKong},
    {"zh-mo", InterfaceLanguage::traditionalChineseHongKong},
    {"zh", InterfaceLanguage::simplifiedChinese},
    {"yue", InterfaceLanguage::cantonese},
    {"en", InterfaceLanguage::english},
    {"ja", InterfaceLanguage::japanese},
    {"ko", InterfaceLanguage::korean},
    {"fr", InterfaceLanguage::french},
    {"de", InterfaceLanguage::german},
    {"es", InterfaceLanguage::spanish},
    {"ru", InterfaceLanguage::russian},
    {"th", InterfaceLanguage::thai},
    {"tr", InterfaceLanguage::turkish},
    {"ar", InterfaceLanguage::arabic},
    {"uk", InterfaceLanguage::ukrainian},
};

const LanguageRecord& recordOf(InterfaceLanguage language) { return records[language.index()]; }

std::string normalizedIdentifier(std::string_view identifier) {
    std::string result(identifier);
    for (char& c : result) {
        if (c == '_') c = '-';
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

}  // namespace

std::optional<std::string> InterfaceLanguagePreference::storedRawValue() {
    return platform::UserDefaults::standard().string(key);
}

void InterfaceLanguagePreference::store(std::string_view rawValue) {
    platform::UserDefaults::standard().set(key, std::string(rawValue));
}

std::string_view InterfaceLanguage::rawValue() const { return recordOf(*this).rawValue; }

std::string_view InterfaceLanguage::caseName() const { return recordOf(*this).caseName; }

std::string_view InterfaceLanguage::title() const { return recordOf(*this).title; }

std::optional<InterfaceLanguage> InterfaceLanguage::fromRawValue(std::string_view rawValue) {
    for (InterfaceLanguage language : allCases()) {
        if (language.rawValue() == rawValue) return language;
    }
    return std::nullopt;
}

std::optional<InterfaceLanguage> InterfaceLanguage::fromCaseName(std::string_view caseName) {
    for (InterfaceLanguage language : allCases()) {
        if (language.caseName() == caseName) return language;
    }
    return std::nullopt;
}

std::string InterfaceLanguage::flag() const {
    // A regional-indicator symbol is U+1F1E6 + (letter - 'A'): F0 9F 87 (A6 + n) in UTF-8.
    std::string result;
    for (int i = 0; i < 2; ++i) {
        const int offset = recordOf(*this).flagRegion[i] - 'A';
        result += "\xF0\x9F\x87";
        result += static_cast<char>(0xA6 + offset);
    }
    return result;
}

const std::array<InterfaceLanguage, InterfaceLanguage::count>& InterfaceLanguage::allCases() {
    static constexpr std::array<InterfaceLanguage, count> cases{
        simplifiedChinese, english, japanese, traditionalChineseTaiwan, traditionalChineseHongKong,
        korean, french, german, spanish, russian, thai, turkish, arabic, ukrainian,
        shandongChicken, shandongFish, cantonese,
    };
    return cases;
}

platform::Image InterfaceLanguage::flagImage() const {
    // The font is taken now, as the picture is made, so a replaced system
    // font (the Taiwan typography) shows in the flag as in every other text.
    platform::TextAttributes attributes;
    attributes.font = platform::Font::systemFont(15);
    const platform::AttributedString flagText(flag(), attributes);
    return platform::Image::withHandler({22, 16}, [flagText](platform::Canvas& canvas, platform::Rect) {
        canvas.drawText(flagText, {0, -2});
        return true;
    });
}

InterfaceLanguage InterfaceLanguage::current() { return CurrentLanguage::forCurrentContext().language(); }

void InterfaceLanguage::setCurrent(InterfaceLanguage language) { InterfaceLanguagePreference::store(language.rawValue()); }

InterfaceLanguage InterfaceLanguage::systemPreferred() { return preferred(platform::Locale::preferredLanguages()); }

InterfaceLanguage InterfaceLanguage::preferred(std::span<const std::string> identifiers) {
    for (const std::string& identifier : identifiers) {
        const std::string normalized = normalizedIdentifier(identifier);
        for (const PrefixRule& rule : prefixRules) {
            if (normalized.starts_with(rule.prefix)) return rule.language;
        }
    }
    return english;
}

}  // namespace tallowmere
