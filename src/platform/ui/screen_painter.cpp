#include "platform/ui/screen_painter.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <variant>

#include "platform/desktop/desktop.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu_tracker.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

namespace {

// Past this many separate areas one repaint of their union is cheaper.
constexpr std::size_t mostAreas = 8;

void visitTree(View& view, const std::function<void(View&)>& visit) {
    if (view.isHidden()) return;
    visit(view);
    for (const auto& subview : view.subviews()) visitTree(*subview, visit);
}

}  // namespace

Result<std::unique_ptr<ScreenPainter>> ScreenPainter::make(std::shared_ptr<Screen> screen, double scale) {
    if (!screen) return Error{ErrorCode::notFound, "no screen to paint"};
    auto canvas = CairoCanvas::make(screen->frame().size, scale);
    if (!canvas) return canvas.error();
    return std::unique_ptr<ScreenPainter>(new ScreenPainter(std::move(screen), scale, std::move(*canvas)));
}

ScreenPainter::ScreenPainter(std::shared_ptr<Screen> screen, double scale, std::unique_ptr<CairoCanvas> canvas)
    : screen_(std::move(screen)), scale_(scale), canvas_(std::move(canvas)) {
    const auto frame = screen_->frame();
    canvas_->translate(-frame.minX(), -frame.minY());
}

ScreenPainter::~ScreenPainter() = default;

void ScreenPainter::forEachOwnContentView(const std::function<void(View&)>& visit) const {
    auto& application = Application::shared();
    for (const auto& window : DesktopLink::desktop().windowServer().orderedWindows()) {
        if (!window->isOwnWindow()) continue;
        auto own = application.windowWithNumber(window->windowNumber());
        // A transparent window's views change nothing on the screen.
        if (!own || own->alphaValue() <= 0) continue;
        if (auto content = own->contentView()) visit(*content);
    }
}

namespace {

// Images are the same when they are the same picture.
bool sameImage(const Image& a, const Image& b) {
    return a.size() == b.size() && a.bitmap() == b.bitmap() && a.drawHandler() == b.drawHandler();
}

bool sameOperation(const RecordingCanvas::Operation& a, const RecordingCanvas::Operation& b) {
    using R = RecordingCanvas;
    if (a.index() != b.index()) return false;
    return std::visit(
        [&](const auto& first) {
            using Op = std::decay_t<decltype(first)>;
            const auto& second = std::get<Op>(b);
            if constexpr (std::is_same_v<Op, R::SaveOp> || std::is_same_v<Op, R::RestoreOp>) {
                return true;
            } else if constexpr (std::is_same_v<Op, R::FillOp> || std::is_same_v<Op, R::ClipOp>) {
                return first.path == second.path && first.rule == second.rule && first.state == second.state;
            } else if constexpr (std::is_same_v<Op, R::StrokeOp>) {
                return first.path == second.path && first.state == second.state;
            } else if constexpr (std::is_same_v<Op, R::LinearGradientOp>) {
                return first.gradient == second.gradient && first.start == second.start && first.end == second.end &&
                       first.state == second.state;
            } else if constexpr (std::is_same_v<Op, R::RadialGradientOp>) {
                return first.gradient == second.gradient && first.startCenter == second.startCenter &&
                       first.startRadius == second.startRadius && first.endCenter == second.endCenter &&
                       first.endRadius == second.endRadius && first.state == second.state;
            } else if constexpr (std::is_same_v<Op, R::ImageOp>) {
                return sameImage(first.image, second.image) && first.destination == second.destination &&
                       first.source == second.source && first.opacity == second.opacity &&
                       first.operation == second.operation && first.state == second.state;
            } else {
                return first.text == second.text && first.origin == second.origin &&
                       first.wrapWidth == second.wrapWidth && first.state == second.state;
            }
        },
        a);
}

}  // namespace

bool ScreenPainter::Look::operator==(const Look& other) const {
    return appearance == other.appearance && menuOpen == other.menuOpen && chrome.size() == other.chrome.size() &&
           std::equal(chrome.begin(), chrome.end(), other.chrome.begin(), sameOperation);
}

ScreenPainter::Look ScreenPainter::currentLook() const {
    const auto frame = screen_->frame();
    RecordingCanvas recording(frame.size, scale_);
    recording.translate(-frame.minX(), -frame.minY());
    ScreenSnapshot::drawScreen(recording, *screen_, std::nullopt, ScreenSnapshot::ScreenParts::withoutViews);
    return {currentAppearance(), !MenuTracker::shared().openMenus().empty(), recording.operations()};
}

std::vector<Rect> ScreenPainter::dirtyRects() const {
    std::vector<Rect> rects;
    const Rect screen = rect_cast<LocalSpace>(screen_->frame());
    forEachOwnContentView([&](View& content) {
        auto window = content.window();
        const Rect windowFrame = window ? rect_cast<LocalSpace>(window->frame()) : screen;
        visitTree(content, [&](View& view) {
            if (view.displayMark() <= paintedMark_) return;
            // How far the drawing reaches past the frame, on every side of
            // the view's rectangle on screen.
            const Size reach = view.drawingReach();
            const Rect onScreen = rect_cast<LocalSpace>(view.convertToScreen(view.bounds()));
            const Rect visible = onScreen.insetBy(-reach.width, -reach.height).intersection(windowFrame).intersection(screen);
            if (!visible.isEmpty()) rects.push_back(visible);
        });
    });
    // Overlapping areas are painted once, as their union.
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i < rects.size() && !merged; ++i) {
            for (std::size_t j = i + 1; j < rects.size() && !merged; ++j) {
                if (!rects[i].intersects(rects[j])) continue;
                rects[i] = rects[i].unionWith(rects[j]);
                rects.erase(rects.begin() + std::ptrdiff_t(j));
                merged = true;
            }
        }
    }
    if (rects.size() > mostAreas) {
        Rect all = rects.front();
        for (const auto& rect : rects) all = all.unionWith(rect);
        rects = {all};
    }
    return rects;
}

