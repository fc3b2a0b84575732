#include "platform/viewer/desktop_viewer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/system/system_log.h"
#include "platform/ui/application.h"
#include "platform/ui/cursor.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/screen_painter.h"
#include "platform/viewer/key_code_map.h"
#include "platform/viewer/viewer_modal_responder.h"
#include "platform/viewer/x11_window.h"

namespace tallowmere::platform {

namespace {

// The share of the real display the window may take, leaving room for the
// window manager's title bar and panels.
constexpr double displayShare = 0.9;

PixelSize roomOn(PixelSize display) {
    return {static_cast<int>(display.width * displayShare),
            static_cast<int>(display.height * displayShare)};
}

}  // namespace

bool DesktopViewer::isRequested() {
    const char* display = std::getenv("DISPLAY");
    const char* headless = std::getenv("TALLOWMERE_HEADLESS");
    return display && *display && !(headless && std::string_view(headless) == "1");
}

std::unique_ptr<DesktopViewer> DesktopViewer::startIfRequested(const std::string& title) {
    if (!isRequested()) return nullptr;
    auto viewer = open(title);
    if (viewer) return std::move(*viewer);
    const std::string line = "No desktop viewer (" + viewer.error().message + "); running headless";
    std::fprintf(stderr, "tallowmere: %s\n", line.c_str());
    SystemLog::shared().log(line);
    return nullptr;
}

Result<std::unique_ptr<DesktopViewer>> DesktopViewer::open(const std::string& title) {
    auto window = X11Window::open(title);
    if (!window) return window.error();
    return std::unique_ptr<DesktopViewer>(new DesktopViewer(std::move(*window)));
}

DesktopViewer::DesktopViewer(std::unique_ptr<X11Window> window)
    : context_(AppContext::current()),
      window_(std::move(window)),
      translator_(DesktopLink::desktop(), context_.mainQueue(),
                  ViewerGeometry::fitting(
                      ViewerGeometry::arrangementOf(DesktopLink::desktop().screens().screens()),
                      roomOn(window_->displaySize()))),
      pacer_(context_.mainQueue(), context_.clock(), [this] { drawFrame(); }),
      responder_(std::make_shared<ViewerModalResponder>()) {
    window_->setSize(geometry().windowSize());

    auto& queue = context_.mainQueue();
    queue.onItemPerformed = [this] { pacer_.itemPerformed(); };
    screensObserver_ = context_.notificationCenter().addObserver(
        ScreenArrangement::didChangeScreenParametersNotification, nullptr,
        [this](const Notification&) { fitToScreens(); });

    responder_->onQuestionShown = [this] { pacer_.setNeedsFrame(); };
    // The crosshair while the person picks a colour, else the program's shape.
    responder_->onSamplingChanged = [this](bool sampling) {
        window_->setCursorShape(sampling ? Cursor::Shape::crosshair : Cursor::shared().current());
    };
    cursorObserver_ = context_.notificationCenter().addObserver(Cursor::didChangeNotification, nullptr,
                                                                [this](const Notification&) {
                                                                    if (responder_->isSampling() || responder_->isSelectingArea()) return;
                                                                    window_->setCursorShape(Cursor::shared().current());
                                                                });
    responder_->onAreaSelectionChanged = [this](bool selecting) {
        window_->setCursorShape(selecting ? Cursor::Shape::crosshair : Cursor::shared().current());
        selectionAnchor_.reset();
        if (!selecting) showSelectionBand(std::nullopt);
    };
    Application::shared().setModalResponder(responder_);

    // The event thread hands everything to the main queue; nothing it does
    // touches the desktop or the interface itself.
    std::weak_ptr<int> alive = alive_;
    auto onMainQueue = [&queue, alive](std::function<void()> work) {
        queue.async([alive, work = std::move(work)] {
            if (alive.lock()) work();
        });
    };
    X11Window::Handlers handlers;
    handlers.onInput = [onMainQueue, this](ViewerInput input) {
        onMainQueue([this, input = std::move(input)] { receive(input); });
    };
    handlers.onCloseRequested = [onMainQueue] {
        onMainQueue([] { Application::shared().terminate(); });
    };
    handlers.onExposed = [onMainQueue, this] { onMainQueue([this] { window_->present(); }); };
    window_->startReadingInput(std::move(handlers));
    pacer_.setNeedsFrame();

    speaker_ = ViewerSpeaker::openIfAvailable();
    if (speaker_) {
        DesktopLink::desktop().sounds().onPlay = [this](const std::string& name, const std::vector<std::uint8_t>& wav) {
            speaker_->play(name, wav);
        };
    }
}

DesktopViewer::~DesktopViewer() {
    if (speaker_) DesktopLink::desktop().sounds().onPlay = nullptr;
    window_.reset();  // the event thread stops before anything it reaches goes
    context_.mainQueue().onItemPerformed = nullptr;
    context_.notificationCenter().removeObserver(screensObserver_);
    context_.notificationCenter().removeObserver(cursorObserver_);
    auto& application = Application::shared();
    if (application.modalResponder() == responder_) application.setModalResponder(nullptr);
}

void DesktopViewer::fitToScreens() {
    const auto arrangement =
        ViewerGeometry::arrangementOf(DesktopLink::desktop().screens().screens());
    const auto geometry = ViewerGeometry::fitting(arrangement, roomOn(window_->displaySize()));
    translator_.setGeometry(geometry);
    // Also clears the window, so nothing of a screen that went stays.
    window_->setSize(geometry.windowSize());
    shown_.clear();
    pacer_.setNeedsFrame();
}

void DesktopViewer::drawFrame() {
    const auto screens = DesktopLink::desktop().screens().screens();
    bool changed = screens.size() != shown_.size();
    if (changed) shown_.resize(screens.size());
    for (std::size_t i = 0; i < screens.size(); ++i) {
        auto& shown = shown_[i];
        const PixelRect rect = geometry().pixelRect(screens[i]->frame());
        if (shown.screen != screens[i] || shown.rect != rect || !shown.painter) {
            // A new place or size starts the picture again. A screen that
            // cannot be painted keeps its place, empty.
            auto painter = ScreenPainter::make(screens[i], geometry().scale());
            shown = {screens[i], rect, painter ? std::move(*painter) : nullptr};
        }
        if (!shown.painter) continue;
        // Only what changed goes to the window.
        for (const auto& area : shown.painter->update()) {
            window_->draw(shown.painter->bitmap(area), {rect.origin.x + area.x, rect.origin.y + area.y});
            changed = true;
        }
    }
    if (changed) window_->present();
}

void DesktopViewer::receive(const ViewerInput& input) {
    if (responder_->isSampling()) {
        pickColor(input);
        return;
    }
    if (responder_->isSelectingArea()) {
        selectArea(input);
        return;
    }
    translator_.handle(input);
}

void DesktopViewer::pickColor(const ViewerInput& input) {
    const auto key = KeyCodeMap::forKeysym(input.keysym);
    if (input.kind == ViewerInput::Kind::keyPressed && key && key->keyCode == KeyCode::escape) {
        responder_->colorPicked(std::nullopt);
        return;
    }
    if (input.kind != ViewerInput::Kind::buttonPressed || input.button != 0) return;
    for (const auto& screen : shown_) {
        if (!screen.painter || !screen.rect.contains(input.pixel)) continue;
        const ScreenPainter::PixelArea pixel{input.pixel.x - screen.rect.origin.x, input.pixel.y - screen.rect.origin.y, 1, 1};
        responder_->colorPicked(screen.painter->bitmap(pixel).colorAt(0, 0));
        return;
    }
}

namespace {

PixelRect spanning(PixelPoint a, PixelPoint b) {
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    return {{left, top}, {std::abs(a.x - b.x) + 1, std::abs(a.y - b.y) + 1}};
}

std::optional<PixelRect> overlap(const PixelRect& a, const PixelRect& b) {
    const int left = std::max(a.origin.x, b.origin.x);
    const int top = std::max(a.origin.y, b.origin.y);
    const int right = std::min(a.origin.x + a.size.width, b.origin.x + b.size.width);
    const int bottom = std::min(a.origin.y + a.size.height, b.origin.y + b.size.height);
    if (right <= left || bottom <= top) return std::nullopt;
    return PixelRect{{left, top}, {right - left, bottom - top}};
}

}  // namespace

void DesktopViewer::selectArea(const ViewerInput& input) {
    const auto key = KeyCodeMap::forKeysym(input.keysym);
    if (input.kind == ViewerInput::Kind::keyPressed && key && key->keyCode == KeyCode::escape) {
        responder_->areaChosen(std::nullopt);
        return;
    }
    if (input.kind == ViewerInput::Kind::buttonPressed && input.button == 0) {
        selectionAnchor_ = input.pixel;
        showSelectionBand(spanning(input.pixel, input.pixel));
        return;
    }
    if (!selectionAnchor_) return;
    if (input.kind == ViewerInput::Kind::pointerMoved) {
        showSelectionBand(spanning(*selectionAnchor_, input.pixel));
    } else if (input.kind == ViewerInput::Kind::buttonReleased && input.button == 0) {
        // The corners' points, the lower-left one inclusive: a drag over
        // n pixels takes n pixels' worth of points.
        const auto a = geometry().screenPoint(*selectionAnchor_);
        const auto b = geometry().screenPoint(input.pixel);
        const double step = 1 / geometry().scale();
        const ScreenRect area{std::min(a.x, b.x), std::min(a.y, b.y), std::abs(a.x - b.x) + step,
                              std::abs(a.y - b.y) + step};
        selectionAnchor_.reset();
        // A click without a drag takes nothing, as a cancel.
        responder_->areaChosen(area.width() > step && area.height() > step ? std::optional(area) : std::nullopt);
    }
}

void DesktopViewer::showSelectionBand(std::optional<PixelRect> band) {
    // Put back what the last band covered, then tint what the new one does.
    for (const auto& shown : shown_) {
        if (!shown.painter) continue;
        for (const auto& rect : {selectionBand_, band}) {
            if (!rect) continue;
            const auto part = overlap(*rect, shown.rect);
            if (!part) continue;
            auto picture = shown.painter->bitmap({part->origin.x - shown.rect.origin.x,
                                                  part->origin.y - shown.rect.origin.y, part->size.width,
                                                  part->size.height});
            if (rect == band) {
                for (int y = 0; y < picture.pixelsHigh(); ++y) {
                    for (int x = 0; x < picture.pixelsWide(); ++x) {
                        auto pixel = picture.pixel(x, y);
                        const bool edge = x == 0 || y == 0 || x == picture.pixelsWide() - 1 || y == picture.pixelsHigh() - 1;
                        const auto mix = [edge](std::uint8_t value, std::uint8_t tint) {
                            const double share = edge ? 0.8 : 0.25;
                            return static_cast<std::uint8_t>(value * (1 - share) + tint * share);
                        };
                        pixel = {mix(pixel.red, 40), mix(pixel.green, 120), mix(pixel.blue, 255), 255};
                        picture.setPixel(x, y, pixel);
                    }
                }
            }
            window_->draw(picture, part->origin);
        }
    }
    selectionBand_ = band;
    window_->present();
}

}  // namespace tallowmere::platform
