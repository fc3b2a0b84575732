#include "platform/desktop/file_icon_painter.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/gfx/canvas.h"
#include "platform/gfx/font.h"
#include "platform/gfx/text_measurer.h"

namespace tallowmere::platform {

namespace {
constexpr Size iconSize{64, 64};

}  // namespace

FileIconPainter::Kind FileIconPainter::kindOf(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    std::string lowered = trimmed;
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (lowered.size() > 4 && lowered.ends_with(".app")) return Kind::application;
    std::error_code error;
    if (path.ends_with('/') || std::filesystem::is_directory(trimmed, error)) return Kind::folder;
    return Kind::document;
}

Image FileIconPainter::icon(Kind kind, const std::string& extension) {
    return Image::withHandler(iconSize, [kind, extension](Canvas& canvas, Rect rect) {
        const double s = rect.width() / iconSize.width;
        switch (kind) {
            case Kind::folder:
                canvas.setFillColor(Color::sRGB(0.35, 0.66, 0.93));
                canvas.fillRoundedRect({rect.minX() + 4 * s, rect.minY() + 10 * s, 56 * s, 40 * s},
                                       4 * s);
                canvas.fillRoundedRect({rect.minX() + 4 * s, rect.minY() + 46 * s, 24 * s, 8 * s},
                                       3 * s);
                break;
            case Kind::application:
                canvas.setFillColor(Color::sRGB(0.55, 0.57, 0.62));
                canvas.fillRoundedRect(rect.insetBy(6 * s, 6 * s), 12 * s);
                break;
            case Kind::document: {
                const Rect page{rect.minX() + 12 * s, rect.minY() + 4 * s, 40 * s, 56 * s};
                canvas.setFillColor(Color::white());
                canvas.fillRect(page);
                canvas.setStrokeColor(Color::sRGB(0.6, 0.6, 0.6));
                canvas.setLineWidth(s);
                canvas.strokeRect(page.insetBy(0.5 * s, 0.5 * s));
                if (!extension.empty()) {
                    std::string label = extension.substr(0, 4);
                    std::transform(label.begin(), label.end(), label.begin(),
                                   [](unsigned char c) { return std::toupper(c); });
                    const Font font = Font::systemFont(10 * s, FontWeight::bold);
                    const Size size = TextMeasurer::shared().measure(label, font);
                    canvas.drawText(label, {page.midX() - size.width / 2, page.minY() + 8 * s},
                                    font, Color::sRGB(0.4, 0.4, 0.4));
                }
                break;
            }
        }
        return true;
    });
}

}  // namespace tallowmere::platform
