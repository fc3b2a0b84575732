#include "platform/ui/date_picker.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include "platform/desktop/event.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/control_drawing.h"

namespace tallowmere::platform {

namespace {

constexpr double stepperWidth = 16;
constexpr double textPadding = 6;

std::unique_ptr<icu::Calendar> calendarFor(const std::string& zone, Date date) {
    UErrorCode status = U_ZERO_ERROR;
    icu::TimeZone* timeZone = zone.empty() ? icu::TimeZone::createDefault()
                                           : icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone));
    auto calendar = std::make_unique<icu::GregorianCalendar>(timeZone, status);
    if (U_FAILURE(status)) return nullptr;
    calendar->setTime(date.timeIntervalSince1970() * 1000.0, status);
    return U_SUCCESS(status) ? std::move(calendar) : nullptr;
}

UCalendarDateFields fieldOf(DateElement element) {
    switch (element) {
    case DateElement::year: return UCAL_YEAR;
    case DateElement::month: return UCAL_MONTH;
    case DateElement::day: return UCAL_DATE;
    case DateElement::hour: return UCAL_HOUR_OF_DAY;
    case DateElement::minute: return UCAL_MINUTE;
    case DateElement::second: return UCAL_SECOND;
    }
    return UCAL_DATE;
}

}  // namespace

std::shared_ptr<DatePicker> DatePicker::make(Date value) { return std::shared_ptr<DatePicker>(new DatePicker(value)); }

DatePicker::DatePicker(Date value) : Control({}), value_(value) {}

void DatePicker::setDateValue(Date value) {
    if (minDate_ && value < *minDate_) value = *minDate_;
    if (maxDate_ && value > *maxDate_) value = *maxDate_;
    if (value == value_) return;
    value_ = value;
    invalidateIntrinsicContentSize();
}

void DatePicker::setMinDate(std::optional<Date> date) {
    minDate_ = date;
    setDateValue(value_);
}

void DatePicker::setMaxDate(std::optional<Date> date) {
    maxDate_ = date;
    setDateValue(value_);
}

void DatePicker::setElements(DatePickerElements elements) {
    elements_ = elements;
    if (!shows(selected_)) selected_ = parts().empty() ? DateElement::day : parts().back().element;
    invalidateIntrinsicContentSize();
}

void DatePicker::setTimeZone(std::string identifier) {
    timeZone_ = std::move(identifier);
    setNeedsDisplay();
}

void DatePicker::setSelectedElement(DateElement element) {
    if (!shows(element)) return;
    selected_ = element;
    setNeedsDisplay();
}

bool DatePicker::shows(DateElement element) const {
    const auto bits = static_cast<unsigned>(elements_);
    switch (element) {
    case DateElement::year: return bits & 0x0080;  // the era-year bit of year-month
    case DateElement::month: return bits & 0x0040;
    case DateElement::day: return bits & 0x0020;
    case DateElement::hour: return bits & 0x0008;
    case DateElement::minute: return bits & 0x0004;
    case DateElement::second: return bits & 0x0002;
    }
    return false;
}

std::vector<DatePicker::Part> DatePicker::parts() const {
    std::vector<Part> result;
    std::size_t offset = 0;
    const auto add = [&](DateElement element, std::size_t length, std::size_t separatorAfter) {
        result.push_back({element, offset, length});
        offset += length + separatorAfter;
    };
    if (shows(DateElement::year)) add(DateElement::year, 4, 1);
    if (shows(DateElement::month)) add(DateElement::month, 2, 1);
    if (shows(DateElement::day)) add(DateElement::day, 2, 1);
    if (shows(DateElement::hour)) add(DateElement::hour, 2, 1);
    if (shows(DateElement::minute)) add(DateElement::minute, 2, 1);
    if (shows(DateElement::second)) add(DateElement::second, 2, 1);
    return result;
}

std::string DatePicker::displayedText() const {
    auto calendar = calendarFor(timeZone_, value_);
    if (!calendar) return {};
    UErrorCode status = U_ZERO_ERROR;
    const auto get = [&](UCalendarDateFields field) { return calendar->get(field, status); };
    char buffer[64];
    std::string text;
    const bool hasDate = shows(DateElement::year) || shows(DateElement::month) || shows(DateElement::day);
    if (shows(DateElement::year)) text += (std::snprintf(buffer, sizeof buffer, "%04d", get(UCAL_YEAR)), buffer);
    if (shows(DateElement::month)) {
        if (!text.empty()) text += "/";
        text += (std::snprintf(buffer, sizeof buffer, "%02d", get(UCAL_MONTH) + 1), buffer);
    }
    if (shows(DateElement::day)) {
        if (!text.empty()) text += "/";
        text += (std::snprintf(buffer, sizeof buffer, "%02d", get(UCAL_DATE)), buffer);
    }
    if (shows(DateElement::hour)) {
        if (hasDate) text += " ";
        text += (std::snprintf(buffer, sizeof buffer, "%02d:%02d", get(UCAL_HOUR_OF_DAY), get(UCAL_MINUTE)), buffer);
        if (shows(DateElement::second)) text += (std::snprintf(buffer, sizeof buffer, ":%02d", get(UCAL_SECOND)), buffer);
    }
    return U_SUCCESS(status) ? text : std::string();
}

