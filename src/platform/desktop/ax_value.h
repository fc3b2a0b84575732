#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/base/data.h"
#include "platform/desktop/ax_element.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

// A text range counted in UTF-16 code units, as Accessibility counts them.
struct AXRange {
    std::int64_t location = 0;
    std::int64_t length = 0;
    bool operator==(const AXRange&) const = default;
};

// An opaque position range inside a web-style text element; only the element
// that handed it out understands it.
struct AXTextMarkerRange {
    std::uint64_t owner = 0;
    AXRange range{};
    bool operator==(const AXTextMarkerRange&) const = default;
};

// A URL value (a document, say), kept as its absolute string.
struct AXURL {
    std::string absoluteString{};
    bool operator==(const AXURL&) const = default;
};

// The standard font attribute of an attributed string: a font object with
// its names, size and weight trait.
struct AXFont {
    std::string fontName{};     // PostScript-style name, "Helvetica-Bold"
    std::string familyName{};   // "Helvetica"
    std::string displayName{};  // "Helvetica Bold"; may be empty
    double pointSize = 12;
    std::optional<double> weightTrait{};  // -1 … 1 when the descriptor has one
    bool isBold = false;                  // symbolic bold trait
    bool operator==(const AXFont&) const = default;
};

enum class AXColorKind { colour, cgColor, pattern };

// A colour value. `pattern` stands for a colour that has no sRGB components.
struct AXColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
    AXColorKind kind = AXColorKind::colour;
    bool operator==(const AXColor&) const = default;
};

class AXAttributedString;

// One attribute value as Accessibility hands it over. A reader must check
// the kind: a value of another kind than expected counts as absent.
class AXValue {
  public:
    using Array = std::vector<AXValue>;
    using Dictionary = std::map<std::string, AXValue>;
    struct Null {
        bool operator==(const Null&) const = default;
    };

    AXValue() : storage_(Null{}) {}
    AXValue(bool v) : storage_(v) {}
    AXValue(int v) : storage_(static_cast<double>(v)) {}
    AXValue(double v) : storage_(v) {}
    AXValue(std::string v) : storage_(std::move(v)) {}
    AXValue(const char* v) : storage_(std::string(v)) {}
    AXValue(AXPoint v) : storage_(v) {}
    AXValue(Size v) : storage_(v) {}
    AXValue(AXRect v) : storage_(v) {}
    AXValue(AXRange v) : storage_(v) {}
    AXValue(AXTextMarkerRange v) : storage_(v) {}
    AXValue(AXURL v) : storage_(std::move(v)) {}
    AXValue(AXFont v) : storage_(std::move(v)) {}
    AXValue(AXColor v) : storage_(v) {}
    AXValue(AXElement v) : storage_(std::move(v)) {}
    AXValue(std::vector<AXElement> v) : storage_(std::move(v)) {}
    AXValue(Data v) : storage_(std::move(v)) {}
    AXValue(Array v) : storage_(std::move(v)) {}
    AXValue(Dictionary v) : storage_(std::move(v)) {}
    AXValue(AXAttributedString v);

    bool isNull() const { return std::holds_alternative<Null>(storage_); }

    // Typed reads; empty when the value is of another kind.
    std::optional<bool> asBool() const { return get<bool>(); }
    std::optional<double> asNumber() const { return get<double>(); }
    const std::string* asString() const { return std::get_if<std::string>(&storage_); }
    std::optional<AXPoint> asPoint() const { return get<AXPoint>(); }
    std::optional<Size> asSize() const { return get<Size>(); }
    std::optional<AXRect> asRect() const { return get<AXRect>(); }
    std::optional<AXRange> asRange() const { return get<AXRange>(); }
    std::optional<AXTextMarkerRange> asTextMarkerRange() const { return get<AXTextMarkerRange>(); }
    const AXURL* asURL() const { return std::get_if<AXURL>(&storage_); }
    const AXFont* asFont() const { return std::get_if<AXFont>(&storage_); }
    std::optional<AXColor> asColor() const { return get<AXColor>(); }
    const AXElement* asElement() const { return std::get_if<AXElement>(&storage_); }
    const std::vector<AXElement>* asElements() const {
        return std::get_if<std::vector<AXElement>>(&storage_);
    }
    const Data* asData() const { return std::get_if<Data>(&storage_); }
    const Array* asArray() const { return std::get_if<Array>(&storage_); }
    const Dictionary* asDictionary() const { return std::get_if<Dictionary>(&storage_); }
    const AXAttributedString* asAttributedString() const;

    bool operator==(const AXValue& other) const;

  private:
    template <class T>
    std::optional<T> get() const {
        if (auto* v = std::get_if<T>(&storage_)) return *v;
        return std::nullopt;
    }

    std::variant<Null, bool, double, std::string, AXPoint, Size, AXRect, AXRange, AXTextMarkerRange,
                 AXURL, AXFont, AXColor, AXElement, std::vector<AXElement>, Data, Array, Dictionary,
                 std::shared_ptr<const AXAttributedString>>
        storage_;
};

// Attribute keys of attributed strings.
namespace AXStringAttribute {
constexpr const char* font = "NSFont";                          // AXFont
constexpr const char* foregroundColor = "NSColor";              // AXColor
constexpr const char* axFont = "AXFont";                        // dictionary of the keys below
constexpr const char* axForegroundColor = "AXForegroundColor";  // AXColor
constexpr const char* axFontName = "AXFontName";
constexpr const char* axVisibleName = "AXVisibleName";
constexpr const char* axFontFamily = "AXFontFamily";
constexpr const char* axFontSize = "AXFontSize";
constexpr const char* axFontWeight = "AXFontWeight";
}  // namespace AXStringAttribute

// A string with attribute runs. Runs cover the text in order; a run's
// length counts UTF-16 code units.
class AXAttributedString {
  public:
    struct Run {
        std::int64_t length = 0;
        AXValue::Dictionary attributes;
        bool operator==(const Run&) const = default;
    };

    AXAttributedString() = default;
    explicit AXAttributedString(std::string text) : text_(std::move(text)) {}
    AXAttributedString(std::string text, std::vector<Run> runs)
        : text_(std::move(text)), runs_(std::move(runs)) {}

    const std::string& string() const { return text_; }
    // The runs, with any text the runs leave uncovered as one run without attributes.
    std::vector<Run> runs() const;
    // The text of run `index` of `runs()`.
    std::string runText(std::size_t index) const;
    // The part of the string in `range` (clamped), with its runs cut to it.
    AXAttributedString substring(AXRange range) const;

    bool operator==(const AXAttributedString&) const = default;

  private:
    std::string text_;
    std::vector<Run> runs_;
};

inline AXValue::AXValue(AXAttributedString v)
    : storage_(std::make_shared<const AXAttributedString>(std::move(v))) {}

}  // namespace tallowmere::platform
