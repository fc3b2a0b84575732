#include "time/countdown_day_controller.h"

#include <cmath>

#include "localization/product_identity.h"
#include "mainwindow/second_page_gradient.h"
#include "platform/base/date_formatter.h"
#include "platform/base/gregorian_calendar.h"
#include "platform/base/text.h"
#include "platform/desktop/window_level.h"
#include "platform/gfx/font.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/timer.h"
#include "platform/runtime/work_item.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/date_picker.h"
#include "platform/ui/grapheme_boundaries.h"
#include "platform/ui/label.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/window.h"
#include "platform/ui/window_controller.h"

namespace tallowmere {

using namespace platform;

namespace {

std::string text(std::string_view chinese, std::string_view english) {
    return ProductIdentity::localizedBrand(chinese, english);
}

UserDefaults& defaults() { return UserDefaults::standard(); }

Date now() { return AppContext::current().clock().now(); }

// Far enough either way for any day a person would count towards, and
// inside what the calendar can turn into a day.
constexpr double usableSeconds = 1.0e11;

std::shared_ptr<Label> makeLabel(std::string value, Font font, SystemColor color) {
    auto label = Label::make(std::move(value));
    label->setFont(std::move(font));
    label->setTextColor(Color::system(color));
    return label;
}

std::shared_ptr<Button> makeLargeButton(std::string title, std::function<void()> action, bool blue) {
    auto button = Button::make(std::move(title));
    button->setBezelStyle(BezelStyle::rounded);
    button->setControlSize(ControlSize::large);
    if (blue) button->setBezelColor(Color::system(SystemColor::blue));
    button->onAction = [action = std::move(action)](Control&) { action(); };
    return button;
}

// The controller lives as long as its context; callbacks look it up again
// instead of holding it, so a view that outlives a test's context does nothing.
template <class Member>
std::function<void()> call(Member member) {
    return [member] { (CountdownDayController::shared().*member)(); };
}

// The day's date as a person writes it, without the time.
std::string longDateText(Date date) {
    const bool chinese = ProductIdentity::usesChineseDisplayName();
    auto formatter = DateFormatter::make(chinese ? "y年M月d日" : "MMMM d, y", GregorianCalendar::current().timeZoneIdentifier(),
                                         chinese ? "zh_CN" : "en_US");
    return formatter.ok() ? formatter->string(date) : std::string();
}

// The notified key: the seconds of the day's start as a double prints
// ("1775059200.0"), so a stored key from an earlier run still matches.
std::string notifiedKey(Date dayStart) {
    const double seconds = dayStart.timeIntervalSince1970();
    if (seconds == std::floor(seconds) && std::fabs(seconds) < 1e15) {
        return std::to_string(static_cast<long long>(seconds)) + ".0";
    }
    return std::to_string(seconds);
}

}  // namespace

// --- CountdownEmojiField ---------------------------------------------------

std::shared_ptr<CountdownEmojiField> CountdownEmojiField::make(std::string text) {
    auto field = std::make_shared<CountdownEmojiField>(Rect{});
    field->setStringValue(std::move(text));
    return field;
}

void CountdownEmojiField::mouseDown(const Event&) {
    // Not passed on: a press would place the caret instead of selecting the
    // emoji that the next pick replaces.
    auto window = this->window();
    if (!window) return;
    window->makeFirstResponder(shared_from_this());
    if (isEditing()) setSelectedRange({0, stringValue().size()});
}

// --- CountdownDayController ------------------------------------------------

CountdownDayController& CountdownDayController::shared() {
    return AppContext::current().shared<CountdownDayController>();
}

CountdownDayController::CountdownDayController() { scheduleDueReminder(); }

CountdownDayController::~CountdownDayController() {
    stopDueTimer();
    if (pendingDueCheck_) pendingDueCheck_->cancel();
}

std::optional<Date> CountdownDayController::savedDate() const {
    const auto stored = defaults().object(targetDateKey);
    if (!stored) return std::nullopt;
    const std::optional<double> seconds = stored->asNumber();
    // Anything else is kept as it is until the next save, and counts as no day.
    if (!seconds || !std::isfinite(*seconds) || std::fabs(*seconds) > usableSeconds) return std::nullopt;
    return Date::fromTimeIntervalSince1970(*seconds);
}

std::string CountdownDayController::savedTitle() const {
    const std::string title = Text::trimmingWhitespaceAndNewlines(defaults().string(titleKey).value_or(""));
    return title.empty() ? text("重要日子", "Important Day") : title;
}

std::string CountdownDayController::savedEmoji() const {
    const auto emoji = defaults().string(emojiKey);
    return emoji && !emoji->empty() ? *emoji : std::string(defaultEmoji);
}

std::int64_t CountdownDayController::daysCount() const {
    const auto target = savedDate();
    if (!target) return 0;
    // Counted in calendar days, so a clock change in between moves nothing.
    return GregorianCalendar::current().daysBetween(now(), *target);
}

std::string CountdownDayController::daysText(std::int64_t days) {
    if (days >= 1) return text("还有 " + std::to_string(days) + " 天", std::to_string(days) + " days left");
    if (days == 0) return text("就是今天", "Today");
    return text("已经过了 " + std::to_string(-days) + " 天", std::to_string(-days) + " days ago");
}

std::string CountdownDayController::firstEmoji(std::string_view value) {
    const std::string trimmed = Text::trimmingWhitespaceAndNewlines(value);
    if (trimmed.empty()) return defaultEmoji;
    return trimmed.substr(0, GraphemeBoundaries::next(trimmed, 0));
}

std::shared_ptr<View> CountdownDayController::makeCardView() {
    auto heading = makeLabel(text("倒数日", "Countdown"), Font::systemFont(18, FontWeight::semibold), SystemColor::label);
    auto emoji = makeLabel(savedEmoji(), Font::systemFont(38), SystemColor::label);
    emoji->setAlignment(TextAlignment::center);
    emoji->setFixedSize({52, 52});
    auto event = makeLabel("", Font::systemFont(15, FontWeight::medium), SystemColor::secondaryLabel);
    event->setLineBreakMode(LineBreakMode::byTruncatingTail);
    auto days = makeLabel("", Font::boldSystemFont(30), SystemColor::label);
    days->setLineBreakMode(LineBreakMode::byTruncatingTail);

    auto set = makeLargeButton(text("设置倒数日", "Set Countdown"), call(&CountdownDayController::presentEditor), true);
    auto clear = makeLargeButton(text("清除", "Clear"), call(&CountdownDayController::clearCountdown), false);
    auto buttons = StackView::makeHorizontal({set, clear});
    buttons->setAlignment(StackAlignment::centerY);
    buttons->setSpacing(8);

    auto texts = StackView::makeVertical({event, days});
    texts->setAlignment(StackAlignment::leading);
    texts->setSpacing(3);
    auto row = StackView::makeHorizontal({emoji, texts, View::make()});
    row->setAlignment(StackAlignment::centerY);
    row->setSpacing(14);

    auto outer = StackView::makeVertical({heading, row, buttons});
    outer->setAlignment(StackAlignment::leading);
    outer->setSpacing(8);
    outer->setFillsCrossAxis(*row, true);
    outer->setPlacement(Placement::filling({16, 18, 16, 18}));

    auto card = View::make();
    card->setWantsLayer(true);
    card->mutableLayer().backgroundColor = Color::system(SystemColor::controlBackground);
    card->mutableLayer().cornerRadius = 18;
    card->mutableLayer().continuousCorners = true;
    applySecondPageGradient(*card, Color::system(SystemColor::orange).withAlphaComponent(0.2),
                            Color::system(SystemColor::yellow).withAlphaComponent(0.08));
    card->addSubview(outer);

    emojiLabel_ = emoji;
    eventLabel_ = event;
    daysLabel_ = days;
    clearButton_ = clear;
    refreshDisplay();
    return card;
}

void CountdownDayController::bindMenuItem(const std::shared_ptr<MenuItem>& item) {
    menuItem_ = item;
    refreshDisplay();
}

void CountdownDayController::refreshDisplay() {
    auto emoji = emojiLabel_.lock();
    auto event = eventLabel_.lock();
    auto days = daysLabel_.lock();
    auto clear = clearButton_.lock();
    auto item = menuItem_.lock();
    if (savedDate()) {
        const std::string title = savedTitle();
        const std::string daysLine = daysText(daysCount());
        if (emoji) emoji->setStringValue(savedEmoji());
        if (event) event->setStringValue(title);
        if (days) days->setStringValue(daysLine);
        if (clear) clear->setEnabled(true);
        if (item) item->setTitle(text("倒数日：", "Countdown: ") + title + " · " + daysLine);
    } else {
        // The emoji stays: the card keeps its picture while nothing is set.
        if (event) event->setStringValue(text("还没有设置重要日子", "No important day yet"));
        if (days) days->setStringValue(text("选一个值得期待的日子", "Choose a day to look forward to"));
        if (clear) clear->setEnabled(false);
        if (item) item->setTitle(text("倒数日：设置…", "Countdown: Set Up..."));
    }
}

void CountdownDayController::presentEditor() {
    const auto saved = savedDate();
    auto titleField = TextField::make(saved ? savedTitle() : std::string());
    titleField->setPlaceholderString(text("例如：生日、纪念日、项目上线", "Birthday, anniversary, launch..."));
    titleField->setFont(Font::systemFont(16));
    titleField->setFixedWidth(392);

    const Date fallback = GregorianCalendar::current().addingDays(7, now()).value_or(now());
    auto picker = DatePicker::make(saved.value_or(fallback));
    picker->style = DatePickerStyle::textFieldAndStepper;
    picker->setElements(DatePickerElements::yearMonthDay);
    picker->setFont(Font::systemFont(16));
    picker->setFixedWidth(392);

    selectedEditorEmoji_ = savedEmoji();
    auto emojiField = CountdownEmojiField::make(selectedEditorEmoji_);
    emojiField->setFont(Font::systemFont(58));
    emojiField->setAlignment(TextAlignment::center);
    emojiField->setEditable(true);
    emojiField->setSelectable(true);
    emojiField->setBezeled(false);
    // The tint sits on the layer so it follows the rounded corners.
    emojiField->setDrawsBackground(false);
    emojiField->showsFocusRing = false;
    emojiField->setWantsLayer(true);
    emojiField->mutableLayer().backgroundColor = Color::system(SystemColor::quaternaryLabel).withAlphaComponent(0.1);
    emojiField->mutableLayer().cornerRadius = 18;
    emojiField->mutableLayer().continuousCorners = true;
    emojiField->setToolTip(text("点击选择 Emoji", "Click to choose an emoji"));
    emojiField->setFixedSize({86, 86});

    auto header = StackView::makeVertical(
        {emojiField, makeLabel(text("设置倒数日", "Set Countdown"), Font::boldSystemFont(25), SystemColor::label),
         makeLabel(text("点击图标，从全部 Emoji 中选择", "Click the icon to choose from all emoji"), Font::systemFont(13),
                   SystemColor::secondaryLabel)});
    header->setAlignment(StackAlignment::centerX);
    header->setSpacing(5);

    const Font captionFont = Font::systemFont(13, FontWeight::semibold);
    auto form = StackView::makeVertical({makeLabel(text("标题", "Title"), captionFont, SystemColor::label), titleField,
                                         makeLabel(text("日期", "Date"), captionFont, SystemColor::label), picker});
    form->setAlignment(StackAlignment::leading);
    form->setSpacing(7);

    auto buttons = StackView::makeHorizontal(
        {makeLargeButton(text("取消", "Cancel"), call(&CountdownDayController::cancelEditor), false),
         makeLargeButton(text("保存倒数日", "Save Countdown"), call(&CountdownDayController::saveEditor), true)});
    buttons->setDistribution(StackDistribution::fillEqually);
    buttons->setSpacing(10);
    buttons->setFixedWidth(392);

    auto column = StackView::makeVertical({header, form, buttons});
    column->setAlignment(StackAlignment::centerX);
    column->setSpacing(18);
    column->setPlacement(Placement{34.0, 34.0, 24.0, std::nullopt, std::nullopt, std::nullopt});

    auto panel = Window::make<Panel>(ScreenRect{0, 0, editorWidth, editorHeight},
                                     WindowStyleMask{WindowStyleMask::titled | WindowStyleMask::closable});
    panel->setTitle(text("倒数日", "Countdown"));
    panel->isReleasedWhenClosed = false;
    auto content = View::make();
    content->addSubview(column);
    panel->setContentView(content);
    panel->center();

    if (editorWindowController_) editorWindowController_->close();
    editorWindowController_ = WindowController::make(panel);
    editorTitleField_ = titleField;
    editorDatePicker_ = picker;
    editorEmojiPreview_ = emojiField;

    Application::shared().activate(true);
    editorWindowController_->showWindow();
    panel->makeFirstResponder(titleField);
}

void CountdownDayController::saveEditor() {
    auto titleField = editorTitleField_.lock();
    auto picker = editorDatePicker_.lock();
    if (!titleField || !picker) return;
    const std::string title = Text::trimmingWhitespaceAndNewlines(titleField->stringValue());
    auto emojiField = editorEmojiPreview_.lock();
    selectedEditorEmoji_ = firstEmoji(emojiField ? emojiField->stringValue() : std::string());
    const Date dayStart = GregorianCalendar::current().startOfDay(picker->dateValue());

    defaults().set(titleKey, PropertyValue(title));
    defaults().set(emojiKey, PropertyValue(selectedEditorEmoji_));
    defaults().set(targetDateKey, PropertyValue(dayStart.timeIntervalSince1970()));
    defaults().removeObject(lastNotifiedKey);
    closeEditor();
    refreshDisplay();
    scheduleDueReminder();
}

void CountdownDayController::cancelEditor() { closeEditor(); }

void CountdownDayController::closeEditor() {
    if (editorWindowController_) editorWindowController_->close();
    editorWindowController_.reset();
}

void CountdownDayController::clearCountdown() {
    for (const char* key : {targetDateKey, titleKey, emojiKey, lastNotifiedKey}) defaults().removeObject(key);
    stopDueTimer();
    refreshDisplay();
}

bool CountdownDayController::isDueTimerArmed() const { return dueTimer_ && dueTimer_->isValid(); }

void CountdownDayController::stopDueTimer() {
    if (dueTimer_) dueTimer_->invalidate();
    dueTimer_.reset();
}

void CountdownDayController::scheduleDueReminder() {
    stopDueTimer();
    const auto target = savedDate();
    if (!target) return;
    const auto calendar = GregorianCalendar::current();
    const Date targetStart = calendar.startOfDay(*target);
    const Date todayStart = calendar.startOfDay(now());
    if (targetStart.timeIntervalSince1970() == todayStart.timeIntervalSince1970()) {
        if (pendingDueCheck_) pendingDueCheck_->cancel();
        pendingDueCheck_ = WorkItem::make([] { CountdownDayController::shared().showDueReminderIfNeeded(); });
        AppContext::current().mainQueue().async(pendingDueCheck_);
    } else if (targetStart.timeIntervalSince1970() > todayStart.timeIntervalSince1970()) {
        dueTimer_ = Timer::scheduledTimer(targetStart, [](Timer&) { CountdownDayController::shared().dueTimerFired(); });
    }
}

void CountdownDayController::dueTimerFired() {
    showDueReminderIfNeeded();
    refreshDisplay();
}

void CountdownDayController::showDueReminderIfNeeded() {
    const auto target = savedDate();
    if (!target) return;
    const auto calendar = GregorianCalendar::current();
    const Date targetStart = calendar.startOfDay(*target);
    if (targetStart.timeIntervalSince1970() != calendar.startOfDay(now()).timeIntervalSince1970()) return;
    const std::string key = notifiedKey(targetStart);
    if (defaults().string(lastNotifiedKey) == key) return;
    defaults().set(lastNotifiedKey, PropertyValue(key));

    auto panel = Window::make<Panel>(ScreenRect{0, 0, reminderWidth, reminderHeight},
                                     WindowStyleMask{WindowStyleMask::borderless});
    panel->setOpaque(false);
    panel->setBackgroundColor(Color::clear());
    panel->setHasShadow(true);
    panel->setLevel(WindowLevel::floating);
    panel->setCollectionBehavior(WindowCollectionBehavior{WindowCollectionBehavior::canJoinAllSpaces |
                                                          WindowCollectionBehavior::fullScreenAuxiliary});
    panel->isReleasedWhenClosed = false;
    panel->setContentView(makeDueReminderContent());
    panel->center();

    if (dueWindowController_) dueWindowController_->close();
    dueWindowController_ = WindowController::make(panel);
    Application::shared().activate(true);
    dueWindowController_->showWindow();
}

std::shared_ptr<View> CountdownDayController::makeDueReminderContent() const {
    auto emoji = makeLabel(savedEmoji(), Font::systemFont(92), SystemColor::label);
    emoji->setAlignment(TextAlignment::center);
    auto today = makeLabel(text("就 是 今 天", "TODAY IS THE DAY"), Font::systemFont(16, FontWeight::semibold),
                           SystemColor::red);
    auto title = Label::makeWrapping(savedTitle());
    title->setFont(Font::boldSystemFont(42));
    title->setAlignment(TextAlignment::center);
    title->setMaximumNumberOfLines(2);
    title->setPreferredMaxLayoutWidth(reminderWidth - 100);
    auto date = makeLabel(longDateText(*savedDate()), Font::systemFont(17), SystemColor::secondaryLabel);
    auto gotIt = makeLargeButton(text("我知道了", "Got It"), call(&CountdownDayController::closeDueReminder), true);
    gotIt->setFixedWidth(220);

    auto stack = StackView::makeVertical({emoji, today, title, date, gotIt});
    stack->setAlignment(StackAlignment::centerX);
    stack->setSpacing(14);
    stack->setPlacement(Placement{50.0, 50.0, std::nullopt, std::nullopt, std::nullopt, 0.0});

    auto card = View::make();
    card->setWantsLayer(true);
    card->mutableLayer().backgroundColor = Color::system(SystemColor::windowBackground);
    card->mutableLayer().cornerRadius = 30;
    card->mutableLayer().continuousCorners = true;
    card->addSubview(stack);
    return card;
}

void CountdownDayController::closeDueReminder() {
    if (dueWindowController_) dueWindowController_->close();
    dueWindowController_.reset();
}

}  // namespace tallowmere
