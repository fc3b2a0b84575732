// Also writes pictures a person can look at, under the build folder:
//   renderings/toys/poetry_header.png            the header, pointer outside
//   renderings/toys/poetry_header_hovered.png    with the arrows and actions
//   renderings/toys/poetry_header_seal_0.png     a reviewed poem, seal style 0
//   renderings/toys/poetry_header_seal_1.png     the same, seal style 1
//   renderings/toys/poetry_history.png           "鉴赏录" with three poems
#include "toys/poetry_header_view.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <functional>

#include "platform/base/property_value.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/png.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"
#include "toys/poetry_collection.h"
#include "toys/poetry_history_panel.h"
#include "toys/poetry_review_button.h"
#include "toys/poetry_review_record.h"
#include "toys/poetry_reviewed_seal_view.h"

namespace tallowmere::testing {
namespace {

using platform::PropertyValue;
using platform::UserDefaults;
namespace Record = PoetryReviewRecord;

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "toys";

class PoetryHeaderTest : public DesktopTest {
protected:
    PoetryHeaderTest() { UserDefaults::standard().set("interfaceLanguage", std::string("zh-Hans")); }

    // The header in a window of its own, as the main window will place it.
    std::shared_ptr<PoetryHeaderView> showHeader() {
        window = platform::Window::make(platform::ScreenRect{300, 500, 720, 140},
                                        platform::WindowStyleMask{platform::WindowStyleMask::borderless});
        window->setBackgroundColor(platform::Color::calibratedRGB(0.98, 0.96, 0.92));
        auto content = platform::View::make({0, 0, 720, 140});
        window->setContentView(content);
        auto header = PoetryHeaderView::make({20, 8, 680, 124});
        content->addSubview(header);
        window->orderFront();
        content->layoutSubtreeIfNeeded();
        header->updateTrackingAreas();
        runUntilIdle();
        return header;
    }
    platform::ScreenPoint centreOf(const platform::View& view) {
        const auto b = view.bounds();
        return view.convertToScreen(platform::Point{b.midX(), b.midY()});
    }
    void hover(const PoetryHeaderView& header) { mouse.moveTo(centreOf(header)); }
    void leave() { mouse.moveTo({50, 50}); }
    static bool shown(const platform::View& view) { return !view.isHidden() && view.alphaValue() > 0.99; }
    void write(const platform::Window& shownWindow, const char* name) {
        std::filesystem::create_directories(renderings);
        shownWindow.contentView()->layoutSubtreeIfNeeded();
        const auto frame = shownWindow.frame();
        auto made = platform::CairoCanvas::make({frame.width(), frame.height()}, 2);
        ASSERT_TRUE(made.ok());
        auto& canvas = **made;
        canvas.translate(-frame.minX(), -frame.minY());
        platform::ScreenSnapshot::drawOwnWindow(canvas, shownWindow);
        ASSERT_TRUE(platform::writePng(canvas.bitmap(), renderings / name).ok());
    }

