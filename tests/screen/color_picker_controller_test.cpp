// Also writes a picture a person can look at, under the build folder:
//   renderings/screen/color_history_menu.png   the history submenu
#include "screen/color_picker_controller.h"

#include <filesystem>

#include "platform/base/property_value.h"
#include "platform/desktop/pasteboard.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/menu.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/window.h"
#include "screen/screenshot_toast.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {
namespace {

using platform::Color;
using platform::Pasteboard;
using platform::UserDefaults;

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "screen";
const char* const historyKey = ColorPickerController::historyKey;

class ColorPickerTest : public DesktopTest {
protected:
    ColorPickerController& picker() { return ColorPickerController::shared(); }

    // One pick answered with `color` (nothing: Escape), run to its end.
    void pick(std::optional<Color> color) {
        panels.pickColor(color);
        picker().pick();
        advance(ColorPickerController::samplerDelaySeconds);
        runUntilIdle();
    }
    void storeHistory(platform::PropertyValue::Array entries) {
        UserDefaults::standard().set(historyKey, std::move(entries));
    }
    bool toastShown() {
        auto panel = ScreenshotToast::shared().panel();
        return panel && panel->isVisible();
    }
    std::vector<std::string> titles(const platform::Menu& menu) {
        std::vector<std::string> result;
        for (const auto& item : menu.items()) result.push_back(item->isSeparatorItem() ? "---" : item->title());
        return result;
    }
};

TEST_F(ColorPickerTest, APickIsRecordedCopiedAndConfirmed) {
    pick(Color::sRGB(58 / 255.0, 123 / 255.0, 1));
    EXPECT_EQ(Pasteboard::general().string(), "#3A7BFF");
    EXPECT_EQ(picker().history(), std::vector<std::string>{"#3A7BFF"});
    ASSERT_TRUE(toastShown());
    EXPECT_EQ(ScreenshotToast::shared().panel()->frame().size.width, 200) << "the default message";
    EXPECT_FALSE(picker().isSampling());
}

TEST_F(ColorPickerTest, WaitsForTheMenuToCloseAndIgnoresASecondStart) {
    panels.pickColor(Color::white());
    picker().pick();
    picker().pick();
    advance(0.14);
    EXPECT_EQ(panels.colorSamplerCount(), 0) << "the loupe must wait for the menu to close";
    picker().pick();
    advance(0.01);
    runUntilIdle();
    EXPECT_EQ(panels.colorSamplerCount(), 1) << "one loupe for three quick starts";
    EXPECT_EQ(picker().history(), std::vector<std::string>{"#FFFFFF"});
}

TEST_F(ColorPickerTest, EscapeRecordsAndCopiesNothing) {
    Pasteboard::general().setString("before");
    pick(std::nullopt);
    EXPECT_TRUE(picker().history().empty());
    EXPECT_EQ(Pasteboard::general().string(), "before");
    EXPECT_FALSE(toastShown());
    EXPECT_FALSE(picker().isSampling()) << "a later pick must still start";
}

TEST_F(ColorPickerTest, ARefusingPasteboardStillUpdatesTheHistoryWithoutAToast) {
    Pasteboard::general().setRefusesWrites(true);
    pick(Color::black());
    EXPECT_EQ(picker().history(), std::vector<std::string>{"#000000"});
    EXPECT_FALSE(toastShown());
}

TEST_F(ColorPickerTest, HistoryKeepsTwentyNewestWithoutDuplicatesInAnyCase) {
    struct Case {
        const char* name;
        platform::PropertyValue::Array stored;
        std::string picked;
        std::vector<std::string> expected;
    } cases[] = {
        {"a colour twice", {"#111111", "#222222"}, "#222222", {"#222222", "#111111"}},
        {"lower case replaced", {"#3a7bff", "#111111"}, "#3A7BFF", {"#3A7BFF", "#111111"}},
        {"stray non-text kept out", {"#111111", std::int64_t{7}, "#222222"}, "#333333",
         {"#333333", "#111111", "#222222"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        storeHistory(c.stored);
        picker().record(c.picked);
        EXPECT_EQ(picker().history(), c.expected);
    }

    UserDefaults::standard().removeObject(historyKey);
    for (int i = 0; i < 21; ++i) picker().record("#0000" + std::string(i < 10 ? "0" : "") + std::to_string(i));
    const auto history = picker().history();
    ASSERT_EQ(history.size(), 20u);
    EXPECT_EQ(history.front(), "#000020");
    EXPECT_EQ(history.back(), "#000001") << "the oldest pick goes";
}

TEST_F(ColorPickerTest, TheMenuListsNewestFirstAndCopiesAgain) {
    storeHistory({"#3A7BFF", "#nothex", "#FF0000"});
    auto menu = picker().makeHistoryMenu();
    EXPECT_EQ(menu->title(), "取色历史");
    EXPECT_EQ(titles(*menu), (std::vector<std::string>{"#3A7BFF", "#nothex", "#FF0000", "---", "清空取色历史"}));
    const auto& items = menu->items();
    ASSERT_TRUE(items[0]->image());
    EXPECT_EQ(items[0]->image()->size(), (platform::Size{16, 16}));
    EXPECT_FALSE(items[0]->image()->isTemplate());
    EXPECT_FALSE(items[1]->image()) << "an entry that does not parse has no swatch";
    EXPECT_TRUE(items[2]->image());

    std::filesystem::create_directories(renderings);
    menu->popUp(nullptr, platform::ScreenPoint{200, 700});
    EXPECT_TRUE(platform::ScreenSnapshot::writePng(renderings / "color_history_menu.png").ok());
    ASSERT_TRUE(menus.choose("#FF0000"));
    runUntilIdle();
    EXPECT_EQ(Pasteboard::general().string(), "#FF0000");
    EXPECT_EQ(picker().history(), (std::vector<std::string>{"#FF0000", "#3A7BFF", "#nothex"}))
        << "a re-copy moves to the front without changing the count";
    EXPECT_TRUE(toastShown());
}

TEST_F(ColorPickerTest, AnEmptyHistoryShowsOnlyTheDisabledLine) {
    auto menu = picker().makeHistoryMenu();
    EXPECT_EQ(titles(*menu), std::vector<std::string>{"暂无取色记录"});
    EXPECT_FALSE(menu->items()[0]->isEnabled());
}

TEST_F(ColorPickerTest, ClearingAsksFirst) {
    struct Case {
        platform::ModalResponse answer;
        bool cleared;
    } cases[] = {{platform::ModalResponses::alertFirstButton, true}, {platform::ModalResponses::alertSecondButton, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cleared ? "清空" : "取消");
        storeHistory({"#111111"});
        alerts.answer(c.answer);
        auto menu = picker().makeHistoryMenu();
        menu->performActionForItem(menu->items().size() - 1);
        runUntilIdle();
        ASSERT_GE(alerts.count(), 1u);
        EXPECT_EQ(alerts.last().messageText, "清空取色历史？");
        EXPECT_EQ(alerts.last().buttons, (std::vector<std::string>{"清空", "取消"}));
        EXPECT_EQ(picker().history().empty(), c.cleared);
    }
}

}  // namespace
}  // namespace tallowmere::testing
