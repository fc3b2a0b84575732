#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/desktop/event.h"
#include "platform/desktop/window_level.h"
#include "platform/gfx/color.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/animation.h"
#include "platform/ui/window_style.h"

namespace tallowmere::platform {

class Desktop;
class Screen;
class View;
class ViewEventRouter;
class WindowController;

// What a window's owner hears from it. Held weakly; every method has a
// do-nothing default.
class WindowDelegate {
public:
    virtual ~WindowDelegate() = default;
    // False keeps the window open when the close box is pressed.
    virtual bool windowShouldClose(class Window& window) {
        (void)window;
        return true;
    }
    virtual void windowWillClose(Window& window) { (void)window; }
    virtual void windowDidResize(Window& window) { (void)window; }
    virtual void windowDidMove(Window& window) { (void)window; }
    virtual void windowDidBecomeKey(Window& window) { (void)window; }
    virtual void windowDidResignKey(Window& window) { (void)window; }
};

// One of the program's own windows, in screen space. Every window is known
// to the desktop's window server from the moment it is made, so it appears in
// the window list while visible, is hit-tested at its level and can be seen
// through Accessibility like any other application's window.
//
// Made with `Window::make` (or `Window::make<Subclass>`), so it is always
// held by a shared pointer; a subclass takes the `MakeKey` as the first
// argument of its constructor and passes it on.
class Window : public std::enable_shared_from_this<Window> {
protected:
    class MakeKey {
        friend class Window;
        MakeKey() = default;
    };

public:
    // Height of a title bar, which a titled window adds above its content
    // unless the content view fills the whole window.
    static constexpr double titleBarHeight = 28;

    // `contentRect` is where the content goes on screen; the frame adds the
    // title bar of a titled window.
    Window(MakeKey, ScreenRect contentRect, WindowStyleMask style);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    template <class T = Window, class... Args>
    static std::shared_ptr<T> make(Args&&... args) {
        auto window = std::make_shared<T>(MakeKey{}, std::forward<Args>(args)...);
        window->didMake();
        return window;
    }

    // --- Identity and look ---------------------------------------------------
    // The window server's number for this window; never 0.
    int windowNumber() const { return windowNumber_; }
    const std::string& title() const { return title_; }
    void setTitle(std::string title);

    WindowStyleMask styleMask() const { return styleMask_; }
    void setStyleMask(WindowStyleMask mask);
    // One of WindowLevel (normal 0, floating 3, modal panel 8 ... screen saver 1000).
    int level() const { return level_; }
    void setLevel(int level);
    WindowCollectionBehavior collectionBehavior() const { return collectionBehavior_; }
    void setCollectionBehavior(WindowCollectionBehavior behavior) { collectionBehavior_ = behavior; }

    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    const Color& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(Color color) { backgroundColor_ = std::move(color); }
    bool hasShadow() const { return hasShadow_; }
    void setHasShadow(bool shadow) { hasShadow_ = shadow; }
    double alphaValue() const { return alpha_; }
    // Stops a running alpha animation: the value set last wins.
    void setAlphaValue(double alpha);
    // Clicks pass through to whatever lies below.
    bool ignoresMouseEvents() const { return ignoresMouseEvents_; }
    void setIgnoresMouseEvents(bool ignores);
    bool hidesOnDeactivate() const { return hidesOnDeactivate_; }
    void setHidesOnDeactivate(bool hides) { hidesOnDeactivate_ = hides; }

    // Settings the window keeps and draws but that change no behaviour here.
    WindowTitleVisibility titleVisibility = WindowTitleVisibility::visible;
    bool titlebarAppearsTransparent = false;
    bool showsTitlebarSeparator = true;
    bool isReleasedWhenClosed = false;
    bool isRestorable = false;
    bool isMovable = true;
    bool isMovableByWindowBackground = false;
    WindowAnimationBehavior animationBehavior = WindowAnimationBehavior::automatic;
    WindowTabbingMode tabbingMode = WindowTabbingMode::automatic;
    bool showsMiniaturizeButton = true;
    bool showsZoomButton = true;

