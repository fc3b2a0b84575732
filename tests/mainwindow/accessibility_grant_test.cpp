#include <gtest/gtest.h>

#include "app/app_delegate_fixture.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/system_settings_application.h"
#include "windows/input_controller.h"

namespace tallowmere::testing {
namespace {

using platform::AXRect;
using platform::SimulatedWindow;
namespace SystemSettingsApplication = platform::SystemSettingsApplication;

constexpr const char* marker = "（需授权）";

// A person who has not yet trusted the program, with an editor's window
// below where System Settings opens.
class AccessibilityGrantTest : public AppDelegateTest {
protected:
    AccessibilityGrantTest() {
        setup.grantAccessibility(false);
        editor = setup.addFrontWindow({.bundleIdentifier = "com.example.editor", .name = "Editor"},
                                      {.title = "Notes", .frame = AXRect{100, 600, 500, 250}});
        launch();
        runUntilIdle();
    }
    MainWindowController& controller() { return *delegate().mainWindowController(); }

    // Clicks the row of `window` that reads `title`.
    void clickRow(const SimulatedWindow& window, std::string_view title) {
        for (const auto& child : window.children()) {
            if (child->title() != title) continue;
            const auto frame = child->axFrame();
            mouse.click(desktop.screens().toScreen(platform::AXPoint{frame.midX(), frame.midY()}));
            return;
        }
        ADD_FAILURE() << "no row " << title << " in " << window.title();
    }
    std::shared_ptr<SimulatedWindow> settingsWindow() {
        auto settings = desktop.application(SystemSettingsApplication::bundleIdentifier);
        return settings ? settings->mainWindow() : nullptr;
    }
    // Every label of the main window whose text still carries the note.
    int markedTitles() {
        int count = 0;
        std::function<void(platform::View&)> visit = [&](platform::View& view) {
            for (const auto& child : view.subviews()) {
                auto* label = dynamic_cast<platform::Label*>(child.get());
                if (label && label->stringValue().find(marker) != std::string::npos) ++count;
                visit(*child);
            }
        };
        visit(*controller().window()->contentView());
        return count;
    }

    std::shared_ptr<SimulatedWindow> editor;
};

TEST_F(AccessibilityGrantTest, GrantingTrustInSystemSettingsStartsTheGesturesWithinHalfASecond) {
    auto& window = controller();
    ASSERT_GT(markedTitles(), 0);
    ASSERT_FALSE(window.permissionDotView->isHidden());

    window.gestureSwitch->performClick();  // the person turns it off
    window.gestureSwitch->performClick();  // and on again: without trust, that asks
    EXPECT_EQ(window.statusText(), "请在系统设置中允许 塔洛梅百宝箱，然后返回本应用。");
    advance(0.2);
    auto prompt = SystemSettingsApplication::promptWindow(desktop);
    ASSERT_TRUE(prompt) << "the system's trust prompt is shown";

    clickRow(*prompt, "Open System Settings");
    advance(0.6);
    auto settings = settingsWindow();
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->title(), "Privacy & Security › Accessibility");
    EXPECT_NE(settings->content().find("○ Off"), std::string::npos);
    EXPECT_FALSE(SystemSettingsApplication::promptWindow(desktop)) << "the prompt went with its answer";

    clickRow(*settings, desktop.currentApplication().name());
    ASSERT_TRUE(desktop.accessibility().isProcessTrusted());
    EXPECT_NE(settings->content().find("● On"), std::string::npos);
    advance(0.5);
    EXPECT_EQ(window.permissionLabel->stringValue(), "辅助功能已授权");
    EXPECT_TRUE(window.permissionDotView->isHidden());
    EXPECT_EQ(markedTitles(), 0);
    EXPECT_FALSE(window.isPollingForPermission());

    window.window()->performClose();  // the person closes the main window, then swipes on the editor
    mouse.moveTo(mouse.titleBarPoint(*editor));
    trackpad.swipe(SwipeDirection::right, 60);
    EXPECT_EQ(editor->frame(), AXRect(720, 24, 720, 876)) << "a two-finger swipe places another application's window";
}

TEST_F(AccessibilityGrantTest, TheActivationAfterAnExpiredPollPicksTrustUp) {
    auto& window = controller();
    window.permissionButton->performClick();
    window.permissionButton->performClick();  // pressed again: still one poll, from the second press
    ASSERT_TRUE(window.isPollingForPermission());
    advance(59.9);
    EXPECT_TRUE(window.isPollingForPermission());
    advance(0.2);
    EXPECT_FALSE(window.isPollingForPermission()) << "a poll lasts one minute";

    setup.grantAccessibility();
    advance(5);
    EXPECT_EQ(window.permissionLabel->stringValue(), "辅助功能未授权");
    EXPECT_FALSE(delegate().inputController()->gestureEnabled);

    desktop.activate(*editor->application());
    application.activate(true);
    EXPECT_EQ(window.permissionLabel->stringValue(), "辅助功能已授权");
    EXPECT_TRUE(delegate().inputController()->gestureEnabled);
    EXPECT_EQ(markedTitles(), 0);
}

TEST_F(AccessibilityGrantTest, SettingsPagesAreNamedByTheirAddress) {
    struct Case {
        const char* url;
        const char* title;
    } cases[] = {
        {"x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility",
         "Privacy & Security › Accessibility"},
        {"x-apple.systempreferences:com.apple.preference.security?Privacy_Automation", "Privacy & Security › Automation"},
        {"x-apple.systempreferences:com.apple.preference.security?Privacy_Unknown", "Privacy & Security"},
        {"x-apple.systempreferences:com.apple.LoginItems-Settings.extension", "General › Login Items & Extensions"},
        {"x-apple.systempreferences:com.apple.Desktop-Settings.extension?Window", "Desktop & Dock › Windows"},
        {"x-apple.systempreferences:com.apple.nothing.here", "System Settings"},
        {"https://example.com", "System Settings"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(SystemSettingsApplication::pageTitle(c.url), c.title);
    }
    EXPECT_TRUE(desktop.workspace().openURL(cases[3].url));
    advance(0.6);
    ASSERT_TRUE(settingsWindow());
    EXPECT_EQ(settingsWindow()->title(), cases[3].title);
    EXPECT_FALSE(desktop.accessibility().isProcessTrusted()) << "only the Accessibility page grants trust";
}

}  // namespace
}  // namespace tallowmere::testing
