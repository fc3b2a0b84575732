#include "localization/complete_localization.h"
#include "localization/interface_language.h"
#include "localization/text_lookup.h"
#include "localization/translation_table.h"

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

}  // namespace

std::string InterfaceLanguage::text(std::string_view key, InterfaceLanguage language) {
    return lookUpText(key, language, ShippedLayers{});
}

// The language is read once per lookup, so one lookup never mixes the layers
// of two languages when the choice changes meanwhile.
std::string InterfaceLanguage::text(std::string_view key) { return text(key, current()); }

std::string L(std::string_view key) { return InterfaceLanguage::text(key); }

}  // namespace tallowmere
