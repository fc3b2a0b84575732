#include "platform/ui/segmented_control.h"

#include <algorithm>
#include <utility>

#include "platform/gfx/canvas.h"
#include "platform/ui/control_drawing.h"

namespace tallowmere::platform {

namespace {
constexpr double segmentPadding = 8;
}

std::shared_ptr<SegmentedControl> SegmentedControl::make(std::vector<std::string> labels, SegmentTrackingMode mode) {
    auto control = std::shared_ptr<SegmentedControl>(new SegmentedControl(labels.size(), mode));
    for (std::size_t i = 0; i < labels.size(); ++i) control->segments_[i].label = std::move(labels[i]);
    return control;
}

std::shared_ptr<SegmentedControl> SegmentedControl::makeWithImages(std::vector<Image> images, SegmentTrackingMode mode) {
    auto control = std::shared_ptr<SegmentedControl>(new SegmentedControl(images.size(), mode));
    for (std::size_t i = 0; i < images.size(); ++i) control->segments_[i].image = std::move(images[i]);
    return control;
}

SegmentedControl::SegmentedControl(std::size_t count, SegmentTrackingMode mode)
    : Control({}), segments_(count), trackingMode_(mode) {}

void SegmentedControl::setSegmentCount(int count) {
    segments_.resize(static_cast<std::size_t>(std::max(0, count)));
    if (lastSelected_ && !valid(*lastSelected_)) lastSelected_.reset();
    invalidateIntrinsicContentSize();
}

std::string SegmentedControl::label(int segment) const { return valid(segment) ? segments_[segment].label : std::string(); }
void SegmentedControl::setLabel(std::string label, int segment) {
    if (!valid(segment)) return;
    segments_[segment].label = std::move(label);
    invalidateIntrinsicContentSize();
}

std::optional<Image> SegmentedControl::image(int segment) const {
    return valid(segment) ? segments_[segment].image : std::nullopt;
}
void SegmentedControl::setImage(std::optional<Image> image, int segment) {
    if (!valid(segment)) return;
    segments_[segment].image = std::move(image);
    invalidateIntrinsicContentSize();
}

std::string SegmentedControl::toolTip(int segment) const { return valid(segment) ? segments_[segment].toolTip : std::string(); }
void SegmentedControl::setToolTip(std::string toolTip, int segment) {
    if (valid(segment)) segments_[segment].toolTip = std::move(toolTip);
}

double SegmentedControl::width(int segment) const { return valid(segment) ? segments_[segment].width : 0; }
void SegmentedControl::setWidth(double width, int segment) {
    if (!valid(segment)) return;
    segments_[segment].width = std::max(0.0, width);
    invalidateIntrinsicContentSize();
}

bool SegmentedControl::isEnabled(int segment) const { return valid(segment) && segments_[segment].enabled; }
void SegmentedControl::setEnabled(bool enabled, int segment) {
    if (!valid(segment)) return;
    segments_[segment].enabled = enabled;
    setNeedsDisplay();
}

int SegmentedControl::tag(int segment) const { return valid(segment) ? segments_[segment].tag : 0; }
void SegmentedControl::setTag(int tag, int segment) {
    if (valid(segment)) segments_[segment].tag = tag;
}

void SegmentedControl::setTrackingMode(SegmentTrackingMode mode) {
    trackingMode_ = mode;
    if (mode != SegmentTrackingMode::selectAny) setSelectedSegment(mode == SegmentTrackingMode::momentary ? std::nullopt : selectedSegment());
}

std::optional<int> SegmentedControl::selectedSegment() const {
    if (lastSelected_ && valid(*lastSelected_) && segments_[*lastSelected_].selected) return lastSelected_;
    for (int i = 0; i < segmentCount(); ++i)
        if (segments_[i].selected) return i;
    return std::nullopt;
}

void SegmentedControl::setSelectedSegment(std::optional<int> segment) {
    for (auto& s : segments_) s.selected = false;
    lastSelected_.reset();
    if (segment && valid(*segment)) {
        segments_[*segment].selected = true;
        lastSelected_ = segment;
    }
    setNeedsDisplay();
}

bool SegmentedControl::isSelected(int segment) const { return valid(segment) && segments_[segment].selected; }

void SegmentedControl::setSelected(bool selected, int segment) {
    if (!valid(segment)) return;
    if (selected && trackingMode_ != SegmentTrackingMode::selectAny) {
        setSelectedSegment(segment);
        return;
    }
    segments_[segment].selected = selected;
    if (selected) lastSelected_ = segment;
    setNeedsDisplay();
}

double SegmentedControl::contentWidth(const Segment& segment) const {
    if (segment.width > 0) return segment.width;
    double width = 0;
    if (segment.image) width += segment.image->size().width;
    if (!segment.label.empty()) width += (width > 0 ? 4 : 0) + ControlDrawing::measure(segment.label, font()).width;
    return width + 2 * segmentPadding;
}

std::vector<Rect> SegmentedControl::segmentRects() const {
    std::vector<Rect> rects;
    const Rect b = bounds();
    double natural = 0;
    for (const auto& segment : segments_) natural += contentWidth(segment);
    // Segments without a set width share the room beyond the natural widths.
    int flexible = 0;
    for (const auto& segment : segments_)
        if (segment.width <= 0) ++flexible;
    const double extra = flexible > 0 ? std::max(0.0, b.width() - natural) / flexible : 0;
    double x = b.minX();
    for (const auto& segment : segments_) {
        const double w = contentWidth(segment) + (segment.width <= 0 ? extra : 0);
        rects.push_back({x, b.minY(), w, b.height()});
        x += w;
    }
    return rects;
}

std::optional<int> SegmentedControl::segmentAt(Point point) const {
    const auto rects = segmentRects();
    for (std::size_t i = 0; i < rects.size(); ++i)
        if (rects[i].contains(point)) return static_cast<int>(i);
    return std::nullopt;
}

void SegmentedControl::performClick(int segment) {
    if (!Control::isEnabled() || !isEnabled(segment)) return;
    auto self = weak_from_this().lock();
    switch (trackingMode_) {
    case SegmentTrackingMode::selectOne:
        setSelectedSegment(segment);
        sendAction();
        break;
    case SegmentTrackingMode::selectAny:
        setSelected(!isSelected(segment), segment);
        lastSelected_ = segment;
        sendAction();
        break;
    case SegmentTrackingMode::momentary:
        setSelectedSegment(segment);
        sendAction();
        setSelectedSegment(std::nullopt);
        break;
    }
}

Size SegmentedControl::intrinsicContentSize() const {
    double width = 0;
    for (const auto& segment : segments_) width += contentWidth(segment);
    const double height = controlSize() == ControlSize::large ? 28 : controlSize() == ControlSize::small ? 19 : 22;
    return {width, height};
}

void SegmentedControl::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    const Rect b = bounds();
    ControlDrawing::drawBezel(canvas, b.insetBy(0.5, 0.5), 5, false, Control::isEnabled());
    const auto rects = segmentRects();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const Segment& segment = segments_[i];
        const Rect r = rects[i];
        canvas.save();
        // A picture in its own colours (a browser's logo) stays visible on a light wash of the accent.
        const bool ownColours = segment.image && segment.label.empty() && !segment.image->isTemplate();
        if (segment.selected || pressed_ == static_cast<int>(i)) {
            const Color accent = Color::system(SystemColor::controlAccent);
            canvas.setFillColor(enabledColor(ownColours ? accent.withAlphaComponent(0.3) : accent));
            canvas.fill(Path::roundedRect(r.insetBy(1.5, 1.5), 4));
        }
        if (i > 0) {
            canvas.setStrokeColor(Color::system(SystemColor::separator));
            canvas.setLineWidth(1);
            canvas.strokeLine({r.minX(), r.minY() + 4}, {r.minX(), r.maxY() - 4});
        }
        const bool dim = !Control::isEnabled() || !segment.enabled;
        const Color ink = segment.selected ? Color::white() : Color::system(SystemColor::controlText);
        const Color shown = dim ? ink.withAlphaComponent(0.45) : ink;
        const Rect content = r.insetBy(segmentPadding / 2, 2);
        if (segment.image && segment.label.empty()) {
            ControlDrawing::drawImage(canvas, *segment.image, content, ImageScaling::proportionallyDown, shown);
        } else {
            TextAttributes attributes;
            attributes.font = font();
            attributes.foregroundColor = shown;
            ControlDrawing::drawText(canvas, AttributedString(segment.label, attributes), content, TextAlignment::center,
                                     isFlipped());
        }
        canvas.restore();
    }
}

void SegmentedControl::mouseDown(const Event& event) {
    if (!Control::isEnabled()) return;
    pressed_ = segmentAt(locationInView(event));
    setNeedsDisplay();
}

void SegmentedControl::mouseUp(const Event& event) {
    const auto pressed = std::exchange(pressed_, std::nullopt);
    setNeedsDisplay();
    if (pressed && segmentAt(locationInView(event)) == pressed) performClick(*pressed);
}

}  // namespace tallowmere::platform
