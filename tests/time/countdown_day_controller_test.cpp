#include "time/countdown_day_controller.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/base/gregorian_calendar.h"
#include "platform/base/iso8601.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/button.h"
#include "platform/ui/date_picker.h"
#include "platform/ui/label.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/window.h"
#include "platform/ui/window_controller.h"
#include "support/desktop/desktop_fixture.h"
#include "support/scoped_time_zone.h"

namespace tallowmere::testing {
namespace {

using platform::CalendarDay;
using platform::Date;
using platform::PropertyValue;

class CountdownDayTest : public DesktopTest {
protected:
    ScopedTimeZone zone_{"America/New_York"};

    void SetUp() override { useEnglish(false); }

    static Date at(const char* text) { return platform::Iso8601::parse(text).value(); }
    platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
    CountdownDayController& controller() { return CountdownDayController::shared(); }

    void useEnglish(bool english) { defaults().set("interfaceLanguage", std::string(english ? "en" : "zh-Hans")); }

    // Stores a chosen day as a save does: the start of that local day.
    void storeTarget(CalendarDay day, std::string title = "生日", std::string emoji = "🎂") {
        const Date start = platform::GregorianCalendar::current().startOfDay(day);
        defaults().set(CountdownDayController::targetDateKey, PropertyValue(start.timeIntervalSince1970()));
        defaults().set(CountdownDayController::titleKey, PropertyValue(std::move(title)));
        defaults().set(CountdownDayController::emojiKey, PropertyValue(std::move(emoji)));
    }

    // Opens the editor on `day` and saves it with the fields as given.
    void saveThroughEditor(CalendarDay day, std::string title, std::string emoji) {
        controller().presentEditor();
        controller().editorTitleField()->setStringValue(std::move(title));
        controller().editorEmojiField()->setStringValue(std::move(emoji));
        controller().editorDatePicker()->setDateValue(
            platform::GregorianCalendar::current().startOfDay(day).addingTimeInterval(15 * 3600));
        controller().saveEditor();
    }

    bool reminderShown() const {
        auto due = CountdownDayController::shared().dueWindowController();
        return due && due->window() && due->window()->isVisible();
    }

