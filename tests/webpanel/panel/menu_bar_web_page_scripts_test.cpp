#include <gtest/gtest.h>

#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "webpanel/menu_bar_web_page_scripts.h"
#include "webpanel/menu_bar_web_script_message.h"

namespace tallowmere {
namespace {

using platform::WebUserScript;

TEST(MenuBarWebPageScriptsTest, TheProgramsScriptsAreExactAndTheSeekTimeAlwaysHasAPoint) {
    namespace S = MenuBarWebPageScripts;
    EXPECT_EQ(S::allowPlayback(), "window.__tallowmereSetPlaybackAllowed && window.__tallowmereSetPlaybackAllowed(true);");
    EXPECT_EQ(S::setPlaybackAllowed(false),
              "window.__tallowmereSetPlaybackAllowed && window.__tallowmereSetPlaybackAllowed(false);");
    EXPECT_EQ(S::mediaProbe(), "document.querySelector('video,audio') !== null");
    EXPECT_EQ(S::skipAd("ID-1"), "window.__tallowmereSkipAd && window.__tallowmereSkipAd('ID-1');");
    EXPECT_EQ(S::setCompactMedia(false),
              "window.__tallowbySetCompactMedia && window.__tallowbySetCompactMedia(false);");

    // A comma-decimal locale must not reach the page's JavaScript. The test
    // compiles one of its own (`locales` brings the definitions).
    const auto folder = std::filesystem::temp_directory_path() / ("tallowmere-locale-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string command = "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << "cannot make a comma-decimal locale: " << command;
    ::setenv("LOCPATH", folder.c_str(), 1);
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_TRUE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"));
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.1f", 0.5);
    EXPECT_STREQ(printed, "0,5") << "the locale is no comma-decimal one";
    const auto script = S::seek(12.34567);
    std::setlocale(LC_NUMERIC, previous.c_str());
    ::unsetenv("LOCPATH");
    std::filesystem::remove_all(folder);
    EXPECT_NE(script.find("(12.346);"), std::string::npos) << script;
    EXPECT_NE(S::resume(true, "T\"k").find("(true, \"T\\\"k\");"), std::string::npos) << "the token is a JS string";
}

TEST(MenuBarWebPageScriptsTest, EachScriptRunsWhereAndWhenItMust) {
    struct Case {
        const char* name;
        WebUserScript script;
        WebUserScript::InjectionTime time;
        bool mainFrameOnly;
        WebUserScript::World world;
    } cases[] = {
        {"policy: before the page's scripts, every frame", MenuBarWebMediaPolicy::makeScript(),
         WebUserScript::InjectionTime::documentStart, false, WebUserScript::World::page},
        {"ad skipping", MenuBarWebAdSkipping::makeScript(), WebUserScript::InjectionTime::documentEnd, false,
         WebUserScript::World::page},
        {"cursor: apart from the page", MenuBarWebCursorVisibility::makeScript(),
         WebUserScript::InjectionTime::documentEnd, false, WebUserScript::World::defaultClient},
        {"observer: main frame", MenuBarWebPageScripts::mediaObserver("tok"), WebUserScript::InjectionTime::documentEnd,
         true, WebUserScript::World::page},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.script.source.empty());
        EXPECT_EQ(c.script.injectionTime, c.time);
        EXPECT_EQ(c.script.mainFrameOnly, c.mainFrameOnly);
        EXPECT_EQ(c.script.world, c.world);
    }
    EXPECT_NE(MenuBarWebPageScripts::mediaObserver("tok").source.find("(\"tok\");"), std::string::npos);
}

TEST(MenuBarWebScriptMessageTest, OnlyWellFormedMessagesCountAndMediaOnlyWithTheToken) {
    const std::string report = R"({"audioMuted":true,"audioVolume":"loud","available":true,"playing":1,)"
                               R"("duration":30,"currentTime":2.25,"url":"http://a/","token":"tok"})";
    auto parsed = parseMenuBarWebScriptMessage("menuBarWebMedia", report, "tok");
    ASSERT_TRUE(parsed);
    const auto* media = std::get_if<MenuBarWebMediaReport>(&*parsed);
    ASSERT_TRUE(media);
    EXPECT_EQ(media->audioMuted, true);
    EXPECT_FALSE(media->audioVolume) << "a mistyped field counts as absent";
    EXPECT_FALSE(media->playing);
    EXPECT_FALSE(media->audioSuspended);
    EXPECT_EQ(media->duration, 30);
    EXPECT_EQ(media->currentTime, 2.25);
    EXPECT_EQ(media->url, "http://a/");

    struct Case {
        const char* name;
        const char* handler;
        const char* body;
        bool accepted;
    } cases[] = {
        {"no token: another frame", "menuBarWebMedia", R"({"available":true})", false},
        {"a forged token", "menuBarWebMedia", R"({"available":true,"token":"other"})", false},
        {"a token of the wrong type", "menuBarWebMedia", R"({"available":true,"token":1})", false},
        {"a playback error, any value", "menuBarWebMedia", R"({"playbackError":null,"token":"tok"})", true},
        {"not an object", "menuBarWebMedia", R"(["tok"])", false},
        {"not JSON", "menuBarWebMedia", "{", false},
        {"an unknown handler", "probe", R"({"token":"tok"})", false},
        {"intent", "menuBarWebPlaybackIntent", R"({"userInitiated":true})", true},
        {"intent not exactly true", "menuBarWebPlaybackIntent", R"({"userInitiated":"true"})", false},
        {"skip answer", "menuBarWebAdSkip", R"({"request":"r","status":"clicked"})", true},
        {"skip answer without its request", "menuBarWebAdSkip", R"({"status":"clicked"})", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseMenuBarWebScriptMessage(c.handler, c.body, "tok").has_value(), c.accepted);
    }
    EXPECT_TRUE(std::holds_alternative<MenuBarWebPlaybackError>(
        *parseMenuBarWebScriptMessage("menuBarWebMedia", R"({"playbackError":"x","token":"tok"})", "tok")));
}

}  // namespace
}  // namespace tallowmere