void DatePicker::step(int delta) {
    if (!isEnabled() || delta == 0) return;
    auto calendar = calendarFor(timeZone_, value_);
    if (!calendar) return;
    UErrorCode status = U_ZERO_ERROR;
    calendar->add(fieldOf(selected_), delta, status);
    const UDate milliseconds = calendar->getTime(status);
    if (U_FAILURE(status)) return;
    auto self = weak_from_this().lock();
    setDateValue(Date::fromTimeIntervalSince1970(milliseconds / 1000.0));
    setNeedsDisplay();
    sendAction();
}

void DatePicker::moveSelection(int direction) {
    const auto shown = parts();
    auto it = std::find_if(shown.begin(), shown.end(), [&](const Part& p) { return p.element == selected_; });
    if (it == shown.end() || shown.empty()) return;
    const auto index = static_cast<int>(it - shown.begin()) + direction;
    if (index >= 0 && index < static_cast<int>(shown.size())) setSelectedElement(shown[static_cast<std::size_t>(index)].element);
}

Rect DatePicker::stepperRect() const {
    const Rect b = bounds();
    return {b.maxX() - stepperWidth, b.minY(), stepperWidth, b.height()};
}

Size DatePicker::intrinsicContentSize() const {
    const Size text = ControlDrawing::measure(displayedText().empty() ? std::string("0000/00/00") : displayedText(), font());
    return {text.width + 2 * textPadding + stepperWidth + 4, std::max(22.0, text.height + 6)};
}

void DatePicker::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    const Rect b = bounds();
    const Rect field{b.minX(), b.minY(), std::max(0.0, b.width() - stepperWidth - 4), b.height()};
    canvas.save();
    canvas.setFillColor(Color::system(SystemColor::textBackground));
    canvas.fillRect(field);
    canvas.setStrokeColor(Color::system(SystemColor::separator));
    canvas.setLineWidth(1);
    canvas.strokeRect(field.insetBy(0.5, 0.5));
    const std::string text = displayedText();
    const Rect textBox = field.insetBy(textPadding, 0);
    if (isFirstResponder()) {
        for (const auto& part : parts()) {
            if (part.element != selected_) continue;
            const double x0 = textBox.minX() + ControlDrawing::measure(text.substr(0, part.start), font()).width;
            const double x1 = textBox.minX() + ControlDrawing::measure(text.substr(0, part.start + part.length), font()).width;
            canvas.setFillColor(Color::system(SystemColor::selectedContentBackground).withAlphaComponent(0.35));
            canvas.fillRect({x0, textBox.minY() + 3, x1 - x0, textBox.height() - 6});
        }
    }
    TextAttributes attributes;
    attributes.font = font();
    attributes.foregroundColor = enabledColor(Color::system(SystemColor::text));
    ControlDrawing::drawText(canvas, AttributedString(text, attributes), textBox, TextAlignment::left, isFlipped());
    ControlDrawing::drawBezel(canvas, stepperRect().insetBy(0.5, 2), 4, false, isEnabled());
    canvas.restore();
}

void DatePicker::mouseDown(const Event& event) {
    if (!isEnabled()) return;
    const Point point = locationInView(event);
    const Rect stepper = stepperRect();
    if (stepper.contains(point)) {
        const bool upperHalf = isFlipped() ? point.y < stepper.midY() : point.y >= stepper.midY();
        step(upperHalf ? 1 : -1);
        return;
    }
    // A click on a part of the text selects that part.
    const std::string text = displayedText();
    const double x = point.x - textPadding;
    for (const auto& part : parts()) {
        const double end = ControlDrawing::measure(text.substr(0, part.start + part.length + 1), font()).width;
        if (x < end) {
            setSelectedElement(part.element);
            return;
        }
    }
    if (!parts().empty()) setSelectedElement(parts().back().element);
}

void DatePicker::keyDown(const Event& event) {
    if (!isEnabled()) {
        Control::keyDown(event);
        return;
    }
    switch (event.keyCode) {
    case KeyCode::upArrow: step(1); return;
    case KeyCode::downArrow: step(-1); return;
    case KeyCode::leftArrow: moveSelection(-1); return;
    case KeyCode::rightArrow: moveSelection(1); return;
    default: Control::keyDown(event); return;
    }
}

}  // namespace tallowmere::platform
