#include "platform/viewer/desktop_viewer.h"

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
                                                                    if (responder_->isSampling()) return;
                                                                    window_->setCursorShape(Cursor::shared().current());
                                                                });
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
}

DesktopViewer::~DesktopViewer() {
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

}  // namespace tallowmere::platform
