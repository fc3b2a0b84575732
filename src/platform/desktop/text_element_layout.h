#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

// Where the text of another application's text element sits in the
// element: one line per paragraph (no wrapping), from the top-left corner
// less `inset`, in the 13 pt system font. The screen picture draws the text
// by it and a press in the text is placed by it, so what a person selects
// is what they see.
class TextElementLayout {
  public:
    static constexpr double inset = 8;
    static Font font();

    struct Line {
        std::size_t start = 0;  // bytes of the text
        std::size_t end = 0;    // before the line's "\n"
    };

    explicit TextElementLayout(std::string text);

    const std::string& text() const { return text_; }
    const std::vector<Line>& lines() const { return lines_; }
    double lineHeight() const { return lineHeight_; }
    // The top of line `index`, from the element's top edge (y down).
    double lineTop(std::size_t index) const { return inset + lineHeight_ * static_cast<double>(index); }
    // The x of a byte offset inside `line`, from the element's left edge.
    double x(const Line& line, std::size_t byteOffset) const;
    // The UTF-16 offset of the character boundary nearest to `point`, given
    // from the element's top-left corner (y down), as a press places the caret.
    std::int64_t offsetAt(Point point) const;

  private:
    std::string text_;
    std::vector<Line> lines_;
    double lineHeight_;
};

}  // namespace tallowmere::platform
