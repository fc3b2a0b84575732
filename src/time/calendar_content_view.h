#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/base/date.h"
#include "platform/desktop/event_store.h"
#include "platform/runtime/timer.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/view.h"
#include "time/calendar_date_texts.h"
#include "time/calendar_day_button.h"
#include "time/calendar_day_lookup.h"
#include "time/calendar_month_grid.h"

namespace tallowmere {

// The calendar drop-down's content, 400 × 660: the brand header, today's
// block (date, countdown to the next rest day, nearest festival), the month
// header with its navigation, the 6 × 7 day grid and the selected day's
// events. Opens on the current month with today selected.
//
// Today's block is refreshed every 60 s while the view is in a window, so it
// turns over at midnight; the timer ends when the view leaves its window or
// goes away.
class CalendarContentView : public platform::View {
public:
    static constexpr platform::Size size{400, 660};

    static std::shared_ptr<CalendarContentView> make(std::shared_ptr<platform::EventStore> eventStore);
    ~CalendarContentView() override;

    // Runs when the close button is pressed.
    std::function<void()> onClose;

    // --- State ------------------------------------------------------------------
    platform::Date displayedMonth() const { return displayedMonth_; }
    platform::Date selectedDate() const { return selectedDate_; }
    const CalendarMonthGrid& grid() const { return grid_; }
    // The 42 cells, index = tag = row · 7 + column.
    const std::vector<std::shared_ptr<CalendarDayButton>>& dayButtons() const { return dayButtons_; }
    const std::vector<std::optional<platform::Date>>& visibleDates() const { return visibleDates_; }
    bool hasReminderTimer() const { return reminderTimer_ && reminderTimer_->isValid(); }

    // --- Subviews a person reads ------------------------------------------------
    const platform::Label& monthLabel() const { return *monthLabel_; }
    const platform::Label& brandDateLabel() const { return *brandDateLabel_; }
    const platform::Label& heroDateLabel() const { return *heroDateLabel_; }
    const platform::Label& heroDayLabel() const { return *heroDayLabel_; }
    const platform::Label& heroLunarLabel() const { return *heroLunarLabel_; }
    const platform::Label& selectedDateLabel() const { return *selectedDateLabel_; }
    // The rows of the event list: hints, the access button, events.
    const platform::StackView& eventStack() const { return *eventStack_; }

    // --- Actions ------------------------------------------------------------------
    void showPreviousMonth();
    void showNextMonth();
    void showToday();
    void closePanel();
    // `sender` is a day cell; a cell of the month before or after moves the
    // grid to that month.
    void selectDay(platform::Control& sender);
    // Asks for calendar access; the answer refreshes the markers and the list.
    void requestCalendarAccess();

    // --- Refreshing -----------------------------------------------------------------
    // Refills the month header and the 42 cells for the displayed month.
    void rebuildCalendar();
    // Heading and list of the selected day; also refreshes today's block.
    void refreshSelectedDateEvents();
    // Marks the cells whose day has events (none without full access).
    void refreshMonthEventMarkers();
    // Today's block, from the reminder of the current day.
    void refreshHolidayReminder();

    void draw(platform::Canvas& canvas, platform::Rect dirty) override;
    void viewDidMoveToWindow() override;

protected:
    explicit CalendarContentView(std::shared_ptr<platform::EventStore> eventStore);

private:
    void buildUI();
    void buildHeader();
    void buildMonthHeader();
    void buildGrid();
    void buildEventList();
    std::shared_ptr<platform::Button> makeGlyphButton(platform::Rect frame, std::string_view glyph,
                                                      std::string toolTip, std::function<void(CalendarContentView&)> act);
    void markSelection();
    void addHint(const std::string& text);
    void startReminderTimer();
    void stopReminderTimer();
    platform::Date now() const;

    std::shared_ptr<platform::EventStore> eventStore_;
    CalendarDayLookup days_;
    CalendarDateTexts texts_;
    platform::Date displayedMonth_;
    platform::Date selectedDate_;
    CalendarMonthGrid grid_;

    std::shared_ptr<platform::Label> monthLabel_;
    std::shared_ptr<platform::Label> heroDayLabel_;
    std::shared_ptr<platform::Label> heroDateLabel_;
    std::shared_ptr<platform::Label> heroLunarLabel_;
    std::shared_ptr<platform::Label> brandDateLabel_;
    std::shared_ptr<platform::Label> selectedDateLabel_;
    std::shared_ptr<platform::StackView> eventStack_;
    std::vector<std::shared_ptr<CalendarDayButton>> dayButtons_;
    std::vector<std::optional<platform::Date>> visibleDates_;
    std::shared_ptr<platform::Timer> reminderTimer_;
};

}  // namespace tallowmere
