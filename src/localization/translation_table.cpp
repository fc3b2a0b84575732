#include "localization/translation_table.h"
#include "localization/embedded_tables.h"

#include <algorithm>
#include <atomic>
#include <set>

#include <nlohmann/json.hpp>

namespace tallowmere {

namespace {

using Json = nlohmann::ordered_json;

void report(std::vector<std::string>* problems, std::string problem) {
    if (problems) problems->push_back(std::move(problem));
}

// Parses without exceptions. A JSON object that names a member twice keeps
// only one of them, which would hide a repeated key or language, so repeats
// are reported while parsing.
Json parseReportingRepeats(std::string_view json, std::vector<std::string>* problems) {
    std::vector<std::set<std::string>> openObjects;
    auto watch = [&](int, Json::parse_event_t event, Json& parsed) {
        if (!problems) return true;
        switch (event) {
        case Json::parse_event_t::object_start: openObjects.emplace_back(); break;
        case Json::parse_event_t::object_end: openObjects.pop_back(); break;
        case Json::parse_event_t::key:
            if (!openObjects.empty() && !openObjects.back().insert(parsed.get<std::string>()).second) {
                report(problems, "repeated member \"" + parsed.get<std::string>() + "\"");
            }
            break;
        default: break;
        }
        return true;
    };
    Json document = Json::parse(json.begin(), json.end(), watch, /*allow_exceptions=*/false);
    if (document.is_discarded()) report(problems, "not valid JSON");
    return document;
}

// Rows are objects with a non-empty "key"; a row without one, or with a key
// already read, is reported and skipped. `fill` reads the row's languages.
template <typename Row, typename Index, typename Fill>
void readKeyedRows(const Json& document, Index& index, std::vector<Row>& rows, std::vector<std::string>* problems,
                   Fill fill) {
    for (const Json& entry : document) {
        auto key = entry.is_object() ? entry.find("key") : entry.end();
        if (!entry.is_object() || key == entry.end() || !key->is_string() || key->get_ref<const std::string&>().empty()) {
            report(problems, "a row without a key: " + entry.dump());
            continue;
        }
        Row row{key->get<std::string>(), {}};
        if (index.contains(row.key)) {
            report(problems, "repeated key \"" + row.key + "\"");
            continue;
        }
        fill(entry, row);
        index.emplace(row.key, rows.size());
        rows.push_back(std::move(row));
    }
}

}  // namespace

TranslationTable TranslationTable::parse(std::string_view json, std::vector<std::string>* problems) {
    TranslationTable table;
    const Json document = parseReportingRepeats(json, problems);
    if (!document.is_array()) {
        report(problems, "the translations are not an array of rows");
        return table;
    }
    readKeyedRows(document, table.index_, table.rows_, problems, [&](const Json& entry, Row& row) {
        for (const auto& [name, text] : entry.items()) {
            if (name == "key") continue;
            const auto language = InterfaceLanguage::fromCaseName(name);
            if (!language || *language == InterfaceLanguage::simplifiedChinese) {
                report(problems, "\"" + row.key + "\": \"" + name + "\" is not a language to translate into");
            } else if (!text.is_string() || text.get_ref<const std::string&>().empty()) {
                report(problems, "\"" + row.key + "\": no " + name + " text");
            } else {
                row.texts[language->index()] = text.get<std::string>();
            }
        }
    });
    return table;
}

const TranslationTable::Row* TranslationTable::row(std::string_view key) const {
    auto found = index_.find(key);
    return found == index_.end() ? nullptr : &rows_[found->second];
}

std::optional<std::string_view> TranslationTable::text(std::string_view key, InterfaceLanguage language) const {
    const Row* found = row(key);
    if (!found || !found->texts[language.index()]) return std::nullopt;
    return *found->texts[language.index()];
}

FallbackTable FallbackTable::parse(std::string_view json, std::vector<std::string>* problems) {
    FallbackTable table;
    const Json document = parseReportingRepeats(json, problems);
    if (!document.is_object()) {
        report(problems, "the fallback table is not an object of pairs");
        return table;
    }
    for (const auto& [key, text] : document.items()) {
        if (key.empty() || !text.is_string() || text.get_ref<const std::string&>().empty()) {
            report(problems, "\"" + key + "\": no text");
            continue;
        }
        table.index_.emplace(key, table.pairs_.size());
        table.pairs_.emplace_back(key, text.get<std::string>());
    }
    return table;
}

std::optional<std::string_view> FallbackTable::text(std::string_view key) const {
    auto found = index_.find(key);
    if (found == index_.end()) return std::nullopt;
    return pairs_[found->second].second;
}

PluralTable PluralTable::parse(std::string_view json, std::vector<std::string>* problems) {
    PluralTable table;
    const Json document = parseReportingRepeats(json, problems);
    if (!document.is_array()) {
        report(problems, "the plural forms are not an array of rows");
        return table;
    }
    readKeyedRows(document, table.index_, table.rows_, problems, [&](const Json& entry, Row& row) {
        for (const auto& [name, forms] : entry.items()) {
            if (name == "key") continue;
            const auto language = InterfaceLanguage::fromCaseName(name);
            const std::string where = "\"" + row.key + "\" in " + name;
            if (!language || *language == InterfaceLanguage::simplifiedChinese || !forms.is_object()) {
                report(problems, where + ": not a language's forms");
                continue;
            }
            Forms parsed;
            for (const auto& [category, text] : forms.items()) {
                const bool known = std::find(categories.begin(), categories.end(), category) != categories.end();
                if (!known || !text.is_string() || text.get_ref<const std::string&>().empty()) {
                    report(problems, where + ": no text for the category \"" + category + "\"");
                } else {
                    parsed.emplace_back(category, text.get<std::string>());
                }
            }
            const bool hasOther = std::any_of(parsed.begin(), parsed.end(), [](const auto& form) { return form.first == "other"; });
            if (!hasOther) {
                report(problems, where + ": no \"other\" form");
                continue;
            }
            row.forms[language->index()] = std::move(parsed);
        }
    });
    return table;
}

std::optional<std::string_view> PluralTable::text(std::string_view key, InterfaceLanguage language,
                                                  std::string_view category) const {
    auto found = index_.find(key);
    if (found == index_.end()) return std::nullopt;
    const Forms& forms = rows_[found->second].forms[language.index()];
    std::optional<std::string_view> other;
    for (const auto& [formCategory, text] : forms) {
        if (formCategory == category) return text;
        if (formCategory == "other") other = text;
    }
    return other;
}

// The shipped tables are immutable once built and only read afterwards, so
// they are function-local statics (built once, thread-safe) rather than
// per-context instances; each is built only when a lookup first needs it.
namespace BuiltInTranslations {
namespace {
std::atomic<bool> built{false};

template <typename Table>
Table buildNoting(std::string_view json) {
    Table table = Table::parse(json);
    built.store(true, std::memory_order_relaxed);
    return table;
}
}  // namespace

const TranslationTable& translations() {
    static const TranslationTable table = buildNoting<TranslationTable>(resources::translationsJSON);
    return table;
}

const FallbackTable* fallback(InterfaceLanguage language) {
    switch (language) {
    case InterfaceLanguage::ukrainian: {
        static const FallbackTable table = buildNoting<FallbackTable>(resources::ukrainianFallbackJSON);
        return &table;
    }
    case InterfaceLanguage::shandongChicken: {
        static const FallbackTable table = buildNoting<FallbackTable>(resources::shandongFallbackJSON);
        return &table;
    }
    case InterfaceLanguage::shandongFish: {
        static const FallbackTable table = buildNoting<FallbackTable>(resources::jiaodongFallbackJSON);
        return &table;
    }
    case InterfaceLanguage::cantonese: {
        static const FallbackTable table = buildNoting<FallbackTable>(resources::cantoneseFallbackJSON);
        return &table;
    }
    default: return nullptr;
    }
}

const PluralTable& plurals() {
    static const PluralTable table = buildNoting<PluralTable>(resources::pluralsJSON);
    return table;
}

bool anyBuilt() { return built.load(std::memory_order_relaxed); }

}  // namespace BuiltInTranslations
}  // namespace tallowmere
