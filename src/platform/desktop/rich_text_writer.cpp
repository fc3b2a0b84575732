#include "platform/desktop/rich_text_writer.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace tallowmere::platform {

namespace {

// Unstyled text reads as the standard RTF default, Helvetica 12.
constexpr const char* defaultFontName = "Helvetica";
constexpr double defaultPointSize = 12;

struct RunFormat {
    std::string fontName = defaultFontName;
    double pointSize = defaultPointSize;
    bool bold = false;
    bool italic = false;
    std::optional<AXColor> color;
};

RunFormat formatOf(const AXValue::Dictionary& attributes) {
    RunFormat format;
    if (auto found = attributes.find(AXStringAttribute::font); found != attributes.end() && found->second.asFont()) {
        const AXFont& font = *found->second.asFont();
        if (!font.fontName.empty()) format.fontName = font.fontName;
        if (std::isfinite(font.pointSize) && font.pointSize > 0) format.pointSize = font.pointSize;
        format.bold = font.isBold || font.weightTrait.value_or(0) >= 0.3;
    }
    auto color = attributes.find(AXStringAttribute::foregroundColor);
    if (color == attributes.end()) color = attributes.find(AXStringAttribute::axForegroundColor);
    if (color != attributes.end() && color->second.asColor() && color->second.asColor()->kind != AXColorKind::pattern) {
        format.color = color->second.asColor();
    }
    return format;
}

int byteOf(double component) {
    if (!std::isfinite(component)) return 0;
    return static_cast<int>(std::lround(std::clamp(component, 0.0, 1.0) * 255));
}

// The next code point of UTF-8 text; a broken sequence gives U+FFFD.
char32_t nextCodePoint(const std::string& text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (lead >= 0x80 && (lead < 0xC0 || at + length > text.size())) {
        ++at;
        return 0xFFFD;
    }
    char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
    for (std::size_t i = 1; i < length; ++i) c = (c << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    at += length;
    return c;
}

void appendEscaped(std::string& out, char32_t c) {
    auto unit = [&](char32_t u) {
        out += "\\u" + std::to_string(u >= 0x8000 ? static_cast<long>(u) - 65536 : static_cast<long>(u)) + " ";
    };
    if (c == '\\' || c == '{' || c == '}') {
        out += '\\';
        out += static_cast<char>(c);
    } else if (c == '\n') {
        out += "\\par\n";
    } else if (c == '\t') {
        out += "\\tab ";
    } else if (c >= 0x20 && c < 0x7F) {
        out += static_cast<char>(c);
    } else if (c >= 0x10000) {
        unit(0xD800 + ((c - 0x10000) >> 10));
        unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else if (c >= 0x20) {
        unit(c);
    }
}

}  // namespace

namespace RichTextWriter {

Data write(const AXAttributedString& text) {
    const auto runs = text.runs();
    std::vector<RunFormat> formats;
    std::vector<std::string> fonts;
    std::vector<AXColor> colors;
    for (const auto& run : runs) {
        formats.push_back(formatOf(run.attributes));
        const auto& format = formats.back();
        if (std::find(fonts.begin(), fonts.end(), format.fontName) == fonts.end()) fonts.push_back(format.fontName);
        if (format.color && std::find(colors.begin(), colors.end(), *format.color) == colors.end()) {
            colors.push_back(*format.color);
        }
    }
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0\n{\\fonttbl";
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        out += "\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
        for (char c : fonts[i]) {
            if (c != ';' && c != '{' && c != '}' && c != '\\') out += c;
        }
        out += ";";
    }
    out += "}\n{\\colortbl;";
    for (const auto& color : colors) {
        out += "\\red" + std::to_string(byteOf(color.red)) + "\\green" + std::to_string(byteOf(color.green)) +
               "\\blue" + std::to_string(byteOf(color.blue)) + ";";
    }
    out += "}\n\\pard ";
    const std::string& whole = text.string();
    std::size_t at = 0;
    for (std::size_t index = 0; index < runs.size(); ++index) {
        const auto& format = formats[index];
        const auto font = std::find(fonts.begin(), fonts.end(), format.fontName) - fonts.begin();
        const auto color = format.color ? std::find(colors.begin(), colors.end(), *format.color) - colors.begin() + 1 : 0;
        out += "\\f" + std::to_string(font) + "\\fs" + std::to_string(std::lround(format.pointSize * 2)) +
               (format.bold ? "\\b" : "\\b0") + (format.italic ? "\\i" : "\\i0") + "\\cf" + std::to_string(color) + " ";
        // Runs count UTF-16 units.
        std::int64_t units = runs[index].length;
        while (units > 0 && at < whole.size()) {
            const char32_t c = nextCodePoint(whole, at);
            units -= c >= 0x10000 ? 2 : 1;
            appendEscaped(out, c);
        }
    }
    out += "}";
    return Data(out.begin(), out.end());
}

}  // namespace RichTextWriter

}  // namespace tallowmere::platform
