#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/desktop/ax_element.h"
#include "platform/desktop/event.h"
#include "platform/desktop/screen.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/event_monitors.h"
#include "windows/long_press_destination.h"
#include "windows/selection_bar.h"
#include "windows/snap_target.h"

namespace tallowmere {

namespace platform {
class Window;
class WorkItem;
}  // namespace platform

class MouseSnapPalette;
class QuickLaunchPanel;
class QuickLaunchStore;
class SnapEngine;
class SnapPreviewOverlay;

// Listens to the mouse and trackpad while other applications are in front
// and turns what the person does into window placements, the quick-launch
// panel or the selection bar:
//  - a two-finger swipe on another application's title bar previews and
//    then places that window (a half, a quarter, or the whole screen);
//  - dragging a title bar opens the snap palette beside the pointer and
//    drops the window into the placement under it, or snaps it at a screen
//    edge; the program's own main window gets the same, moved by the
//    program itself;
//  - holding the left button still for a second opens the long-press
//    destination; a double click on the empty menu bar opens quick launch;
//  - a drag or double click that may have selected text hands over to the
//    selection bar 0.12 s after the release.
// Made once by the application delegate on first use; it owns the monitors,
// the preview, the palette and the two panels. The main window sets the
// switches below from the preferences and the Accessibility trust, then
// asks for the monitors again. Main thread; every delay is a work item on
// the main queue that holds the controller weakly, and stale delayed work
// is told apart by generation counters.
class InputController : public std::enable_shared_from_this<InputController> {
public:
    // The bar may be absent (window management on its own): nothing is
    // handed over then.
    static std::shared_ptr<InputController> make(std::shared_ptr<SnapEngine> snapEngine,
                                                 std::shared_ptr<QuickLaunchStore> quickLaunchStore,
                                                 std::shared_ptr<SelectionBar> selectionBar = nullptr);
    ~InputController();
    InputController(const InputController&) = delete;
    InputController& operator=(const InputController&) = delete;

    // Height of the strip at a window's top that takes swipes and drags.
    static constexpr double titleStripHeight = 48;
    // A title-bar press becomes a drag once the pointer is this far away.
    static constexpr double dragThreshold = 7;
    // A press may become a text selection once the pointer is this far away.
    static constexpr double selectionDragDistance = 8;
    // The pointer may wander this far during a long press.
    static constexpr double longPressSlop = 6;
    static constexpr double longPressDelay = 1.0;
    // Long enough for the application to have settled its selection.
    static constexpr double selectionHandOffDelay = 0.12;
    // A key pressed this recently means the person is typing, not selecting.
    static constexpr double recentKeySeconds = 0.45;
    // The menu bar counts at least this high for a double click.
    static constexpr double minimumMenuBarStrip = 28;
    // The own window's title bar left of this holds its buttons.
    static constexpr double ownWindowButtonArea = 85;

    // --- The switches (the main window writes them) ---------------------------
    bool gestureEnabled = false;
    // The vertical sense of a swipe follows the fingers.
    bool naturalDirectionEnabled = true;
    // Title-bar drags open the palette and snap.
    bool mouseEnabled = false;
    // Within a drag, the screen edges snap.
    bool edgeSnapEnabled = true;
    bool quickLaunchEnabled = false;
    // Mirrors the main window's switch; the recognisers consult the stored
    // long-press destination instead.
    bool quickLaunchLongPressEnabled = true;
    bool selvaneEnabled = false;
    double mouseEdgeSnapDistance = 12;
    // A long press fired during the current press; its release hands
    // nothing to the selection bar.
    bool quickLaunchLongPressTriggered = false;

    // A status line to show (the main window wires it to its status text).
    std::function<void(const std::string& text)> onAction;
    // Requests the controller and its panels cannot serve themselves.
    std::function<void()> onRequestOpenSettings;
    std::function<void()> onRequestAddQuickApplication;
    std::function<void()> onRequestAddQuickWebsite;
    std::function<void()> onRequestAddQuickInformation;

