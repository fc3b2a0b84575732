#include "screen/screen_ruler_view.h"

#include <cmath>
#include <cstdio>

#include "platform/desktop/desktop.h"
#include "platform/desktop/screen.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/font.h"
#include "platform/gfx/text_measurer.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/window.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr const char* titleText = "测量标尺 · 点击添点 · 拖动调整 · 右键撤销 · Esc 退出";
constexpr const char* hintText = "pt：逻辑点 · px：屏幕渲染像素 · 回车复制并退出";

// "%.1f" without a trailing ".0".
std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string result = text;
    if (result.ends_with(".0")) result.resize(result.size() - 2);
    return result;
}

double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

void drawButton(Canvas& canvas, Rect rect, const std::string& title, const Color& color) {
    canvas.setFillColor(color.withAlphaComponent(0.12));
    canvas.fillRoundedRect(rect, 8);
    const Font font = Font::systemFont(12, FontWeight::semibold);
    const Size size = TextMeasurer::shared().measure(title, font);
    canvas.drawText(title, {rect.midX() - size.width / 2, rect.midY() - size.height / 2}, font, color);
}

}  // namespace

std::shared_ptr<ScreenRulerView> ScreenRulerView::make(Rect frame) {
    return std::shared_ptr<ScreenRulerView>(new ScreenRulerView(frame));
}

ScreenRulerView::ScreenRulerView(Rect frame) : View(frame) { setCursor(CursorShape::crosshair); }

Rect ScreenRulerView::bannerRect() const {
    const Rect b = bounds();
    return {b.midX() - 285, b.maxY() - 74, 570, 60};
}

Rect ScreenRulerView::clearButtonRect() const {
    const Rect banner = bannerRect();
    return {banner.maxX() - 108, banner.midY() - 15, 48, 30};
}

Rect ScreenRulerView::closeButtonRect() const {
    const Rect banner = bannerRect();
    return {banner.maxX() - 54, banner.midY() - 15, 48, 30};
}

std::optional<double> ScreenRulerView::lastSegmentLength() const {
    for (std::size_t i = points_.size(); i-- > 1;) {
        if (connectsToPrevious_[i]) return distance(points_[i - 1], points_[i]);
    }
    return std::nullopt;
}

std::string ScreenRulerView::formattedDistance(double d) const {
    if (!std::isfinite(d) || d < 0) return "-";
    auto owner = window();
    auto screen = owner ? owner->screen() : nullptr;
    const double scale = screen ? screen->backingScaleFactor() : 0;
    if (std::isfinite(scale) && scale > 0) return number(d) + " pt / " + number(d * scale) + " px";
    return number(d) + " pt";
}

void ScreenRulerView::mouseDown(const Event& event) {
    // A click in the overlay gives it the keys, as a click in a panel that
    // takes them does: Delete and Command-Z then reach the ruler.
    if (auto owner = window(); owner && !owner->isKeyWindow()) {
        owner->makeKey();
        owner->makeFirstResponder(std::static_pointer_cast<View>(shared_from_this()));
    }
    const Point location = locationInView(event);
    if (closeButtonRect().contains(location)) {
        if (onClose) onClose();
        return;
    }
    if (clearButtonRect().contains(location)) {
        points_.clear();
        connectsToPrevious_.clear();
        startsNewSegment_ = false;
        draggedPointIndex_.reset();
        lastCanvasClickTime_.reset();
        lastCanvasClickPoint_.reset();
        setNeedsDisplay();
        return;
    }
    if (lastCanvasClickTime_ && lastCanvasClickPoint_ && event.clickCount >= 2) {
        const double since = event.timestamp - *lastCanvasClickTime_;
        if (since >= 0 && since <= DesktopLink::desktop().doubleClickInterval() &&
            distance(location, *lastCanvasClickPoint_) <= doubleClickDistance) {
            lastCanvasClickTime_.reset();
            lastCanvasClickPoint_.reset();
            startsNewSegment_ = true;
            draggedPointIndex_.reset();
            setNeedsDisplay();
            return;
        }
    }
    lastCanvasClickTime_ = event.timestamp;
    lastCanvasClickPoint_ = location;

    std::optional<std::size_t> nearest;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const double d = distance(points_[i], location);
        if (d <= grabDistance && (!nearest || d < distance(points_[*nearest], location))) nearest = i;
    }
    if (nearest) {
        draggedPointIndex_ = nearest;
        setNeedsDisplay();
        return;
    }
    connectsToPrevious_.push_back(!points_.empty() && !startsNewSegment_);
    points_.push_back(location);
    startsNewSegment_ = false;
    draggedPointIndex_ = points_.size() - 1;
    setNeedsDisplay();
}

