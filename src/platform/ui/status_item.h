#pragma once

#include <memory>
#include <string>

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class Menu;
class StatusBar;
class StatusBarButton;
class Window;

// One item of the status area of the menu bar, made by `StatusBar`. It
// shows its button in a small window of its own at the status-bar level,
// so the window server lists it and clicks reach it like any window's.
class StatusItem : public std::enable_shared_from_this<StatusItem> {
public:
    // Lengths with a meaning of their own: as wide as the button's content,
    // or as wide as the menu bar is high.
    static constexpr double variableLength = -1;
    static constexpr double squareLength = -2;

    StatusItem(const StatusItem&) = delete;
    StatusItem& operator=(const StatusItem&) = delete;

    double length() const { return length_; }
    void setLength(double length);
    // The width it takes in the menu bar now.
    double width() const;

    // The name under which the platform remembers the item's place.
    const std::string& autosaveName() const { return autosaveName_; }
    void setAutosaveName(std::string name);

    bool isVisible() const { return visible_; }
    void setVisible(bool visible);

    std::shared_ptr<StatusBarButton> button() const { return button_; }
    // A menu opened by a click instead of the button's action.
    std::shared_ptr<Menu> menu() const { return menu_; }
    void setMenu(std::shared_ptr<Menu> menu) { menu_ = std::move(menu); }

    // Where the item is in screen space; empty while hidden or removed.
    ScreenRect frame() const;
    // The window that shows the button.
    std::shared_ptr<Window> window() const { return window_; }
    bool isRemoved() const { return removed_; }

    struct Private {};  // construction goes through StatusBar
    StatusItem(Private, double length);

private:
    friend class StatusBar;
    friend class StatusBarButton;
    void setUp();
    void place(ScreenRect frame);
    void takeDown();
    void trace(const std::string& what) const;
    std::string name() const;

    double length_;
    int areaIdentifier_ = 0;  // in the desktop's status area
    std::string autosaveName_;
    bool visible_ = true;
    bool removed_ = false;
    std::shared_ptr<StatusBarButton> button_;
    std::shared_ptr<Menu> menu_;
    std::shared_ptr<Window> window_;
};

}  // namespace tallowmere::platform
