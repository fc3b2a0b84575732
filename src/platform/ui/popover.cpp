#include "platform/ui/popover.h"

#include <algorithm>

#include "platform/desktop/screen.h"
#include "platform/desktop/window_level.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/path.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/ui_trace.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

namespace {

constexpr double cornerRadius = 10;
constexpr double arrowHalfWidth = 9;

// The bubble: a rounded rectangle with an arrow on the anchor's side, the
// content inside it.
class PopoverFrameView final : public View {
public:
    PopoverFrameView(Rect frame, RectEdge arrowEdge, double arrowAt)
        : View(frame), arrowEdge_(arrowEdge), arrowAt_(arrowAt) {}

    void draw(Canvas& canvas, Rect) override {
        const Rect all = bounds();
        const double a = Popover::arrowLength;
        Rect body = all;
        Path arrow;
        switch (arrowEdge_) {
            case RectEdge::maxY:  // the anchor is above: the arrow points up
                body = {all.minX(), all.minY(), all.width(), all.height() - a};
                arrow.moveTo({arrowAt_ - arrowHalfWidth, body.maxY()});
                arrow.lineTo({arrowAt_, all.maxY()});
                arrow.lineTo({arrowAt_ + arrowHalfWidth, body.maxY()});
                break;
            case RectEdge::minY:
                body = {all.minX(), all.minY() + a, all.width(), all.height() - a};
                arrow.moveTo({arrowAt_ - arrowHalfWidth, body.minY()});
                arrow.lineTo({arrowAt_, all.minY()});
                arrow.lineTo({arrowAt_ + arrowHalfWidth, body.minY()});
                break;
            case RectEdge::minX:
                body = {all.minX() + a, all.minY(), all.width() - a, all.height()};
                arrow.moveTo({body.minX(), arrowAt_ - arrowHalfWidth});
                arrow.lineTo({all.minX(), arrowAt_});
                arrow.lineTo({body.minX(), arrowAt_ + arrowHalfWidth});
                break;
            case RectEdge::maxX:
                body = {all.minX(), all.minY(), all.width() - a, all.height()};
                arrow.moveTo({body.maxX(), arrowAt_ - arrowHalfWidth});
                arrow.lineTo({all.maxX(), arrowAt_});
                arrow.lineTo({body.maxX(), arrowAt_ + arrowHalfWidth});
                break;
        }
        arrow.close();
        canvas.setFillColor(Color::system(SystemColor::windowBackground));
        canvas.fillRoundedRect(body, cornerRadius);
        canvas.fill(arrow);
    }

private:
    RectEdge arrowEdge_;
    double arrowAt_;
};

// What the trace shows of the popover: the texts it holds.
void collectTexts(const View& view, std::string& into) {
    if (const auto* label = dynamic_cast<const Label*>(&view)) {
        into += (into.empty() ? "" : " ") + quotedForTrace(label->stringValue());
    }
    for (const auto& subview : view.subviews()) collectTexts(*subview, into);
}

}  // namespace

std::shared_ptr<Popover> Popover::make() { return std::make_shared<Popover>(Private{}); }

Popover::~Popover() {
    stopWatching();
    if (window_) window_->orderOut();
}

