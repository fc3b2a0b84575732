#include "platform/ui/status_bar.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/status_item.h"
#include "platform/ui/ui_trace.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

StatusBar::StatusBar() {
    screensObserver_ = AppContext::current().notificationCenter().addObserver(
        ScreenArrangement::didChangeScreenParametersNotification, nullptr, [this](const Notification&) { layout(); });
    areaObserver_ = AppContext::current().notificationCenter().addObserver(
        StatusArea::didChangeNotification, nullptr, [this](const Notification&) { layout(); });
}

StatusBar::~StatusBar() {
    if (!AppContext::hasCurrent()) return;
    AppContext::current().notificationCenter().removeObserver(screensObserver_);
    AppContext::current().notificationCenter().removeObserver(areaObserver_);
}

StatusBar& StatusBar::shared() { return AppContext::current().shared<StatusBar>(); }

std::shared_ptr<StatusItem> StatusBar::statusItem(double length) {
    auto item = std::make_shared<StatusItem>(StatusItem::Private{}, length);
    item->setUp();
    item->areaIdentifier_ = DesktopLink::desktop().statusArea().addOwnItem(0);
    items_.push_back(item);
    UiTrace::shared().record("status item added #" + std::to_string(item->window()->windowNumber()) +
                             " length " + std::to_string(static_cast<long>(length)));
    layout();
    return item;
}

void StatusBar::removeStatusItem(const std::shared_ptr<StatusItem>& item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    item->takeDown();
    DesktopLink::desktop().statusArea().removeItem(item->areaIdentifier_);
    items_.erase(it);
    layout();
}

ScreenRect StatusBar::menuBarFrame() const {
    const auto screen = DesktopLink::primaryScreenFrame();
    return {screen.minX(), screen.maxY() - thickness, screen.width(), thickness};
}

std::shared_ptr<StatusItem> StatusBar::itemAt(ScreenPoint point) const {
    for (const auto& item : items_) {
        if (item->isVisible() && item->frame().contains(point)) return item;
    }
    return nullptr;
}

void StatusBar::layout() {
    auto& area = DesktopLink::desktop().statusArea();
    for (const auto& item : items_) area.setWidth(item->areaIdentifier_, item->width());
    for (const auto& item : items_) item->place(area.frameOf(item->areaIdentifier_));
}

}  // namespace tallowmere::platform
