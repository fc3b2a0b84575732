#include "windows/window_pin_controller.h"

#include <cmath>

#include "localization/product_identity.h"
#include "platform/base/text.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/timer.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/image_view.h"
#include "platform/ui/window.h"
#include "windows/accessibility.h"
#include "windows/screen_geometry.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr WindowCollectionBehavior mirrorCollectionBehavior{
    WindowCollectionBehavior::canJoinAllSpaces | WindowCollectionBehavior::stationary |
    WindowCollectionBehavior::ignoresCycle | WindowCollectionBehavior::fullScreenAuxiliary};

std::optional<Image> captureWindow(std::uint32_t windowID) {
    return DesktopLink::desktop().windowServer().captureWindow(static_cast<int>(windowID));
}

// The mirror sits exactly over the window, in screen space.
ScreenRect panelRect(const AXRect& frame) {
    return {frame.minX(), ScreenGeometry::mainHeight() - frame.maxY(), frame.width(), frame.height()};
}

Image sized(Image image, Size size) {
    image.setSize(size);
    return image;
}

}  // namespace

WindowPinController::~WindowPinController() { stopMirror(); }

WindowPinController::ToggleResult WindowPinController::toggle(std::optional<pid_t> preferredPID) {
    if (pinnedWindow) {
        stopMirror();
        return false;
    }
    auto& desktop = DesktopLink::desktop();
    if (!desktop.accessibility().isProcessTrusted()) return WindowPinError::accessibilityRequired;
    if (!desktop.windowServer().preflightScreenCaptureAccess()) {
        desktop.windowServer().requestScreenCaptureAccess();
        return WindowPinError::screenRecordingRequired;
    }
    std::optional<pid_t> pid = preferredPID;
    if (!pid) {
        auto frontmost = desktop.workspace().frontmostApplication();
        if (!frontmost) return WindowPinError::noFocusedWindow;
        pid = frontmost->processIdentifier();
    }
    if (*pid == desktop.currentProcessIdentifier()) return WindowPinError::noFocusedWindow;
    auto focused = AXElement::application(*pid).attribute("AXFocusedWindow");
    const AXElement* window = focused ? focused->asElement() : nullptr;
    if (!window) return WindowPinError::noFocusedWindow;
    const auto windowID = matchingWindowID(*window, *pid);
    if (!windowID) return WindowPinError::noFocusedWindow;

    std::string title = Text::trimmingWhitespaceAndNewlines(Accessibility::title(*window));
    if (title.empty()) {
        auto running = desktop.workspace().runningApplication(*pid);
        auto localized = running ? running->localizedName() : std::nullopt;
        title = localized ? *localized : ProductIdentity::localizedBrand("当前窗口", "Current Window");
    }
    if (!startMirror(*windowID, *window, title)) return WindowPinError::levelChangeFailed;
    return true;
}

std::optional<std::uint32_t> WindowPinController::matchingWindowID(const AXElement& element, pid_t pid) const {
    const auto frame = Accessibility::frame(element);
    if (!frame) return std::nullopt;
    using namespace WindowListOption;
    const auto list = DesktopLink::desktop().windowServer().windowList(onScreenOnly | excludeDesktopElements);
    std::optional<std::uint32_t> best;
    double bestScore = matchThreshold;
    for (const auto& info : list) {
        if (info.ownerPID != pid || info.windowNumber <= 0) continue;
        const AXRect& b = info.bounds;
        const double score = std::abs(b.minX() - frame->minX()) + std::abs(b.minY() - frame->minY()) +
                             std::abs(b.width() - frame->width()) + std::abs(b.height() - frame->height());
        // Strictly smaller: on a tie the entry nearer the front stays.
        if (score < bestScore) {
            best = static_cast<std::uint32_t>(info.windowNumber);
            bestScore = score;
        }
    }
    return best;
}

bool WindowPinController::startMirror(std::uint32_t windowID, const AXElement& element, const std::string& title) {
    const auto frame = Accessibility::frame(element);
    if (!frame) return false;
    auto image = captureWindow(windowID);
    if (!image) return false;
    stopMirror();  // a new pin replaces any earlier one, timer and all

    const ScreenRect rect = panelRect(*frame);
    auto panel = Window::make<Panel>(rect, WindowStyleMask(WindowStyleMask::nonactivatingPanel));
    panel->setLevel(WindowLevel::floating);
    panel->setOpaque(false);
    panel->setBackgroundColor(Color::clear());
    panel->setHasShadow(true);
    panel->setIgnoresMouseEvents(true);
    panel->setHidesOnDeactivate(false);
    panel->setCollectionBehavior(mirrorCollectionBehavior);

    auto imageView = ImageView::make();
    imageView->setFrame({0, 0, rect.width(), rect.height()});
    imageView->setAutoresizingMask(AutoresizingMask::widthSizable | AutoresizingMask::heightSizable);
    imageView->setImageScaling(ImageScaling::axesIndependently);
    imageView->setImage(sized(std::move(*image), rect.size));
    imageView->setWantsLayer(true);
    auto& layer = imageView->mutableLayer();
    layer.cornerRadius = cornerRadius;
    layer.continuousCorners = true;
    layer.masksToBounds = true;
    panel->setContentView(imageView);

    pinnedWindow = PinnedWindow{windowID, element, title};
    mirrorPanel = panel;
    mirrorImageView = imageView;
    panel->orderFrontRegardless();

    std::weak_ptr<WindowPinController> weak = weak_from_this();
    refreshTimer = Timer::scheduledTimer(refreshInterval, true, [weak](Timer&) {
        if (auto self = weak.lock()) self->refresh();
    });
    return true;
}

void WindowPinController::refresh() {
    if (!pinnedWindow || !mirrorPanel || !mirrorImageView) return stopMirror();
    const auto frame = Accessibility::frame(pinnedWindow->element);
    if (!frame) return stopMirror();
    auto image = captureWindow(pinnedWindow->windowID);
    if (!image) return stopMirror();

    const ScreenRect rect = panelRect(*frame);
    // Moving the panel only when the window moved keeps an idle pin cheap.
    if (rect != mirrorPanel->frame()) mirrorPanel->setFrame(rect, false);
    mirrorImageView->setImage(sized(std::move(*image), rect.size));
    if (!mirrorPanel->isVisible()) mirrorPanel->orderFrontRegardless();
}

void WindowPinController::stopMirror() {
    if (refreshTimer) refreshTimer->invalidate();
    refreshTimer.reset();
    if (mirrorPanel) {
        mirrorPanel->orderOut();
        mirrorPanel->close();
    }
    mirrorPanel.reset();
    mirrorImageView.reset();
    pinnedWindow.reset();
}

}  // namespace tallowmere
