#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/result.h"
#include "platform/gfx/bitmap.h"
#include "platform/runtime/notification_center.h"
#include "platform/viewer/frame_pacer.h"
#include "platform/viewer/input_translator.h"
#include "platform/viewer/viewer_geometry.h"
#include "platform/viewer/viewer_speaker.h"

namespace tallowmere::platform {

class AppContext;
class Screen;
class ScreenPainter;
class ViewerModalResponder;
class X11Window;

// The simulated screen shown in a real window while a display is
// available: the screens as the screen snapshot draws them, redrawn after
// the main queue's work (at most thirty frames a second, nothing while
// nothing runs), and the person's mouse, wheel and keyboard posted to the
// simulated desktop. The person answers modal questions in it, and closing
// the window quits the program the way its Quit does.
//
// Lives on the main queue's thread of the current AppContext, from the
// program's start to the end of its run loop.
class DesktopViewer {
  public:
    // True when a display is named (DISPLAY) and the viewer is not turned
    // off (TALLOWMERE_HEADLESS=1).
    static bool isRequested();
    // The viewer when it is requested and the display opens; otherwise
    // none, and a display that would not open is logged in one line on
    // standard error and in the system log: the program runs headless.
    static std::unique_ptr<DesktopViewer> startIfRequested(const std::string& title);
    // Opens the window titled `title`, sized to the screens' arrangement
    // (scaled down to fit the display); fails with the reason when the
    // display cannot be opened, and the program then runs headless.
    static Result<std::unique_ptr<DesktopViewer>> open(const std::string& title);
    ~DesktopViewer();
    DesktopViewer(const DesktopViewer&) = delete;
    DesktopViewer& operator=(const DesktopViewer&) = delete;

    const ViewerGeometry& geometry() const { return translator_.geometry(); }

  private:
    explicit DesktopViewer(std::unique_ptr<X11Window> window);

    void fitToScreens();
    void drawFrame();
    void receive(const ViewerInput& input);
    void pickColor(const ViewerInput& input);
    // The capture tool's drag: press, drag, release; Escape cancels.
    void selectArea(const ViewerInput& input);
    // Shows the dragged area tinted over the screens (none: restores them).
    void showSelectionBand(std::optional<PixelRect> band);

    // One screen as shown, and where: its painter keeps the picture and
    // says what changed since the last frame.
    struct ShownScreen {
        std::shared_ptr<Screen> screen;
        PixelRect rect;
        std::unique_ptr<ScreenPainter> painter;
    };

    AppContext& context_;
    std::unique_ptr<X11Window> window_;
    InputTranslator translator_;
    FramePacer pacer_;
    std::shared_ptr<ViewerModalResponder> responder_;
    std::vector<ShownScreen> shown_;
    ObserverToken screensObserver_;
    ObserverToken cursorObserver_;
    std::optional<PixelPoint> selectionAnchor_;
    std::optional<PixelRect> selectionBand_;
    // Plays the desktop's sounds, where this machine has a sound device.
    std::unique_ptr<ViewerSpeaker> speaker_;
    // Work the event thread posted finds the viewer gone once this is.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace tallowmere::platform
