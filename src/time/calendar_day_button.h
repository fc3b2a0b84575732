#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/base/date.h"
#include "platform/ui/button.h"
#include "time/calendar_month_grid.h"
#include "time/calendar_workday_kind.h"

namespace tallowmere {

// One day of the month grid: the day number over its second line (make-up
// workday, festival or lunar day), a "休" badge on an official rest day and a
// dot when the day has events. Its tag is its cell index; a click runs
// `onAction` with it as sender.
class CalendarDayButton : public platform::Button {
public:
    static constexpr platform::Size cellSize{48, 42};

    static std::shared_ptr<CalendarDayButton> make(platform::Rect frame);

    std::optional<platform::Date> date;
    std::string dayText;
    std::string lunarText;
    bool isCurrentMonth = false;
    bool isTodayDate = false;
    bool isWeekend = false;
    bool isFestival = false;
    std::optional<CalendarWorkdayKind> workdayKind;
    bool isSelectedDate = false;
    bool hasEvents = false;

    // Takes the cell's day and texts and redraws.
    void show(const CalendarDayCell& cell);

    std::string accessibilityRole() const override { return "AXButton"; }
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;

protected:
    explicit CalendarDayButton(platform::Rect frame);
};

}  // namespace tallowmere
