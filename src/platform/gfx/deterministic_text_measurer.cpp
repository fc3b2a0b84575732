#include "platform/gfx/deterministic_text_measurer.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/base/text.h"

namespace tallowmere::platform {
namespace {

struct Grapheme {
    double advance = 0;  // kern included
    double ascent = 0;
    double descent = 0;
    bool isSpace = false;
    bool isWide = false;
    bool isNewline = false;
};

double fontSize(const TextAttributes& attributes) {
    return attributes.font ? attributes.font->pointSize() : Font::systemFontSize;
}

bool isWideCodePoint(UChar32 c) {
    const auto width = u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH);
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH || u_hasBinaryProperty(c, UCHAR_EMOJI_PRESENTATION);
}

std::vector<Grapheme> graphemes(const AttributedString& text) {
    const std::string& s = text.text();
    const auto boundaries = Text::graphemeBoundaries(s);
    std::vector<Grapheme> result;
    for (std::size_t i = 0; i + 1 < boundaries.size(); ++i) {
        const std::size_t start = boundaries[i], end = boundaries[i + 1];
        const TextAttributes attributes = text.attributesAt(start);
        const double size = fontSize(attributes);
        Grapheme g;
        g.ascent = size * DeterministicTextMeasurer::ascentRatio;
        g.descent = size * DeterministicTextMeasurer::descentRatio;
        int32_t offset = static_cast<int32_t>(start);
        UChar32 first = 0;
        U8_NEXT(reinterpret_cast<const uint8_t*>(s.data()), offset, static_cast<int32_t>(end), first);
        g.isNewline = first == '\n' || first == '\r' || first == 0x2028 || first == 0x2029;
        if (g.isNewline) {
            result.push_back(g);
            continue;
        }
        if (attributes.attachment && first == 0xFFFC) {
            // A picture: as wide as its box, reaching as far as its box above and below the baseline.
            const Rect& box = attributes.attachment->bounds;
            g.advance = box.width();
            g.ascent = std::max(g.ascent, box.maxY());
            g.descent = std::max(g.descent, -box.minY());
            g.isWide = true;
            result.push_back(g);
            continue;
        }
        g.isSpace = first >= 0 && u_isWhitespace(first);
        // An emoji variation selector anywhere in the cluster makes it wide.
        bool wide = first >= 0 && isWideCodePoint(first);
        for (int32_t k = offset; !wide && k < static_cast<int32_t>(end);) {
            UChar32 c = 0;
            U8_NEXT(reinterpret_cast<const uint8_t*>(s.data()), k, static_cast<int32_t>(end), c);
            wide = c == 0xFE0F;
        }
        g.isWide = wide;
        const double kern = std::isfinite(attributes.kern) ? attributes.kern : 0;
        g.advance = size * (wide ? DeterministicTextMeasurer::wideAdvance : DeterministicTextMeasurer::narrowAdvance) +
                    kern;
        result.push_back(g);
    }
    return result;
}

struct LineBox {
    double width = 0;
    double ascent = 0;
    double descent = 0;
};

}  // namespace

LineMetrics DeterministicTextMeasurer::lineMetrics(const Font& font) const {
    return {font.pointSize() * ascentRatio, font.pointSize() * descentRatio, 0};
}

Size DeterministicTextMeasurer::measure(const AttributedString& text, std::optional<double> wrapWidth) const {
    const auto glyphs = graphemes(text);
    const bool wraps = wrapWidth && std::isfinite(*wrapWidth);
    const double limit = wraps ? std::max(0.0, *wrapWidth) : 0;
    const double emptySize = fontSize(text.attributesAt(0));

    std::vector<LineBox> lines;
    // Lays out glyphs [from, to) as one line, without the spaces at its end
    // when the line was wrapped.
    auto closeLine = [&](std::size_t from, std::size_t to, bool trimSpaces, double fallbackSize) {
        std::size_t last = to;
        if (trimSpaces)
            while (last > from && glyphs[last - 1].isSpace) --last;
        LineBox box;
        for (std::size_t i = from; i < to; ++i) {
            if (i < last) box.width += glyphs[i].advance;
            box.ascent = std::max(box.ascent, glyphs[i].ascent);
            box.descent = std::max(box.descent, glyphs[i].descent);
        }
        if (from == to) {
            box.ascent = fallbackSize * ascentRatio;
            box.descent = fallbackSize * descentRatio;
        }
        lines.push_back(box);
    };

    std::size_t lineStart = 0;
    double width = 0;
    std::optional<std::size_t> breakAfter;  // a line may end after this glyph
    double lastSize = emptySize;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const Grapheme& g = glyphs[i];
        if (g.isNewline) {
            closeLine(lineStart, i, false, g.ascent / ascentRatio);
            lineStart = i + 1;
            width = 0;
            breakAfter.reset();
            lastSize = g.ascent / ascentRatio;
            continue;
        }
        if (wraps && !g.isSpace && i > lineStart && width + g.advance > limit) {
            // Break at the last opportunity, or before this glyph when the
            // word alone is wider than the line.
            const std::size_t end = breakAfter ? *breakAfter + 1 : i;
            closeLine(lineStart, end, true, lastSize);
            lineStart = end;
            width = 0;
            breakAfter.reset();
            for (std::size_t k = lineStart; k < i; ++k) {
                width += glyphs[k].advance;
                if (glyphs[k].isSpace || glyphs[k].isWide || glyphs[k + 1].isWide) breakAfter = k;
            }
        }
        width += g.advance;
        // Spaces end a word; wide characters (CJK, emoji) may break on either side.
        if (g.isSpace || g.isWide || (i + 1 < glyphs.size() && glyphs[i + 1].isWide)) breakAfter = i;
        lastSize = g.ascent / ascentRatio;
    }
    closeLine(lineStart, glyphs.size(), wraps, lastSize);

    Size size;
    for (const auto& line : lines) {
        size.width = std::max(size.width, line.width);
        size.height += line.ascent + line.descent;
    }
    return size;
}

}  // namespace tallowmere::platform
