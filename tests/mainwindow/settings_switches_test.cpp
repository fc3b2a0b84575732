#include <gtest/gtest.h>

#include "app/app_delegate_fixture.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/login_item_service.h"
#include "platform/ui/event_monitors.h"
#include "windows/input_controller.h"
#include "windows/mouse_snap_palette.h"
#include "windows/window_dial_theme.h"

namespace tallowmere::testing {
namespace {

using platform::ControlState;
using platform::PropertyValue;

using SwitchField = const std::shared_ptr<StandardGreenSwitch> MainWindowController::*;

constexpr const char* trustPromptStatus = "请在系统设置中允许 塔洛梅百宝箱，然后返回本应用。";

// The program as the person starts it: the main window opens by itself.
class SettingsSwitchesTest : public AppDelegateTest {
protected:
    MainWindowController& start(bool trusted = true) {
        setup.grantAccessibility(trusted);
        launch();
        runUntilIdle();
        return *delegate().mainWindowController();
    }
    InputController& input() { return *delegate().inputController(); }
    std::optional<std::string> storedString(std::string_view key) { return defaults().string(key); }
    std::vector<std::string> storedList(std::string_view key) {
        return defaults().stringArray(key).value_or(std::vector<std::string>{"<absent>"});
    }
};

TEST_F(SettingsSwitchesTest, PermissionSwitchesStoreTheirChoiceAndRunOnlyWithTrust) {
    struct Row {
        const char* what;
        SwitchField field;
        const char* key;
        bool InputController::*flag;  // none for window memory
        bool heldOffWithoutTrust;
        const char* statusOn;
        const char* statusOff;
    } rows[] = {
        {"gestures", &MainWindowController::gestureSwitch, "gestureEnabled", &InputController::gestureEnabled, true,
         "触控板手势已开启", "触控板手势已关闭"},
        {"natural direction", &MainWindowController::naturalDirectionSwitch, "naturalDirectionEnabled",
         &InputController::naturalDirectionEnabled, false, "上下手势已使用自然方向", "上下手势已关闭自然方向"},
        {"mouse palette", &MainWindowController::mouseSwitch, "mouseEnabled", &InputController::mouseEnabled, true,
         "标题栏鼠标布局面板已开启", "标题栏鼠标布局面板已关闭"},
        {"edge snap", &MainWindowController::edgeSnapSwitch, "edgeSnapEnabled", &InputController::edgeSnapEnabled,
         true, "窗口边缘贴靠已开启", "窗口边缘贴靠已关闭"},
        {"quick-launch long press", &MainWindowController::quickLaunchLongPressSwitch, "longPressDestination",
         &InputController::quickLaunchLongPressEnabled, true, "左键长按快捷启动已开启", "左键长按快捷启动已关闭"},
        {"selection bar", &MainWindowController::selvaneSwitch, "selvaneEnabled", &InputController::selvaneEnabled,
         true, "Selvane 已开启", "Selvane 已关闭"},
        {"window memory", &MainWindowController::workspaceMemorySwitch, "workspaceMemoryEnabled", nullptr, false,
         "窗口记忆已开启", "窗口记忆已关闭"},
    };
    auto& controller = start();
    auto& trust = desktop.accessibility();
    for (const Row& row : rows) {
        for (const bool trusted : {true, false}) {
            for (const bool turnOn : {true, false}) {
                SCOPED_TRACE(std::string(row.what) + (trusted ? ", trusted" : ", untrusted") +
                             (turnOn ? ", turned on" : ", turned off"));
                const bool longPress = row.field == &MainWindowController::quickLaunchLongPressSwitch;
                if (longPress) {
                    defaults().set(row.key, turnOn ? "disabled" : "quickLaunch");
                } else {
                    defaults().set(row.key, !turnOn);
                }
                trust.setTrusted(trusted);
                controller.refreshRuntimeState();
                const int prompts = trust.promptCount();
                auto& toggle = *(controller.*row.field);
                ASSERT_EQ(toggle.isOn(), !turnOn);

                toggle.performClick();

                const bool refused = row.field == &MainWindowController::selvaneSwitch && turnOn && !trusted;
                const bool storedOn = turnOn && !refused;
                EXPECT_EQ(toggle.isOn(), storedOn);
                if (longPress) {
                    EXPECT_EQ(storedString(row.key), turnOn ? "quickLaunch" : "disabled");
                } else {
                    EXPECT_EQ(defaults().storedBoolean(row.key), storedOn);
                }
                if (row.flag) {
                    EXPECT_EQ(input().*row.flag, storedOn && (trusted || !row.heldOffWithoutTrust));
                }
                const bool prompted = !trusted && turnOn;
                EXPECT_EQ(trust.promptCount() - prompts, prompted ? 1 : 0);
                EXPECT_EQ(controller.statusText(), prompted ? trustPromptStatus : (turnOn ? row.statusOn : row.statusOff));
                EXPECT_EQ(input().hasGestureMonitor(), trusted && input().gestureEnabled);
            }
        }
    }
    trust.setTrusted(false);
    controller.refreshRuntimeState();
    EXPECT_FALSE(input().hasGestureMonitor());
    EXPECT_FALSE(input().mouseEnabled) << "without trust nothing watches the title bars";
}

TEST_F(SettingsSwitchesTest, QuickLaunchSwitchNeverAsksForTrust) {
    auto& controller = start(false);
    defaults().set("quickLaunchEnabled", false);
    controller.refreshRuntimeState();
    controller.quickLaunchSwitch->performClick();
    EXPECT_EQ(defaults().storedBoolean("quickLaunchEnabled"), true);
    EXPECT_TRUE(input().quickLaunchEnabled) << "quick launch from the menu bar needs no trust";
    EXPECT_EQ(desktop.accessibility().promptCount(), 0);
    EXPECT_EQ(controller.statusText(), "菜单栏快捷启动已开启");
}

TEST_F(SettingsSwitchesTest, TheTwoLongPressesExcludeEachOther) {
    auto& controller = start();
    defaults().set("longPressDestination", "quickLaunch");
    controller.refreshRuntimeState();
    ASSERT_TRUE(input().quickLaunchLongPressEnabled);

    controller.selvaneLongPressSwitch->performClick();
    EXPECT_EQ(storedString("longPressDestination"), "selvane");
    EXPECT_FALSE(controller.quickLaunchLongPressSwitch->isOn());
    EXPECT_FALSE(input().quickLaunchLongPressEnabled);
    EXPECT_EQ(controller.statusText(), "长按呼出 Selvane 已开启，快捷启动长按已关闭");

    // A quick-launch switch shown on while the selection bar holds the long
    // press: turning it off leaves the selection bar's long press alone.
    controller.quickLaunchLongPressSwitch->setOn(true);
    controller.quickLaunchLongPressSwitch->performClick();
    EXPECT_EQ(storedString("longPressDestination"), "selvane");
    EXPECT_TRUE(controller.selvaneLongPressSwitch->isOn());

    controller.quickLaunchLongPressSwitch->performClick();
    EXPECT_EQ(storedString("longPressDestination"), "quickLaunch");
    EXPECT_FALSE(controller.selvaneLongPressSwitch->isOn());
    EXPECT_TRUE(input().quickLaunchLongPressEnabled);

    controller.selvaneLongPressSwitch->setOn(true);
    controller.selvaneLongPressSwitch->performClick();
    EXPECT_EQ(storedString("longPressDestination"), "quickLaunch") << "not the selection bar's to take back";
    EXPECT_EQ(controller.statusText(), "长按呼出 Selvane 已关闭");
}

TEST_F(SettingsSwitchesTest, CheckBoxListsKeepTheirMinimumAndCaseOrder) {
    auto& controller = start();
    auto box = [](const std::vector<std::shared_ptr<platform::Control>>& boxes, std::string_view id) {
        for (const auto& control : boxes) {
            if (control->identifier() == id) return std::static_pointer_cast<platform::Button>(control);
        }
        return std::shared_ptr<platform::Button>();
    };
    std::vector<std::shared_ptr<platform::Control>> actions, tools;
    for (const auto& [key, button] : controller.selvaneActionButtons) actions.push_back(button);
    for (const auto& [key, button] : controller.selvaneToolButtons) tools.push_back(button);
    auto& typeBoxes = controller.professionalOnlyControls;
    for (const auto* boxes : {&actions, &tools}) {
        for (const auto& control : *boxes) EXPECT_EQ(control->fittingSize().width, 116) << control->identifier();
    }

    struct Case {
        const char* what;
        const std::vector<std::shared_ptr<platform::Control>>* boxes;
        const char* key;
        std::vector<std::string> stored;
        const char* clicked;
        std::vector<std::string> expected;
        bool boxOnAfter;
    } cases[] = {
        {"the last action stays", &actions, "selvaneEnabledActions", {"copy"}, "copy", {"copy"}, true},
        {"an action joins in case order", &actions, "selvaneEnabledActions", {"search", "cut"}, "copy",
         {"cut", "copy", "search"}, true},
        {"an action leaves", &actions, "selvaneEnabledActions", {"cut", "copy"}, "cut", {"copy"}, false},
        {"the last tool may go", &tools, "selvaneEnabledTools", {"fontInfo"}, "fontInfo", {}, false},
        {"a tool joins in case order", &tools, "selvaneEnabledTools", {"fontInfo"}, "colorPicker",
         {"colorPicker", "fontInfo"}, true},
        {"the last file type stays", &typeBoxes, "newFileTypes", {"md"}, "md", {"md"}, true},
        {"a file type joins in case order", &typeBoxes, "newFileTypes", {"md"}, "txt", {"txt", "md"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PropertyValue::Array stored(c.stored.begin(), c.stored.end());
        defaults().set(c.key, stored);
        auto clicked = box(*c.boxes, c.clicked);
        ASSERT_TRUE(clicked);
        const bool wasOn = std::find(c.stored.begin(), c.stored.end(), c.clicked) != c.stored.end();
        clicked->setState(wasOn ? ControlState::on : ControlState::off);
        clicked->performClick();
        EXPECT_EQ(storedList(c.key), c.expected);
        EXPECT_EQ(clicked->isOn(), c.boxOnAfter);
    }

    // A box the window does not know changes nothing.
    defaults().set("newFileTypes", PropertyValue::Array{"md"});
    controller.statusLabel->setStringValue("");
    auto stranger = platform::Button::makeCheckBox(".pdf", true);
    stranger->setIdentifier("pdf");
    controller.toggleNewFileType(*stranger);
    controller.toggleSelvaneAction(*stranger);
    EXPECT_EQ(storedList("newFileTypes"), std::vector<std::string>{"md"});
    EXPECT_EQ(controller.statusText(), "");
}

TEST_F(SettingsSwitchesTest, DialThemeStepsWrapBothWays) {
    auto& controller = start();
    const auto& table = windowDialThemeTable;
    struct Case {
        const char* what;
        std::string stored;
        int step;
        std::size_t expected;
    } cases[] = {
        {"back from the first", std::string(rawValue(table[0].theme)), -1, 38},
        {"on from the last", std::string(rawValue(table[38].theme)), 1, 0},
        {"a whole turn and one", std::string(rawValue(table[3].theme)), 40, 4},
        {"a theme that no longer exists counts as the first", "vanished", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        defaults().set("windowDialTheme", c.stored);
        controller.dialThemePreviewView->onThemeStep()(c.step);
        EXPECT_EQ(storedString("windowDialTheme"), std::string(rawValue(table[c.expected].theme)));
        EXPECT_EQ(controller.dialThemePopup->indexOfSelectedItem(), c.expected);
        EXPECT_EQ(controller.dialThemePreviewView->theme(), table[c.expected].theme);
        EXPECT_EQ(input().mousePalette().paletteView()->theme(), table[c.expected].theme);
        EXPECT_EQ(controller.statusText(), "表盘样式已更新");
    }
}

TEST_F(SettingsSwitchesTest, PopUpsWithoutASelectionChangeNothing) {
    auto& controller = start();
    defaults().set("themeMode", "dark");
    defaults().set("statusBarIconStyle", "pixel");
    defaults().set("windowDialTheme", "glass");
    controller.statusLabel->setStringValue("");
    for (const auto& popup : {controller.themePopup, controller.statusIconPopup, controller.dialThemePopup}) {
        popup->selectItem(std::nullopt);
        popup->sendAction();
    }
    EXPECT_EQ(storedString("themeMode"), "dark");
    EXPECT_EQ(storedString("statusBarIconStyle"), "pixel");
    EXPECT_EQ(storedString("windowDialTheme"), "glass");
    EXPECT_EQ(controller.statusText(), "");

    controller.themePopup->selectItem(1);
    controller.themePopup->sendAction();
    EXPECT_EQ(storedString("themeMode"), "light");
    EXPECT_EQ(controller.statusText(), "外观已切换为：浅色");
    controller.statusIconPopup->selectItem(2);
    controller.statusIconPopup->sendAction();
    EXPECT_EQ(storedString("statusBarIconStyle"), "outline");
}

TEST_F(SettingsSwitchesTest, AFailingLoginItemShowsAnAlertAndTheRealState) {
    auto& controller = start();
    platform::LoginItemService::shared().setRegistrationFailure(
        platform::Error{platform::ErrorCode::permissionDenied, "Operation not permitted"});
    ASSERT_FALSE(controller.launchSwitch->isOn());
    controller.launchSwitch->performClick();
    EXPECT_FALSE(controller.launchSwitch->isOn()) << "the switch shows what the system holds";
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "Operation not permitted");
    EXPECT_EQ(controller.statusText(), "Operation not permitted");

    platform::LoginItemService::shared().setRegistrationFailure(std::nullopt);
    controller.launchSwitch->performClick();
    EXPECT_TRUE(controller.launchSwitch->isOn());
    EXPECT_EQ(controller.statusText(), "已设为登录时自动启动");
}

}  // namespace
}  // namespace tallowmere::testing
