#include <algorithm>
#include <any>
#include <filesystem>
#include <fstream>
#include <map>

#include "app/launch_at_login_manager.h"
#include "app/persistent_configuration.h"
#include "app_delegate_fixture.h"
#include "menubar/default_input_source_controller.h"
#include "menubar/media_control_controller.h"
#include "platform/base/property_list.h"
#include "platform/base/property_value.h"
#include "platform/desktop/login_item_service.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"
#include "platform/ui/ui_trace.h"
#include "quicklaunch/quick_launch_panel.h"
#include "windows/input_controller.h"

namespace tallowmere::testing {
namespace {

using platform::PropertyValue;

std::filesystem::path mirrorFile() {
    return platform::Paths::applicationSupport() / "com.quenlow.tallowmere" / "configuration.plist";
}

// The preferences as the configuration mirror last wrote them.
PropertyValue::Dictionary mirroredPreferences() {
    auto bytes = platform::Files::read(mirrorFile());
    if (!bytes) return {};
    auto root = platform::PropertyList::read(std::span<const std::uint8_t>(*bytes));
    if (!root || !root->asDictionary()) return {};
    auto it = root->asDictionary()->find("preferences");
    if (it == root->asDictionary()->end() || !it->second.asDictionary()) return {};
    return *it->second.asDictionary();
}

void writeMirror(const PropertyValue::Dictionary& preferences) {
    PropertyValue::Dictionary root{{"schemaVersion", PropertyValue(1)}, {"preferences", PropertyValue(preferences)}};
    auto bytes = platform::PropertyList::write(PropertyValue(root));
    ASSERT_TRUE(bytes.ok());
    std::filesystem::create_directories(mirrorFile().parent_path());
    std::ofstream(mirrorFile(), std::ios::binary).write(reinterpret_cast<const char*>(bytes->data()),
                                                        static_cast<std::streamsize>(bytes->size()));
}

// What a person would have seen, and what the preferences went through, in
// the order it happened.
class Timeline {
public:
    explicit Timeline(platform::AppContext& context) : context_(context) {
        auto previous = platform::UiTrace::shared().onLine;
        platform::UiTrace::shared().onLine = [previous, lines = lines_](const std::string& line) {
            if (previous) previous(line);
            lines->push_back(line);
        };
        before_ = platform::UserDefaults::standard().dictionaryRepresentation();
        observer_ = context.notificationCenter().addObserver(platform::UserDefaults::didChangeNotification, nullptr,
                                                             [this](const platform::Notification&) { noteChange(); });
    }
    ~Timeline() { context_.notificationCenter().removeObserver(observer_); }

    const std::vector<std::string>& lines() const { return *lines_; }

    // Each of `expected` appears (as part of a line) after the one before it.
    void expectInOrder(const std::vector<std::string>& expected) const {
        auto from = lines_->begin();
        for (const auto& text : expected) {
            auto found = std::find_if(from, lines_->end(),
                                      [&](const std::string& line) { return line.find(text) != std::string::npos; });
            if (found == lines_->end()) {
                std::string seen;
                for (const auto& line : *lines_) seen += "\n  " + line;
                ADD_FAILURE() << "\"" << text << "\" did not follow in order; the timeline was:" << seen;
                return;
            }
            from = found + 1;
        }
    }

private:
    void noteChange() {
        auto now = platform::UserDefaults::standard().dictionaryRepresentation();
        for (const auto& [key, value] : before_) {
            if (!now.count(key)) lines_->push_back("preference removed " + key);
        }
        for (const auto& [key, value] : now) {
            auto old = before_.find(key);
            if (old == before_.end() || !(old->second == value)) lines_->push_back("preference set " + key);
        }
        before_ = std::move(now);
    }

