#include "platform/desktop/window_painter.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/gfx/font.h"
#include "platform/gfx/text_measurer.h"

namespace tallowmere::platform {

void WindowPainter::paintWindow(Canvas& canvas, Rect frame, const std::string& title,
                                double alpha, const std::string& content) {
    canvas.save();
    canvas.setAlpha(alpha);
    canvas.setFillColor(Color::white());
    canvas.fillRect(frame);
    const double barHeight = std::min(titleBarHeight, frame.height());
    const Rect bar{frame.minX(), frame.maxY() - barHeight, frame.width(), barHeight};
    canvas.setFillColor(titleBarColor);
    canvas.fillRect(bar);
    if (!title.empty()) {
        const Font font = Font::systemFont(13, FontWeight::semibold);
        const Size size = TextMeasurer::shared().measure(title, font);
        canvas.save();
        canvas.clipToRect(bar);
        canvas.drawText(title, {bar.midX() - size.width / 2, bar.midY() - size.height / 2}, font,
                        Color::black());
        canvas.restore();
    }
    if (!content.empty() && frame.height() > barHeight) {
        const Font font = Font::systemFont(13);
        const Rect body{frame.minX(), frame.minY(), frame.width(), frame.height() - barHeight};
        const Size size = TextMeasurer::shared().measure(content, font);
        canvas.save();
        canvas.clipToRect(body);
        canvas.drawText(content, {body.minX() + 12, body.maxY() - 12 - size.height}, font,
                        Color::black());
        canvas.restore();
    }
    canvas.setStrokeColor(frameColor);
    canvas.setLineWidth(1);
    canvas.strokeRect(frame.insetBy(0.5, 0.5));
    canvas.restore();
}

}  // namespace tallowmere::platform
