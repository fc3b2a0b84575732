#include "platform/ui/control_drawing.h"

#include <algorithm>
#include <string>

#include "platform/gfx/text_measurer.h"
#include "platform/ui/grapheme_boundaries.h"

namespace tallowmere::platform::ControlDrawing {

Size measure(const AttributedString& text, std::optional<double> wrapWidth) {
    return TextMeasurer::shared().measure(text, wrapWidth);
}

Size measure(std::string_view text, const Font& font) { return TextMeasurer::shared().measure(text, font); }

Size measureLines(const AttributedString& text, std::optional<double> wrapWidth, int lines) {
    return TextMeasurer::shared().measureLines(text, wrapWidth, lines);
}

double lineHeight(const Font& font) { return TextMeasurer::shared().lineMetrics(font).lineHeight(); }

AttributedString withDefaults(const AttributedString& text, const TextAttributes& defaults, bool dimmed) {
    AttributedString styled = text;
    for (const auto& run : text.runs()) {
        TextAttributes merged = run.attributes;
        if (!merged.font) merged.font = defaults.font;
        if (!merged.foregroundColor) merged.foregroundColor = defaults.foregroundColor;
        if (dimmed && merged.foregroundColor)
            merged.foregroundColor = merged.foregroundColor->withAlphaComponent(merged.foregroundColor->alpha() * disabledAlphaFactor);
        styled.setAttributes(run.range, merged);
    }
    return styled;
}

void drawText(Canvas& canvas, const AttributedString& text, Rect box, TextAlignment alignment, bool flipped, bool wrap,
              bool fromTop) {
    if (text.empty()) return;
    const Size size = measure(text, wrap ? std::optional<double>(box.width()) : std::nullopt);
    double x = box.minX();
    switch (alignment) {
    case TextAlignment::center: x = box.midX() - size.width / 2; break;
    case TextAlignment::right: x = box.maxX() - size.width; break;
    default: break;
    }
    if (wrap) x = box.minX();
    // The top edge of the text, measured downward from the box's visual top.
    const double down = fromTop ? 0 : std::max(0.0, (box.height() - size.height) / 2);
    if (wrap) {
        const Rect textBox{box.minX(), flipped ? box.minY() + down : box.minY(), box.width(),
                           flipped ? box.height() - down : box.height() - down};
        canvas.drawText(text, textBox);
        return;
    }
    // A text's box grows toward +y from its origin (upward unless flipped).
    const double y = flipped ? box.minY() + down : box.maxY() - down - size.height;
    canvas.drawText(text, Point{x, y});
}

Rect imageRect(Size imageSize, Rect box, ImageScaling scaling) {
    Size drawn = imageSize;
    if (imageSize.width > 0 && imageSize.height > 0) {
        const double fit = std::min(box.width() / imageSize.width, box.height() / imageSize.height);
        switch (scaling) {
        case ImageScaling::proportionallyDown:
            if (fit < 1) drawn = {imageSize.width * fit, imageSize.height * fit};
            break;
        case ImageScaling::proportionallyUpOrDown: drawn = {imageSize.width * fit, imageSize.height * fit}; break;
        case ImageScaling::axesIndependently: drawn = box.size; break;
        case ImageScaling::none: break;
        }
    }
    return {box.midX() - drawn.width / 2, box.midY() - drawn.height / 2, drawn.width, drawn.height};
}

void drawImage(Canvas& canvas, const Image& image, Rect box, ImageScaling scaling, std::optional<Color> tint,
               double opacity) {
    const Rect where = imageRect(image.size(), box, scaling);
    if (where.isEmpty()) return;
    if (image.isTemplate()) {
        image.tinted(tint.value_or(Color::system(SystemColor::label))).draw(canvas, where, std::nullopt, opacity);
    } else {
        image.draw(canvas, where, std::nullopt, opacity);
    }
}

void drawBezel(Canvas& canvas, Rect rect, double radius, bool highlighted, bool enabled, std::optional<Color> fill) {
    canvas.save();
    Color face = fill.value_or(Color::system(SystemColor::controlBackground));
    if (highlighted) face = face.blended(0.2, Color::black());
    if (!enabled) face = face.withAlphaComponent(face.alpha() * 0.6);
    canvas.setFillColor(face);
    canvas.fill(Path::roundedRect(rect, radius));
    canvas.setStrokeColor(Color::system(SystemColor::separator));
    canvas.setLineWidth(1);
    canvas.stroke(Path::roundedRect(rect.insetBy(0.5, 0.5), std::max(0.0, radius - 0.5)));
    canvas.restore();
}

std::string truncatedToWidth(std::string_view text, const Font& font, double width) {
    if (measure(text, font).width <= width) return std::string(text);
    const auto boundaries = GraphemeBoundaries::all(text);
    static constexpr std::string_view ellipsis = "…";
    // The longest prefix that fits with the ellipsis after it.
    std::size_t low = 0, high = boundaries.size() - 1;
    while (low < high) {
        const std::size_t mid = (low + high + 1) / 2;
        std::string candidate(text.substr(0, boundaries[mid]));
        candidate += ellipsis;
        if (measure(candidate, font).width <= width) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    std::string result(text.substr(0, boundaries[low]));
    result += ellipsis;
    return result;
}

}  // namespace tallowmere::platform::ControlDrawing
