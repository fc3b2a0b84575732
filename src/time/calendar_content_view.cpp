#include "time/calendar_content_view.h"

#include "app/application_icon.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/gradient.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/ui/image_view.h"
#include "platform/ui/scroll_view.h"
#include "time/calendar_brand_artwork.h"
#include "time/calendar_day_events.h"
#include "time/holiday_reminder.h"

namespace tallowmere {

using platform::Color;
using platform::Font;
using platform::FontWeight;
using platform::Label;
using platform::Rect;
using platform::SystemColor;

namespace {

constexpr double reminderInterval = 60;
constexpr double eventRowWidth = 316;

std::shared_ptr<Label> makeLabel(Rect frame, const Font& font, std::optional<Color> color = std::nullopt) {
    auto label = Label::make();
    label->setFrame(frame);
    label->setFont(font);
    label->setTextColor(std::move(color));
    return label;
}

// A wrapping label of the event list: at most two lines at the row width.
std::shared_ptr<Label> makeListLabel(const std::string& text, const Font& font, const Color& color, int lines) {
    auto label = Label::makeWrapping(text);
    label->setFont(font);
    label->setTextColor(color);
    label->setMaximumNumberOfLines(lines);
    label->setPreferredMaxLayoutWidth(eventRowWidth);
    platform::SizeConstraints limits;
    limits.maxWidth = eventRowWidth;
    label->setSizeConstraints(limits);
    return label;
}

}  // namespace

std::shared_ptr<CalendarContentView> CalendarContentView::make(std::shared_ptr<platform::EventStore> eventStore) {
    auto view = std::shared_ptr<CalendarContentView>(new CalendarContentView(std::move(eventStore)));
    // Built after construction: the controls' actions hold the view weakly.
    view->buildUI();
    view->rebuildCalendar();
    return view;
}

CalendarContentView::CalendarContentView(std::shared_ptr<platform::EventStore> eventStore)
    : View({{0, 0}, size}),
      eventStore_(eventStore ? std::move(eventStore) : std::make_shared<platform::EventStore>()),
      texts_(days_.gregorian()),
      displayedMonth_(now()),
      selectedDate_(displayedMonth_) {
    setWantsLayer(true);
    auto& layer = mutableLayer();
    layer.backgroundColor = Color::clear();
    layer.cornerRadius = 22;
    layer.continuousCorners = true;
    layer.borderWidth = 1;
    layer.borderColor = Color::white().withAlphaComponent(0.82);
    layer.masksToBounds = true;
}

CalendarContentView::~CalendarContentView() { stopReminderTimer(); }

platform::Date CalendarContentView::now() const { return platform::AppContext::current().clock().now(); }

// --- Building ----------------------------------------------------------------

void CalendarContentView::buildUI() {
    buildHeader();
    buildMonthHeader();
    buildGrid();
    buildEventList();
}

void CalendarContentView::buildHeader() {
    auto icon = platform::ImageView::make(ApplicationIcon::image());
    icon->setFrame({22, 613, 34, 34});
    icon->setImageScaling(platform::ImageScaling::proportionallyUpOrDown);
    addSubview(icon);

    auto brand = makeLabel({66, 630, 218, 22}, Font::systemFont(16, FontWeight::bold), CalendarBrandArtwork::ink());
    brand->setStringValue("塔洛梅日历");
    addSubview(brand);
    brandDateLabel_ = makeLabel({66, 610, 218, 18}, Font::systemFont(11, FontWeight::medium),
                                CalendarBrandArtwork::ink().withAlphaComponent(0.65));
    addSubview(brandDateLabel_);

    heroDateLabel_ = makeLabel({30, 574, 280, 21}, Font::systemFont(13, FontWeight::semibold), CalendarBrandArtwork::accent());
    addSubview(heroDateLabel_);
    heroDayLabel_ = makeLabel({30, 529, 282, 43}, Font::monospacedDigitSystemFont(48, FontWeight::bold),
                              Color::system(SystemColor::red));
    addSubview(heroDayLabel_);
    heroLunarLabel_ = makeLabel({30, 504, 338, 20}, Font::systemFont(13), CalendarBrandArtwork::ink());
    heroLunarLabel_->setAlphaValue(0.76);
    addSubview(heroLunarLabel_);

    addSubview(makeGlyphButton({352, 620, 26, 26}, "close", "关闭", [](CalendarContentView& view) { view.closePanel(); }));
}

void CalendarContentView::buildMonthHeader() {
    addSubview(makeGlyphButton({24, 450, 30, 30}, "previous", "上个月",
                               [](CalendarContentView& view) { view.showPreviousMonth(); }));
    monthLabel_ = makeLabel({64, 449, 220, 31}, Font::monospacedDigitSystemFont(22, FontWeight::bold),
                            CalendarBrandArtwork::ink());
    monthLabel_->setAlignment(platform::TextAlignment::center);
    addSubview(monthLabel_);
    addSubview(makeGlyphButton({348, 450, 30, 30}, "next", "下个月",
                               [](CalendarContentView& view) { view.showNextMonth(); }));

    auto today = platform::Button::make("今天");
    today->setFrame({290, 452, 48, 26});
    today->setBezelStyle(platform::BezelStyle::rounded);
    today->setControlSize(platform::ControlSize::small);
    today->setContentTintColor(CalendarBrandArtwork::accent());
    today->onAction = [weak = std::weak_ptr(std::static_pointer_cast<CalendarContentView>(shared_from_this()))](
                          platform::Control&) {
        if (auto view = weak.lock()) view->showToday();
    };
    addSubview(today);

    const auto& headers = days_.tables().weekdayHeaders;
    for (int i = 0; i < CalendarMonthGrid::columns; ++i) {
        const bool weekend = i >= 5;
        auto header = makeLabel({22.0 + 51 * i, 421, 48, 20}, Font::systemFont(12),
                                weekend ? CalendarBrandArtwork::accent() : CalendarBrandArtwork::ink().withAlphaComponent(0.6));
        header->setStringValue(headers[static_cast<std::size_t>(i)]);
        header->setAlignment(platform::TextAlignment::center);
        addSubview(header);
    }
}

void CalendarContentView::buildGrid() {
    std::weak_ptr<CalendarContentView> weak = std::static_pointer_cast<CalendarContentView>(shared_from_this());
    for (int row = 0; row < CalendarMonthGrid::rows; ++row) {
        for (int column = 0; column < CalendarMonthGrid::columns; ++column) {
            auto cell = CalendarDayButton::make({22.0 + 51 * column, 375.0 - 45 * row, CalendarDayButton::cellSize.width,
                                                 CalendarDayButton::cellSize.height});
            cell->setTag(row * CalendarMonthGrid::columns + column);
            cell->onAction = [weak](platform::Control& sender) {
                if (auto view = weak.lock()) view->selectDay(sender);
            };
            addSubview(cell);
            dayButtons_.push_back(std::move(cell));
        }
    }
}

void CalendarContentView::buildEventList() {
    selectedDateLabel_ = makeLabel({30, 101, 340, 22}, Font::systemFont(13.5), CalendarBrandArtwork::ink());
    addSubview(selectedDateLabel_);

    auto scroll = platform::ScrollView::make({28, 20, 344, 76});
    scroll->drawsBackground = false;
    scroll->setBorderType(platform::BorderType::none);
    scroll->hasVerticalScroller = true;
    scroll->autohidesScrollers = true;
    scroll->setDocumentTracksWidth(true);
    auto document = View::make({0, 0, 344, 76});
    document->setFlipped(true);
    eventStack_ = platform::StackView::makeVertical();
    eventStack_->setAlignment(platform::StackAlignment::leading);
    eventStack_->setSpacing(7);
    eventStack_->setEdgeInsets({4, 2, 4, 8});
    eventStack_->setPlacement(platform::Placement::filling());
    document->addSubview(eventStack_);
    scroll->setDocumentView(document);
    addSubview(scroll);
}

std::shared_ptr<platform::Button> CalendarContentView::makeGlyphButton(Rect frame, std::string_view glyph,
                                                                       std::string toolTip,
                                                                       std::function<void(CalendarContentView&)> act) {
    auto button = platform::Button::makeImageButton(CalendarBrandArtwork::icon(glyph));
    button->setFrame(frame);
    button->setBezelStyle(glyph == "close" ? platform::BezelStyle::inlineBadge : platform::BezelStyle::circular);
    button->setBordered(false);
    button->setContentTintColor(Color::system(SystemColor::secondaryLabel));
    button->setToolTip(std::move(toolTip));
    button->setAccessibilityLabel(button->toolTip());
    button->onAction = [weak = std::weak_ptr(std::static_pointer_cast<CalendarContentView>(shared_from_this())),
                        act = std::move(act)](platform::Control&) {
        if (auto view = weak.lock()) act(*view);
    };
    return button;
}

// --- The grid ------------------------------------------------------------------

void CalendarContentView::rebuildCalendar() {
    grid_ = CalendarMonthGrid::make(displayedMonth_, now(), days_);
    monthLabel_->setStringValue(grid_.monthLabel());
    visibleDates_.assign(CalendarMonthGrid::cellCount, std::nullopt);
    for (std::size_t i = 0; i < dayButtons_.size(); ++i) {
        visibleDates_[i] = grid_.cells[i].date;
        dayButtons_[i]->show(grid_.cells[i]);
    }
    markSelection();
    refreshMonthEventMarkers();
    refreshSelectedDateEvents();
}

void CalendarContentView::markSelection() {
    const auto& calendar = days_.gregorian();
    for (auto& cell : dayButtons_) {
        const bool selected = cell->date && calendar.isSameDay(*cell->date, selectedDate_);
        if (cell->isSelectedDate != selected) {
            cell->isSelectedDate = selected;
            cell->setNeedsDisplay();
        }
    }
}

void CalendarContentView::showPreviousMonth() {
    if (auto month = days_.gregorian().addingMonths(-1, displayedMonth_)) displayedMonth_ = *month;
    rebuildCalendar();
}

void CalendarContentView::showNextMonth() {
    if (auto month = days_.gregorian().addingMonths(1, displayedMonth_)) displayedMonth_ = *month;
    rebuildCalendar();
}

void CalendarContentView::showToday() {
    selectedDate_ = now();
    const auto today = days_.gregorian().day(selectedDate_);
    displayedMonth_ = days_.gregorian().startOfDay(platform::CalendarDay{today.year, today.month, 1});
    rebuildCalendar();
}

void CalendarContentView::closePanel() {
    if (onClose) onClose();
}

void CalendarContentView::selectDay(platform::Control& sender) {
    const int tag = sender.tag();
    if (tag < 0 || tag >= static_cast<int>(visibleDates_.size())) return;
    const auto date = visibleDates_[static_cast<std::size_t>(tag)];
    if (!date) return;
    selectedDate_ = *date;
    const auto& calendar = days_.gregorian();
    const auto day = calendar.day(*date);
    const auto shown = calendar.day(displayedMonth_);
    if (day.year != shown.year || day.month != shown.month) {
        displayedMonth_ = calendar.startOfDay(platform::CalendarDay{day.year, day.month, 1});
        rebuildCalendar();
        return;
    }
    markSelection();
    refreshSelectedDateEvents();
}

// --- Events ----------------------------------------------------------------------

void CalendarContentView::requestCalendarAccess() {
    std::weak_ptr<CalendarContentView> weak = std::static_pointer_cast<CalendarContentView>(shared_from_this());
    auto& queue = platform::AppContext::current().mainQueue();
    eventStore_->requestFullAccessToEvents([weak, &queue](bool) {
        queue.async([weak] {
            if (auto view = weak.lock()) {
                view->refreshMonthEventMarkers();
                view->refreshSelectedDateEvents();
            }
        });
    });
}

void CalendarContentView::refreshMonthEventMarkers() {
    std::vector<bool> marked(dayButtons_.size(), false);
    if (eventStore_->authorizationStatus() == platform::CalendarAuthorizationStatus::fullAccess) {
        const auto& calendar = days_.gregorian();
        const auto first = grid_.firstVisibleDay();
        const auto last = grid_.lastVisibleDay();
        const auto events = eventStore_->events(calendar.startOfDay(first), calendar.startOfDay(last.addingDays(1)));
        for (const auto& event : events) {
            // An event marks every day it reaches; its end is exclusive.
            const bool instant = event.endDate <= event.startDate;
            auto from = calendar.day(event.startDate);
            auto to = instant ? from : calendar.day(event.endDate.addingTimeInterval(-0.001));
            if (from < first) from = first;
            if (last < to) to = last;
            for (auto day = from; day <= to; day = day.addingDays(1)) {
                if (auto index = grid_.cellIndex(day)) marked[static_cast<std::size_t>(*index)] = true;
            }
        }
    }
    for (std::size_t i = 0; i < dayButtons_.size(); ++i) {
        if (dayButtons_[i]->hasEvents != marked[i]) {
            dayButtons_[i]->hasEvents = marked[i];
            dayButtons_[i]->setNeedsDisplay();
        }
    }
}

void CalendarContentView::addHint(const std::string& text) {
    eventStack_->addArrangedSubview(
        makeListLabel(text, Font::systemFont(12), Color::system(SystemColor::secondaryLabel), 0));
}

void CalendarContentView::refreshSelectedDateEvents() {
    eventStack_->removeAllArrangedSubviews();
    refreshHolidayReminder();

    const auto& calendar = days_.gregorian();
    const auto selected = calendar.day(selectedDate_);
    selectedDateLabel_->setStringValue(
        CalendarDayEvents::heading(selected, calendar.day(now()), selectedDate_, texts_));
    selectedDateLabel_->setToolTip(CalendarDayEvents::headingToolTip(selected, days_));

    switch (eventStore_->authorizationStatus()) {
        case platform::CalendarAuthorizationStatus::notDetermined: {
            addHint(CalendarDayEvents::notDecidedHint);
            auto button = platform::Button::make(CalendarDayEvents::requestAccessTitle);
            button->setBezelStyle(platform::BezelStyle::rounded);
            button->setControlSize(platform::ControlSize::small);
            button->onAction = [weak = std::weak_ptr(std::static_pointer_cast<CalendarContentView>(shared_from_this()))](
                                   platform::Control&) {
                if (auto view = weak.lock()) view->requestCalendarAccess();
            };
            eventStack_->addArrangedSubview(button);
            return;
        }
        case platform::CalendarAuthorizationStatus::denied:
        case platform::CalendarAuthorizationStatus::restricted:
        case platform::CalendarAuthorizationStatus::writeOnly:
            addHint(CalendarDayEvents::noAccessHint);
            return;
        case platform::CalendarAuthorizationStatus::fullAccess:
            break;
    }

    const auto start = calendar.startOfDay(selected);
    const auto end = calendar.startOfDay(selected.addingDays(1));
    const auto events = CalendarDayEvents::sorted(eventStore_->events(start, end));
    if (events.empty()) {
        addHint(CalendarDayEvents::noEventsHint);
        return;
    }
    for (const auto& event : events) {
        eventStack_->addArrangedSubview(makeListLabel(CalendarDayEvents::rowText(event, texts_), Font::systemFont(12.5),
                                                      Color::system(SystemColor::label), 2));
    }
}

// --- Today's block ---------------------------------------------------------------

void CalendarContentView::refreshHolidayReminder() {
    const auto reminder = HolidayReminder::compute(now(), days_);
    brandDateLabel_->setStringValue(reminder.dateLine);
    heroDateLabel_->setStringValue(reminder.headline);
    heroDateLabel_->setToolTip(reminder.headlineToolTip);
    heroDayLabel_->setAttributedStringValue(reminder.countdown);
    heroLunarLabel_->setStringValue(reminder.festivalLine);
    heroLunarLabel_->setToolTip(reminder.festivalToolTip);
}

void CalendarContentView::startReminderTimer() {
    if (hasReminderTimer()) return;
    std::weak_ptr<CalendarContentView> weak = std::static_pointer_cast<CalendarContentView>(shared_from_this());
    reminderTimer_ = platform::Timer::scheduledTimer(reminderInterval, true, [weak](platform::Timer&) {
        if (auto view = weak.lock()) view->refreshHolidayReminder();
    });
}

void CalendarContentView::stopReminderTimer() {
    if (reminderTimer_) reminderTimer_->invalidate();
    reminderTimer_.reset();
}

void CalendarContentView::viewDidMoveToWindow() {
    // Only a view someone can see needs today's block kept fresh; a view
    // taken out of its window must not leave a timer behind.
    if (window()) {
        refreshHolidayReminder();
        startReminderTimer();
    } else {
        stopReminderTimer();
    }
}

// --- Drawing ---------------------------------------------------------------------

void CalendarContentView::draw(platform::Canvas& canvas, Rect) {
    const Rect all = bounds();
    const auto shape = platform::Path::roundedRect(all, 22);
    // Warm paper at the top fading to white under the grid.
    canvas.drawLinearGradient(platform::Gradient(Color::sRGB(1.0, 0.95, 0.86), Color::sRGB(0.995, 0.99, 0.975)), shape,
                              -90);
    // A band of gold behind today's block, and the paw mark in its corner.
    canvas.save();
    canvas.clip(shape);
    canvas.setFillColor(CalendarBrandArtwork::gold().withAlphaComponent(0.16));
    canvas.fillRoundedRect({16, 496, all.width() - 32, 104}, 16);
    CalendarBrandArtwork::drawPaw(canvas, {300, 508, 84, 84}, CalendarBrandArtwork::gold().withAlphaComponent(0.45));
    canvas.setFillColor(CalendarBrandArtwork::ink().withAlphaComponent(0.08));
    canvas.fillRect({24, 131, all.width() - 48, 1});
    canvas.restore();
}

}  // namespace tallowmere
