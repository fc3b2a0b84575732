#pragma once

#include <span>
#include <string_view>

namespace tallowmere::resources {

// The translation catalogue as the build read it from its JSON document
// (cmake/catalog_tables.py), by the rules of `CompleteLocalization::Catalog::parse`.
struct CatalogTables {
    struct Language {
        std::string_view caseName;
        std::span<const std::string_view> texts;
    };
    std::span<const std::string_view> keys;
    std::span<const Language> languages;
};

extern const CatalogTables catalogTables;

}  // namespace tallowmere::resources
