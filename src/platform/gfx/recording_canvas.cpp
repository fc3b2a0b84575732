#include "platform/gfx/recording_canvas.h"

namespace tallowmere::platform {

RecordingCanvas::RecordingCanvas(Size size, double scale, Options options) : Canvas(size, scale), options_(options) {}

std::vector<std::string> RecordingCanvas::drawnTexts() const {
    std::vector<std::string> texts;
    for (const auto& op : operationsOf<TextOp>()) texts.push_back(op.text.text());
    return texts;
}

void RecordingCanvas::onSave() { operations_.push_back(SaveOp{}); }
void RecordingCanvas::onRestore() { operations_.push_back(RestoreOp{}); }

void RecordingCanvas::onFill(const Path& path, FillRule rule) { operations_.push_back(FillOp{path, rule, state()}); }

void RecordingCanvas::onStroke(const Path& path) { operations_.push_back(StrokeOp{path, state()}); }

void RecordingCanvas::onClip(const Path& path, FillRule rule) { operations_.push_back(ClipOp{path, rule, state()}); }

void RecordingCanvas::onLinearGradient(const Gradient& gradient, Point start, Point end) {
    operations_.push_back(LinearGradientOp{gradient, start, end, state()});
}

void RecordingCanvas::onRadialGradient(const Gradient& gradient, Point startCenter, double startRadius,
                                       Point endCenter, double endRadius) {
    operations_.push_back(RadialGradientOp{gradient, startCenter, startRadius, endCenter, endRadius, state()});
}

void RecordingCanvas::onImage(const Image& image, Rect destination, std::optional<Rect> source, double opacity,
                              CompositingOperation operation) {
    operations_.push_back(ImageOp{image, destination, source, opacity, operation, state()});
    const auto* handler = image.drawHandler();
    if (!options_.recordImageContents || !handler || !*handler) return;
    const Size size = image.size();
    save();
    clipToRect(destination);
    translate(destination.minX(), destination.minY());
    scale(destination.width() / size.width, destination.height() / size.height);
    (*handler)(*this, Rect{0, 0, size.width, size.height});
    restore();
}

void RecordingCanvas::onText(const AttributedString& text, Point origin, std::optional<double> wrapWidth) {
    operations_.push_back(TextOp{text, origin, wrapWidth, state()});
}

}  // namespace tallowmere::platform
