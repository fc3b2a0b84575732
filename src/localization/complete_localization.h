#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "localization/catalog_tables.h"
#include "localization/text_map.h"

namespace tallowmere {

// The complete translation catalogue: every listed source text in each of the
// sixteen languages other than Simplified Chinese, parsed once from the JSON
// document compiled into the program. The fourth layer of the UI string
// lookup; silent on every failure.
class CompleteLocalization {
public:
    // One parsed catalogue document.
    class Catalog {
    public:
        // Reads a catalogue document: {"keys": [...], "translations":
        // {"english": [...], ...}}. A document that is not of that shape
        // gives the empty catalogue; a language member that is not an array
        // of strings is skipped alone.
        static Catalog parse(std::string_view json);
        // The catalogue the build read from the same kind of document.
        static Catalog fromTables(const resources::CatalogTables& tables);

        // The text of `key` in the language named by its case name
        // ("english"); none when the key or the language is unknown or the
        // language's array ends before the key's position.
        std::optional<std::string_view> text(std::string_view key, std::string_view languageCaseName) const;

        const std::vector<std::string>& keys() const { return keys_; }
        const TextMap<std::vector<std::string>>& translations() const { return translations_; }
        bool isEmpty() const { return keys_.empty() && translations_.empty(); }

    private:
        void indexKeys();

        std::vector<std::string> keys_;
        TextMap<std::vector<std::string>> translations_;
        TextMap<std::size_t> keyIndex_;
    };

    // The lookup in the program's own catalogue, parsed at its first use.
    static std::optional<std::string_view> text(std::string_view key, std::string_view languageCaseName);
    // The program's own catalogue, as the build read it from catalogJSON.
    static const Catalog& catalog();
};

}  // namespace tallowmere
