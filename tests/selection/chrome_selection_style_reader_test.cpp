#include "selection/chrome_selection_style_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/desktop/desktop.h"
#include "platform/runtime/sleeper.h"
#include "platform/system/command_table.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using Reader = ChromeSelectionStyleReader;
using Style = Reader::Style;

TEST(ChromeSelectionStyleReaderScript, TheAppleScriptsGoldenBytes) {
    std::ifstream file(std::string(TALLOWMERE_SOURCE_DIR) + "/tests/selection/golden/chrome_selection_style.applescript",
                       std::ios::binary);
    std::stringstream golden;
    golden << file.rdbuf();
    EXPECT_EQ(Reader::appleScript(), golden.str());
    // Backslashes are doubled before quotes are escaped, so an escaped quote stays one.
    EXPECT_EQ(Reader::escapedForAppleScript(R"(a\"b)"), R"(a\\\"b)");
    EXPECT_EQ(Reader::escapedForAppleScript("/\\s+/"), "/\\\\s+/");
}

TEST(ChromeSelectionStyleReaderDecode, EveryAnswerGetsItsNote) {
    const std::string ok = R"({"status":"ok","text":"two\n words","styles":[)"
                           R"({"fontFamily":"Georgia","fontSize":"16px","fontWeight":"700","rgba":[255,0,0,255]}]})";
    struct Case {
        const char* what;
        std::string output;
        const char* note;
        bool hasStyles = false;
    } cases[] = {
        {"Automation refused", "SELVANE_ERROR:-1743", Reader::automationNote},
        {"JavaScript from Apple events off", "SELVANE_ERROR:12", Reader::javaScriptNote},
        {"an error number that only starts with 12", "SELVANE_ERROR:123", Reader::failedNote},
        {"no window", "SELVANE_ERROR:no-window", Reader::failedNote},
        {"the Apple event timed out", "SELVANE_ERROR:-1712", Reader::failedNote},
        {"nothing (the watchdog ended osascript)", "", Reader::timeoutNote},
        {"an answer cut short", ok.substr(0, 40), Reader::timeoutNote},
        {"not JSON", "missing value", Reader::timeoutNote},
        {"a style without its rgba", R"({"status":"ok","text":"two words","styles":[{"fontFamily":"A","fontSize":"1px","fontWeight":"400"}]})", Reader::timeoutNote},
        {"a colour byte that is not a whole number", R"({"status":"ok","text":"two words","styles":[{"fontFamily":"A","fontSize":"1px","fontWeight":"400","rgba":[1.5]}]})", Reader::timeoutNote},
        {"no status", R"({"text":"two words"})", Reader::timeoutNote},
        {"frame", R"({"status":"frame"})", Reader::frameNote},
        {"protected", R"({"status":"protected"})", Reader::protectedNote},
        {"limit", R"({"status":"limit"})", Reader::limitNote},
        {"empty", R"({"status":"empty","text":"  ","styles":[]})", Reader::noSelectionNote},
        {"unsupported", R"({"status":"unsupported"})", Reader::noSelectionNote},
        {"ok, but other text", R"({"status":"ok","text":"other words","styles":[{"fontFamily":"A","fontSize":"1px","fontWeight":"400","rgba":[]}]})", Reader::changedNote},
        {"ok, without text", R"({"status":"ok","styles":[{"fontFamily":"A","fontSize":"1px","fontWeight":"400","rgba":[]}]})", Reader::changedNote},
        {"ok, without styles", R"({"status":"ok","text":"two words","styles":[]})", Reader::changedNote},
        {"ok, text differing only in line breaks and spaces", ok, Reader::successNote, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = Reader::decode(c.output, "two words");
        EXPECT_EQ(result.note, c.note);
        EXPECT_EQ(!result.styles.empty(), c.hasStyles);
    }
    EXPECT_EQ(Reader::decode(ok, "two words").styles,
              (std::vector<Style>{{"Georgia", "16px", "700", {255, 0, 0, 255}}}));
    EXPECT_EQ(Reader::normalized("\u3000 a\u00A0\tb\n\nc  "), "a b c") << "every kind of white space";
}

// A browser on the simulated desktop answering through the osascript stand-in.
class ChromeSelectionStyleReaderTest : public testing::DesktopTest {
protected:
    ChromeSelectionStyleReaderTest() {
        window = setup.addFrontWindow(
            {.bundleIdentifier = "com.google.Chrome", .name = "Google Chrome", .browser = platform::BrowserScripting{}},
            {.title = "Page", .frame = {100, 100, 600, 400}});
        const platform::AXFont georgia{"Georgia-Bold", "Georgia", "Georgia Bold", 18, std::nullopt, true};
        const platform::AXColor red{1, 0, 0, 1, platform::AXColorKind::colour};
        page = window->addElement(
            {.role = "AXWebArea",
             .frame = {0, 28, 600, 372},
             .value = "first line\nsecond line",
             .selectedRange = platform::AXRange{6, 11},  // "line\nsecond"
             .usesTextMarkers = true,
             .offersStyledText = false,
             .styleRuns = {{11, {{platform::AXStringAttribute::font, georgia},
                                 {platform::AXStringAttribute::foregroundColor, red}}}}});
        page->focus();
        app = window->application();
    }
    void setBrowser(platform::BrowserScripting browser) { app->setBrowserScripting(browser); }

    std::shared_ptr<platform::SimulatedWindow> window;
    std::shared_ptr<platform::SimulatedApplication> app;
    std::shared_ptr<platform::SimulatedElement> page;
};

TEST_F(ChromeSelectionStyleReaderTest, EveryNoteThroughTheBrowser) {
    const Style georgia{"Georgia", "18px", "700", {255, 0, 0, 255}};
    const Style helvetica{"Helvetica", "16px", "400", {0, 0, 0, 255}};
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* note;
        std::vector<Style> styles = {};
        std::string expected = "line second";  // as Accessibility reads it
    } cases[] = {
        // In this order: the later cases leave the browser without its page.
        {"the page's selection, its line break read as a space", [] {}, Reader::successNote, {georgia, helvetica}},
        {"a selection that changed", [&] { page->setSelectedRange({6, 4}); }, Reader::changedNote},
        {"Automation refused", [&] { setBrowser({.automationAllowed = false}); }, Reader::automationNote},
        {"JavaScript from Apple events off", [&] { setBrowser({.javaScriptFromAppleEvents = false}); },
         Reader::javaScriptNote},
        {"a browser that does not answer in 2 s",
         [&] { setBrowser({.responsiveness = platform::BrowserScripting::Responsiveness::slow}); }, Reader::failedNote},
        {"a hung browser", [&] { setBrowser({.responsiveness = platform::BrowserScripting::Responsiveness::hung}); },
         Reader::timeoutNote},
        {"a cross-origin frame", [&] { setBrowser({.focusInCrossOriginFrame = true}); }, Reader::frameNote},
        {"no selection", [&] { page->setSelectedRange({3, 0}); }, Reader::noSelectionNote},
        {"a blank selection", [&] { page->setSelectedRange({5, 1}); }, Reader::noSelectionNote},
        {"more than 200000 code units",
         [&] {
             page->setValue(std::string(200001, 'a'));
             page->setSelectedRange({0, 200001});
         },
         Reader::limitNote},
        {"a password field",
         [&] {
             auto field = window->addElement({.role = platform::AXRole::secureTextField,
                                              .frame = {10, 300, 200, 24},
                                              .value = "secret",
                                              .selectedRange = platform::AXRange{0, 6}});
             field->focus();
         },
         Reader::protectedNote},
        {"no window", [&] { window->close(); }, Reader::failedNote},
        {"the browser not running", [&] { app->terminate(); }, Reader::failedNote},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setBrowser({});
        page->setSelectedRange({6, 11});
        c.arrange();
        const auto result = Reader::readSynchronously(c.expected);
        EXPECT_EQ(result.note, c.note);
        EXPECT_EQ(result.styles, c.styles);
    }
}

