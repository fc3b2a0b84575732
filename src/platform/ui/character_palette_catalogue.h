#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere::platform {

// What the character palette offers, by category, from the Unicode data of
// ICU: the recommended emoji (faces first, skin-tone forms left out), the
// flags, arrows, mathematical operators and currency signs.
namespace CharacterPaletteCatalogue {

enum class Category { emoji, flags, arrows, math, currency };
inline constexpr std::array allCategories{Category::emoji, Category::flags, Category::arrows, Category::math,
                                          Category::currency};

std::string_view title(Category category);
std::vector<std::string> characters(Category category);

}  // namespace CharacterPaletteCatalogue

}  // namespace tallowmere::platform