void ScreenRulerView::mouseDragged(const Event& event) {
    if (!draggedPointIndex_ || *draggedPointIndex_ >= points_.size()) return;
    const Point location = locationInView(event);
    const Rect b = bounds();
    points_[*draggedPointIndex_] = {std::clamp(location.x, b.minX(), b.maxX()), std::clamp(location.y, b.minY(), b.maxY())};
    setNeedsDisplay();
}

void ScreenRulerView::mouseUp(const Event&) { draggedPointIndex_.reset(); }

void ScreenRulerView::undo() {
    if (points_.empty()) return;
    points_.pop_back();
    connectsToPrevious_.pop_back();
    startsNewSegment_ = false;
    setNeedsDisplay();
}

void ScreenRulerView::rightMouseDown(const Event&) {
    undo();
    draggedPointIndex_.reset();
}

void ScreenRulerView::keyDown(const Event& event) {
    if (event.keyCode == KeyCode::escape) {
        if (onClose) onClose();
        return;
    }
    const bool commandZ = event.modifierFlags.contains(ModifierFlags::command) && event.charactersIgnoringModifiers == "z";
    if (event.keyCode == KeyCode::deleteKey || event.keyCode == KeyCode::forwardDelete || commandZ) {
        undo();
        return;
    }
    View::keyDown(event);
}

void ScreenRulerView::draw(Canvas& canvas, Rect dirty) {
    View::draw(canvas, dirty);
    canvas.save();
    canvas.setFillColor(Color::black().withAlphaComponent(0.035));
    canvas.fillRect(bounds());

    const Font labelFont = Font::monospacedDigitSystemFont(12, FontWeight::semibold);
    for (std::size_t i = 1; i < points_.size(); ++i) {
        if (!connectsToPrevious_[i]) continue;
        const Point from = points_[i - 1], to = points_[i];
        canvas.save();
        canvas.setLineWidth(0.5);
        canvas.setLineCap(LineCap::round);
        canvas.setLineDash({6, 4}, 0);
        canvas.setStrokeColor(Color::system(SystemColor::secondaryLabel).withAlphaComponent(0.65));
        canvas.strokeLine(from, to);
        canvas.restore();
        const std::string text = formattedDistance(distance(from, to));
        const Size size = TextMeasurer::shared().measure(text, labelFont);
        const Point mid{(from.x + to.x) / 2, (from.y + to.y) / 2};
        const Rect pill{mid.x - size.width / 2 - 7, mid.y - size.height / 2 - 4, size.width + 14, size.height + 8};
        canvas.setFillColor(accent);
        canvas.fillRoundedRect(pill, 7);
        canvas.drawText(text, {pill.midX() - size.width / 2, pill.midY() - size.height / 2}, labelFont, Color::white());
    }
    canvas.setFillColor(accent);
    for (const Point& point : points_) canvas.fillEllipse({point.x - 4, point.y - 4, 8, 8});

    const Rect banner = bannerRect();
    canvas.setFillColor(Color::system(SystemColor::windowBackground).withAlphaComponent(0.96));
    canvas.fillRoundedRect(banner, 13);
    canvas.setStrokeColor(Color::system(SystemColor::separator));
    canvas.setLineWidth(1);
    canvas.strokeRoundedRect(banner, 13);
    canvas.drawText(titleText, {banner.minX() + 15, banner.maxY() - 26}, Font::systemFont(13, FontWeight::medium),
                    Color::system(SystemColor::label));
    canvas.drawText(hintText, {banner.minX() + 15, banner.minY() + 9}, Font::systemFont(11),
                    Color::system(SystemColor::secondaryLabel));
    drawButton(canvas, clearButtonRect(), "清空", Color::system(SystemColor::secondaryLabel));
    drawButton(canvas, closeButtonRect(), "关闭", Color::system(SystemColor::red));
    canvas.restore();
}

}  // namespace tallowmere