ScreenPainter::PixelArea ScreenPainter::pixelsOf(Rect screenRect) const {
    const Rect screen = rect_cast<LocalSpace>(screen_->frame());
    const int wide = static_cast<int>(std::ceil(screen.width() * scale_ - 1e-9));
    const int high = static_cast<int>(std::ceil(screen.height() * scale_ - 1e-9));
    // Whole pixels, outward; rows count from the top.
    const int x0 = std::clamp(static_cast<int>(std::floor((screenRect.minX() - screen.minX()) * scale_)), 0, wide);
    const int x1 = std::clamp(static_cast<int>(std::ceil((screenRect.maxX() - screen.minX()) * scale_)), 0, wide);
    const int y0 = std::clamp(static_cast<int>(std::floor((screen.maxY() - screenRect.maxY()) * scale_)), 0, high);
    const int y1 = std::clamp(static_cast<int>(std::ceil((screen.maxY() - screenRect.minY()) * scale_)), 0, high);
    return {x0, y0, x1 - x0, y1 - y0};
}

void ScreenPainter::paint(std::optional<Rect> region) {
    canvas_->save();
    if (region) canvas_->clipToRect(*region);
    ScreenSnapshot::drawScreen(*canvas_, *screen_, region);
    canvas_->restore();
}

void ScreenPainter::paintArea(const PixelArea& area) {
    const Rect screen = rect_cast<LocalSpace>(screen_->frame());
    const PixelArea whole = pixelsOf(screen);
    const auto aligned = [&](const PixelArea& a) {
        // Whole pixels, so the clip changes no pixel that is painted.
        return Rect{screen.minX() + a.x / scale_, screen.maxY() - (a.y + a.height) / scale_, a.width / scale_,
                    a.height / scale_};
    };
    const auto boundsOf = [](const PixelArea& a) {
        return CairoCanvas::PixelBounds{a.x, a.y, a.x + a.width, a.y + a.height};
    };
    // A shadow cut by the edge of what is painted is wrong near that edge:
    // the area is painted with a margin as wide as such shadows spread, and
    // the margin is put back as it was.
    int margin = 0;
    for (int round = 0; round < 4; ++round) {
        const int x0 = std::max(0, area.x - margin), y0 = std::max(0, area.y - margin);
        const int x1 = std::min(whole.width, area.x + area.width + margin);
        const int y1 = std::min(whole.height, area.y + area.height + margin);
        const PixelArea painted{x0, y0, x1 - x0, y1 - y0};
        std::optional<CairoCanvas::SavedPixels> saved;
        if (margin > 0) saved = canvas_->savePixels(boundsOf(painted));
        canvas_->watchShadowsCutBy(boundsOf(painted));
        paint(aligned(painted));
        const int needed = canvas_->marginOfCutShadows();
        canvas_->watchShadowsCutBy(std::nullopt);
        if (saved) canvas_->restorePixels(*saved, boundsOf(area));
        if (needed <= margin || painted == whole) return;
        margin = needed;
    }
    paint(std::nullopt);
}

std::vector<ScreenPainter::PixelArea> ScreenPainter::update() {
    // Layout first: it may move views and mark them for display.
    forEachOwnContentView([](View& content) { content.layoutSubtreeIfNeeded(); });
    Look look = currentLook();
    const std::uint64_t marked = View::latestDisplayMark();
    std::vector<PixelArea> painted;
    if (!painted_ || !(*painted_ == look) || look.menuOpen) {
        paint(std::nullopt);
        painted.push_back(pixelsOf(rect_cast<LocalSpace>(screen_->frame())));
    } else {
        for (const Rect& rect : dirtyRects()) {
            const PixelArea area = pixelsOf(rect);
            if (area.width <= 0 || area.height <= 0) continue;
            paintArea(area);
            painted.push_back(area);
        }
    }
    painted_ = std::move(look);
    paintedMark_ = marked;
    return painted;
}

Bitmap ScreenPainter::bitmap() const { return canvas_->bitmap(); }

Bitmap ScreenPainter::bitmap(const PixelArea& area) const {
    return canvas_->bitmap(area.x, area.y, area.width, area.height);
}

ScreenPainters& ScreenPainters::shared() { return AppContext::current().shared<ScreenPainters>(); }

Result<ScreenPainter*> ScreenPainters::painter(const std::shared_ptr<Screen>& screen, double scale) {
    const auto screens = DesktopLink::desktop().screens().screens();
    std::erase_if(painters_, [&](const std::unique_ptr<ScreenPainter>& painter) {
        return std::find(screens.begin(), screens.end(), painter->screen()) == screens.end();
    });
    for (const auto& painter : painters_)
        if (painter->screen() == screen && painter->scale() == scale) return painter.get();
    auto made = ScreenPainter::make(screen, scale);
    if (!made) return made.error();
    painters_.push_back(std::move(*made));
    return painters_.back().get();
}

}  // namespace tallowmere::platform
