// Also writes pictures a person can look at, under the build folder:
//   renderings/screen/brightness_menu.png     the open submenu, three kinds of row
//   renderings/screen/brightness_dimmed.png   the second screen dimmed to 40 %
#include "screen/display_brightness_controller.h"

#include <filesystem>

#include "platform/desktop/desktop.h"
#include "platform/runtime/sleeper.h"
#include "platform/ui/label.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/menu_tracker.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/slider.h"
#include "screen/brightness_slider_row.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {
namespace {

using platform::DdcMonitorSpec;
using platform::SimulatedDdcMonitor;

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "screen";

// The built-in screen (display 1), a DDC monitor to its right (2) and a
// plain external screen above it (3), with the brightness submenu opened
// from the status menu as a person opens it.
class BrightnessControllerTest : public DesktopTest {
protected:
    BrightnessControllerTest() {
        platform::ScreenSpec ddc;
        ddc.frame = {1440, 0, 1920, 1080};
        ddc.isBuiltIn = false;
        ddc.displayID = 2;
        ddc.localizedName = "DELL U2720Q";
        ddc.hardware.identity = platform::DisplayIdentity{0x10AC, 0x4321, 4242, "DELL U2720Q", ""};
        ddc.hardware.ddc = DdcMonitorSpec{.maximum = 100, .current = 70};
        platform::ScreenSpec plain;
        plain.frame = {0, 900, 1280, 720};
        plain.isBuiltIn = false;
        plain.displayID = 3;
        plain.localizedName = "Projector";
        (void)desktop.screens().addScreen(ddc);
        (void)desktop.screens().addScreen(plain);
        runUntilIdle();
    }

    DisplayBrightnessController& controller() { return DisplayBrightnessController::shared(); }
    std::shared_ptr<SimulatedDdcMonitor> monitor() { return desktop.screens().screen(2)->device()->monitor(); }

    // Opens the status menu's brightness submenu; `finish` lets the scan end.
    void openSubmenu(bool finish = true) {
        statusMenu = platform::Menu::make();
        brightnessItem = controller().makeMenuItem();
        statusMenu->addItem(brightnessItem);
        statusMenu->popUp(nullptr, platform::ScreenPoint{600, 876});
        ASSERT_TRUE(platform::MenuTracker::shared().openSubmenu(*brightnessItem));
        if (finish) runUntilIdle();
    }
    BrightnessSliderRow& row(std::uint32_t id) {
        auto found = controller().row(id);
        EXPECT_TRUE(found) << "no row for display " << id;
        return found ? *found : *(fallbackRow = controller().row(1));
    }
    // A person drags the slider to `percent`.
    void drag(std::uint32_t id, double percent) {
        row(id).slider().setDoubleValue(percent);
        row(id).slider().sendAction();
    }
    int writes() {
        int count = 0;
        for (const auto& transfer : monitor()->transfers()) count += transfer.kind == SimulatedDdcMonitor::Transfer::Kind::write;
        return count;
    }

    std::shared_ptr<platform::Menu> statusMenu;
    std::shared_ptr<platform::MenuItem> brightnessItem;
    std::shared_ptr<BrightnessSliderRow> fallbackRow;
};

TEST_F(BrightnessControllerTest, EachScreenGetsTheRowItsHardwareAllows) {
    openSubmenu(false);
    for (std::uint32_t id : {1u, 2u, 3u}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(row(id).detail().stringValue(), "正在读取亮度…");
        EXPECT_FALSE(row(id).slider().isEnabled()) << "no slider moves before the scan ends";
    }
    runUntilIdle();
    struct Case {
        std::uint32_t id;
        const char* detail;
        const char* percent;
        double minimum;
    } cases[] = {
        {1, "硬件亮度", "100%", 5},
        {2, "硬件亮度 · DDC", "70%", 5},
        {3, "软件调暗 · 不改变背光", "100%", 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.detail);
        EXPECT_EQ(row(c.id).detail().stringValue(), c.detail);
        EXPECT_EQ(row(c.id).detail().toolTip(), c.detail);
        EXPECT_EQ(row(c.id).percent().stringValue(), c.percent);
        EXPECT_EQ(row(c.id).slider().minValue(), c.minimum);
        EXPECT_TRUE(row(c.id).slider().isEnabled());
    }
    std::vector<std::string> titles;
    for (const auto& item : brightnessItem->submenu()->items()) {
        titles.push_back(item->view() ? "row" : item->isSeparatorItem() ? "—" : item->title());
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"row", "row", "row", "—", "重新读取显示器", "取消所有软件调暗",
                                                "软件调暗不改变背光，退出应用后自动取消", "—", "开源致谢 · MonitorControl"}));
    std::filesystem::create_directories(renderings);
    EXPECT_TRUE(platform::ScreenSnapshot::writePng(renderings / "brightness_menu.png").ok());
}

