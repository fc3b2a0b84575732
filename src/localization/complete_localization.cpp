#include "localization/complete_localization.h"

#include <nlohmann/json.hpp>

namespace tallowmere {

namespace {

using Json = nlohmann::json;

bool isArrayOfStrings(const Json& value) {
    if (!value.is_array()) return false;
    for (const Json& element : value) {
        if (!element.is_string()) return false;
    }
    return true;
}

std::vector<std::string> takeStrings(Json& array) {
    std::vector<std::string> result;
    result.reserve(array.size());
    for (Json& element : array) result.push_back(std::move(element.get_ref<std::string&>()));
    return result;
}

}  // namespace

CompleteLocalization::Catalog CompleteLocalization::Catalog::parse(std::string_view json) {
    Catalog catalog;
    // No exceptions: a malformed document is simply an empty catalogue.
    Json document = Json::parse(json.begin(), json.end(), nullptr, /*allow_exceptions=*/false);
    if (!document.is_object()) return catalog;

    auto keys = document.find("keys");
    if (keys == document.end() || !isArrayOfStrings(*keys)) return catalog;
    auto translations = document.find("translations");
    if (translations == document.end() || !translations->is_object()) return catalog;

    catalog.keys_ = takeStrings(*keys);
    for (auto& [language, texts] : translations->items()) {
        if (isArrayOfStrings(texts)) catalog.translations_.emplace(language, takeStrings(texts));
    }
    catalog.indexKeys();
    return catalog;
}

CompleteLocalization::Catalog CompleteLocalization::Catalog::fromTables(const resources::CatalogTables& tables) {
    Catalog catalog;
    catalog.keys_.assign(tables.keys.begin(), tables.keys.end());
    for (const auto& language : tables.languages) {
        catalog.translations_.emplace(std::string(language.caseName),
                                      std::vector<std::string>(language.texts.begin(), language.texts.end()));
    }
    catalog.indexKeys();
    return catalog;
}

void CompleteLocalization::Catalog::indexKeys() {
    keyIndex_.reserve(keys_.size());
    for (std::size_t position = 0; position < keys_.size(); ++position) {
        // The delivered catalogue has distinct keys; were one repeated, its first position answers.
        keyIndex_.emplace(keys_[position], position);
    }
}

std::optional<std::string_view> CompleteLocalization::Catalog::text(std::string_view key,
                                                                    std::string_view languageCaseName) const {
    auto position = keyIndex_.find(key);
    if (position == keyIndex_.end()) return std::nullopt;
    auto texts = translations_.find(languageCaseName);
    if (texts == translations_.end() || position->second >= texts->second.size()) return std::nullopt;
    return texts->second[position->second];
}

const CompleteLocalization::Catalog& CompleteLocalization::catalog() {
    // Immutable once built, and only ever read afterwards, so a function-local
    // static (built once, thread-safe) serves every context of the process.
    static const Catalog parsed = Catalog::fromTables(resources::catalogTables);
    return parsed;
}

std::optional<std::string_view> CompleteLocalization::text(std::string_view key, std::string_view languageCaseName) {
    return catalog().text(key, languageCaseName);
}

}  // namespace tallowmere