    // --- Geometry -------------------------------------------------------------
    ScreenRect frame() const { return frame_; }
    // Moves and resizes at once; a running frame animation stops. Like the
    // platform, it does not apply the minimum and maximum sizes, which limit
    // the person's resizing; callers clamp when they want to.
    void setFrame(ScreenRect frame, bool display = true);
    // Animated over `timing`, ending exactly at `frame`; a later setFrame
    // or animation replaces it. Returns the animation so it can be cancelled.
    std::shared_ptr<Animation> setFrame(ScreenRect frame, bool display, bool animate,
                                        AnimationTiming timing = {});
    void setFrameOrigin(ScreenPoint origin);
    void setFrameTopLeftPoint(ScreenPoint topLeft);
    // Keeps the top-left corner where it is, as the platform does.
    void setContentSize(Size size);

    ScreenRect contentRectForFrameRect(ScreenRect frame) const;
    ScreenRect frameRectForContentRect(ScreenRect content) const;
    // The part of the window not covered by the title bar, in the window's
    // own coordinates (origin bottom-left).
    Rect contentLayoutRect() const;

    Size minSize() const { return minSize_; }
    void setMinSize(Size size);
    std::optional<Size> maxSize() const { return maxSize_; }
    void setMaxSize(std::optional<Size> size);
    Size contentMinSize() const { return contentMinSize_; }
    void setContentMinSize(Size size) { contentMinSize_ = size; }

    // Where a frame may go when the window comes on screen. A titled window
    // keeps its title bar below the menu bar of its screen; a borderless one
    // may go anywhere. Subclasses may answer differently.
    virtual ScreenRect constrainFrameRect(ScreenRect frame, const std::shared_ptr<Screen>& screen) const;

    // The screen holding the largest part of the window; null off screen.
    std::shared_ptr<Screen> screen() const;
    // Centred horizontally and a little above the middle of its screen's
    // visible frame (the main screen's when off screen), as the platform does.
    void center();

    // --- Ordering and key status ---------------------------------------------
    bool isVisible() const { return visible_; }
    // Ordered in and not fully transparent: what a person can see.
    bool isOnScreen() const { return visible_ && alpha_ > 0; }
    // In front of the other windows of its level. Ordering never activates
    // the program.
    void orderFront();
    // The same; kept for callers that show a window over other applications
    // (on this desktop every ordered-in window is shown whoever is active).
    void orderFrontRegardless();
    void orderBack();
    void orderOut();
    void makeKeyAndOrderFront();
    void makeKey();
    void makeMain();
    bool isKeyWindow() const;
    bool isMainWindow() const;
    virtual bool canBecomeKey() const;
    virtual bool canBecomeMain() const;

    bool isMiniaturized() const { return miniaturized_; }
    void miniaturize();
    void deminiaturize();
    bool isFullScreen() const { return styleMask_.contains(WindowStyleMask::fullScreen); }
    // Fills its screen (and back to the frame before).
    void toggleFullScreen();

    // Asks the delegate, then closes (like the close box).
    void performClose();
    // Ordered out for good unless shown again; the delegate hears will-close.
    void close();

    // --- Sheets ---------------------------------------------------------------
    // Attaches `sheet` below this window's title bar, centred and in front,
    // moving with it. While a sheet is attached the window itself takes no
    // press and no key: they belong to the sheet. One sheet at a time; false
    // when one is already attached or `sheet` is this window.
    bool beginSheet(const std::shared_ptr<Window>& sheet);
    // Detaches `sheet` and orders it out; nothing when it is not attached here.
    void endSheet(const std::shared_ptr<Window>& sheet);
    std::shared_ptr<Window> attachedSheet() const { return attachedSheet_; }
    std::shared_ptr<Window> sheetParent() const { return sheetParent_.lock(); }

    // --- Contents and owners -------------------------------------------------
    std::shared_ptr<View> contentView() const { return contentView_; }
    virtual void setContentView(std::shared_ptr<View> view);
    void setDelegate(std::weak_ptr<WindowDelegate> delegate) { delegate_ = std::move(delegate); }
    std::shared_ptr<WindowDelegate> delegate() const { return delegate_.lock(); }
    std::shared_ptr<WindowController> windowController() const { return windowController_.lock(); }