TEST_F(BrightnessControllerTest, SliderMovesOnAMonitorAreWrittenOnceTheLast) {
    openSubmenu();
    monitor()->clearTransfers();
    for (double percent : {60.0, 50.0, 40.0, 35.0, 30.0}) {
        drag(2, percent);
        advance(0.01);
    }
    EXPECT_EQ(row(2).detail().stringValue(), "正在调整硬件亮度…");
    EXPECT_EQ(writes(), 0) << "nothing is written while the slider still moves";
    advance(DisplayBrightnessController::writeDelaySeconds);
    runUntilIdle();
    EXPECT_EQ(writes(), 2) << "one pair of sends";
    EXPECT_EQ(monitor()->current(), 30);
    EXPECT_EQ(row(2).detail().stringValue(), "硬件亮度 · DDC");
    EXPECT_EQ(row(2).percent().stringValue(), "30%");
    EXPECT_DOUBLE_EQ(*controller().hardwareLevel(2), 0.3);
}

TEST_F(BrightnessControllerTest, AScanDuringAPendingWriteDoesNotOverrideTheLevel) {
    openSubmenu();
    auto spec = monitor()->spec();
    spec.current = 20;  // changed on the monitor's own buttons
    monitor()->setSpec(spec);
    drag(2, 30);
    platform::MenuTracker::shared().close();
    openSubmenu();
    EXPECT_EQ(row(2).detail().stringValue(), "硬件亮度 · DDC");
    EXPECT_EQ(row(2).percent().stringValue(), "70%") << "the reading raced a pending write and is not kept";
    EXPECT_DOUBLE_EQ(*controller().hardwareLevel(2), 0.7);
    advance(DisplayBrightnessController::writeDelaySeconds);
    runUntilIdle();
    EXPECT_EQ(monitor()->current(), 30) << "the pending write still goes out";
    EXPECT_DOUBLE_EQ(*controller().hardwareLevel(2), 0.3);
}

TEST_F(BrightnessControllerTest, AFailedWriteSaysSoAndKeepsTheLastLevelSet) {
    openSubmenu();
    auto spec = monitor()->spec();
    spec.failingSends = 4;
    monitor()->setSpec(spec);
    drag(2, 40);
    advance(DisplayBrightnessController::writeDelaySeconds);
    runUntilIdle();
    EXPECT_EQ(row(2).detail().stringValue(), "调节失败，请检查显示器或连接线");
    EXPECT_EQ(row(2).percent().stringValue(), "70%") << "the level last known to be set";
    EXPECT_DOUBLE_EQ(*controller().hardwareLevel(2), 0.7);
}

TEST_F(BrightnessControllerTest, APlainScreenIsDimmedByItsShade) {
    openSubmenu();
    drag(3, 40);
    auto shade = controller().shade(3);
    ASSERT_TRUE(shade);
    EXPECT_TRUE(shade->isVisible());
    EXPECT_NEAR(shade->alphaValue(), 0.6, 1e-9);
    EXPECT_EQ(shade->frame(), desktop.screens().screen(3)->frame());
    EXPECT_EQ(shade->level(), 999);
    EXPECT_EQ(shade->collectionBehavior().rawValue, 321u);
    EXPECT_TRUE(shade->ignoresMouseEvents());
    EXPECT_FALSE(shade->canBecomeKey());
    EXPECT_EQ(row(3).percent().stringValue(), "40%");
    platform::MenuTracker::shared().close();
    std::filesystem::create_directories(renderings);
    EXPECT_TRUE(platform::ScreenSnapshot::writePng(renderings / "brightness_dimmed.png").ok());

    struct Case {
        double percent;
        std::optional<double> alpha;
    } cases[] = {{5, 0.8}, {99.95, std::nullopt}, {100, std::nullopt}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        controller().row(3)->onChange(c.percent / 100);
        auto current = controller().shade(3);
        ASSERT_EQ(bool(current), c.alpha.has_value());
        if (current) {
            EXPECT_NEAR(current->alphaValue(), *c.alpha, 1e-9) << "never darker than 20 %";
        }
    }
    EXPECT_FALSE(shade->isVisible()) << "at 100 % the shade is gone";
    EXPECT_EQ(row(3).detail().stringValue(), "软件调暗 · 不改变背光");
}

