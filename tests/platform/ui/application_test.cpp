#include <gtest/gtest.h>

#include "platform/ui/application.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

// Writes down what the application told it, with the Apple event current
// at the time.
class RecordingDelegate final : public ApplicationDelegate {
public:
    void applicationWillFinishLaunching() override { log.push_back("willFinishLaunching"); }
    void applicationDidFinishLaunching() override { log.push_back("didFinishLaunching"); }
    void applicationOpenURLs(const std::vector<std::string>& urls) override {
        for (const auto& url : urls) log.push_back("open " + url + eventName());
    }
    bool applicationShouldHandleReopen(bool) override {
        log.push_back("reopen" + eventName());
        return Application::shared().currentAppleEventID() != AppleEventID::getURL;
    }
    void applicationDidBecomeActive() override { log.push_back("didBecomeActive"); }
    void applicationDidResignActive() override { log.push_back("didResignActive"); }
    void applicationWillTerminate() override { log.push_back("willTerminate"); }

    std::vector<std::string> log;

private:
    static std::string eventName() {
        auto id = Application::shared().currentAppleEventID();
        if (id == AppleEventID::getURL) return " (GURL)";
        if (id == AppleEventID::reopenApplication) return " (rapp)";
        return "";
    }
};

class ApplicationTest : public testing::DesktopTest {
protected:
    void SetUp() override { application.setDelegate(delegate); }
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
};

TEST_F(ApplicationTest, URLsBeforeLaunchArriveAfterDidFinishLaunchingInsideAGetURLEvent) {
    application.receiveURLOpenEvent({"tallowmere-finder://terminal?directory=/tmp", "tallowmere-finder://copyPath"});
    EXPECT_TRUE(delegate->log.empty());
    application.run();
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"willFinishLaunching", "didFinishLaunching",
                                                       "open tallowmere-finder://terminal?directory=/tmp (GURL)",
                                                       "open tallowmere-finder://copyPath (GURL)"}));
    EXPECT_FALSE(application.currentAppleEventID());
}

TEST_F(ApplicationTest, URLOpenOfARunningProgramIsFollowedByAReopenInsideTheSameEvent) {
    application.finishLaunching();
    delegate->log.clear();
    application.receiveURLOpenEvent({"tallowmere-finder://newFile"});
    EXPECT_TRUE(application.receiveReopenEvent());
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"open tallowmere-finder://newFile (GURL)", "reopen (GURL)",
                                                       "reopen (rapp)"}));
}

TEST_F(ApplicationTest, TerminateTellsTheDelegateOnceAndStops) {
    application.finishLaunching();
    application.terminate();
    application.terminate();
    EXPECT_EQ(std::count(delegate->log.begin(), delegate->log.end(), "willTerminate"), 1);
    EXPECT_EQ(application.state(), Application::State::terminated);
    application.receiveURLOpenEvent({"tallowmere-finder://late"});
    EXPECT_EQ(delegate->log.back(), "willTerminate");
}

TEST_F(ApplicationTest, ActivationPolicyIsTheDesktopsRecordOfTheProgram) {
    auto running = desktop.currentApplication().runningApplication();
    ASSERT_TRUE(running);
    for (auto policy : {ActivationPolicy::accessory, ActivationPolicy::regular, ActivationPolicy::prohibited}) {
        SCOPED_TRACE(static_cast<int>(policy));
        application.setActivationPolicy(policy);
        EXPECT_EQ(application.activationPolicy(), policy);
        EXPECT_EQ(running->activationPolicy(), policy);
    }
}

TEST_F(ApplicationTest, ActivationFollowsTheFrontmostApplication) {
    application.activate(true);
    EXPECT_TRUE(application.isActive());
    EXPECT_EQ(desktop.frontmostApplication().get(), &desktop.currentApplication());
    delegate->log.clear();

    auto other = desktop.addApplication({.bundleIdentifier = "com.example.browser", .name = "Browser"});
    ASSERT_TRUE(other);
    (*other)->runningApplication()->activate({.ignoringOtherApps = true});
    EXPECT_FALSE(application.isActive());
    application.activate(true);
    EXPECT_TRUE(application.isActive());
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"didResignActive", "didBecomeActive"}));
}

TEST_F(ApplicationTest, HideTakesTheWindowsAwayAndUnhideBringsThemBack) {
    auto window = Window::make(ScreenRect{100, 100, 400, 300}, WindowStyleMask::titled);
    auto hiddenBefore = Window::make(ScreenRect{100, 100, 400, 300}, WindowStyleMask::titled);
    window->orderFront();
    application.hide();
    EXPECT_FALSE(window->isVisible());
    application.unhide();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(hiddenBefore->isVisible());
}

TEST_F(ApplicationTest, CurrentEventIsSetWhileAnEventIsHandled) {
    auto window = Window::make(ScreenRect{100, 100, 400, 300}, WindowStyleMask::titled);
    window->orderFront();
    std::optional<EventType> seen;
    EventMonitors::shared().addLocalMonitor(eventMask(EventType::rightMouseUp), [&](const Event& event) {
        if (auto* current = application.currentEvent()) seen = current->type;
        return std::optional<Event>(event);
    });
    desktop.post(Event::mouse(EventType::rightMouseDown, {200, 200}));
    desktop.post(Event::mouse(EventType::rightMouseUp, {200, 200}));
    EXPECT_EQ(seen, EventType::rightMouseUp);
    EXPECT_EQ(application.currentEvent(), nullptr);
}

}  // namespace
}  // namespace tallowmere::platform
