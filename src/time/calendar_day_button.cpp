#include "time/calendar_day_button.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/gfx/text_measurer.h"
#include "time/calendar_brand_artwork.h"

namespace tallowmere {

using platform::Color;
using platform::Font;
using platform::FontWeight;
using platform::Point;
using platform::Rect;

namespace {

constexpr double cornerRadius = 10;

// Draws `text` with its box centred on `centre`.
void drawCentred(platform::Canvas& canvas, const std::string& text, Point centre, const Font& font,
                 const Color& color) {
    const auto size = platform::TextMeasurer::shared().measure(text, font);
    canvas.drawText(text, {centre.x - size.width / 2, centre.y - size.height / 2}, font, color);
}

}  // namespace

std::shared_ptr<CalendarDayButton> CalendarDayButton::make(Rect frame) {
    return std::shared_ptr<CalendarDayButton>(new CalendarDayButton(frame));
}

CalendarDayButton::CalendarDayButton(Rect frame) : Button(frame) {
    setBordered(false);
    setTitle({});
}

void CalendarDayButton::show(const CalendarDayCell& cell) {
    date = cell.date;
    dayText = cell.dayText;
    lunarText = cell.lunarText;
    isCurrentMonth = cell.isCurrentMonth;
    isTodayDate = cell.isTodayDate;
    isWeekend = cell.isWeekend;
    isFestival = cell.isFestival;
    workdayKind = cell.workdayKind;
    setAccessibilityLabel(dayText + " " + lunarText);
    setNeedsDisplay();
}

void CalendarDayButton::draw(platform::Canvas& canvas, Rect) {
    const Color ink = CalendarBrandArtwork::ink();
    const Color accent = CalendarBrandArtwork::accent();
    const Color gold = CalendarBrandArtwork::gold();
    const Rect cell = bounds().insetBy(1, 1);
    const bool rest = workdayKind == CalendarWorkdayKind::rest;
    const bool work = workdayKind == CalendarWorkdayKind::work;
    // Days of the months around this one step back.
    const double dim = isCurrentMonth ? 1.0 : 0.38;

    // The cell: filled in the accent when selected, warmed on rest days,
    // greyed on make-up workdays, ringed when it is today.
    if (isSelectedDate) {
        canvas.setFillColor(accent);
        canvas.fillRoundedRect(cell, cornerRadius);
    } else if (rest) {
        canvas.setFillColor(gold.withAlphaComponent(0.22 * dim));
        canvas.fillRoundedRect(cell, cornerRadius);
    } else if (work) {
        canvas.setFillColor(ink.withAlphaComponent(0.07 * dim));
        canvas.fillRoundedRect(cell, cornerRadius);
    } else if (isHighlighted()) {
        canvas.setFillColor(ink.withAlphaComponent(0.06));
        canvas.fillRoundedRect(cell, cornerRadius);
    }
    if (isTodayDate && !isSelectedDate) {
        canvas.setStrokeColor(accent);
        canvas.setLineWidth(1.5);
        canvas.strokeRoundedRect(cell.insetBy(0.75, 0.75), cornerRadius - 0.75);
    }

    // The day number, accented on weekends and rest days (a make-up
    // workday on a weekend is a working day and keeps the ink).
    Color dayColor = (isWeekend || rest) && !work ? accent : ink;
    Color lineColor = isFestival ? accent : ink.withAlphaComponent(work ? 0.78 : 0.56);
    if (isSelectedDate) {
        dayColor = Color::white();
        lineColor = Color::white().withAlphaComponent(0.9);
    } else {
        dayColor = dayColor.withAlphaComponent(dayColor.alpha() * dim);
        lineColor = lineColor.withAlphaComponent(lineColor.alpha() * dim);
    }
    const Font dayFont = Font::monospacedDigitSystemFont(16, isTodayDate ? FontWeight::bold : FontWeight::semibold);
    drawCentred(canvas, dayText, {cell.midX(), cell.minY() + cell.height() * 0.64}, dayFont, dayColor);
    const Font lineFont = Font::systemFont(9, isFestival || work ? FontWeight::medium : FontWeight::regular);
    drawCentred(canvas, lunarText, {cell.midX(), cell.minY() + cell.height() * 0.3}, lineFont, lineColor);

    // The rest-day badge in the top-right corner.
    if (rest) {
        const Rect badge{cell.maxX() - 13, cell.maxY() - 13, 13, 13};
        canvas.setFillColor(isSelectedDate ? gold : accent.withAlphaComponent(dim));
        canvas.fillEllipse(badge);
        drawCentred(canvas, "休", {badge.midX(), badge.midY()}, Font::systemFont(8, FontWeight::bold),
                    isSelectedDate ? ink : Color::white());
    }
    // The event dot under the second line.
    if (hasEvents) {
        canvas.setFillColor(isSelectedDate ? gold : accent.withAlphaComponent(0.85 * dim));
        canvas.fillEllipse({cell.midX() - 2, cell.minY() + 2, 4, 4});
    }
}

}  // namespace tallowmere