    // --- What it owns ----------------------------------------------------------
    const std::shared_ptr<SnapEngine>& snapEngine() const { return snapEngine_; }
    QuickLaunchPanel& quickLaunchPanel() { return *quickLaunchPanel_; }
    // Where a gesture or drag would place the window.
    SnapPreviewOverlay& previewOverlay() { return *previewOverlay_; }
    // The dial shown beside the pointer while a title bar is dragged; the
    // settings set its theme when the person picks one.
    MouseSnapPalette& mousePalette() { return *mousePalette_; }
    SelectionBar& selvanePanel() { return *selvanePanel_; }
    // The program's main window, which a press in its title bar drags with
    // the palette and edge snapping; the main window's controller sets it.
    void setMainWindow(std::weak_ptr<platform::Window> window) { mainWindow_ = std::move(window); }

    // --- Monitors --------------------------------------------------------------
    // Removes the scroll monitor (discarding a swipe in progress) and, with
    // gestures on, installs it again.
    void updateGestureMonitor();
    // Removes both mouse monitors, cancels a pending long press and the
    // palette's automatic hide and, with any mouse feature on, installs a
    // global and a local monitor again.
    void updateMouseMonitor();
    bool hasGestureMonitor() const { return gestureMonitor_.has_value(); }
    bool hasMouseMonitors() const { return mouseMonitor_.has_value() && localMouseMonitor_.has_value(); }

    // --- Swipes ------------------------------------------------------------------
    // One scroll event of the global monitor.
    void handleGesture(const platform::Event& event);
    // Hides the preview and forgets the swipe in progress.
    void resetGesture();
    std::optional<SnapTarget> gestureTarget() const { return gestureTarget_; }
    bool isSwiping() const { return gestureWindow_.has_value(); }

    // --- The mouse ---------------------------------------------------------------
    // One left-button event of the global monitor (other applications).
    void handleMouse(const platform::Event& event);
    // One left-button event of the program's own windows; the event to
    // deliver, or none to swallow it.
    std::optional<platform::Event> handleLocalMouse(const platform::Event& event);
    // (Re)arms the palette's automatic hide.
    void scheduleMousePaletteAutoHide();
    // The placement a screen edge offers at `point`: the corners where two
    // edges meet, the top edge giving the upper half (never the whole
    // screen). None with edge snapping off or without a screen.
    std::optional<SnapTarget> edgeSnapTarget(platform::ScreenPoint point, std::optional<platform::AXRect> projectedFrame,
                                             const std::shared_ptr<platform::Screen>& screen) const;
    bool isWindowDrag() const { return isWindowDrag_; }
    std::optional<SnapTarget> dragTarget() const { return dragTarget_; }

    // --- Long press -------------------------------------------------------------
    // Arms the long press for a press at `point`, for the stored destination.
    void scheduleQuickLaunchLongPress(platform::ScreenPoint point);
    // Cancels a pending long press.
    void cancelQuickLaunchLongPress();
    bool isLongPressPending() const { return quickLaunchLongPressOrigin_.has_value(); }

    // --- Selection trigger ---------------------------------------------------------
    // After an empty read (or no screen) the application may still be
    // settling its selection.
    static constexpr double selectionEmptyRetryDelay = 0.15;
    // Text counts once two reads this far apart agree.
    static constexpr double selectionStabilityDelay = 0.08;
    static constexpr double selectionStyleRetryDelay = 0.08;
    // Attempts 0 ... 2: at most three text reads, and three style reads.
    static constexpr std::int64_t lastSelectionAttempt = 2;
    static constexpr std::int64_t lastStyleAttempt = 2;
    // The browser whose page can tell the style Accessibility does not.
    static constexpr const char* chromeBundleIdentifier = "com.google.Chrome";
    static constexpr const char* chromeStyleEnabledKey = "selvaneChromeStyleEnabled";
    static constexpr const char* chromeStyleOffNote = "文字信息未获取：主界面 → Selvane → 开启引导";

    // One step of the road from a release that may have selected text to
    // the bar: checks the attempt is still wanted, reads the text until two
    // reads agree and then its style, and shows the bar, schedules the next
    // step, asks the browser's page, or gives up silently.
    void showSelvaneSelection(platform::ScreenPoint point, std::int64_t generation, pid_t sourcePID,
                              std::int64_t attempt = 0, std::optional<std::string> stableText = std::nullopt,
                              std::int64_t styleAttempt = 0);
    std::int64_t selvaneSelectionGeneration() const { return selvaneSelectionGeneration_; }

private:
    InputController(std::shared_ptr<SnapEngine> snapEngine, std::shared_ptr<QuickLaunchStore> quickLaunchStore,
                    std::shared_ptr<SelectionBar> selectionBar);

