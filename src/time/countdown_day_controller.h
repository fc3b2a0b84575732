#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/base/date.h"
#include "platform/ui/text_field.h"

namespace tallowmere {

namespace platform {
class Button;
class DatePicker;
class Label;
class MenuItem;
class Timer;
class View;
class WindowController;
class WorkItem;
}  // namespace platform

// The editor's emoji field: a press selects the whole emoji so the next
// character chosen replaces it.
class CountdownEmojiField : public platform::TextField {
public:
    static std::shared_ptr<CountdownEmojiField> make(std::string text);
    explicit CountdownEmojiField(platform::Rect frame) : TextField(frame) {}

    void mouseDown(const platform::Event& event) override;
};

// One important day the user looks forward to: how many calendar days
// remain (or have passed) on a main-window card and in the status menu, an
// editor to set it, and a reminder shown once on the day. One per process
// (`shared()`); every text is Chinese or English by the product's display
// name.
class CountdownDayController {
public:
    static constexpr const char* targetDateKey = "countdownDayTargetDate";
    static constexpr const char* titleKey = "countdownDayTitle";
    static constexpr const char* emojiKey = "countdownDayEmoji";
    static constexpr const char* lastNotifiedKey = "countdownDayLastNotifiedDate";
    static constexpr const char* defaultEmoji = "📅";

    static constexpr double editorWidth = 460, editorHeight = 500;
    static constexpr double reminderWidth = 680, reminderHeight = 420;

    static CountdownDayController& shared();

    // Arms the reminder for the stored day.
    CountdownDayController();
    ~CountdownDayController();
    CountdownDayController(const CountdownDayController&) = delete;
    CountdownDayController& operator=(const CountdownDayController&) = delete;

    // --- Stored day ---------------------------------------------------------
    // The start of the chosen day; absent when none is set or the stored
    // value is no usable date.
    std::optional<platform::Date> savedDate() const;
    // The trimmed title, or "重要日子" / "Important Day" when empty.
    std::string savedTitle() const;
    std::string savedEmoji() const;
    // Calendar days from today to the chosen day (0 without one).
    std::int64_t daysCount() const;
    // "还有 3 天" / "3 days left", "就是今天" / "Today", "已经过了 2 天" / "2 days ago".
    static std::string daysText(std::int64_t days);
    // The first user-perceived character of trimmed text ("📅" when blank):
    // a toned hand, a flag or a family stays whole.
    static std::string firstEmoji(std::string_view text);

    // --- Card and menu ------------------------------------------------------
    // The main window's card; its labels are remembered weakly.
    std::shared_ptr<platform::View> makeCardView();
    // Remembers the status menu's item weakly and gives it its title now.
    void bindMenuItem(const std::shared_ptr<platform::MenuItem>& item);
    void refreshDisplay();

    // --- Editor -------------------------------------------------------------
    void presentEditor();
    void saveEditor();
    void cancelEditor();
    void clearCountdown();

    // --- Reminder -----------------------------------------------------------
    void scheduleDueReminder();
    void showDueReminderIfNeeded();
    void closeDueReminder();

    // What is shown, for the views that hold it.
    std::shared_ptr<platform::Label> emojiLabel() const { return emojiLabel_.lock(); }
    std::shared_ptr<platform::Label> eventLabel() const { return eventLabel_.lock(); }
    std::shared_ptr<platform::Label> daysLabel() const { return daysLabel_.lock(); }
    std::shared_ptr<platform::Button> clearButton() const { return clearButton_.lock(); }
    std::shared_ptr<platform::WindowController> editorWindowController() const { return editorWindowController_; }
    std::shared_ptr<platform::TextField> editorTitleField() const { return editorTitleField_.lock(); }
    std::shared_ptr<platform::DatePicker> editorDatePicker() const { return editorDatePicker_.lock(); }
    std::shared_ptr<CountdownEmojiField> editorEmojiField() const { return editorEmojiPreview_.lock(); }
    std::shared_ptr<platform::WindowController> dueWindowController() const { return dueWindowController_; }
    bool isDueTimerArmed() const;

private:
    void dueTimerFired();
    void stopDueTimer();
    void closeEditor();
    std::shared_ptr<platform::View> makeDueReminderContent() const;

    std::weak_ptr<platform::Label> emojiLabel_;
    std::weak_ptr<platform::Label> eventLabel_;
    std::weak_ptr<platform::Label> daysLabel_;
    std::weak_ptr<platform::Button> clearButton_;
    std::weak_ptr<platform::MenuItem> menuItem_;
    std::shared_ptr<platform::WindowController> editorWindowController_;
    std::weak_ptr<platform::TextField> editorTitleField_;
    std::weak_ptr<platform::DatePicker> editorDatePicker_;
    std::weak_ptr<CountdownEmojiField> editorEmojiPreview_;
    std::string selectedEditorEmoji_ = defaultEmoji;
    std::shared_ptr<platform::WindowController> dueWindowController_;
    std::shared_ptr<platform::Timer> dueTimer_;
    // The "today" reminder waits for the next turn; gone with the controller.
    std::shared_ptr<platform::WorkItem> pendingDueCheck_;
};

}  // namespace tallowmere