    std::shared_ptr<platform::Window> window;
};

TEST_F(PoetryHeaderTest, StartsFromTheStoredIndex) {
    const auto& entries = PoetryCollection::entries();
    struct Case {
        const char* name;
        std::optional<PropertyValue> stored;
        int shown;
    } cases[] = {
        {"absent", std::nullopt, 0},
        {"400 wraps", PropertyValue(400), 35},
        {"negative", PropertyValue(-7), 0},
        {"364", PropertyValue(364), 364},
        {"a text", PropertyValue("12"), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.stored) {
            UserDefaults::standard().set(Record::indexKey, *c.stored);
        } else {
            UserDefaults::standard().removeObject(Record::indexKey);
        }
        auto header = PoetryHeaderView::make({0, 0, 680, 94});
        EXPECT_EQ(header->currentIndex(), c.shown);
        EXPECT_EQ(header->bodyLabel()->stringValue(), entries[c.shown].excerpt);
        EXPECT_EQ(header->metadataLabel()->stringValue(),
                  "——" + entries[c.shown].author + "《" + entries[c.shown].title + "》");
    }
}

TEST_F(PoetryHeaderTest, StepsWrapAroundAndAreStored) {
    UserDefaults::standard().set(Record::indexKey, PropertyValue(364));
    auto header = PoetryHeaderView::make({0, 0, 680, 94});
    header->showNextPoem();
    EXPECT_EQ(header->currentIndex(), 0);
    EXPECT_EQ(UserDefaults::standard().object(Record::indexKey)->asInteger(), 0);
    header->showPreviousPoem();
    EXPECT_EQ(header->currentIndex(), 364);
    EXPECT_EQ(UserDefaults::standard().object(Record::indexKey)->asInteger(), 364);
    header->showPreviousPoem();
    EXPECT_EQ(PoetryHeaderView::make({0, 0, 680, 94})->currentIndex(), 363) << "a new header starts where this left";
}

TEST_F(PoetryHeaderTest, WritesInTheScriptOfTheInterfaceLanguage) {
    struct Case {
        const char* language;
        const char* excerpt;
        const char* attribution;
    } cases[] = {
        {"zh-Hant-TW", "床前明月光，疑是地上霜。\n舉頭望明月，低頭思故鄉。", "——李白《靜夜思》"},
        {"zh-Hant-HK", "床前明月光，疑是地上霜。\n舉頭望明月，低頭思故鄉。", "——李白《靜夜思》"},
        {"yue", "床前明月光，疑是地上霜。\n舉頭望明月，低頭思故鄉。", "——李白《靜夜思》"},
        {"en", "床前明月光，疑是地上霜。\n举头望明月，低头思故乡。", "——李白《静夜思》"},
        {"zh-Hans", "床前明月光，疑是地上霜。\n举头望明月，低头思故乡。", "——李白《静夜思》"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        UserDefaults::standard().set("interfaceLanguage", std::string(c.language));
        auto header = PoetryHeaderView::make({0, 0, 680, 94});
        EXPECT_EQ(header->bodyLabel()->stringValue(), c.excerpt);
        EXPECT_EQ(header->metadataLabel()->stringValue(), c.attribution);
    }
    UserDefaults::standard().set("interfaceLanguage", std::string("en"));
    EXPECT_EQ(PoetryHeaderView::localizedScript("舉頭望明月"), "举头望明月") << "Traditional text is made Simplified";
}

TEST_F(PoetryHeaderTest, ArrowsComeWithThePointerAndStayIfItReturnsQuickly) {
    auto header = showHeader();
    int notifications = 0;
    bool lastHovering = false;
    auto token = context().notificationCenter().addObserver(
        PoetryHeaderView::hoverStateDidChangeNotification, header.get(), [&](const platform::Notification& note) {
            ++notifications;
            lastHovering = std::any_cast<bool>(note.userInfo.at(PoetryHeaderView::isHoveringKey));
        });
    for (const auto& arrow : {header->previousButton(), header->nextButton()}) {
        EXPECT_TRUE(arrow->isHidden());
        EXPECT_FALSE(arrow->isEnabled());
    }
    hover(*header);
    advance(PoetryHeaderView::arrowsInSeconds);
    EXPECT_TRUE(header->isHovering());
    EXPECT_EQ(notifications, 1);
    EXPECT_TRUE(lastHovering);
    for (const auto& arrow : {header->previousButton(), header->nextButton()}) {
        EXPECT_TRUE(shown(*arrow));
        EXPECT_TRUE(arrow->isEnabled());
    }
    advance(PoetryHeaderView::reviewButtonInSeconds - PoetryHeaderView::arrowsInSeconds);
    EXPECT_TRUE(shown(*header->reviewButton()));
    EXPECT_TRUE(shown(*header->historyButton()));
    write(*window, "poetry_header_hovered.png");

    leave();
    advance(0.2);
    hover(*header);  // back within 0.3 s
    advance(1);
    EXPECT_TRUE(shown(*header->previousButton())) << "the fade-out's end must not hide the arrow shown again";
    EXPECT_TRUE(shown(*header->reviewButton())) << "nor the review button";
    EXPECT_EQ(notifications, 3);

    leave();
    advance(1);
    EXPECT_FALSE(lastHovering);
    for (const auto& view : std::vector<std::shared_ptr<platform::View>>{
             header->previousButton(), header->nextButton(), header->reviewButton(), header->historyButton()}) {
        EXPECT_TRUE(view->isHidden());
    }
    EXPECT_FALSE(header->previousButton()->isEnabled());
    write(*window, "poetry_header.png");
    context().notificationCenter().removeObserver(token);
}

TEST_F(PoetryHeaderTest, AStaleFadeNeverHidesAButtonShownAgain) {
    auto header = showHeader();
    hover(*header);
    advance(1);
    leave();  // the review button starts fading out
    advance(0.3);
    hover(*header);  // and is shown again before the fade ends
    advance(PoetryHeaderView::reviewButtonOutSeconds);
    advance(1);
    EXPECT_FALSE(header->reviewButton()->isHidden());
    EXPECT_TRUE(header->reviewButton()->isEnabled());
}

TEST_F(PoetryHeaderTest, MarkingStampsTheSealOnceAndStoresTheSetSorted) {
    auto header = showHeader();
    hover(*header);
    advance(1);
    header->showNextPoem();
    header->showNextPoem();
    header->reviewButton()->performClick();
    header->showPreviousPoem();
    header->reviewButton()->performClick();
    header->reviewButton()->performClick();  // a second mark of the same poem
    advance(1);
    EXPECT_EQ(header->reviewedIndices(), (std::set<int>{1, 2}));
    const auto stored = UserDefaults::standard().object(Record::reviewedKey);
    ASSERT_TRUE(stored && stored->asArray());
    EXPECT_EQ(*stored->asArray(), (PropertyValue::Array{PropertyValue(1), PropertyValue(2)}));
    EXPECT_TRUE(shown(*header->reviewedSeal()));
    EXPECT_TRUE(header->reviewButton()->isHidden()) << "a marked poem offers no second mark";
    EXPECT_FALSE(header->reviewButton()->isEnabled());
    header->showPreviousPoem();
    EXPECT_TRUE(header->reviewedSeal()->isHidden()) << "poem 0 is not marked";
}

TEST_F(PoetryHeaderTest, TheSealChangesStyleOnlyOnAMarkedPoem) {
    auto header = showHeader();
    // The seal is hidden on an unmarked poem; even a direct click does nothing.
    header->reviewedSeal()->mouseDown({});
    EXPECT_EQ(header->sealStyles()[0], 0);
    EXPECT_FALSE(UserDefaults::standard().object(Record::sealStylesKey));

    hover(*header);
    advance(1);
    header->markCurrentPoemAsReviewed();
    advance(1);
    write(*window, "poetry_header_seal_0.png");
    mouse.click(centreOf(*header->reviewedSeal()));
    advance(1);
    EXPECT_EQ(header->sealStyles()[0], 1);
    EXPECT_EQ(header->reviewedSeal()->styleIndex(), 1);
    const auto stored = UserDefaults::standard().object(Record::sealStylesKey);
    ASSERT_TRUE(stored && stored->asArray());
    EXPECT_EQ(stored->asArray()->size(), 365u);
    EXPECT_EQ((*stored->asArray())[0].asInteger(), 1);
    write(*window, "poetry_header_seal_1.png");
    mouse.click(centreOf(*header->reviewedSeal()));
    EXPECT_EQ(header->sealStyles()[0], 0) << "the two styles alternate";
}

TEST_F(PoetryHeaderTest, StoredRecordsAreCheckedOnLoad) {
    PropertyValue::Array reviewed{PropertyValue(3), PropertyValue(-1), PropertyValue(365), PropertyValue(100000),
                                  PropertyValue("7"), PropertyValue(364), PropertyValue(12.0)};
    UserDefaults::standard().set(Record::reviewedKey, PropertyValue(reviewed));
    PropertyValue::Array styles(400, PropertyValue(0));
    styles[0] = PropertyValue(3);
    styles[1] = PropertyValue("x");
    styles[2] = PropertyValue(-1);
    styles[364] = PropertyValue(1);
    styles[399] = PropertyValue(1);
    UserDefaults::standard().set(Record::sealStylesKey, PropertyValue(styles));

    EXPECT_EQ(Record::loadReviewed(), (std::set<int>{3, 12, 364})) << "only indices of the collection";
    const auto loaded = Record::loadSealStyles();
    ASSERT_EQ(loaded.size(), 365u);
    EXPECT_EQ(loaded[0], 1);
    EXPECT_EQ(loaded[1], 0) << "a non-number is skipped";
    EXPECT_EQ(loaded[2], 1) << "reduced modulo 2, never negative";
    EXPECT_EQ(loaded[364], 1);

    // Of the wrong type: read as absent, replaced at the next change.
    UserDefaults::standard().set(Record::reviewedKey, PropertyValue("3,4"));
    auto header = PoetryHeaderView::make({0, 0, 680, 94});
    EXPECT_TRUE(header->reviewedIndices().empty());
    header->markCurrentPoemAsReviewed();
    EXPECT_TRUE(UserDefaults::standard().object(Record::reviewedKey)->asArray());
}

TEST_F(PoetryHeaderTest, TheHistoryListsMarkedPoemsInOrder) {
    auto header = showHeader();
    header->showReviewHistory();
    ASSERT_TRUE(header->historyPanel());
    auto texts = [](const platform::View& root) {
        std::vector<std::string> found;
        std::function<void(const platform::View&)> walk = [&](const platform::View& view) {
            if (auto* label = dynamic_cast<const platform::Label*>(&view)) found.push_back(label->stringValue());
            for (const auto& child : view.subviews()) walk(*child);
        };
        walk(root);
        return found;
    };
    auto shownTexts = texts(*header->historyPanel()->contentView());
    EXPECT_NE(std::find(shownTexts.begin(), shownTexts.end(), PoetryHistoryPanel::emptyLine), shownTexts.end());
    EXPECT_NE(std::find(shownTexts.begin(), shownTexts.end(), "朱印 · 0 首"), shownTexts.end());

    for (int index : {40, 2, 17}) {
        UserDefaults::standard().set(Record::indexKey, PropertyValue(index));
        auto other = PoetryHeaderView::make({0, 0, 680, 94});
        other->markCurrentPoemAsReviewed();
    }
    header = showHeader();
    header->showReviewHistory();
    write(*header->historyPanel(), "poetry_history.png");
    shownTexts = texts(*header->historyPanel()->contentView());
    const auto& entries = PoetryCollection::entries();
    std::vector<std::string> rows;
    for (std::size_t i = 0; i + 1 < shownTexts.size(); ++i) {
        if (shownTexts[i].size() == 2 && std::isdigit(static_cast<unsigned char>(shownTexts[i][0]))) {
            rows.push_back(shownTexts[i] + " " + shownTexts[i + 1]);
        }
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"01 《" + entries[2].title + "》  —— " + entries[2].author,
                                              "02 《" + entries[17].title + "》  —— " + entries[17].author,
                                              "03 《" + entries[40].title + "》  —— " + entries[40].author}));
    EXPECT_EQ(std::find(shownTexts.begin(), shownTexts.end(), PoetryHistoryPanel::emptyLine), shownTexts.end());
    EXPECT_NE(std::find(shownTexts.begin(), shownTexts.end(), "朱印 · 3 首"), shownTexts.end());
    header->closeReviewHistory();
    EXPECT_FALSE(header->historyPanel());
}

// WCAG's contrast ratio of two opaque colours.
double contrast(const platform::Color& a, const platform::Color& b, platform::Appearance appearance) {
    const auto luminance = [&](const platform::Color& colour) {
        const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        const auto v = colour.usingColorSpace(platform::ColorSpace::sRGB).rgba(appearance);
        return 0.2126 * linear(v.red) + 0.7152 * linear(v.green) + 0.0722 * linear(v.blue);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The main window's poem card is the control background, dark in dark mode:
// the poem changes its ink with the appearance and reads well on both.
TEST_F(PoetryHeaderTest, ThePoemReadsOnTheCardInBothAppearances) {
    auto header = showHeader();
    const auto card = platform::Color::system(platform::SystemColor::controlBackground);
    for (const auto appearance : {platform::Appearance::dark, platform::Appearance::light}) {
        SCOPED_TRACE(platform::rawValue(appearance));
        application.setAppearance(appearance);
        ASSERT_TRUE(header->bodyLabel()->textColor() && header->metadataLabel()->textColor());
        EXPECT_GE(contrast(*header->bodyLabel()->textColor(), card, appearance), 10);
        EXPECT_GE(contrast(*header->metadataLabel()->textColor(), card, appearance), 5.5);
    }
    EXPECT_EQ(*header->bodyLabel()->textColor(), platform::Color::black());
}

TEST_F(PoetryHeaderTest, SealPicturesAreClearOutsideTheRedMark) {
    auto seal = PoetryReviewedSealView::make();
    for (int style : {0, 1}) {
        SCOPED_TRACE(style);
        auto image = seal->sealImage(style);
        ASSERT_TRUE(image) << "the bundle ships both seals";
        EXPECT_EQ(image->size().width, 56);
        auto pixels = image->render(1);
        ASSERT_TRUE(pixels.ok());
        int red = 0, clear = 0;
        for (const auto& pixel : pixels->pixels()) {
            if (pixel.alpha < 10) ++clear;
            if (pixel.alpha > 200 && pixel.red > 150 && pixel.green < 80) ++red;
        }
        EXPECT_GT(red, 100) << "the red of the seal stays";
        EXPECT_GT(clear, 50) << "the white paper goes";
    }
}

}  // namespace
}  // namespace tallowmere::testing
