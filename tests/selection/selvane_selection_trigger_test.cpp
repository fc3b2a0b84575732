#include <gtest/gtest.h>

#include "platform/desktop/ax_error.h"
#include "platform/desktop/desktop.h"
#include "platform/system/command_table.h"
#include "platform/system/apple_script_command.h"
#include "platform/system/user_defaults.h"
#include "selection/chrome_selection_style_reader.h"
#include "selection/selvane_exclusions.h"
#include "selection/selvane_selection_bar.h"
#include "support/desktop/desktop_fixture.h"
#include "windows/input_controller.h"
#include "windows/snap_engine.h"

namespace tallowmere {
namespace {

using platform::AXPoint;
using platform::AXRange;
using platform::AXRect;
using platform::ScreenPoint;

constexpr AXRect editorFrame{200, 150, 600, 400};
// The editor's text: one line from the window's top-left corner + (0, 60).
constexpr AXRect textFrame{0, 60, 600, 300};
constexpr const char* editorText = "Hello brave new world";
constexpr std::uint16_t leftArrow = 123;

// A person selecting text with the mouse in another application, with the
// bar switched on, and the trigger following on the virtual clock.
class SelvaneSelectionTriggerTest : public testing::DesktopTest {
protected:
    SelvaneSelectionTriggerTest() {
        setup.grantAccessibility();
        advance(2);  // the person does not act in the first moments after start-up
        controller = InputController::make(std::make_shared<SnapEngine>(), nullptr, bar);
        controller->selvaneEnabled = true;
        controller->updateMouseMonitor();
        editor = setup.addFrontWindow({.bundleIdentifier = "com.example.editor", .name = "Editor"},
                                      {.title = "Notes", .frame = editorFrame});
        const platform::AXFont menlo{"Menlo-Regular", "Menlo", "Menlo", 13, std::nullopt, false};
        text = editor->addElement({.role = platform::AXRole::textArea,
                                   .frame = textFrame,
                                   .value = editorText,
                                   .editable = true,
                                   .styleRuns = {{21, {{platform::AXStringAttribute::font, menlo}}}}});
        text->focus();
    }

    // A point in the editor's text, `x` points from its left edge.
    ScreenPoint inText(double x) const {
        return desktop.screens().toScreen(AXPoint{editorFrame.minX() + x, editorFrame.minY() + textFrame.minY() + 14});
    }
    void dragOverText() { mouse.drag(inText(10), inText(70)); }
    bool shown() { return bar->panel().isVisible(); }
    // A key (an arrow: nothing typed) that went down this long before the
    // read 0.12 s after the release just made; its event arrives late, so
    // its time is exact whatever the drag took.
    void keyDownBeforeFirstRead(double seconds) {
        auto key = platform::Event::key(platform::EventType::keyDown, leftArrow, {}, {});
        key.timestamp = clock().uptime() + InputController::selectionHandOffDelay - seconds;
        desktop.post(key);
    }
    // The font the bar reports; "Unavailable" (the tests speak English) when
    // it was shown without a style.
    const std::string& shownFont() { return bar->panel().selectionFontNameDescription(); }

