#include "menubar/media_control_controller.h"

#include <gtest/gtest.h>

#include "platform/desktop/desktop.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {
namespace {

using platform::ActivationPolicy;
using platform::NowPlayingService;

class MediaControlTest : public DesktopTest {
protected:
    std::shared_ptr<platform::SimulatedApplication> addPlayer(const std::string& identifier, const std::string& name,
                                                              ActivationPolicy policy = ActivationPolicy::regular,
                                                              std::string bundlePath = {}) {
        return setup.addApplication(
            {.bundleIdentifier = identifier, .name = name, .bundlePath = bundlePath, .activationPolicy = policy});
    }
    // The controller made after the scene, as the program makes it on first use.
    MediaControlController& controller() {
        if (!controller_) {
            controller_ = std::make_shared<MediaControlController>();
            controller_->onStateChanged = [this](bool playing, std::optional<platform::Image> icon) {
                shownPlaying = playing;
                shownIcon = icon.has_value();
                ++stateChanges;
            };
        }
        return *controller_;
    }
    // A process starts producing sound.
    platform::AudioObjectID startSound(const platform::SimulatedApplication& app) {
        auto& audio = desktop.audio();
        const auto object = audio.addProcess(app.processIdentifier());
        audio.setRunningOutput(object, true);
        return object;
    }

    std::shared_ptr<MediaControlController> controller_;
    bool shownPlaying = false;
    bool shownIcon = false;
    int stateChanges = 0;
};

TEST_F(MediaControlTest, APlayerThatStartsPlayingIsShownWithinAPoll) {
    auto netease = addPlayer("com.netease.163music", "网易云音乐");
    controller().setMonitoringEnabled(true);
    runUntilIdle();
    startSound(*netease);
    advance(0.25);
    EXPECT_TRUE(shownPlaying);
    EXPECT_TRUE(shownIcon);
    EXPECT_EQ(controller().currentPlayerBundleIdentifier(), "com.netease.163music");
    EXPECT_TRUE(controller().hasCurrentPlayer());
}

TEST_F(MediaControlTest, PlayPauseFlipsAtOnceAndReportsWithinTheHoldDoNotUndoIt) {
    auto netease = addPlayer("com.netease.163music", "网易云音乐");
    auto& nowPlaying = desktop.nowPlaying();
    nowPlaying.setNowPlayingApplication(netease->processIdentifier());
    nowPlaying.setPlaying(false);
    desktop.audio().setSystemVersion({14, 1, 0});  // reports decide the state
    controller().setMonitoringEnabled(true);
    advance(0.3);
    ASSERT_FALSE(shownPlaying);

    const int before = stateChanges;
    controller().perform(MediaControlAction::playPause);
    EXPECT_TRUE(shownPlaying) << "shown playing at once";
    EXPECT_EQ(stateChanges, before + 1);
    EXPECT_EQ(nowPlaying.commandsReceived(), std::vector<int>{2});
    // The player has not caught up: it still reports paused.
    nowPlaying.setPlaying(false);
    advance(1.4);
    EXPECT_TRUE(shownPlaying) << "a report within 1.5 s undid the click";
    advance(1.0);
    EXPECT_FALSE(shownPlaying) << "after the hold the report counts again";

    controller().perform(MediaControlAction::previous);
    controller().perform(MediaControlAction::next);
    EXPECT_EQ(nowPlaying.commandsReceived(), (std::vector<int>{2, 5, 4}));
}

TEST_F(MediaControlTest, SoundComingOutOutranksAReportOfNotPlaying) {
    auto netease = addPlayer("com.netease.163music", "网易云音乐");
    desktop.nowPlaying().setNowPlayingApplication(netease->processIdentifier());
    desktop.nowPlaying().setPlaying(false);
    startSound(*netease);
    controller().setMonitoringEnabled(true);
    advance(0.5);
    EXPECT_TRUE(shownPlaying);
}

TEST_F(MediaControlTest, AHelperProcessPlaysForThePlayerWhoseBundleHoldsIt) {
    struct Case {
        const char* name;
        std::string helperIdentifier;
        std::string helperPath;
    };
    const Case cases[] = {
        {"identifier under the player's", "com.spotify.client.helper", "/Library/Helpers/Helper.app"},
        {"bundle inside the player's", "com.other.renderer", "/Applications/Spotify.app/Contents/Frameworks/Helper.app"},
    };
    addPlayer("com.spotify.client", "Spotify", ActivationPolicy::regular, "/Applications/Spotify.app");
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        auto helper = addPlayer(testCase.helperIdentifier, "Helper " + testCase.helperIdentifier,
                                ActivationPolicy::prohibited, testCase.helperPath);
        controller_.reset();
        controller().setMonitoringEnabled(true);
        const auto object = startSound(*helper);
        advance(0.25);
        EXPECT_EQ(controller().activeAudioPlayerBundleIdentifier(), "com.spotify.client");
        desktop.audio().removeProcess(object);
        controller().setMonitoringEnabled(false);
    }
}

