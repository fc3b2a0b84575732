#include "platform/gfx/font.h"

#include <cmath>
#include <cstdio>

#include "platform/gfx/font_library.h"
#include "platform/runtime/app_context.h"

namespace tallowmere::platform {
namespace {

constexpr std::string_view systemFontName = ".SystemUIFont";
constexpr std::string_view monospacedFontName = ".SystemUIFontMonospaced";
constexpr double standardMenuFontSize = 14;

constexpr std::array<std::string_view, 9> weightNames{
    "ultraLight", "thin", "light", "regular", "medium", "semibold", "bold", "heavy", "black",
};

double usableSize(double size, double standard) {
    return std::isfinite(size) && size > 0 ? size : standard;
}

}  // namespace

std::string_view rawValue(FontWeight weight) { return weightNames[static_cast<std::size_t>(weight)]; }

std::optional<FontWeight> fontWeightFromRawValue(std::string_view name) {
    for (FontWeight weight : allFontWeights)
        if (rawValue(weight) == name) return weight;
    return std::nullopt;
}

int cssWeight(FontWeight weight) { return (static_cast<int>(weight) + 1) * 100; }

FontWeight fontWeightFromCss(double css) {
    if (!(css > 100)) return FontWeight::ultraLight;  // also NaN
    if (css >= 900) return FontWeight::black;
    // Ties (150, 250, ...) round up to the heavier weight.
    const int index = static_cast<int>(std::floor((css - 100) / 100 + 0.5));
    return allFontWeights[static_cast<std::size_t>(index)];
}

double weightTrait(FontWeight weight) {
    constexpr std::array<double, 9> traits{-0.8, -0.6, -0.4, 0, 0.23, 0.3, 0.4, 0.56, 0.62};
    return traits[static_cast<std::size_t>(weight)];
}

Font::Font(std::string name, std::string family, double size, FontWeight weight)
    : name_(std::move(name)), familyName_(std::move(family)), size_(size), weight_(weight) {}

Font Font::platformSystemFont(double size, std::optional<FontWeight> weight) {
    Font font{std::string(systemFontName), std::string(systemFontName), usableSize(size, systemFontSize),
              weight.value_or(FontWeight::regular)};
    font.system_ = true;
    return font;
}

Font Font::platformMenuFont(double size) {
    return platformSystemFont(usableSize(size, standardMenuFontSize), std::nullopt);
}

Font Font::systemFont(double size, FontWeight weight) {
    if (!AppContext::hasCurrent()) return platformSystemFont(size, weight);
    return FontLibrary::shared().systemFont(size, weight);
}

Font Font::boldSystemFont(double size) { return platformSystemFont(size, FontWeight::bold); }

Font Font::monospacedDigitSystemFont(double size, FontWeight weight) {
    Font font = platformSystemFont(size, weight);
    font.monospacedDigits_ = true;
    return font;
}

Font Font::monospacedSystemFont(double size, FontWeight weight) {
    Font font{std::string(monospacedFontName), std::string(monospacedFontName), usableSize(size, systemFontSize),
              weight};
    font.system_ = true;
    font.fixedPitch_ = true;
    font.monospacedDigits_ = true;
    return font;
}

Font Font::menuFont(double size) {
    if (!AppContext::hasCurrent()) return platformMenuFont(size);
    return FontLibrary::shared().menuFont(size);
}

std::optional<Font> Font::named(std::string_view name, double size) {
    if (!AppContext::hasCurrent()) return std::nullopt;
    const auto face = FontLibrary::shared().typeface(name);
    if (!face) return std::nullopt;
    Font font(face->name, face->family, usableSize(size, systemFontSize), face->weight);
    font.italic_ = face->italic;
    font.fixedPitch_ = face->fixedPitch;
    font.monospacedDigits_ = face->fixedPitch;
    font.system_ = face->family == systemFontName || face->family == monospacedFontName;
    return font;
}

Font Font::named(std::string_view name, double size, const Font& fallback) {
    return named(name, size).value_or(fallback);
}

Font Font::withSize(double size) const {
    Font font = *this;
    font.size_ = usableSize(size, size_);
    return font;
}

Font Font::withWeight(FontWeight weight) const {
    Font font = *this;
    font.weight_ = weight;
    if (system_ || !AppContext::hasCurrent()) return font;
    // A named face changes to its family's face of that weight when there is
    // one; otherwise the weight is synthesised from the face it has.
    for (const auto& face : FontLibrary::shared().typefaces()) {
        if (face.family == familyName_ && face.weight == weight && face.italic == italic_) {
            font.name_ = face.name;
            break;
        }
    }
    return font;
}

Font Font::italic() const {
    Font font = *this;
    font.italic_ = true;
    return font;
}

std::string Font::description() const {
    char size[32];
    std::snprintf(size, sizeof size, "%g", size_);
    std::string text = name_ + " " + size + " " + std::string(rawValue(weight_));
    if (italic_) text += " italic";
    if (monospacedDigits_ && !fixedPitch_) text += " monospacedDigits";
    return text;
}

}  // namespace tallowmere::platform
