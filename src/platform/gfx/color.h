#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/gfx/appearance.h"

namespace tallowmere::platform {

// Colour spaces a component colour is given in. All RGB spaces share the sRGB
// primaries here (there is no colour management on this platform), so
// converting between them keeps the numbers; the space is kept so code that
// asks "is this device RGB?" gets the answer it set up.
enum class ColorSpace { sRGB, calibratedRGB, deviceRGB, calibratedWhite, deviceWhite };

// Named colours whose value depends on the appearance. The system hues
// (red ... gray) are the platform's slightly different light and dark tints.
enum class SystemColor {
    label,
    secondaryLabel,
    tertiaryLabel,
    quaternaryLabel,
    text,
    textBackground,
    placeholderText,
    controlText,
    disabledControlText,
    controlAccent,
    controlBackground,
    windowBackground,
    underPageBackground,
    separator,
    grid,
    selectedContentBackground,
    unemphasizedSelectedContentBackground,
    selectedMenuItemText,
    link,
    shadow,
    red,
    orange,
    yellow,
    green,
    mint,
    teal,
    cyan,
    blue,
    indigo,
    purple,
    pink,
    brown,
    gray,
};

std::string_view rawValue(SystemColor color);  // "label", "systemBlue" ...

struct RGBA {
    double red = 0, green = 0, blue = 0, alpha = 1;
    bool operator==(const RGBA&) const = default;
};

// Hue, saturation and brightness, each 0...1 (hue 1 is a full turn).
struct HSBA {
    double hue = 0, saturation = 0, brightness = 0, alpha = 1;
    bool operator==(const HSBA&) const = default;
};

// A colour value: either components in a colour space or a named dynamic
// colour that resolves when it is used (keeping an alpha set on it). Cheap to
// copy; compare with == for exact equality.
class Color {
public:
    // Components are stored as given; nothing is clamped until a colour is
    // turned into pixels or text, so out-of-range input stays visible.
    static Color sRGB(double red, double green, double blue, double alpha = 1);
    static Color calibratedRGB(double red, double green, double blue, double alpha = 1);
    static Color deviceRGB(double red, double green, double blue, double alpha = 1);
    static Color calibratedWhite(double white, double alpha = 1);
    static Color deviceWhite(double white, double alpha = 1);
    // sRGB from hue, saturation and brightness (0...1; hue wraps).
    static Color hsb(double hue, double saturation, double brightness, double alpha = 1);
    static Color system(SystemColor color);

    static Color white() { return calibratedWhite(1); }
    static Color black() { return calibratedWhite(0); }
    static Color clear() { return calibratedWhite(0, 0); }

    // "#RRGGBB" or "RRGGBB" (either case) as opaque sRGB; anything else, none.
    static std::optional<Color> fromHex(std::string_view text);

    Color() : Color(black()) {}

    bool isDynamic() const { return systemColor_.has_value(); }
    std::optional<SystemColor> systemColor() const { return systemColor_; }
    // The space of a component colour; sRGB for a dynamic one.
    ColorSpace colorSpace() const { return space_; }

    // A component colour; a dynamic colour resolved against `appearance`
    // (with the alpha set on it, if any). A component colour resolves to itself.
    Color resolved(Appearance appearance) const;
    Color resolved() const { return resolved(currentAppearance()); }

    // Components after resolving against the current appearance. A white
    // colour answers its white level in red, green and blue.
    RGBA rgba() const;
    RGBA rgba(Appearance appearance) const { return resolved(appearance).rgba(); }
    double red() const { return rgba().red; }
    double green() const { return rgba().green; }
    double blue() const { return rgba().blue; }
    double alpha() const;
    // White level; for RGB colours the Rec. 709 luminance.
    double whiteComponent() const;
    HSBA hsba() const;

    // Same colour with alpha replaced (a dynamic colour stays dynamic).
    Color withAlphaComponent(double alpha) const;
    // The colour in another space: RGB ↔ white via luminance; a dynamic colour
    // is resolved first against the current appearance.
    Color usingColorSpace(ColorSpace space) const;
    // `fraction` (clamped to 0...1) of the way from this colour to `other`,
    // component-wise in sRGB including alpha.
    Color blended(double fraction, const Color& other) const;

    // "#RRGGBB" of the sRGB form: each component clamped to 0...1 (NaN as 0),
    // times 255, rounded half away from zero; alpha ignored.
    std::string hexString() const;
    // For traces and test failures: "sRGB(0.2, 0.4, 1, 1)", "systemBlue alpha 0.72".
    std::string description() const;

    bool operator==(const Color&) const = default;

private:
    Color(ColorSpace space, double c0, double c1, double c2, double alpha);

    ColorSpace space_ = ColorSpace::calibratedWhite;
    double c0_ = 0, c1_ = 0, c2_ = 0;  // red/green/blue, or white in c0_
    double alpha_ = 1;
    std::optional<SystemColor> systemColor_;
    bool dynamicAlphaSet_ = false;  // a dynamic colour's alpha replaced by withAlphaComponent
};

}  // namespace tallowmere::platform
