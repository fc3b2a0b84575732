#include "localization/complete_localization.h"
#include "localization/embedded_tables.h"

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
    catalog.keyIndex_.reserve(catalog.keys_.size());
    for (std::size_t position = 0; position < catalog.keys_.size(); ++position) {
        // The delivered catalogue has distinct keys; were one repeated, its first position answers.
        catalog.keyIndex_.emplace(catalog.keys_[position], position);
    }
    return catalog;
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
    // Immutable once parsed, and only ever read afterwards, so a function-local
    // static (built once, thread-safe) serves every context of the process.
    static const Catalog parsed = Catalog::parse(resources::catalogJSON);
    return parsed;
}

std::optional<std::string_view> CompleteLocalization::text(std::string_view key, std::string_view languageCaseName) {
    return catalog().text(key, languageCaseName);
}

}  // namespace tallowmere