    platform::AppContext& context_;
    std::shared_ptr<std::vector<std::string>> lines_ = std::make_shared<std::vector<std::string>>();
    PropertyValue::Dictionary before_;
    platform::ObserverToken observer_;
};

class AppDelegateLifecycleTest : public AppDelegateTest {};

TEST_F(AppDelegateLifecycleTest, StartUpRunsItsStepsInOrder) {
    defaults().set("scheduledShutdownDate", PropertyValue(platform::Date::fromTimeIntervalSince1970(2e9)));
    // A keep-awake period that ran out while the program was not running.
    defaults().set("displayAwakeUntil", PropertyValue(1000.0));
    defaults().set("displayAwakeSelectedMinutes", PropertyValue(30));
    Timeline timeline(context());

    launch();
    EXPECT_FALSE(mainWindowIsShown()) << "the main window waits for the next turn of the main queue";
    runUntilIdle();

    timeline.expectInOrder({
        "preference removed scheduledShutdownDate",
        "activation policy accessory",
        "named \"Tallowmere.MainIndependent\"",
        "named \"Tallowmere.CalendarIndependent\"",
        "named \"Tallowmere.ActivityIndependent\"",
        "named \"Tallowmere.WebIndependent\"",
        "named \"Tallowmere.WebPlaybackIndependent\"",
        "preference removed displayAwakeUntil",
        "activation policy regular",
        "window shown \"塔洛梅百宝箱\"",
    });
    EXPECT_TRUE(DefaultInputSourceController::shared().isStarted());
    EXPECT_FALSE(defaults().object("displayAwakeSelectedMinutes"));
    EXPECT_TRUE(mainWindowIsShown());
}

// What a person would notice if start-up skipped a step: the chosen theme,
// a login item that follows the program, the application that was in front
// before, and the main window in front and ready for the keyboard.
TEST_F(AppDelegateLifecycleTest, StartUpDoesEveryStepAPersonWouldNotice) {
    defaults().set("themeMode", PropertyValue("dark"));
    // An agent left by an older system: the login item takes over from it.
    const auto agent = home() / "Library/LaunchAgents/com.quenlow.tallowmere.login.plist";
    std::filesystem::create_directories(agent.parent_path());
    std::ofstream(agent) << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Label</key>"
                            "<string>com.quenlow.tallowmere.login</string></dict></plist>";
    auto editor = setup.addApplication({.bundleIdentifier = "com.example.editor",
                                        .name = "Editor",
                                        .launchWindows = {{.title = "Notes", .frame = {0, 24, 1440, 876}}}});
    ASSERT_TRUE(editor);
    desktop.activate(*editor);

    launch();
    EXPECT_EQ(application.appearance(), platform::Appearance::dark) << "the stored theme is applied";
    EXPECT_EQ(platform::LoginItemService::shared().status(), platform::LoginItemService::Status::enabled);
    EXPECT_FALSE(std::filesystem::exists(agent)) << "the old agent gave way to the login item";
    EXPECT_EQ(delegate().lastExternalPID(), editor->processIdentifier()) << "the application in front is remembered";

    runUntilIdle();
    ASSERT_TRUE(mainWindowIsShown());
    EXPECT_EQ(desktop.frontmostApplication().get(), &desktop.currentApplication()) << "the program came to the front";
    EXPECT_TRUE(mainWindow()->isKeyWindow()) << "the main window takes the keyboard";
    const auto front = desktop.windowServer().windowList(platform::WindowListOption::onScreenOnly);
    auto firstNormal = std::find_if(front.begin(), front.end(), [](const auto& info) { return info.layer == 0; });
    ASSERT_NE(firstNormal, front.end());
    EXPECT_EQ(firstNormal->windowNumber, mainWindow()->windowNumber()) << "the main window is above the editor's";
    EXPECT_EQ(desktop.hotKeys().registeredCount(), 0u) << "no hot key: Command+A must stay Select All everywhere";
}

TEST_F(AppDelegateLifecycleTest, StatusItemsAreMadeAsTheMenuBarExpectsThem) {
    launch({"--finder-action"});
    runUntilIdle();

    struct Expected {
        const char* autosaveName;
        double length;
        bool visible;
    } expected[] = {
        {"Tallowmere.MainIndependent", 32, true},     {"Tallowmere.CalendarIndependent", 32, true},
        {"Tallowmere.ActivityIndependent", 1, false}, {"Tallowmere.WebIndependent", 32, true},
        {"Tallowmere.WebPlaybackIndependent", 30, false},
    };
    const auto& items = platform::StatusBar::shared().items();
    ASSERT_EQ(items.size(), std::size(expected));
    for (std::size_t index = 0; index < items.size(); ++index) {
        SCOPED_TRACE(expected[index].autosaveName);
        EXPECT_EQ(items[index]->autosaveName(), expected[index].autosaveName);
        EXPECT_EQ(items[index]->length(), expected[index].length);
        EXPECT_EQ(items[index]->isVisible(), expected[index].visible);
    }
    EXPECT_EQ(delegate().statusItem()->button()->toolTip(), "塔洛梅百宝箱");
    EXPECT_EQ(delegate().calendarStatusItem()->button()->toolTip(), "日历");
}

TEST_F(AppDelegateLifecycleTest, EitherMouseButtonOnTheMainItemOpensTheStatusMenu) {
    launch({"--finder-action"});
    runUntilIdle();

    for (auto down : {platform::EventType::leftMouseDown, platform::EventType::rightMouseDown}) {
        SCOPED_TRACE(down == platform::EventType::leftMouseDown ? "left click" : "right click");
        menuBar.click(*delegate().statusItem(), down);
        ASSERT_TRUE(menus.isOpen());
        const auto titles = menus.itemTitles();
        ASSERT_FALSE(titles.empty());
        EXPECT_EQ(titles.front(), "打开主界面");
        EXPECT_EQ(titles.back(), "退出应用 塔洛梅百宝箱");
        menus.dismiss();
    }

    menuBar.click(*delegate().statusItem());
    menus.choose("打开主界面");
    EXPECT_TRUE(mainWindowIsShown());
}

TEST_F(AppDelegateLifecycleTest, MenuBarSwitchesReadTheirStoredTypes) {
    struct Case {
        const char* name;
        std::optional<PropertyValue> calendar;
        std::optional<PropertyValue> networkTraffic;
        bool calendarOn;
        bool networkTrafficOn;
    } cases[] = {
        {"absent", std::nullopt, std::nullopt, true, false},
        {"stored as strings", PropertyValue("NO"), PropertyValue("YES"), true, true},
        {"stored as booleans", PropertyValue(false), PropertyValue(true), false, true},
        {"stored as numbers", PropertyValue(0), PropertyValue(1), true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case starts as a fresh process whose mirror holds nothing.
        std::filesystem::remove(mirrorFile());
        platform::AppContext context({.deterministic = true});
        auto& defaults = platform::UserDefaults::standard();
        for (const char* key : {"calendarEnabled", "proxyTrafficEnabled"}) {
            c.calendar ? defaults.set(key, *c.calendar) : defaults.removeObject(key);
        }
        for (const char* key : {"networkTrafficEnabled", "mediaControlsEnabled"}) {
            c.networkTraffic ? defaults.set(key, *c.networkTraffic) : defaults.removeObject(key);
        }

        auto delegate = AppDelegate::make();
        platform::Application::shared().setDelegate(delegate);
        platform::Application::shared().finishLaunching();

        EXPECT_EQ(delegate->calendarEnabled(), c.calendarOn);
        EXPECT_EQ(delegate->proxyTrafficEnabled(), c.calendarOn);
        EXPECT_EQ(delegate->networkTrafficEnabled(), c.networkTrafficOn);
        EXPECT_EQ(delegate->mediaControlsEnabled(), c.networkTrafficOn);
        EXPECT_EQ(delegate->calendarStatusItem()->isVisible(), c.calendarOn);
        EXPECT_EQ(MediaControlController::shared().isMonitoringEnabled(), c.networkTrafficOn);
    }
}

TEST_F(AppDelegateLifecycleTest, StoredConfigurationIsBackBeforeTheSwitchesAreRead) {
    writeMirror({{"calendarEnabled", PropertyValue(false)}, {"mediaControlsEnabled", PropertyValue(true)}});

    launch();

    EXPECT_FALSE(delegate().calendarEnabled());
    EXPECT_TRUE(delegate().mediaControlsEnabled());
}

TEST_F(AppDelegateLifecycleTest, StopWritesTheMirrorLastThenClearsTheSession) {
    launch({"--finder-action"});
    runUntilIdle();
    defaults().set("displayAwakeAlways", PropertyValue(true));
    defaults().set("scheduledShutdownDate", PropertyValue(platform::Date::fromTimeIntervalSince1970(2e9)));
    Timeline timeline(context());

    delegate().quit();

    timeline.expectInOrder({"preference removed displayAwakeAlways", "preference removed scheduledShutdownDate",
                            "application terminated"});
    EXPECT_FALSE(defaults().object("displayAwakeAlways"));
    EXPECT_FALSE(defaults().object("scheduledShutdownDate"));
    // Later changes, by the stop sequence or anyone else, no longer reach the file.
    defaults().set("themeMode", PropertyValue("dark"));
    const auto mirrored = mirroredPreferences();
    EXPECT_TRUE(mirrored.count("displayAwakeAlways")) << "the keep-awake period is kept for the next start";
    EXPECT_FALSE(mirrored.count("themeMode"));
}

TEST_F(AppDelegateLifecycleTest, KeepDisplayAwakeSurvivesARestart) {
    launch({"--finder-action"});
    runUntilIdle();
    defaults().set("displayAwakeAlways", PropertyValue(true));
    delegate().quit();
    delegate_.reset();

    // The next start: a new process reading the same home folder.
    platform::AppContext restarted({.deterministic = true});
    auto delegate = AppDelegate::make();
    platform::Application::shared().setDelegate(delegate);
    platform::Application::shared().finishLaunching();

    EXPECT_TRUE(platform::UserDefaults::standard().boolean("displayAwakeAlways"));
}

TEST_F(AppDelegateLifecycleTest, LastExternalApplicationFollowsActivations) {
    
    auto editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    ASSERT_TRUE(editor);
    launch({"--finder-action"});
    ASSERT_EQ(desktop.frontmostApplication().get(), &desktop.currentApplication());
    EXPECT_FALSE(delegate().lastExternalPID()) << "the program itself is in front at start-up";

    desktop.activate(*editor);
    EXPECT_EQ(delegate().lastExternalPID(), editor->processIdentifier());

    application.activate(true);
    EXPECT_EQ(delegate().lastExternalPID(), editor->processIdentifier()) << "the program's own activation is not kept";

    // Activation news that names no application leaves the last one in place.
    auto& workspaceCenter = desktop.workspace().notificationCenter();
    const std::string activated = platform::Workspace::didActivateApplicationNotification;
    const char* key = platform::Workspace::applicationKey;
    struct Case {
        const char* name;
        platform::UserInfo userInfo;
    } cases[] = {
        {"no user information", {}},
        {"another key", {{"other", std::any(desktop.currentApplication().runningApplication())}}},
        {"another type", {{key, std::any(std::string("Editor"))}}},
        {"no application", {{key, std::any(std::shared_ptr<platform::RunningApplication>())}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        workspaceCenter.post(activated, nullptr, c.userInfo);
        EXPECT_EQ(delegate().lastExternalPID(), editor->processIdentifier());
    }
}

TEST_F(AppDelegateLifecycleTest, InputControllerRequestsReachTheDelegateWhileItLives) {
    launch({"--finder-action"});
    runUntilIdle();
    auto controller = delegate().inputController();

    controller->quickLaunchPanel().onOpenSettings();
    EXPECT_TRUE(mainWindowIsShown());
    mainWindow()->close();

    controller->onRequestAddQuickWebsite();
    EXPECT_FALSE(mainWindowIsShown()) << "adding an entry makes the main window without showing it";
    EXPECT_TRUE(delegate().mainWindowController());

    controller->quickLaunchPanel().onAction("已保存");
    EXPECT_EQ(delegate().mainWindowController()->statusText(), "已保存");

    application.setDelegate({});
    delegate_.reset();
    controller->onRequestOpenSettings();  // does nothing once the delegate is gone
    controller->quickLaunchPanel().onAddInformation();
}

TEST_F(AppDelegateLifecycleTest, ClosingTheLastWindowKeepsTheProgramInTheMenuBar) {
    launch();
    runUntilIdle();
    ASSERT_TRUE(mainWindowIsShown());

    mainWindow()->performClose();

    EXPECT_FALSE(delegate().applicationShouldTerminateAfterLastWindowClosed());
    EXPECT_TRUE(application.isRunning());
    EXPECT_TRUE(delegate().statusItem()->frame().size.width > 0);
    EXPECT_EQ(application.activationPolicy(), platform::ActivationPolicy::regular)
        << "the Dock icon stays for the rest of the run";
}

TEST_F(AppDelegateLifecycleTest, RestoreFromTheMenuNeedsALayoutIdAndShowsItsFailure) {
    launch({"--finder-action"});
    runUntilIdle();
    auto item = platform::MenuItem::make("布局");

    for (std::any junk : {std::any(), std::any(std::string("not-a-uuid")), std::any(42)}) {
        item->setRepresentedObject(junk);
        delegate().restoreWorkspaceFromMenu(*item);
    }
    runUntilIdle();
    EXPECT_EQ(alerts.count(), 0u) << "a malformed request is ignored without a word";

    setup.grantAccessibility();  // without it the restore is refused before the layout is looked for
    item->setRepresentedObject(std::string("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
    delegate().restoreWorkspaceFromMenu(*item);
    EXPECT_EQ(alerts.count(), 0u) << "the alert waits for the menu to have closed";
    runUntilIdle();
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "未找到这个布局。");
    EXPECT_EQ(alerts.last().buttons, std::vector<std::string>{"好"});
    EXPECT_TRUE(application.isActive());
}

TEST_F(AppDelegateLifecycleTest, LaunchAtLoginSwitchesFromTheMenuOrSaysWhy) {
    launch({"--finder-action"});
    runUntilIdle();

    menuBar.click(*delegate().statusItem());
    menus.choose("登录时自动启动");
    EXPECT_TRUE(LaunchAtLoginManager::isEnabled());
    menuBar.click(*delegate().statusItem());
    EXPECT_EQ(menus.find("登录时自动启动")->state(), platform::MenuItemState::on);
    menus.choose("登录时自动启动");
    EXPECT_FALSE(LaunchAtLoginManager::isEnabled());
    EXPECT_EQ(alerts.count(), 0u);

    platform::LoginItemService::shared().setApprovalRequired(true);
    menuBar.click(*delegate().statusItem());
    menus.choose("登录时自动启动");
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "请在系统设置的登录项中允许本应用自动启动。");
}

TEST_F(AppDelegateLifecycleTest, NothingRunsWhileNothingIsSwitchedOn) {
    // The calendar item is on unless switched off, and its day needs the
    // activity timer.
    defaults().set("calendarEnabled", platform::PropertyValue(false));
    // Without trust the main window's permission dot blinks on a timer.
    setup.grantAccessibility();
    launch();
    runUntilIdle();
    advance(5);  // the window's opening animation

    EXPECT_EQ(context().mainQueue().pendingCount(), 0u) << "no timer should wake an idle program";
}

}  // namespace
}  // namespace tallowmere::testing
