#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/event.h"
#include "platform/ui/alert.h"
#include "support/desktop/ui_modal_script.h"

namespace tallowmere::platform {
class Menu;
class MenuItem;
class StatusItem;
class Window;
}  // namespace tallowmere::platform

namespace tallowmere::testing {

// Answers the program's alerts as a person would, in order.
class AlertDriver {
public:
    explicit AlertDriver(ModalScript& script) : script_(script) {}

    // The next alert is answered with this button (1000 the first ...).
    void answer(platform::ModalResponse response);
    // The next alert is answered by `act`, which may fill the accessory view
    // or tick the suppression box before it returns the button.
    void answerWith(std::function<platform::ModalResponse(platform::Alert&)> act);

    const std::vector<ModalScript::ShownAlert>& shown() const { return script_.alertsShown; }
    std::size_t count() const { return script_.alertsShown.size(); }
    // The last alert shown; fails the test when there was none.
    const ModalScript::ShownAlert& last() const;
    std::size_t unansweredScriptCount() const { return script_.alertAnswers.size(); }

private:
    ModalScript& script_;
};

// Open and save panels, the colour sampler and windows run modally.
class PanelDriver {
public:
    explicit PanelDriver(ModalScript& script) : script_(script) {}

    void choose(std::vector<std::filesystem::path> items);
    void saveAs(std::filesystem::path file);
    void cancelNextOpen();
    void cancelNextSave();
    const std::vector<ModalScript::ShownPanel>& shown() const { return script_.panelsShown; }

    // The colour sampler's next answer; nothing is Escape.
    void pickColor(std::optional<platform::Color> color);
    int colorSamplerCount() const { return script_.colorSamplerShownCount; }

    // The area dragged out at the next interactive screen capture; nothing
    // is Escape.
    void dragScreenArea(std::optional<platform::ScreenRect> area) { script_.areaAnswers.push_back(area); }
    int screenAreaCount() const { return script_.screenAreaAskedCount; }

    // Acts in the next window run modally (presses one of its buttons).
    void actInModalWindow(std::function<void(platform::Window&)> act);

private:
    ModalScript& script_;
};

// Clicks in the menu bar through the desktop's event stream.
class MenuBarDriver {
public:
    // Presses and releases `button` (left or right) at the item's centre.
    // Fails the test when the item is not shown.
    void click(const platform::StatusItem& item, platform::EventType down = platform::EventType::leftMouseDown);
    void rightClick(const platform::StatusItem& item) { click(item, platform::EventType::rightMouseDown); }
    // Clicks at a point of the screen (a double click with clickCount 2).
    void clickAt(platform::ScreenPoint point, int clickCount = 1);
};

// The open menu, as a person sees and uses it.
class MenuDriver {
public:
    struct Opened {
        std::string title;
        std::vector<std::string> items;  // titles; "—" for separators
    };

    MenuDriver();

    bool isOpen() const;
    std::shared_ptr<platform::Menu> openMenu() const;
    // The titles of the open menu's visible items ("—" for separators).
    std::vector<std::string> itemTitles() const;
    // Every menu that opened since the test began, in order.
    const std::vector<Opened>& opened() const { return *opened_; }

    // Finds the item with this title in the open menu or its submenus,
    // points at each submenu on the way and clicks the item. Fails the test
    // (with the titles a person would have seen) when there is no such item.
    bool choose(const std::string& title);
    // The item with this title in the open tree, if any (without choosing).
    std::shared_ptr<platform::MenuItem> find(const std::string& title) const;
    // Escape.
    void dismiss();

private:
    std::shared_ptr<std::vector<Opened>> opened_ = std::make_shared<std::vector<Opened>>();
};

// The shared colour panel as a person uses it, through the desktop's events.
class ColorPanelDriver {
public:
    // Clicks the palette's swatch of `hex` ("#2F7FF0"). Fails the test when
    // the panel is not shown or has no such swatch.
    void clickSwatch(std::string_view hex);
    // Clicks into the hex field, replaces its text with `text` and presses Return.
    void typeHex(const std::string& text);
};

// What the program shows in windows.
class WindowReader {
public:
    // The program's visible windows and panels (status item windows left
    // out), front to back.
    std::vector<std::shared_ptr<platform::Window>> visible() const;
    std::vector<std::string> visibleTitles() const;
    std::shared_ptr<platform::Window> withTitle(const std::string& title) const;
};

}  // namespace tallowmere::testing
