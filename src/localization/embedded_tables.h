#pragma once

#include <string_view>

// The translation data compiled into the program (resources/localization/).
namespace tallowmere::resources {
extern const std::string_view catalogJSON;
extern const std::string_view translationsJSON;
extern const std::string_view pluralsJSON;
extern const std::string_view ukrainianFallbackJSON;
extern const std::string_view shandongFallbackJSON;
extern const std::string_view jiaodongFallbackJSON;
extern const std::string_view cantoneseFallbackJSON;
}  // namespace tallowmere::resources
