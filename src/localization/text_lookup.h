#pragma once

#include <optional>
#include <string_view>

#include "localization/interface_language.h"
#include "localization/translation_table.h"

namespace tallowmere {

// The layers a lookup consults, each reached only when the lookup gets to it
// (so a table is built only when some lookup needs it).
template <typename T>
concept TranslationLayers = requires(const T& layers, std::string_view key, InterfaceLanguage language) {
    { layers.translations() } -> std::same_as<const TranslationTable&>;
    { layers.fallback(language) } -> std::same_as<const FallbackTable*>;
    { layers.catalogText(key, language) } -> std::same_as<std::optional<std::string_view>>;
};

// The UI string lookup in `language`: the built-in translations, the language's
// fallback table, the catalogue, then the built-in English text, then the key
// itself. Never fails, and no layer holds an empty text, so a non-empty key
// never gives an empty answer. The answer views a layer's stored text, or is
// `key` itself (the same characters, not a copy).
template <TranslationLayers Layers>
std::string_view lookUpText(std::string_view key, InterfaceLanguage language, const Layers& layers) {
    // The source language needs no table, so a Simplified Chinese process never builds one.
    if (language == InterfaceLanguage::simplifiedChinese) return key;

    const TranslationTable& translations = layers.translations();
    if (auto text = translations.text(key, language)) return *text;
    if (const FallbackTable* fallback = layers.fallback(language)) {
        if (auto text = fallback->text(key)) return *text;
    }
    if (auto text = layers.catalogText(key, language)) return *text;
    if (auto text = translations.text(key, InterfaceLanguage::english)) return *text;
    return key;
}

}  // namespace tallowmere