TEST_F(ChromeSelectionStyleReaderTest, AHungOsascriptIsEndedAtFourSeconds) {
    setBrowser({.responsiveness = platform::BrowserScripting::Responsiveness::hung});
    EXPECT_EQ(Reader::readSynchronously("line second").note, Reader::timeoutNote);
    EXPECT_EQ(platform::Sleeper::shared().recorded(),
              (std::vector<std::chrono::microseconds>{std::chrono::microseconds(4'000'000)}))
        << "osascript waited until the watchdog's 4 s";
}

TEST_F(ChromeSelectionStyleReaderTest, ProgramsThatFailAreFailedReads) {
    auto& commands = platform::CommandTable::shared();
    commands.overrideCommand(Reader::osascriptPath, std::filesystem::path("/nonexistent/osascript"));
    EXPECT_EQ(Reader::readSynchronously("line second").note, Reader::launchFailedNote);
    // It exits without reading the script: writing it must not end this process.
    commands.overrideCommand(Reader::osascriptPath, std::filesystem::path("/bin/true"));
    EXPECT_EQ(Reader::readSynchronously("line second").note, Reader::timeoutNote);
}

TEST_F(ChromeSelectionStyleReaderTest, TheCompletionRunsOnceOnTheMainQueue) {
    std::vector<Reader::Result> results;
    Reader::read("line second", [&](Reader::Result result) { results.push_back(std::move(result)); });
    EXPECT_TRUE(results.empty()) << "read returns at once";
    runUntilIdle();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].note, Reader::successNote);
}

}  // namespace
}  // namespace tallowmere