void Popover::show(Rect rect, const View& view, RectEdge edge) {
    const ScreenRect anchor = view.convertToScreen(rect);
    const bool vertical = edge == RectEdge::minY || edge == RectEdge::maxY;
    const double a = arrowLength;
    const Size size = vertical ? Size{contentSize.width, contentSize.height + a}
                               : Size{contentSize.width + a, contentSize.height};
    // Views are not flipped: min-y is the anchor's bottom, below it on screen.
    ScreenRect frame;
    switch (edge) {
        case RectEdge::minY:
            frame = {anchor.midX() - size.width / 2, anchor.minY() - size.height, size.width, size.height};
            break;
        case RectEdge::maxY: frame = {anchor.midX() - size.width / 2, anchor.maxY(), size.width, size.height}; break;
        case RectEdge::minX:
            frame = {anchor.minX() - size.width, anchor.midY() - size.height / 2, size.width, size.height};
            break;
        case RectEdge::maxX: frame = {anchor.maxX(), anchor.midY() - size.height / 2, size.width, size.height}; break;
    }
    if (auto screen = DesktopLink::screenContaining(anchor.center())) {
        const auto bounds = screen->frame();
        frame.origin.x = std::clamp(frame.minX(), bounds.minX(), std::max(bounds.minX(), bounds.maxX() - frame.width()));
        frame.origin.y =
            std::clamp(frame.minY(), bounds.minY(), std::max(bounds.minY(), bounds.maxY() - frame.height()));
    }
    // The arrow stays on the anchor when the bubble was kept on the screen.
    const double arrowAt = vertical ? std::clamp(anchor.midX() - frame.minX(), cornerRadius + arrowHalfWidth,
                                                 frame.width() - cornerRadius - arrowHalfWidth)
                                    : std::clamp(anchor.midY() - frame.minY(), cornerRadius + arrowHalfWidth,
                                                 frame.height() - cornerRadius - arrowHalfWidth);
    // The arrow points back at the anchor, so it sits on the opposite side.
    const RectEdge arrowEdge = edge == RectEdge::minY   ? RectEdge::maxY
                               : edge == RectEdge::maxY ? RectEdge::minY
                               : edge == RectEdge::minX ? RectEdge::maxX
                                                        : RectEdge::minX;
    std::shared_ptr<View> background = std::make_shared<PopoverFrameView>(Rect{0, 0, size.width, size.height}, arrowEdge, arrowAt);
    if (contentView) {
        contentView->removeFromSuperview();
        contentView->setFrame({arrowEdge == RectEdge::minX ? a : 0, arrowEdge == RectEdge::minY ? a : 0,
                               contentSize.width, contentSize.height});
        background->addSubview(contentView);
    }
    if (!window_) {
        window_ = Window::make<Panel>(frame, WindowStyleMask::nonactivatingPanel);
        window_->setTracesOrdering(false);
        window_->setOpaque(false);
        window_->setBackgroundColor(Color::clear());
        window_->setHasShadow(true);
        window_->setLevel(WindowLevel::popUpMenu);
    }
    window_->setContentView(background);
    window_->setFrame(frame);
    window_->orderFrontRegardless();
    std::string texts;
    if (contentView) collectTexts(*contentView, texts);
    UiTrace::shared().record("popover shown" + (texts.empty() ? std::string() : " " + texts));
    stopWatching();
    if (behavior == Behavior::transient) dismissOnPressOutside();
}

void Popover::close() {
    stopWatching();
    if (!window_ || !window_->isVisible()) return;
    window_->orderOut();
    UiTrace::shared().record("popover closed");
}

bool Popover::isShown() const { return window_ && window_->isVisible(); }

void Popover::dismissOnPressOutside() {
    const EventMask presses = eventMask(EventType::leftMouseDown) | eventMask(EventType::rightMouseDown) |
                              eventMask(EventType::otherMouseDown);
    const std::weak_ptr<Popover> weakSelf = weak_from_this();
    auto outside = [weakSelf](const Event& event) {
        auto self = weakSelf.lock();
        if (self && self->window_ && !self->window_->frame().contains(event.location)) self->close();
    };
    globalMonitor_ = EventMonitors::shared().addGlobalMonitor(presses, outside);
    localMonitor_ = EventMonitors::shared().addLocalMonitor(presses, [outside](const Event& event) {
        outside(event);
        return std::optional<Event>(event);
    });
}

void Popover::stopWatching() {
    if (globalMonitor_) EventMonitors::shared().removeMonitor(*globalMonitor_);
    if (localMonitor_) EventMonitors::shared().removeMonitor(*localMonitor_);
    globalMonitor_.reset();
    localMonitor_.reset();
}

}  // namespace tallowmere::platform