    // The view that receives keys; the window itself when none.
    std::shared_ptr<View> firstResponder() const;
    // Moves keys to `view` (a view of this window that accepts them), or to
    // the window itself with null. False when the current first responder
    // refuses to resign or `view` refuses to become it.
    bool makeFirstResponder(const std::shared_ptr<View>& view);
    // Where keys go when the window first becomes key.
    std::weak_ptr<View> initialFirstResponder;

    // --- Events ---------------------------------------------------------------
    // A key press that no view handled; Escape becomes cancelOperation.
    virtual void keyDown(const Event& event);
    // Escape or Command-period; nothing by default.
    virtual void cancelOperation() {}
    // An event for this window, after the local monitors: mouse and scroll
    // events go to the view under the pointer (or the view pressed), keys to
    // the first responder and, when no view takes them, to `keyDown`.
    virtual void sendEvent(const Event& event);
    // The pointer left the window (tracking areas are exited).
    void pointerExited(const Event& event);
    // The event's screen location in window coordinates (origin at the
    // bottom-left of the content area).
    Point locationInWindow(ScreenPoint location) const;

    // --- Animations -----------------------------------------------------------
    // Fades the alpha value to `alpha` over `timing`; `completion` runs only
    // when it reaches the end.
    std::shared_ptr<Animation> animateAlphaValue(double alpha, AnimationTiming timing,
                                                 std::function<void()> completion = {});

    // Whether showing and hiding are traced as a window's; the windows of
    // status items, alerts and file panels are traced as what they show.
    void setTracesOrdering(bool traces) { tracesOrdering_ = traces; }

protected:
    virtual void didMake();

private:
    friend class WindowController;
    void applyFrame(ScreenRect frame);
    void resignKey();
    void orderIn();
    void applyAlpha(double alpha);
    // Traces the window appearing or vanishing and wakes what draws only
    // while it shows.
    void onScreenDidChange();
    void trace(const std::string& what, const std::string& details = {}) const;
    void placeAttachedSheet();
    std::shared_ptr<ViewEventRouter> viewRouter_;
    bool tracesOrdering_ = true;

    int windowNumber_ = 0;
    std::weak_ptr<Desktop> desktop_;  // to leave its window server, if it is still there
    std::string title_;
    WindowStyleMask styleMask_;
    int level_ = WindowLevel::normal;
    WindowCollectionBehavior collectionBehavior_;
    bool opaque_ = true;
    Color backgroundColor_ = Color::system(SystemColor::windowBackground);
    bool hasShadow_ = true;
    double alpha_ = 1.0;
    bool ignoresMouseEvents_ = false;
    bool hidesOnDeactivate_ = false;
    ScreenRect frame_;
    Size minSize_{1, 1};
    std::optional<Size> maxSize_;
    Size contentMinSize_;
    bool visible_ = false;
    bool miniaturized_ = false;
    std::optional<ScreenRect> frameBeforeFullScreen_;
    std::shared_ptr<View> contentView_;
    std::weak_ptr<WindowDelegate> delegate_;
    std::weak_ptr<WindowController> windowController_;
    bool hasBeenKey_ = false;
    std::shared_ptr<Animation> frameAnimation_;
    std::shared_ptr<Animation> alphaAnimation_;
    std::shared_ptr<Window> attachedSheet_;
    std::weak_ptr<Window> sheetParent_;
};

// A window for auxiliary tools. Panels hide when the program deactivates
// unless told otherwise; a floating panel stays above normal windows; a
// non-activating panel takes key status without activating the program.
class Panel : public Window {
public:
    Panel(MakeKey key, ScreenRect contentRect, WindowStyleMask style);

    bool isFloatingPanel() const { return floatingPanel_; }
    // Floating panels sit at the floating level, others at the normal one.
    void setFloatingPanel(bool floating);
    bool becomesKeyOnlyIfNeeded = false;
    // Takes clicks while another window is modal.
    bool worksWhenModal = false;

    // Panels never become the main window.
    bool canBecomeMain() const override { return false; }

private:
    bool floatingPanel_ = false;
};

}  // namespace tallowmere::platform