TEST_F(MediaControlTest, TheProgramItselfIsNeverThePlayer) {
    controller().setMonitoringEnabled(true);
    startSound(desktop.currentApplication());
    // Even when the framework names it.
    desktop.nowPlaying().setNowPlayingApplication(desktop.currentProcessIdentifier());
    desktop.nowPlaying().setClient(platform::NowPlayingClient{platform::Desktop::currentBundleIdentifier, {}});
    advance(1.0);
    EXPECT_FALSE(controller().currentPlayerBundleIdentifier());
    EXPECT_FALSE(controller().activeAudioPlayerBundleIdentifier());
    EXPECT_FALSE(shownPlaying);
}

TEST_F(MediaControlTest, EnablingTwiceKeepsOneOfEachAndDisablingRemovesAll) {
    auto netease = addPlayer("com.netease.163music", "网易云音乐");
    auto qq = addPlayer("com.tencent.QQMusicMac", "QQ音乐");
    desktop.audio().addProcess(netease->processIdentifier());
    desktop.audio().addProcess(qq->processIdentifier());
    controller().setMonitoringEnabled(true);
    controller().setMonitoringEnabled(true);
    runUntilIdle();
    EXPECT_TRUE(controller().hasAudioProcessListListener());
    EXPECT_EQ(controller().audioOutputListenerCount(), 2u);
    EXPECT_EQ(desktop.audio().listenerCount(), 3u) << "one list listener and one per process";
    const auto pending = context().mainQueue().pendingCount();
    EXPECT_EQ(pending, 1u) << "one poll timer";

    controller().setMonitoringEnabled(false);
    EXPECT_EQ(desktop.audio().listenerCount(), 0u);
    EXPECT_EQ(controller().audioOutputListenerCount(), 0u);
    EXPECT_FALSE(controller().isMonitoringEnabled());
    runUntilIdle();
    EXPECT_EQ(context().mainQueue().pendingCount(), 0u);

    // A refused registration is not kept; the next enable tries again.
    desktop.audio().setRefusesListeners(true);
    controller().setMonitoringEnabled(true);
    EXPECT_FALSE(controller().hasAudioProcessListListener());
    desktop.audio().setRefusesListeners(false);
    controller().setMonitoringEnabled(true);
    EXPECT_TRUE(controller().hasAudioProcessListListener());
}

TEST_F(MediaControlTest, BeforeAudioProcessesNoListenerIsRegistered) {
    desktop.audio().setSystemVersion({14, 1, 9});
    controller().setMonitoringEnabled(true);
    EXPECT_FALSE(controller().hasAudioProcessListListener());
    EXPECT_EQ(desktop.audio().listenerCount(), 0u);
    EXPECT_TRUE(controller().isMonitoringEnabled());
}

TEST_F(MediaControlTest, WithoutTheFrameworkOnlyTheFlipAndOpeningThePlayerWork) {
    for (const bool frameworkInstalled : {false, true}) {
        SCOPED_TRACE(frameworkInstalled ? "every function missing" : "no framework");
        desktop.nowPlaying().setInstalled(frameworkInstalled);
        for (const auto name : NowPlayingService::functionNames) desktop.nowPlaying().setProvided(name, false);
        controller_.reset();
        shownPlaying = false;
        controller().perform(MediaControlAction::previous);
        controller().perform(MediaControlAction::playPause);
        controller().perform(MediaControlAction::next);
        EXPECT_TRUE(shownPlaying);
        EXPECT_TRUE(desktop.nowPlaying().commandsReceived().empty());
    }
    auto qq = setup.addApplication({.bundleIdentifier = "com.tencent.QQMusicMac", .name = "QQ音乐", .running = false});
    controller().perform(MediaControlAction::openPlayer);
    ASSERT_EQ(desktop.workspace().openedApplications().size(), 1u);
    EXPECT_EQ(desktop.workspace().openedApplications()[0], qq->bundlePath());
}

TEST_F(MediaControlTest, AnActivePlayerIsNotReplacedByAnotherReportedOne) {
    auto netease = addPlayer("com.netease.163music", "网易云音乐");
    auto spotify = addPlayer("com.spotify.client", "Spotify");
    startSound(*netease);
    desktop.nowPlaying().setNowPlayingApplication(spotify->processIdentifier());
    controller().setMonitoringEnabled(true);
    advance(0.5);
    EXPECT_EQ(controller().currentPlayerBundleIdentifier(), "com.netease.163music");
    EXPECT_EQ(controller().mediaRemotePlayerBundleIdentifier(), "com.spotify.client");
}

class PlayerIconTest : public TallowmereTest {};

TEST_F(PlayerIconTest, KnownPlayersHaveTheirBundledPictures) {
    for (const char* identifier : {"com.netease.163music", "com.tencent.QQMusicMac", "com.kugou.mac", "com.apple.Music",
                                   "com.bytedance.qishui.music", "com.luna.music"}) {
        SCOPED_TRACE(identifier);
        EXPECT_TRUE(MediaControlController::bundledPlayerIcon(identifier));
    }
    EXPECT_FALSE(MediaControlController::bundledPlayerIcon("com.spotify.client"));
    EXPECT_FALSE(MediaControlController::bundledPlayerIcon("com.apple.musicx")) << "Apple Music matches exactly";
}

}  // namespace
}  // namespace tallowmere::testing
