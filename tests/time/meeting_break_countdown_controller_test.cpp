// Writes renderings/time/meeting_break.png under the build folder: one
// break screen, 25 minutes to go.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/alert.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/text_field.h"
#include "support/desktop/desktop_fixture.h"
#include "time/meeting_break_countdown_controller.h"

namespace tallowmere::testing {
namespace {

using platform::Event;
using platform::EventType;

class MeetingBreakTest : public DesktopTest {
protected:
    MeetingBreakCountdownController& breaks() { return MeetingBreakCountdownController::shared(); }

    // The large digits of every break window, in screen order.
    std::vector<std::string> digitsShown() {
        std::vector<std::string> shown;
        for (const auto& window : breaks().windows()) {
            std::vector<std::string> texts;
            collect(*window->contentView(), texts);
            shown.push_back(texts.size() > 1 ? texts[1] : std::string("(no digits)"));
        }
        return shown;
    }
    std::size_t beeps() const {
        const auto& played = desktop.sounds().played();
        return static_cast<std::size_t>(std::count(played.begin(), played.end(), platform::SoundOutput::beepName));
    }

private:
    static void collect(const platform::View& view, std::vector<std::string>& texts) {
        if (auto field = dynamic_cast<const platform::TextField*>(&view)) texts.push_back(field->stringValue());
        for (const auto& child : view.subviews()) collect(*child, texts);
    }
};

TEST_F(MeetingBreakTest, CustomLengthIsAWholeNumberOfMinutesWithinADay) {
    struct Case {
        std::string typed;
        bool accepted;
    } cases[] = {
        {"2.5", false}, {"abc", false}, {"", false}, {"   ", false}, {"0", false}, {"1441", false},
        {"-5", false}, {" 25 ", true}, {"1440", true}, {"1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.typed + "\"");
        const std::size_t before = alerts.count();
        alerts.answerWith([&](platform::Alert& alert) {
            if (auto field = std::dynamic_pointer_cast<platform::TextField>(alert.accessoryView)) {
                field->setStringValue(c.typed);
            }
            return platform::ModalResponses::alertFirstButton;
        });
        breaks().startCustom();
        EXPECT_EQ(alerts.shown()[before].messageText, "自定义会议休息倒计时");
        EXPECT_EQ(breaks().isRunning(), c.accepted);
        if (!c.accepted) {
            ASSERT_EQ(alerts.count(), before + 2) << "the error alert follows";
            EXPECT_EQ(alerts.last().messageText, "时间不正确");
            EXPECT_EQ(alerts.last().informativeText, "请输入 1–1440 之间的整数分钟数。");
        }
        keyboard.press(std::uint16_t{53});
    }
}

TEST_F(MeetingBreakTest, OutOfRangeStartsDoNothing) {
    for (int minutes : {0, -3, 1441}) {
        breaks().start(minutes);
        EXPECT_FALSE(breaks().isRunning()) << minutes;
    }
    breaks().start(125);
    EXPECT_EQ(digitsShown(), std::vector<std::string>{"125:00"}) << "minutes are not capped at 59";
}

TEST_F(MeetingBreakTest, EveryScreenCountsDownTogetherAndFollowsScreenChanges) {
    ASSERT_TRUE(setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false}));
    auto third = setup.addScreen({.frame = {-1280, 0, 1280, 1024}, .isBuiltIn = false});
    ASSERT_TRUE(third);
    breaks().start(10);
    ASSERT_EQ(breaks().windows().size(), 3u);
    for (const auto& window : breaks().windows()) {
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->level(), 1000);
    }
    EXPECT_EQ(digitsShown(), std::vector<std::string>(3, "10:00"));
    advance(61.1);  // a tick after the 61st second
    EXPECT_EQ(digitsShown(), std::vector<std::string>(3, "08:59"));

    desktop.screens().removeScreen(third);
    ASSERT_EQ(breaks().windows().size(), 2u);
    EXPECT_EQ(digitsShown(), std::vector<std::string>(2, "08:59"));
    for (const auto& window : windows.visible()) {
        EXPECT_NE(window->frame().minX(), -1280.0) << "no window is left on the removed screen";
    }
}

