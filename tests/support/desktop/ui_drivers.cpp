#include "support/desktop/ui_drivers.h"

#include <gtest/gtest.h>

#include "platform/desktop/desktop.h"
#include "platform/ui/application.h"
#include "platform/ui/color_panel.h"
#include "platform/ui/text_field.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_tracker.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/status_item.h"
#include "platform/ui/window.h"

namespace tallowmere::testing {

using namespace platform;

namespace {

std::string joined(const std::vector<std::string>& titles) {
    std::string text;
    for (const auto& title : titles) text += (text.empty() ? "" : " | ") + title;
    return text;
}

std::vector<std::string> titlesOf(const Menu& menu) {
    std::vector<std::string> titles;
    for (const auto& item : menu.items()) {
        if (item->isHidden()) continue;
        titles.push_back(item->isSeparatorItem() ? "—" : item->displayedTitle());
    }
    return titles;
}

// The path of items from `menu` down to the item titled `title`.
bool findPath(const Menu& menu, const std::string& title, std::vector<std::shared_ptr<MenuItem>>& path) {
    for (const auto& item : menu.items()) {
        if (item->isHidden() || item->isSeparatorItem()) continue;
        if (item->displayedTitle() == title) {
            path.push_back(item);
            return true;
        }
    }
    for (const auto& item : menu.items()) {
        if (item->isHidden() || !item->hasSubmenu()) continue;
        // The submenu is filled by its delegate as it opens; one already
        // open keeps the items it shows.
        if (auto owner = item->submenu()->delegate(); owner && !MenuTracker::shared().isOpen(*item->submenu())) {
            owner->menuNeedsUpdate(*item->submenu());
        }
        path.push_back(item);
        if (findPath(*item->submenu(), title, path)) return true;
        path.pop_back();
    }
    return false;
}

void post(const Event& event) { Desktop::shared().post(event); }

ScreenPoint centreOfRow(const MenuItem& item) {
    auto& tracker = MenuTracker::shared();
    for (const auto& menu : tracker.openMenus()) {
        if (const auto* row = tracker.layoutOf(*menu)->rowOf(item)) return row->frame.center();
    }
    return {};
}

}  // namespace

// --- AlertDriver ---------------------------------------------------------------

void AlertDriver::answer(ModalResponse response) {
    script_.alertAnswers.push_back([response](Alert&) { return std::optional<ModalResponse>(response); });
}

void AlertDriver::answerWith(std::function<ModalResponse(Alert&)> act) {
    script_.alertAnswers.push_back([act = std::move(act)](Alert& alert) { return std::optional<ModalResponse>(act(alert)); });
}

const ModalScript::ShownAlert& AlertDriver::last() const {
    static const ModalScript::ShownAlert none;
    if (script_.alertsShown.empty()) {
        ADD_FAILURE() << "no alert was shown";
        return none;
    }
    return script_.alertsShown.back();
}

// --- PanelDriver ------------------------------------------------------------------

void PanelDriver::choose(std::vector<std::filesystem::path> items) { script_.openAnswers.push_back(std::move(items)); }
void PanelDriver::saveAs(std::filesystem::path file) { script_.saveAnswers.push_back(std::move(file)); }
void PanelDriver::cancelNextOpen() { script_.openAnswers.push_back(std::nullopt); }
void PanelDriver::cancelNextSave() { script_.saveAnswers.push_back(std::nullopt); }
void PanelDriver::pickColor(std::optional<Color> color) { script_.colorAnswers.push_back(std::move(color)); }
void PanelDriver::actInModalWindow(std::function<void(Window&)> act) { script_.windowAnswers.push_back(std::move(act)); }

// --- MenuBarDriver ----------------------------------------------------------------

void MenuBarDriver::click(const StatusItem& item, EventType down) {
    const auto frame = item.frame();
    if (frame.isEmpty()) {
        ADD_FAILURE() << "the status item " << item.autosaveName() << " is not shown in the menu bar";
        return;
    }
    const EventType up = down == EventType::rightMouseDown ? EventType::rightMouseUp : EventType::leftMouseUp;
    post(Event::mouse(down, frame.center()));
    post(Event::mouse(up, frame.center()));
}

void MenuBarDriver::clickAt(ScreenPoint point, int clickCount) {
    post(Event::mouse(EventType::leftMouseDown, point, clickCount));
    post(Event::mouse(EventType::leftMouseUp, point, clickCount));
}

// --- MenuDriver -----------------------------------------------------------------------

MenuDriver::MenuDriver() {
    std::weak_ptr<std::vector<Opened>> record = opened_;
    MenuTracker::shared().onOpen = [record](const Menu& menu) {
        if (auto opened = record.lock()) opened->push_back({menu.title(), titlesOf(menu)});
    };
}

bool MenuDriver::isOpen() const { return MenuTracker::shared().isTracking(); }

std::shared_ptr<Menu> MenuDriver::openMenu() const { return MenuTracker::shared().rootMenu(); }

std::vector<std::string> MenuDriver::itemTitles() const {
    auto menu = openMenu();
    return menu ? titlesOf(*menu) : std::vector<std::string>{};
}

std::shared_ptr<MenuItem> MenuDriver::find(const std::string& title) const {
    auto menu = openMenu();
    std::vector<std::shared_ptr<MenuItem>> path;
    if (!menu || !findPath(*menu, title, path)) return nullptr;
    return path.back();
}

bool MenuDriver::choose(const std::string& title) {
    auto menu = openMenu();
    if (!menu) {
        ADD_FAILURE() << "no menu is open to choose \"" << title << "\" from";
        return false;
    }
    std::vector<std::shared_ptr<MenuItem>> path;
    if (!findPath(*menu, title, path)) {
        ADD_FAILURE() << "the open menu has no item \"" << title << "\"; it shows: " << joined(titlesOf(*menu));
        return false;
    }
    // Point at each submenu on the way, as a person moves down the menus.
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        post(Event::mouse(EventType::mouseMoved, centreOfRow(*path[i]), 0));
        if (!MenuTracker::shared().isOpen(*path[i]->submenu())) {
            ADD_FAILURE() << "the submenu \"" << path[i]->displayedTitle() << "\" did not open";
            return false;
        }
    }
    const auto& item = path.back();
    if (!item->canBeChosen()) {
        ADD_FAILURE() << "the menu item \"" << title << "\" is disabled";
        return false;
    }
    const auto point = centreOfRow(*item);
    post(Event::mouse(EventType::leftMouseDown, point));
    post(Event::mouse(EventType::leftMouseUp, point));
    return true;
}

