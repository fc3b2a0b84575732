#include "platform/ui/views_trace.h"

#include <algorithm>
#include <cstdio>

#include "platform/desktop/desktop.h"
#include "platform/system/trace_switches.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_tracker.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/secure_text_field.h"
#include "platform/ui/text_field.h"
#include "platform/ui/ui_trace.h"
#include "platform/ui/window.h"

namespace tallowmere::platform::ViewsTrace {

namespace {

// What a person reads on the control, else what names it; never a
// password.
std::string labelOf(const View& view) {
    if (const auto* popUp = dynamic_cast<const PopUpButton*>(&view)) return popUp->displayedTitle();
    if (const auto* button = dynamic_cast<const Button*>(&view); button && !button->title().empty())
        return button->title();
    if (dynamic_cast<const SecureTextField*>(&view)) return {};
    if (const auto* field = dynamic_cast<const TextField*>(&view)) return field->stringValue();
    return view.accessibilityLabel().empty() ? view.identifier() : view.accessibilityLabel();
}

void describeControls(const View& view, const std::string& windowName, std::vector<std::string>& lines) {
    if (view.isHidden()) return;
    if (dynamic_cast<const Control*>(&view)) {
        const Rect shown = view.visibleRect();
        if (!shown.isEmpty()) {
            lines.push_back(windowName + " " + view.accessibilityRole() + " " + quotedForTrace(labelOf(view)) + " at " +
                            rectForTrace(view.convertToScreen(shown)));
        }
    }
    for (const auto& subview : view.subviews()) describeControls(*subview, windowName, lines);
}

}  // namespace

std::vector<std::string> describeScreen() {
    std::vector<std::string> lines;
    auto& application = Application::shared();
    auto windows = DesktopLink::desktop().windowServer().orderedWindows();  // front to back
    std::reverse(windows.begin(), windows.end());
    for (const auto& shown : windows) {
        if (!shown->isOwnWindow()) continue;
        auto window = application.windowWithNumber(shown->windowNumber());
        auto content = window ? window->contentView() : nullptr;
        if (!content || !window->isVisible() || window->alphaValue() <= 0) continue;
        content->layoutSubtreeIfNeeded();
        describeControls(*content, quotedForTrace(window->title()) + " #" + std::to_string(window->windowNumber()),
                         lines);
    }
    auto& menus = MenuTracker::shared();
    for (const auto& menu : menus.openMenus()) {
        const auto* layout = menus.layoutOf(*menu);
        if (!layout) continue;
        for (const auto& row : layout->rows) {
            if (row.item->isSeparatorItem()) continue;
            lines.push_back("menu " + quotedForTrace(menu->title()) + " row " +
                            quotedForTrace(row.item->displayedTitle()) + " at " + rectForTrace(row.frame));
        }
    }
    return lines;
}

void printIfOn() {
    if (!TraceSwitches::isOn(traceName)) return;
    for (const auto& line : describeScreen()) std::fprintf(stderr, "views: %s\n", line.c_str());
}

}  // namespace tallowmere::platform::ViewsTrace