TEST_F(MeetingBreakTest, EscapeEndsTheBreakSilentlyAndIsSwallowed) {
    std::vector<int> seenLater;
    breaks().start(5);
    auto later = platform::EventMonitors::shared().addLocalMonitor(
        platform::eventMask(EventType::keyDown), [&](const Event& event) -> std::optional<Event> {
            seenLater.push_back(event.keyCode);
            return event;
        });
    keyboard.press('a');
    EXPECT_TRUE(breaks().isRunning()) << "other keys do not end the break";
    keyboard.press(std::uint16_t{53});
    EXPECT_FALSE(breaks().isRunning());
    EXPECT_TRUE(breaks().windows().empty());
    EXPECT_EQ(beeps(), 0u);
    EXPECT_EQ(std::count(seenLater.begin(), seenLater.end(), 53), 0) << "Escape reached another handler";
    EXPECT_EQ(std::count(seenLater.begin(), seenLater.end(), 0), 1) << "the other key passed on";
    platform::EventMonitors::shared().removeMonitor(*later);
    advance(400);
    EXPECT_EQ(beeps(), 0u);
}

TEST_F(MeetingBreakTest, AtZeroOneBeepAndThePreviousApplicationReturns) {
    auto editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    ASSERT_TRUE(editor);
    desktop.activate(*editor);
    breaks().start(1);
    EXPECT_NE(desktop.frontmostApplication(), editor) << "the break takes the front";
    advance(59.9);
    EXPECT_TRUE(breaks().isRunning());
    advance(0.2);
    EXPECT_FALSE(breaks().isRunning());
    EXPECT_TRUE(breaks().windows().empty());
    EXPECT_EQ(beeps(), 1u);
    EXPECT_EQ(desktop.frontmostApplication(), editor);
}

TEST_F(MeetingBreakTest, TheBeepAndGlassAreHeardAsTheProgramsOwnWaveFiles) {
    std::vector<std::pair<std::string, std::size_t>> heard;
    std::vector<std::string> headers;
    desktop.sounds().onPlay = [&](const std::string& name, const std::vector<std::uint8_t>& wav) {
        heard.emplace_back(name, wav.size());
        headers.emplace_back(wav.begin(), wav.begin() + std::min<std::size_t>(wav.size(), 16));
    };
    breaks().start(1);
    advance(60.2);
    desktop.sounds().playNamed("Glass");
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].first, "beep");
    EXPECT_EQ(heard[1].first, "Glass");
    for (const auto& header : headers) EXPECT_EQ(header, std::string("RIFF", 4) + header.substr(4, 4) + "WAVEfmt ");
    EXPECT_GT(heard[1].second, 44u + 22050u) << "Glass rings for about a second";
}

TEST_F(MeetingBreakTest, RendersLargeWhiteDigitsOnBlack) {
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    breaks().start(25);
    ASSERT_EQ(breaks().windows().size(), 1u);
    const auto& window = *breaks().windows().front();
    const auto frame = window.frame();
    auto made = platform::CairoCanvas::make({frame.width(), frame.height()}, 1);
    ASSERT_TRUE(made.ok());
    auto& canvas = **made;
    canvas.translate(-frame.minX(), -frame.minY());
    platform::ScreenSnapshot::drawOwnWindow(canvas, window);
    const auto bitmap = canvas.bitmap();
    const auto folder = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "time";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(platform::writePng(bitmap, folder / "meeting_break.png").ok());

    const auto corner = bitmap.pixel(5, 5);
    EXPECT_EQ(corner.red + corner.green + corner.blue, 0) << "the screen is black";
    int bright = 0;  // the digits' white, in a band across the middle
    for (int x = 0; x < bitmap.pixelsWide(); x += 2) {
        const auto pixel = bitmap.pixel(x, bitmap.pixelsHigh() / 2);
        if (pixel.red > 200 && pixel.green > 200 && pixel.blue > 200) ++bright;
    }
    EXPECT_GT(bright, 20) << "no large white digits across the middle of the screen";
}

}  // namespace
}  // namespace tallowmere::testing