    // Swipes
    bool startGesture(const platform::Event& event);
    void previewGestureTarget(SnapTarget target);
    void finishGesture();

    // The mouse
    void mouseDown(const platform::Event& event, platform::ScreenPoint p);
    void mouseDragged(platform::ScreenPoint p);
    void mouseUp(const platform::Event& event, platform::ScreenPoint p);
    bool openQuickLaunchFromMenuBar(platform::ScreenPoint p);
    bool pressIsInTextInput(platform::ScreenPoint p) const;
    void trackTitleBarPress(platform::ScreenPoint p);
    void finishTitleBarDrag(const std::optional<platform::AXElement>& window,
                            const std::shared_ptr<platform::Screen>& screen, std::optional<SnapTarget> target);
    std::optional<platform::Event> ownWindowDrag(const platform::Event& event, platform::ScreenPoint p);
    void ownWindowPressElsewhere();
    void cancelPaletteAutoHide();
    void resetPalette();
    void clearDragState();
    void clearNativeDrag();

    // Selection trigger
    // True when anything since the release makes the attempt unwanted.
    bool isSelvaneAttemptStale(std::int64_t generation, pid_t sourcePID) const;
    bool keyPressedRecently() const;
    void scheduleSelvaneSelection(double delay, platform::ScreenPoint point, std::int64_t generation, pid_t sourcePID,
                                  std::int64_t attempt, std::optional<std::string> stableText, std::int64_t styleAttempt);
    // The browser's answer, shown if the world is still as it was.
    void showChromeSelection(platform::ScreenPoint point, std::int64_t generation, pid_t sourcePID,
                             const std::string& stableText, const std::shared_ptr<platform::Screen>& screen,
                             std::shared_ptr<const SelectionStyle> accessibilityStyle,
                             SelectionBar::PageStyleReading reading);

    // Long press
    void fireLongPress(std::int64_t generation, LongPressDestination destination, std::optional<pid_t> frontmost);

    // Posts a status text for after the event, while the controller lives.
    void postAction(std::string text);

    // Owned
    std::shared_ptr<SnapEngine> snapEngine_;
    std::unique_ptr<SnapPreviewOverlay> previewOverlay_;
    std::unique_ptr<MouseSnapPalette> mousePalette_;
    std::shared_ptr<QuickLaunchPanel> quickLaunchPanel_;
    std::shared_ptr<SelectionBar> selvanePanel_;
    std::weak_ptr<platform::Window> mainWindow_;

    // Monitors
    std::optional<platform::EventMonitorToken> gestureMonitor_;
    std::optional<platform::EventMonitorToken> mouseMonitor_;
    std::optional<platform::EventMonitorToken> localMouseMonitor_;

    // Long press
    std::shared_ptr<platform::WorkItem> quickLaunchLongPressWorkItem_;
    std::int64_t longPressGeneration_ = 0;
    std::shared_ptr<platform::WorkItem> mousePaletteAutoHideWorkItem_;
    std::optional<platform::ScreenPoint> quickLaunchLongPressOrigin_;

    // A swipe in progress exactly while `gestureWindow_` is set.
    double scrollX_ = 0;
    double scrollY_ = 0;
    std::optional<double> gestureStartedAt_;
    std::optional<platform::AXElement> gestureWindow_;
    std::shared_ptr<platform::Screen> gestureScreen_;
    std::optional<SnapTarget> gestureTarget_;

    // Title-bar drag of another application's window
    std::optional<platform::AXElement> dragWindow_;
    // The program's own main window being dragged
    std::weak_ptr<platform::Window> nativeDragWindow_;
    std::optional<platform::ScreenPoint> nativeDragOrigin_;
    std::optional<platform::ScreenRect> nativeDragFrame_;
    std::optional<platform::AXRect> dragInitialFrame_;
    std::optional<SnapTarget> dragTarget_;
    std::shared_ptr<platform::Screen> dragScreen_;
    std::optional<platform::ScreenPoint> mouseDownPoint_;
    bool isWindowDrag_ = false;

    // A press that may select text
    std::optional<platform::ScreenPoint> selvaneSelectionOrigin_;
    bool selvaneSelectionDragged_ = false;
    bool selvaneSelectionDoubleClicked_ = false;
    std::int64_t selvaneSelectionGeneration_ = 0;
};

}  // namespace tallowmere
