#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tallowmere::platform {

enum class FontWeight { ultraLight, thin, light, regular, medium, semibold, bold, heavy, black };

inline constexpr std::array allFontWeights{
    FontWeight::ultraLight, FontWeight::thin,     FontWeight::light, FontWeight::regular, FontWeight::medium,
    FontWeight::semibold,   FontWeight::bold,     FontWeight::heavy, FontWeight::black,
};

std::string_view rawValue(FontWeight weight);  // "ultraLight" ... "black"
std::optional<FontWeight> fontWeightFromRawValue(std::string_view name);
// CSS weight: 100 (ultraLight) ... 400 (regular) ... 900 (black).
int cssWeight(FontWeight weight);
// The nearest named weight of a CSS weight (ties go to the heavier one).
FontWeight fontWeightFromCss(double css);
// The weight as a font descriptor's weight trait, -1 (thinnest) ... 1:
// ultraLight -0.8, thin -0.6, light -0.4, regular 0, medium 0.23,
// semibold 0.3, bold 0.4, heavy 0.56, black 0.62.
double weightTrait(FontWeight weight);

// A font: a typeface (by PostScript-style name and family), a size in points,
// a weight and traits. A value; two fonts are equal when all of that is.
//
// The system and menu fonts go through `FontLibrary`, which may answer with a
// replacement typeface (the Traditional Chinese interface installs one); fonts
// made by name never do.
class Font {
public:
    static constexpr double systemFontSize = 13;
    static constexpr double smallSystemFontSize = 11;

    // A size of 0 or less (or NaN) means the standard system font size.
    static Font systemFont(double size, FontWeight weight = FontWeight::regular);
    static Font boldSystemFont(double size);
    // Digits all as wide as each other, for counters and clocks.
    static Font monospacedDigitSystemFont(double size, FontWeight weight = FontWeight::regular);
    static Font monospacedSystemFont(double size, FontWeight weight = FontWeight::regular);
    static Font menuFont(double size = 0);
    // The typeface with that name or family name, if the system has it.
    static std::optional<Font> named(std::string_view name, double size);
    static Font named(std::string_view name, double size, const Font& fallback);

    // The platform's own fonts, without any replacement. Only the font
    // library's replacement hook needs these.
    static Font platformSystemFont(double size, std::optional<FontWeight> weight);
    static Font platformMenuFont(double size);

    const std::string& name() const { return name_; }
    const std::string& familyName() const { return familyName_; }
    double pointSize() const { return size_; }
    FontWeight weight() const { return weight_; }
    double weightTrait() const { return platform::weightTrait(weight_); }
    bool isBold() const { return weight_ >= FontWeight::semibold; }
    bool isItalic() const { return italic_; }
    bool isMonospacedDigit() const { return monospacedDigits_; }
    bool isFixedPitch() const { return fixedPitch_; }
    bool isSystemFont() const { return system_; }

    Font withSize(double size) const;
    Font withWeight(FontWeight weight) const;
    Font bold() const { return withWeight(FontWeight::bold); }
    Font italic() const;

    // For traces and test failures: "SystemFont 13 regular".
    std::string description() const;

    bool operator==(const Font&) const = default;

private:
    friend class FontLibrary;
    Font(std::string name, std::string family, double size, FontWeight weight);

    std::string name_;
    std::string familyName_;
    double size_ = systemFontSize;
    FontWeight weight_ = FontWeight::regular;
    bool italic_ = false;
    bool monospacedDigits_ = false;
    bool fixedPitch_ = false;
    bool system_ = false;
};

}  // namespace tallowmere::platform
