#include "platform/desktop/screen_capture_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/gfx/png.h"
#include "platform/system/process_runner.h"
#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

namespace fs = std::filesystem;
using platform::ProcessRunner;
using platform::ScreenRect;

class ScreenCaptureCommandTest : public SimulatedDesktopTest {
protected:
    platform::ProcessResult capture(std::vector<std::string> arguments) {
        auto ran = ProcessRunner::run({platform::ScreenCaptureCommand::path, std::move(arguments)});
        EXPECT_TRUE(ran.ok());
        return ran.ok() ? *ran : platform::ProcessResult{};
    }
    fs::path file() const { return home() / "shot.png"; }
};

TEST_F(ScreenCaptureCommandTest, RefusesWhatItDoesNotKnow) {
    struct Case {
        std::vector<std::string> arguments;
        const char* error;
    } cases[] = {
        {{"-q", "a.png"}, "illegal option -- q"},
        {{"-i"}, "no file given"},
        {{"-t", "jpg", "a.png"}, "unsupported format jpg"},
        {{"-t"}, "option requires an argument -- t"},
        {{"a.png", "b.png"}, "too many files"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        const auto result = capture(c.arguments);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.standardError.find(c.error), std::string::npos) << result.standardError;
        EXPECT_NE(result.standardError.find("usage: screencapture"), std::string::npos);
    }
}

TEST_F(ScreenCaptureCommandTest, InteractiveTakesTheChosenAreaAndACancelIsNoError) {
    std::optional<ScreenRect> answer = ScreenRect{10.4, 20, 30, 40.6};
    desktop.screenCapture().chooseArea = [&] { return answer; };
    EXPECT_EQ(capture({"-ix", file().string()}).status, 0);
    auto saved = platform::readPng(file());
    ASSERT_TRUE(saved.ok());
    const double scale = desktop.screens().primaryScreen()->backingScaleFactor();
    EXPECT_EQ(saved->pixelsWide(), 31 * scale) << "whole points covering the area";
    EXPECT_TRUE(desktop.sounds().played().empty()) << "-x is silent";

    fs::remove(file());
    answer.reset();
    EXPECT_EQ(capture({"-i", file().string()}).status, 0);
    EXPECT_FALSE(fs::exists(file()));
    desktop.screenCapture().chooseArea = nullptr;  // nobody at the screen
    EXPECT_EQ(capture({"-i", file().string()}).status, 0);
    EXPECT_FALSE(fs::exists(file()));
}

TEST_F(ScreenCaptureCommandTest, WithoutSelectionTakesThePrimaryScreen) {
    EXPECT_EQ(capture({file().string()}).status, 0);
    auto saved = platform::readPng(file());
    ASSERT_TRUE(saved.ok());
    const auto primary = desktop.screens().primaryScreen();
    EXPECT_EQ(saved->pixelsWide(), primary->frame().width() * primary->backingScaleFactor());
    EXPECT_EQ(desktop.sounds().played(), std::vector<std::string>{"Grab"});

    EXPECT_EQ(capture({"-cx"}).status, 0);
    EXPECT_TRUE(desktop.pasteboard().image()) << "-c puts the picture on the pasteboard";
}

}  // namespace
}  // namespace tallowmere::testing