TEST_F(BrightnessControllerTest, LevelsThatAreNotNumbersAreIgnored) {
    openSubmenu();
    monitor()->clearTransfers();
    row(3).onChange(std::numeric_limits<double>::quiet_NaN());
    row(2).onChange(std::numeric_limits<double>::infinity());
    advance(1);
    EXPECT_FALSE(controller().shade(3));
    EXPECT_EQ(writes(), 0);
    EXPECT_EQ(row(2).detail().stringValue(), "硬件亮度 · DDC");
}

TEST_F(BrightnessControllerTest, OnlyTheNewestScanFillsTheRows) {
    openSubmenu(false);
    // The first scan reads the monitor; it falls silent before the second.
    monitor()->setOnTransfer([this](const SimulatedDdcMonitor::Transfer& transfer) {
        if (transfer.kind != SimulatedDdcMonitor::Transfer::Kind::read) return;
        auto spec = monitor()->spec();
        spec.silent = true;
        monitor()->setSpec(spec);
    });
    openSubmenu(false);
    runUntilIdle();
    EXPECT_EQ(row(2).detail().stringValue(), "软件调暗 · 不改变背光");
    EXPECT_FALSE(controller().hardwareLevel(2)) << "the first scan's reading was dropped";
}

TEST_F(BrightnessControllerTest, UnpluggingADimmedScreenClosesItsShadeAndRebuildsTheOpenMenu) {
    openSubmenu();
    drag(3, 40);
    auto shade = controller().shade(3);
    ASSERT_TRUE(shade);
    desktop.screens().removeScreen(desktop.screens().screen(3));
    EXPECT_FALSE(shade->isVisible());
    EXPECT_FALSE(controller().softwareLevel(3));
    EXPECT_FALSE(controller().row(3)) << "the open menu was rebuilt without the screen";
    EXPECT_EQ(row(2).detail().stringValue(), "正在读取亮度…");
    runUntilIdle();
    EXPECT_EQ(row(2).detail().stringValue(), "硬件亮度 · DDC");
}

TEST_F(BrightnessControllerTest, ClearingSoftwareDimmingClosesEveryShadeAndScansAgain) {
    openSubmenu();
    drag(3, 40);
    ASSERT_TRUE(menus.choose("取消所有软件调暗"));
    EXPECT_FALSE(menus.isOpen());
    EXPECT_FALSE(controller().shade(3));
    EXPECT_FALSE(controller().softwareLevel(3));
    EXPECT_EQ(row(3).detail().stringValue(), "正在读取亮度…") << "the menu is filled afresh";
    runUntilIdle();
    EXPECT_EQ(row(3).percent().stringValue(), "100%");
}

TEST_F(BrightnessControllerTest, QuittingWithAWritePendingWritesNothing) {
    openSubmenu();
    monitor()->clearTransfers();
    drag(2, 30);
    drag(3, 40);
    application.terminate();
    advance(1);
    EXPECT_EQ(writes(), 0);
    EXPECT_EQ(monitor()->current(), 70);
    EXPECT_EQ(row(2).detail().stringValue(), "正在调整硬件亮度…") << "nothing touches the rows afterwards";
    EXPECT_FALSE(controller().shade(3)) << "software dimming ends with the program";
}

TEST_F(BrightnessControllerTest, CreditsNameTheirSource) {
    openSubmenu();
    ASSERT_TRUE(menus.choose("开源致谢 · MonitorControl"));
    runUntilIdle();
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "亮度调节 · 开源致谢");
    EXPECT_EQ(alerts.last().buttons, std::vector<std::string>{"好"});
    EXPECT_TRUE(alerts.last().informativeText.starts_with("DDC 通信和显示器识别参考 MonitorControl 4.4.0。"));
}

}  // namespace
}  // namespace tallowmere::testing