    std::string menuTitle() {
        auto item = platform::MenuItem::make("");
        controller().bindMenuItem(item);
        return item->title();
    }
};

TEST_F(CountdownDayTest, DaysTextInBothLanguages) {
    struct Case {
        std::int64_t days;
        const char* chinese;
        const char* english;
    } cases[] = {
        {1, "还有 1 天", "1 days left"},
        {120, "还有 120 天", "120 days left"},
        {0, "就是今天", "Today"},
        {-1, "已经过了 1 天", "1 days ago"},
        {-365, "已经过了 365 天", "365 days ago"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        useEnglish(false);
        EXPECT_EQ(CountdownDayController::daysText(c.days), c.chinese);
        useEnglish(true);
        EXPECT_EQ(CountdownDayController::daysText(c.days), c.english);
    }
}

// 2026-03-08 is 23 hours long in New York: counting seconds would lose or
// gain a day around it.
TEST_F(CountdownDayTest, DaysFollowCalendarDaysAcrossTheClockChange) {
    struct Case {
        const char* now;
        CalendarDay target;
        const char* menu;
    } cases[] = {
        {"2026-03-07T23:30:00-05:00", {2026, 3, 9}, "倒数日：生日 · 还有 2 天"},
        {"2026-03-08T00:10:00-05:00", {2026, 3, 9}, "倒数日：生日 · 还有 1 天"},
        {"2026-03-08T23:50:00-04:00", {2026, 3, 9}, "倒数日：生日 · 还有 1 天"},
        {"2026-03-09T00:10:00-04:00", {2026, 3, 7}, "倒数日：生日 · 已经过了 2 天"},
        {"2026-03-08T12:00:00-04:00", {2026, 3, 8}, "倒数日：生日 · 就是今天"},
    };
    useEnglish(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.now);
        clock().setNow(at(c.now));
        storeTarget(c.target);
        EXPECT_EQ(menuTitle(), c.menu);
    }
}

TEST_F(CountdownDayTest, CardAndMenuWithoutADay) {
    struct Case {
        bool english;
        const char* event;
        const char* days;
        const char* menu;
    } cases[] = {
        {false, "还没有设置重要日子", "选一个值得期待的日子", "倒数日：设置…"},
        {true, "No important day yet", "Choose a day to look forward to", "Countdown: Set Up..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english);
        useEnglish(c.english);
        auto card = controller().makeCardView();
        EXPECT_EQ(controller().eventLabel()->stringValue(), c.event);
        EXPECT_EQ(controller().daysLabel()->stringValue(), c.days);
        EXPECT_FALSE(controller().clearButton()->isEnabled());
        EXPECT_EQ(menuTitle(), c.menu);
    }
}

TEST_F(CountdownDayTest, StoredTargetThatIsNoDateCountsAsNoneAndStaysStored) {
    useEnglish(false);
    clock().setNow(at("2026-05-01T10:00:00-04:00"));
    const PropertyValue unusable[] = {PropertyValue(std::string("tomorrow")), PropertyValue(1.0e300),
                                      PropertyValue(std::nan(""))};
    for (const auto& value : unusable) {
        defaults().set(CountdownDayController::targetDateKey, value);
        EXPECT_FALSE(controller().savedDate());
        EXPECT_EQ(menuTitle(), "倒数日：设置…");
        controller().scheduleDueReminder();
        EXPECT_FALSE(controller().isDueTimerArmed());
        EXPECT_TRUE(defaults().object(CountdownDayController::targetDateKey));
    }
}

TEST_F(CountdownDayTest, EmojiIsTheFirstWholeCharacter) {
    struct Case {
        const char* typed;
        const char* stored;
    } cases[] = {
        {"👍🏽x", "👍🏽"},
        {"", "📅"},
        {" \n ", "📅"},
        {"🇨🇳🇯🇵", "🇨🇳"},
        {"👨‍👩‍👧 family", "👨‍👩‍👧"},
        {"  é2", "é"},
    };
    clock().setNow(at("2026-05-01T10:00:00-04:00"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        saveThroughEditor({2026, 6, 1}, "旅行", c.typed);
        EXPECT_EQ(defaults().string(CountdownDayController::emojiKey), c.stored);
        EXPECT_FALSE(controller().editorWindowController());
    }
}

TEST_F(CountdownDayTest, SaveStoresTrimmedTitleAndDayStartAndEmptyTitleShowsDefault) {
    useEnglish(false);
    clock().setNow(at("2026-05-01T10:00:00-04:00"));
    saveThroughEditor({2026, 5, 11}, "  项目上线 \n", "🚀");
    EXPECT_EQ(defaults().string(CountdownDayController::titleKey), "项目上线");
    EXPECT_EQ(defaults().real(CountdownDayController::targetDateKey),
              at("2026-05-11T00:00:00-04:00").timeIntervalSince1970());
    EXPECT_EQ(menuTitle(), "倒数日：项目上线 · 还有 10 天");

    saveThroughEditor({2026, 4, 29}, "   ", "🚀");
    EXPECT_EQ(defaults().string(CountdownDayController::titleKey), "");
    EXPECT_EQ(menuTitle(), "倒数日：重要日子 · 已经过了 2 天");
    EXPECT_FALSE(controller().isDueTimerArmed()) << "a past day arms no reminder";
}

TEST_F(CountdownDayTest, EditorStartsFromTheStoredDayOrAWeekAhead) {
    clock().setNow(at("2026-05-01T10:00:00-04:00"));
    controller().presentEditor();
    EXPECT_EQ(controller().editorTitleField()->stringValue(), "");
    EXPECT_EQ(platform::GregorianCalendar::current().day(controller().editorDatePicker()->dateValue()),
              (CalendarDay{2026, 5, 8}));
    EXPECT_EQ(controller().editorEmojiField()->stringValue(), "📅");
    const auto window = controller().editorWindowController()->window();
    EXPECT_EQ(window->frame().width(), CountdownDayController::editorWidth);
    EXPECT_EQ(window->firstResponder(), controller().editorTitleField());

    controller().cancelEditor();
    EXPECT_FALSE(controller().editorWindowController());
    EXPECT_FALSE(defaults().object(CountdownDayController::targetDateKey)) << "cancel stores nothing";

    storeTarget({2026, 12, 24}, "平安夜", "🎄");
    controller().presentEditor();
    EXPECT_EQ(controller().editorTitleField()->stringValue(), "平安夜");
    EXPECT_EQ(platform::GregorianCalendar::current().day(controller().editorDatePicker()->dateValue()),
              (CalendarDay{2026, 12, 24}));
    EXPECT_EQ(controller().editorEmojiField()->stringValue(), "🎄");
}

TEST_F(CountdownDayTest, ClearingDisablesClearAndKeepsTheEmoji) {
    useEnglish(false);
    clock().setNow(at("2026-05-01T10:00:00-04:00"));
    auto card = controller().makeCardView();
    saveThroughEditor({2026, 6, 1}, "生日", "🎂");
    EXPECT_TRUE(controller().clearButton()->isEnabled());
    EXPECT_EQ(controller().emojiLabel()->stringValue(), "🎂");
    EXPECT_TRUE(controller().isDueTimerArmed());

    controller().clearCountdown();
    EXPECT_FALSE(controller().clearButton()->isEnabled());
    EXPECT_EQ(controller().emojiLabel()->stringValue(), "🎂");
    EXPECT_EQ(controller().eventLabel()->stringValue(), "还没有设置重要日子");
    EXPECT_FALSE(controller().isDueTimerArmed());
    for (const char* key : {CountdownDayController::targetDateKey, CountdownDayController::titleKey,
                            CountdownDayController::emojiKey, CountdownDayController::lastNotifiedKey}) {
        EXPECT_FALSE(defaults().object(key)) << key;
    }
}

TEST_F(CountdownDayTest, TodayRemindsOnceAtStartAgainAfterSaveNotAfterRestart) {
    clock().setNow(at("2026-03-08T09:00:00-04:00"));
    storeTarget({2026, 3, 8});
    controller();  // the program starts
    EXPECT_FALSE(reminderShown()) << "waits for the next turn";
    runUntilIdle();
    ASSERT_TRUE(reminderShown());
    EXPECT_EQ(controller().dueWindowController()->window()->frame().width(), CountdownDayController::reminderWidth);
    controller().closeDueReminder();
    EXPECT_FALSE(reminderShown());

    controller().scheduleDueReminder();
    runUntilIdle();
    EXPECT_FALSE(reminderShown()) << "once a day";

    saveThroughEditor({2026, 3, 8}, "生日", "🎂");
    runUntilIdle();
    EXPECT_TRUE(reminderShown()) << "a save shows it again";
    controller().closeDueReminder();

    advance(3600);
    context().setShared<CountdownDayController>(std::make_shared<CountdownDayController>());  // a restart
    runUntilIdle();
    EXPECT_FALSE(reminderShown()) << "already shown today";
}

TEST_F(CountdownDayTest, FutureDayRemindsAtItsStart) {
    // The day after the clock change starts 23 hours after the one before.
    clock().setNow(at("2026-03-07T23:00:00-05:00"));
    storeTarget({2026, 3, 9});
    controller();
    runUntilIdle();
    EXPECT_TRUE(controller().isDueTimerArmed());
    advance(3600 + 23 * 3600 - 1);
    EXPECT_FALSE(reminderShown());
    advance(2);
    EXPECT_TRUE(reminderShown());
    EXPECT_EQ(menuTitle(), "倒数日：生日 · 就是今天");
    EXPECT_EQ(defaults().string(CountdownDayController::lastNotifiedKey),
              std::to_string(static_cast<long long>(at("2026-03-09T00:00:00-04:00").timeIntervalSince1970())) + ".0");
}

}  // namespace
}  // namespace tallowmere::testing
