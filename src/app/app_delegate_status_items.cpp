// The shell's three status items: the main item with the chosen picture,
// whose click opens the status menu, and the calendar item with today's day.
// The activity item's content is drawn by its own view (app_delegate_activity).
#include "app/app_delegate.h"
#include "app/menu_item_styling.h"
#include "app/status_bar_icon_images.h"
#include "app/status_bar_icon_preference.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "platform/base/gregorian_calendar.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/text_measurer.h"
#include "platform/runtime/app_context.h"
#include "time/calendar_panel_controller.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"

namespace tallowmere {

using namespace platform;

void AppDelegate::makeStatusItems() {
    auto& statusBar = StatusBar::shared();
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();

    statusItem_ = statusBar.statusItem(32);
    statusItem_->setAutosaveName(std::string(mainStatusItemAutosaveName));
    if (auto button = statusItem_->button()) {
        button->onAction = [weakSelf](Control& sender) {
            auto self = weakSelf.lock();
            if (auto* button = dynamic_cast<StatusBarButton*>(&sender); self && button) self->handleMainStatusClick(*button);
        };
        // A right click opens the same menu as a left click.
        button->sendActionOn(eventMask(EventType::leftMouseUp) | eventMask(EventType::rightMouseUp));
        const std::string name(ProductIdentity::localizedName());
        button->setToolTip(name);
        button->setAccessibilityLabel(name);
    }

    calendarStatusItem_ = statusBar.statusItem(32);
    calendarStatusItem_->setAutosaveName(std::string(calendarStatusItemAutosaveName));
    if (auto button = calendarStatusItem_->button()) {
        button->onAction = [weakSelf](Control& sender) {
            auto self = weakSelf.lock();
            if (auto* button = dynamic_cast<StatusBarButton*>(&sender); self && button) self->handleCalendarStatusClick(*button);
        };
        const std::string label = ProductIdentity::localizedBrand("日历", "Calendar");
        button->setToolTip(label);
        button->setAccessibilityLabel(label);
    }
    calendarStatusItem_->setVisible(calendarEnabled_);

    // Shown, at its width, only by the activity display once it has
    // something to show.
    activityStatusItem_ = statusBar.statusItem(1);
    activityStatusItem_->setAutosaveName(std::string(activityStatusItemAutosaveName));
    activityStatusItem_->setVisible(false);
}

void AppDelegate::refreshStatusBarIcon() {
    auto button = statusItem_ ? statusItem_->button() : nullptr;
    if (!button) return;
    button->setEnabled(true);
    button->setAlphaValue(1.0);
    button->imageDimsWhenDisabled = false;
    button->setImage(statusBarIconImage());
    updateStatusBarActivityDisplay();
}

Image AppDelegate::statusBarIconImage() const {
    return StatusBarIconImages::statusBarIconImage(StatusBarIconPreference::style());
}

Image AppDelegate::statusBarIconLargePreviewImage() const {
    return StatusBarIconImages::statusBarIconLargePreviewImage(StatusBarIconPreference::style());
}

void AppDelegate::handleMainStatusClick(StatusBarButton& sender) {
    auto button = statusItem_ ? statusItem_->button() : nullptr;
    if (!button || button.get() != &sender || !mainStatusMenu_) return;
    rebuildStatusMenu();
    normalizeMenuIcons(*mainStatusMenu_);
    const Rect bounds = button->bounds();
    mainStatusMenu_->popUp(nullptr, Point{bounds.minX(), bounds.minY()}, *button);
}

void AppDelegate::handleCalendarStatusClick(StatusBarButton& sender) {
    auto button = calendarStatusItem_ ? calendarStatusItem_->button() : nullptr;
    if (!calendarEnabled_ || !button || button.get() != &sender) return;
    if (button->window()) {
        const ScreenRect frame = button->convertToScreen(button->bounds());
        CalendarPanelController::shared().toggleCalendar(ScreenPoint{frame.midX(), frame.minY()});
    } else {
        CalendarPanelController::shared().toggleCalendarFromMenu(*button);
    }
}

void AppDelegate::menuWillOpen(Menu& menu) {
    // Whichever menu is opening; the status menu is the only one with this
    // delegate.
    rebuildStatusMenu();
    normalizeMenuIcons(menu);
}

void AppDelegate::menuDidClose(Menu& menu) {
    // Detached again, so the next click reaches handleMainStatusClick.
    if (&menu == mainStatusMenu_.get() && statusItem_) statusItem_->setMenu(nullptr);
}

void AppDelegate::updateCalendarStatusItem() {
    if (calendarStatusItem_) calendarStatusItem_->setVisible(calendarEnabled_);
    auto button = calendarStatusItem_ ? calendarStatusItem_->button() : nullptr;
    if (!calendarEnabled_ || !button) return;
    const int day = GregorianCalendar::current().day(AppContext::current().clock().now()).day;
    // Drawn when the day changes, not at every refresh.
    if (lastCalendarStatusDay_ == day && button->image()) return;
    button->setImage(calendarDayIcon(day));
    lastCalendarStatusDay_ = day;
}

Image calendarDayIcon(int day) {
    Image icon = Image::withHandler({24, 24}, [day](Canvas& canvas, Rect) {
        const Rect square{2.5, 2.5, 19, 19};
        canvas.setStrokeColor(Color::black());
        canvas.setLineWidth(1.25);
        canvas.strokeRoundedRect(square, 2.4);
        // Two digits need the smaller size to fit the square.
        const Font font = Font::monospacedDigitSystemFont(day > 9 ? 9.2 : 10.2, FontWeight::semibold);
        const std::string text = std::to_string(day);
        const Size size = TextMeasurer::shared().measure(text, font);
        canvas.drawText(text, Point{square.midX() - size.width / 2, square.midY() - size.height / 2 + 0.2}, font,
                        Color::black());
        return true;
    });
    // A template: the menu bar tints it for light and dark appearances.
    icon.setTemplate(true);
    return icon;
}

}  // namespace tallowmere
