#include "localization/complete_localization.h"
#include "localization/interface_language.h"
#include "localization/text_lookup.h"
#include "localization/translation_table.h"
#include "platform/base/text.h"

namespace tallowmere {
namespace {

// The shipped layers.
struct ShippedLayers {
    const TranslationTable& translations() const { return BuiltInTranslations::translations(); }
    const FallbackTable* fallback(InterfaceLanguage language) const { return BuiltInTranslations::fallback(language); }
    std::optional<std::string_view> catalogText(std::string_view key, InterfaceLanguage language) const {
        return CompleteLocalization::text(key, language.caseName());
    }
};

// The shipped tables live until the process ends, so their texts are handed
// out as they are; only the key answered as itself may need a copy.
LocalizedText answer(std::string_view key, InterfaceLanguage language, bool keyLasts) {
    const std::string_view text = lookUpText(key, language, ShippedLayers{});
    const bool isTheKey = text.data() == key.data();
    return isTheKey && !keyLasts ? LocalizedText::copied(text) : LocalizedText::lasting(text);
}

LocalizedText countedAnswer(std::string_view key, long long count, InterfaceLanguage language) {
    // Like the plain lookup, the source language builds no table.
    if (language != InterfaceLanguage::simplifiedChinese) {
        const std::string category = platform::Text::pluralCategory(language.rawValue(), count);
        if (auto form = BuiltInTranslations::plurals().text(key, language, category)) {
            return LocalizedText::lasting(*form);
        }
    }
    return answer(key, language, /*keyLasts=*/false);
}

}  // namespace

LocalizedText InterfaceLanguage::countedText(std::string_view key, long long count) {
    return countedAnswer(key, count, current());
}

LocalizedText InterfaceLanguage::countedText(std::string_view key, long long count, InterfaceLanguage language) {
    return countedAnswer(key, count, language);
}

LocalizedText InterfaceLanguage::text(std::string_view key, InterfaceLanguage language) {
    return answer(key, language, /*keyLasts=*/false);
}

// The language is read once per lookup, so one lookup never mixes the layers
// of two languages when the choice changes meanwhile.
LocalizedText InterfaceLanguage::text(std::string_view key) { return answer(key, current(), false); }

LocalizedText InterfaceLanguage::textOfLastingKey(std::string_view key) { return answer(key, current(), true); }

LocalizedText L(std::string_view key) { return InterfaceLanguage::text(key); }

}  // namespace tallowmere
