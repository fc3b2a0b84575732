#pragma once

#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "platform/desktop/simulated_element.h"
#include "platform/desktop/window_level.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

// How far the window server's bounds of a window lie from its Accessibility
// frame, added to the frame's origin and size. Some applications report a
// frame that leaves out a strip (a title bar drawn outside it, say), so the
// two may disagree.
struct BoundsOffset {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

// How a test describes another application's window.
struct WindowSpec {
    std::string title{};
    AXRect frame{100, 100, 800, 600};       // Accessibility space
    std::optional<std::string> document{};  // "AXDocument": a file URL string or a path
    std::string subrole = AXSubrole::standardWindow;
    bool minimized = false;
    // Size limits the application clamps writes to.
    std::optional<Size> minSize{};
    std::optional<Size> maxSize{};
    // A window that refuses size writes keeps its size and reports failure.
    bool resizable = true;
    bool movable = true;
    int level = WindowLevel::normal;
    double alpha = 1.0;
    bool hasCloseButton = true;
    bool hasMinimizeButton = true;
    double titleBarHeight = 28;
    // What the window shows below its title bar; its images picture it.
    std::string content{};
    BoundsOffset serverBoundsOffset{};
};

// A window of a simulated application (or one of the program's own windows,
// registered by the UI layer). Other applications' frames are held in
// Accessibility space, the program's own in screen space, each in the space
// its owner uses, so a change of the primary screen's height moves neither.
class SimulatedWindow final : public SimulatedElement {
  public:
    SimulatedWindow(int windowNumber, WindowSpec spec);
    // One of the program's own windows.
    SimulatedWindow(int windowNumber, ScreenRect frame, std::string title, int level);

    int windowNumber() const { return windowNumber_; }
    bool isOwnWindow() const { return std::holds_alternative<ScreenRect>(frame_); }

    AXRect frame() const { return axFrame(); }
    AXRect axFrame() const override;
    ScreenRect screenFrame() const;
    // Moves the window as its application would (no refusal applies).
    void setFrame(AXRect frame);
    void setScreenFrame(ScreenRect frame);

    const std::string& title() const { return SimulatedElement::title(); }
    const std::optional<std::string>& document() const { return spec_.document; }
    // What it shows, as its application draws it; a capture takes it as it is then.
    const std::string& content() const { return spec_.content; }
    void setContent(std::string content) { spec_.content = std::move(content); }
    // Where the window server says the window is (its Accessibility frame
    // unless the application reports that differently).
    AXRect serverBounds() const;
    void setDocument(std::optional<std::string> document) { spec_.document = std::move(document); }
    const WindowSpec& windowSpec() const { return spec_; }

    bool isMinimized() const { return spec_.minimized; }
    void setMinimized(bool minimized);
    bool isMain() const;
    bool isFocused() const;
    int level() const { return spec_.level; }
    void setLevel(int level);
    double alpha() const { return spec_.alpha; }
    void setAlpha(double alpha) { spec_.alpha = alpha; }
    // Ordered in by its application (or the UI layer), whatever its state.
    bool isOrderedIn() const { return orderedIn_; }
    // In the window server's on-screen list: ordered in, not minimised, its
    // application neither hidden nor gone.
    bool isOnScreen() const;
    bool ignoresMouseEvents() const { return ignoresMouseEvents_; }
    void setIgnoresMouseEvents(bool ignores) { ignoresMouseEvents_ = ignores; }

    void setResizable(bool resizable) { spec_.resizable = resizable; }
    void setMovable(bool movable) { spec_.movable = movable; }
    void setSizeLimits(std::optional<Size> minSize, std::optional<Size> maxSize);

    // Brings the window to the front of its level and makes it its
    // application's main and focused window.
    void raise();
    // Takes the window away, as its close button does.
    void close();
    // The title bar strip in Accessibility space.
    AXRect titleBarFrame() const;

    Result<AXValue> readAttribute(std::string_view name) const override;
    Result<void> writeAttribute(std::string_view name, const AXValue& value) override;
    bool isAttributeSettable(std::string_view name) const override;
    std::vector<std::string> attributeNames() const override;
    std::vector<std::string> actionNames() const override;
    Result<void> performAction(std::string_view name) override;

  private:
    friend class WindowServer;
    friend class SimulatedApplication;
    Size clampedSize(Size size) const;
    // Another application's window takes `frame`, and says so when it moved.
    void moveTo(AXRect frame);
    void addStandardButtons();
    std::shared_ptr<SimulatedElement> button(const char* subrole) const;

    int windowNumber_;
    WindowSpec spec_;
    std::variant<AXRect, ScreenRect> frame_;
    bool orderedIn_ = true;
    bool ignoresMouseEvents_ = false;
};

}  // namespace tallowmere::platform
