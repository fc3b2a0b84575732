#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/base/date.h"
#include "platform/ui/control.h"

namespace tallowmere::platform {

enum class DatePickerStyle { textFieldAndStepper, clockAndCalendar, textField };

// Which parts of a date the picker shows and edits; raw values are the
// platform's bits.
enum class DatePickerElements : unsigned {
    hourMinute = 0x000c,
    hourMinuteSecond = 0x000e,
    yearMonth = 0x00c0,
    yearMonthDay = 0x00e0,
    yearMonthDayHourMinute = 0x00ec,
};

// One editable part of the shown date.
enum class DateElement { year, month, day, hour, minute, second };

// A date shown as text ("2025/05/01", with "09:30" when the time is shown)
// with a stepper. The person picks a part (a click on it, or the left and
// right arrow keys) and steps it with the stepper or the up and down arrow
// keys; each step keeps the date within the minimum and maximum and runs
// `onAction`. Dates are read in the picker's time zone (the system's when
// none is set), with the Gregorian calendar.
class DatePicker : public Control {
public:
    static std::shared_ptr<DatePicker> make(Date value = {});

    Date dateValue() const { return value_; }
    // Kept within the minimum and maximum; sends nothing.
    void setDateValue(Date value);
    std::optional<Date> minDate() const { return minDate_; }
    void setMinDate(std::optional<Date> date);
    std::optional<Date> maxDate() const { return maxDate_; }
    void setMaxDate(std::optional<Date> date);

    DatePickerStyle style = DatePickerStyle::textFieldAndStepper;
    DatePickerElements elements() const { return elements_; }
    void setElements(DatePickerElements elements);
    // An IANA zone ("Asia/Shanghai"); empty is the system's.
    const std::string& timeZone() const { return timeZone_; }
    void setTimeZone(std::string identifier);

    DateElement selectedElement() const { return selected_; }
    void setSelectedElement(DateElement element);
    // Adds `delta` to the selected part (a month past the 31st lands on the
    // month's last day), keeps it within range and runs the action.
    void step(int delta);
    // The text shown for the current value.
    std::string displayedText() const;

    std::string accessibilityRole() const override { return "AXDateTimeArea"; }
    Size intrinsicContentSize() const override;
    void draw(Canvas& canvas, Rect dirty) override;
    bool acceptsFirstResponder() const override { return isEnabled(); }
    void mouseDown(const Event& event) override;
    void keyDown(const Event& event) override;

protected:
    explicit DatePicker(Date value);

private:
    bool shows(DateElement element) const;
    Rect stepperRect() const;
    // The shown parts with their text offsets, in display order.
    struct Part {
        DateElement element;
        std::size_t start, length;
    };
    std::vector<Part> parts() const;
    void moveSelection(int direction);

    Date value_;
    std::optional<Date> minDate_;
    std::optional<Date> maxDate_;
    DatePickerElements elements_ = DatePickerElements::yearMonthDay;
    std::string timeZone_;
    DateElement selected_ = DateElement::day;
};

}  // namespace tallowmere::platform