void MenuDriver::dismiss() {
    post(Event::key(EventType::keyDown, KeyCode::escape, "\x1b"));
    post(Event::key(EventType::keyUp, KeyCode::escape, "\x1b"));
}

// --- WindowReader -------------------------------------------------------------------------

std::vector<std::shared_ptr<Window>> WindowReader::visible() const {
    auto& application = Application::shared();
    std::vector<std::shared_ptr<Window>> shown;
    for (const auto& info : Desktop::shared().windowServer().orderedWindows()) {
        if (!info->isOwnWindow() || info->level() == WindowLevel::status) continue;
        auto window = application.windowWithNumber(info->windowNumber());
        if (window && window->isVisible()) shown.push_back(window);
    }
    return shown;
}

std::vector<std::string> WindowReader::visibleTitles() const {
    std::vector<std::string> titles;
    for (const auto& window : visible()) titles.push_back(window->title());
    return titles;
}

std::shared_ptr<Window> WindowReader::withTitle(const std::string& title) const {
    for (const auto& window : visible()) {
        if (window->title() == title) return window;
    }
    return nullptr;
}

void ColorPanelDriver::clickSwatch(std::string_view hex) {
    auto& panel = ColorPanel::shared();
    ASSERT_TRUE(panel.isVisible()) << "the colour panel is not shown";
    for (std::size_t i = 0; auto view = panel.swatch(i); ++i) {
        if (view->accessibilityLabel() != hex) continue;
        MenuBarDriver().clickAt(view->convertToScreen(view->bounds().center()));
        return;
    }
    ADD_FAILURE() << "the colour panel has no swatch " << hex;
}

void ColorPanelDriver::typeHex(const std::string& text) {
    auto& panel = ColorPanel::shared();
    ASSERT_TRUE(panel.isVisible()) << "the colour panel is not shown";
    const auto& field = panel.hexField();
    MenuBarDriver().clickAt(field->convertToScreen(field->bounds().center()));
    post(Event::key(EventType::keyDown, KeyCode::a, "a", ModifierFlags{ModifierFlags::command}));
    post(Event::key(EventType::keyUp, KeyCode::a, "a", ModifierFlags{ModifierFlags::command}));
    for (char character : text) {
        const std::string typed(1, character);
        post(Event::key(EventType::keyDown, KeyCode::textInput, typed));
        post(Event::key(EventType::keyUp, KeyCode::textInput, typed));
    }
    post(Event::key(EventType::keyDown, KeyCode::returnKey, "\r"));
    post(Event::key(EventType::keyUp, KeyCode::returnKey, "\r"));
}

}  // namespace tallowmere::testing
