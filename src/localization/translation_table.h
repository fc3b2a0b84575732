#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "localization/interface_language.h"
#include "localization/text_map.h"

namespace tallowmere {

// The built-in translations: rows of a Simplified Chinese source text and its
// texts in some of the other languages, read from a JSON array of row objects
// ({"key": "窗口手势控制", "english": "Window Controls", ...}, languages named
// by their case names). The first layer of the UI string lookup.
class TranslationTable {
public:
    struct Row {
        std::string key;
        std::array<std::optional<std::string>, InterfaceLanguage::count> texts;
    };

    // Reads the rows, keeping their order. Malformed rows or texts are left
    // out; each is described in `problems` when given (the shipped data must
    // have none, which its content test checks).
    static TranslationTable parse(std::string_view json, std::vector<std::string>* problems = nullptr);

    std::optional<std::string_view> text(std::string_view key, InterfaceLanguage language) const;
    const Row* row(std::string_view key) const;
    const std::vector<Row>& rows() const { return rows_; }

private:
    std::vector<Row> rows_;
    TextMap<std::size_t> index_;
};

// A fallback table: source text to text in one language, read from a JSON
// object of such pairs. Consulted after the built-in translations and before
// the catalogue, for the few languages whose catalogue texts are overruled.
class FallbackTable {
public:
    static FallbackTable parse(std::string_view json, std::vector<std::string>* problems = nullptr);

    std::optional<std::string_view> text(std::string_view key) const;
    // The pairs in the order of the data.
    const std::vector<std::pair<std::string, std::string>>& pairs() const { return pairs_; }

private:
    std::vector<std::pair<std::string, std::string>> pairs_;
    TextMap<std::size_t> index_;
};

// Texts whose wording follows a count: for a source text, a language's forms
// by plural category, read from a JSON array of rows ({"key": "%@ · %d 个窗口",
// "english": {"one": "%@ · %d window", "other": "%@ · %d windows"}}). Each
// language gives "other", the form of every category it leaves out; a
// language without forms keeps the plain lookup, which suits those whose
// nouns do not change with a number.
class PluralTable {
public:
    // Categories other than these, forms without "other", and malformed rows
    // are left out and described in `problems` when given.
    static PluralTable parse(std::string_view json, std::vector<std::string>* problems = nullptr);

    // The form of `key` in `language` for a plural `category`, or nothing
    // when the table has no forms of the key in that language.
    std::optional<std::string_view> text(std::string_view key, InterfaceLanguage language,
                                         std::string_view category) const;

    using Forms = std::vector<std::pair<std::string, std::string>>;  // category, text
    struct Row {
        std::string key;
        std::array<Forms, InterfaceLanguage::count> forms;  // empty: no forms in that language
    };
    const std::vector<Row>& rows() const { return rows_; }

    static constexpr std::array<std::string_view, 6> categories{"zero", "one", "two", "few", "many", "other"};

private:
    std::vector<Row> rows_;
    TextMap<std::size_t> index_;
};

// The shipped tables, each built at its first use and unchanged afterwards.
namespace BuiltInTranslations {
const TranslationTable& translations();
// The fallback table of `language`, or null for a language that has none
// (all but ukrainian, shandongChicken, shandongFish and cantonese).
const FallbackTable* fallback(InterfaceLanguage language);
// The languages that have a fallback table.
constexpr std::array<InterfaceLanguage::Value, 4> fallbackLanguages{
    InterfaceLanguage::ukrainian, InterfaceLanguage::shandongChicken, InterfaceLanguage::shandongFish,
    InterfaceLanguage::cantonese};
const PluralTable& plurals();
// Whether any of the tables above has been built in this process.
bool anyBuilt();
}  // namespace BuiltInTranslations

}  // namespace tallowmere
