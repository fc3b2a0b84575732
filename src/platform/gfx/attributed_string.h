#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/color.h"
#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

enum class UnderlineStyle { none, single, thick, double_ };

class Image;

// A picture that stands in a text for one object replacement character
// (U+FFFC), such as the icon before a button's title. `bounds` places it
// against the line: x from the pen position, y up from the baseline; its
// width is the character's advance.
struct TextAttachment {
    std::shared_ptr<const Image> image;
    Rect bounds;
};

// How a run looks. Absent font and colour mean the drawer's defaults (the
// system font at its standard size, the label colour).
struct TextAttributes {
    std::optional<Font> font{};
    std::optional<Color> foregroundColor{};
    std::optional<Color> backgroundColor{};
    UnderlineStyle underline = UnderlineStyle::none;
    std::optional<Color> underlineColor{};
    bool strikethrough = false;
    double kern = 0;            // extra points after each grapheme
    double baselineOffset = 0;  // points up from the baseline
    // Set on the replacement characters that show a picture.
    std::shared_ptr<const TextAttachment> attachment{};
    bool operator==(const TextAttributes&) const = default;
};

// A range of UTF-8 bytes of a text.
struct TextRange {
    std::size_t location = 0;
    std::size_t length = 0;
    std::size_t end() const { return location + length; }
    bool operator==(const TextRange&) const = default;
};

// Text with attributes over its ranges, kept as consecutive runs that cover
// the text exactly. Ranges are in UTF-8 bytes; a range that reaches past the
// end is cut at the end, one that starts past it changes nothing.
class AttributedString {
public:
    struct Run {
        TextRange range;
        TextAttributes attributes;
        bool operator==(const Run&) const = default;
    };

    AttributedString() : AttributedString(std::string()) {}
    explicit AttributedString(std::string text, TextAttributes attributes = {});
    // One object replacement character that shows `image` at `bounds`; the
    // other attributes (its font, say) count for the line it stands in.
    static AttributedString attachment(const Image& image, Rect bounds, TextAttributes attributes = {});
    static constexpr std::string_view attachmentCharacter = "\uFFFC";

    const std::string& text() const { return text_; }
    bool empty() const { return text_.empty(); }
    std::size_t length() const { return text_.size(); }
    // Adjacent runs with equal attributes are merged.
    const std::vector<Run>& runs() const { return runs_; }
    std::string_view textOf(const Run& run) const;
    // Where the pictures stand: the byte offset of each attachment character.
    std::vector<std::pair<std::size_t, std::shared_ptr<const TextAttachment>>> attachments() const;
    // Attributes at a byte offset; the last run's at the end; default when empty.
    TextAttributes attributesAt(std::size_t offset) const;

    void setAttributes(TextRange range, const TextAttributes& attributes);
    void setFont(TextRange range, const Font& font);
    void setForegroundColor(TextRange range, const Color& color);
    void setUnderline(TextRange range, UnderlineStyle style);
    TextRange wholeRange() const { return {0, text_.size()}; }

    // Appends text that takes `attributes`.
    void append(std::string_view text, const TextAttributes& attributes = {});
    void append(const AttributedString& other);
    // Replaces every occurrence of `target` (not empty) with `replacement`,
    // which takes the attributes at the start of each occurrence.
    void replaceOccurrences(std::string_view target, std::string_view replacement);

    // First or last occurrence of `needle`, if any.
    std::optional<TextRange> find(std::string_view needle) const;
    std::optional<TextRange> findLast(std::string_view needle) const;

    bool operator==(const AttributedString&) const = default;

private:
    template <class Change>
    void modify(TextRange range, Change change);
    void normalize();

    std::string text_;
    std::vector<Run> runs_;
};

}  // namespace tallowmere::platform
