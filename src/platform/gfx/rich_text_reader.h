#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/attributed_string.h"
#include "platform/gfx/color.h"

namespace tallowmere::platform {

// Text read from RTF, with the character formats it names: the font as the
// font table spells it (the system may not have that face), the size, bold
// and italic, and the colour from the colour table.
struct RichText {
    struct Run {
        std::size_t length = 0;  // UTF-8 bytes
        std::string fontName{};  // empty when the text names no font
        double pointSize = 12;
        bool bold = false;
        bool italic = false;
        std::optional<Color> color{};  // none for the automatic colour
        bool operator==(const Run&) const = default;
    };

    std::string text;
    std::vector<Run> runs;  // cover `text` in order; neighbours differ

    // The same text with fonts the system has (the system font in place of
    // a face it lacks).
    AttributedString attributedString() const;
};

// Reads the RTF that applications hand over for styled text: groups, the
// font and colour tables, \f, \fs, \b, \i, \cf, \plain, paragraph and line
// breaks, tabs, \'hh and \u escapes; every other control word and every
// starred or metadata group is skipped. None for input that is not RTF or
// nests deeper than any real document does.
namespace RichTextReader {
std::optional<RichText> read(std::string_view rtf);
}

}  // namespace tallowmere::platform