    std::shared_ptr<SelvaneSelectionBar> bar = std::make_shared<SelvaneSelectionBar>();
    std::shared_ptr<InputController> controller;
    std::shared_ptr<platform::SimulatedWindow> editor;
    std::shared_ptr<platform::SimulatedElement> text;
};

TEST_F(SelvaneSelectionTriggerTest, TheBarFollowsTwoAgreeingReads) {
    dragOverText();
    const std::string selected = text->selectedText();
    ASSERT_FALSE(selected.empty()) << "the drag selected some of the text";
    advance(0.19);
    EXPECT_FALSE(shown()) << "one read is not enough";
    advance(0.02);
    ASSERT_TRUE(shown()) << "the second read at 0.20 s agrees";
    EXPECT_EQ(bar->panel().selectedText(), selected);
    EXPECT_FALSE(bar->panel().isSecureSelection());
    EXPECT_EQ(shownFont(), "Menlo") << "the editor answers its styled text";

    bar->hide();
    mouse.doubleClick(inText(60));
    ASSERT_EQ(text->selectedText(), "brave") << "a double click selects the word";
    advance(0.21);
    ASSERT_TRUE(shown());
    EXPECT_EQ(bar->panel().selectedText(), "brave");
}

TEST_F(SelvaneSelectionTriggerTest, AFirstEmptyReadCostsOneMoreWait) {
    dragOverText();
    const auto range = *text->selectedRange();
    text->setSelectedRange({range.location, 0});  // the application has not settled its selection yet
    advance(0.13);
    text->setSelectedRange(range);
    advance(0.21);  // 0.34 s
    EXPECT_FALSE(shown());
    advance(0.02);  // 0.36 s: attempts at 0.12 (empty), 0.27 and 0.35
    EXPECT_TRUE(shown());
}

TEST_F(SelvaneSelectionTriggerTest, StyleReadsAreRetriedTwice) {
    // The editor answers its text at once but its styles only once it is ready.
    bool stylesReady = false;
    text->setParameterizedAttribute(platform::AXParameterizedAttribute::attributedStringForRange,
                                    [&](const platform::AXValue& range) -> platform::Result<platform::AXValue> {
                                        if (!stylesReady || !range.asRange()) {
                                            return platform::axFailure(platform::AXError::cannotComplete);
                                        }
                                        return platform::AXValue(text->attributedValue().substring(*range.asRange()));
                                    });
    text->setParameterizedAttribute(platform::AXParameterizedAttribute::rtfForRange, [](const platform::AXValue&) {
        return platform::Result<platform::AXValue>(platform::axFailure(platform::AXError::cannotComplete));
    });
    struct Case {
        const char* what;
        bool readyAfterTwoMisses;
        const char* font;
    } cases[] = {
        {"two misses, then the style", true, "Menlo"},
        {"three misses: the bar without style", false, "Unavailable"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        stylesReady = false;
        bar->hide();
        advance(1);
        dragOverText();
        advance(0.21);
        EXPECT_FALSE(shown()) << "the text is stable at 0.20 s, but its style is missing";
        advance(0.08);
        stylesReady = c.readyAfterTwoMisses;
        advance(0.06);  // 0.35 s
        EXPECT_FALSE(shown());
        advance(0.02);  // the third style read at 0.36 s
        ASSERT_TRUE(shown());
        EXPECT_EQ(shownFont(), c.font);
    }
}

TEST_F(SelvaneSelectionTriggerTest, APasswordFieldGivesTheSecureBar) {
    auto password = editor->addElement({.role = platform::AXRole::secureTextField,
                                        .frame = {20, 320, 300, 24},
                                        .value = "hunter2",
                                        .editable = true});
    const ScreenPoint inPassword = desktop.screens().toScreen(AXPoint{editorFrame.minX() + 40, editorFrame.minY() + 332});
    mouse.drag(inPassword, {inPassword.x + 40, inPassword.y});
    password->setSelectedRange({0, 7});
    advance(0.13);
    ASSERT_TRUE(shown()) << "the first read finds the password field";
    EXPECT_TRUE(bar->panel().isSecureSelection());
    EXPECT_EQ(bar->panel().selectedText(), "");
    EXPECT_EQ(shownFont(), "Unavailable");
}

TEST_F(SelvaneSelectionTriggerTest, NoBarWhenTheSelectionIsStaleOrNotWanted) {
    auto other = setup.addApplication({.bundleIdentifier = "com.example.other", .name = "Other"});
    struct Case {
        const char* what;
        std::function<void()> act;
        std::function<void()> undo = [] {};
    } cases[] = {
        {"Command-C 0.1 s after the release",
         [&] {
             dragOverText();
             advance(0.1);
             keyboard.press('c', platform::ModifierFlags{platform::ModifierFlags::command});
         }},
        {"a key exactly 0.45 s before the first read",
         [&] {
             dragOverText();
             keyDownBeforeFirstRead(0.45);
         }},
        {"a new press before the second read",
         [&] {
             dragOverText();
             advance(0.15);
             mouse.press();
             advance(0.2);
             mouse.release();
         }},
        {"another application activated",
         [&] {
             dragOverText();
             advance(0.05);
             desktop.activate(*other);
         },
         [&] { desktop.activate(*editor->application()); }},
        {"the program's own window in front",
         [&] {
             desktop.activate(desktop.currentApplication());
             controller->showSelvaneSelection(inText(40), controller->selvaneSelectionGeneration(),
                                              desktop.currentProcessIdentifier());
         },
         [&] { desktop.activate(*editor->application()); }},
        {"an excluded application",
         [&] {
             SelvaneExclusions::add("com.example.editor", "Editor");
             dragOverText();
         },
         [&] { SelvaneExclusions::remove("com.example.editor"); }},
        {"the exclusion chooser up",
         [&] {
             SelvaneExclusions::setChoosingApplication(true);
             dragOverText();
         },
         [&] { SelvaneExclusions::setChoosingApplication(false); }},
        {"text changing on every read",
         [&] {
             dragOverText();
             text->setSelectedRange({0, 2});
             advance(0.13);
             text->setSelectedRange({0, 3});
             advance(0.08);
             text->setSelectedRange({0, 4});
         }},
        {"whitespace only",
         [&] {
             text->setValue("Hello                 world");
             dragOverText();
             text->setSelectedRange({6, 10});
         },
         [&] { text->setValue(editorText); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bar->hide();
        advance(1);
        c.act();
        advance(1);
        EXPECT_FALSE(shown());
        c.undo();
    }

    // The control case: the same drag, left alone, shows the bar.
    bar->hide();
    advance(1);
    dragOverText();
    keyDownBeforeFirstRead(0.46);
    advance(0.21);
    EXPECT_TRUE(shown()) << "a key 0.46 s before the first read is typing that has ended";
}

// --- The browser --------------------------------------------------------------------------

constexpr const char* pageText = "Read this\nbold claim";

class SelvaneChromeSelectionTest : public SelvaneSelectionTriggerTest {
protected:
    SelvaneChromeSelectionTest() {
        browserWindow = setup.addFrontWindow(
            {.bundleIdentifier = "com.google.Chrome", .name = "Google Chrome", .browser = platform::BrowserScripting{}},
            {.title = "Page", .frame = {700, 200, 600, 400}});
        platform::AXFont heading{"Georgia-Bold", "Georgia", "Georgia Bold", 24, std::nullopt, true};
        page = browserWindow->addElement({.role = "AXWebArea",
                                          .frame = textFrame,
                                          .value = pageText,
                                          .usesTextMarkers = true,
                                          .offersStyledText = false,
                                          .styleRuns = {{10, {{platform::AXStringAttribute::font, heading}}}}});
        page->focus();
    }
    ScreenPoint inPage() const { return desktop.screens().toScreen(AXPoint{740, 280}); }
    void selectOnPage() {
        mouse.drag(inPage(), {inPage().x + 50, inPage().y});
        page->setSelectedRange({5, 15});  // "this\nbold claim"
    }
    void switchChromeReading(bool on) {
        platform::UserDefaults::standard().set(InputController::chromeStyleEnabledKey, platform::PropertyValue(on));
    }

    std::shared_ptr<platform::SimulatedWindow> browserWindow;
    std::shared_ptr<platform::SimulatedElement> page;
};

TEST_F(SelvaneChromeSelectionTest, SwitchedOffTheBarSaysWhereToSwitchItOn) {
    selectOnPage();
    advance(0.37);
    ASSERT_TRUE(shown());
    EXPECT_EQ(bar->panel().selectedText(), "this\nbold claim");
    EXPECT_EQ(shownFont(), "Unavailable");
    EXPECT_EQ(bar->panel().selectionStyleNote(), "文字信息未获取：主界面 → Selvane → 开启引导");
}

TEST_F(SelvaneChromeSelectionTest, SwitchedOnTheBarShowsThePageStyle) {
    switchChromeReading(true);
    selectOnPage();
    advance(0.37);
    ASSERT_TRUE(shown()) << "the page answered after the style reads came back empty";
    EXPECT_EQ(bar->panel().selectionStyleNote(), ChromeSelectionStyleReader::successNote);
    EXPECT_EQ(shownFont(), "Georgia，Helvetica");
    EXPECT_EQ(bar->panel().selectionFontSizeDescriptions(), (std::vector<std::string>{"16px", "24px"}));
}

TEST_F(SelvaneChromeSelectionTest, NoBarWhenThePageSelectionChangedDuringTheRead) {
    switchChromeReading(true);
    // The person selects something else while osascript runs.
    platform::CommandTable::shared().overrideCommand("/usr/bin/osascript", [&](platform::CommandCall& call) {
        page->setSelectedRange({0, 4});
        return platform::AppleScriptCommand::osascript(call);
    });
    selectOnPage();
    advance(1);
    EXPECT_FALSE(shown());
}

}  // namespace
}  // namespace tallowmere
