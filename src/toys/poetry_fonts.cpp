#include "toys/poetry_fonts.h"

#include <string_view>

namespace tallowmere::PoetryFonts {

namespace {

constexpr std::string_view kaitiFaces[] = {"Kaiti SC", "STKaiti", "AR PL UKai CN", "AR PL UKai TW"};

}  // namespace

platform::Font kaiti(double size) {
    for (const auto name : kaitiFaces) {
        if (auto font = platform::Font::named(name, size)) return *font;
    }
    return platform::Font::systemFont(size);
}

platform::Font brush(double size) {
    for (const auto name : {std::string_view("Weibei SC"), std::string_view("FZShuTi-S05S")}) {
        if (auto font = platform::Font::named(name, size)) return *font;
    }
    return kaiti(size);
}

}  // namespace tallowmere::PoetryFonts
