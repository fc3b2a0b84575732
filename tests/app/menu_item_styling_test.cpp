#include <gtest/gtest.h>

#include "app/menu_item_styling.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "support/fixture.h"

namespace tallowmere::testing {
namespace {

using namespace platform;

class MenuItemStylingTest : public TallowmereTest {};

TEST_F(MenuItemStylingTest, CountdownTextRoundsUpAndWidensFromAnHour) {
    struct Case {
        double secondsLeft;
        std::optional<std::string> text;
    } cases[] = {
        {3600, "01:00:00"}, {3599, "59:59"},         {0.2, "00:01"},   {59.01, "01:00"},
        {0, std::nullopt},  {-30, std::nullopt},     {1, "00:01"},     {100 * 3600 + 61, "100:01:01"},
    };
    const Date now = Date::fromTimeIntervalSince1970(1'800'000'000);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.secondsLeft);
        EXPECT_EQ(exactCountdownText(now.addingTimeInterval(c.secondsLeft), now), c.text);
    }
}

TEST_F(MenuItemStylingTest, EllipsesLeaveTitlesAndStyledTitlesKeepTheirColours) {
    struct Case {
        std::string title;
        std::string shown;
    } cases[] = {
        {"Custom…", "Custom"}, {"Custom...", "Custom"}, {"自定义…", "自定义"}, {"...", ""}, {"A.. B", "A.. B"},
    };
    auto menu = Menu::make();
    auto submenu = Menu::make();
    for (const auto& c : cases) submenu->addItem(c.title);
    menu->addItem("Parent")->setSubmenu(submenu);
    auto styled = menu->addItem("");
    AttributedString title("保持亮屏… · 01:00", TextAttributes{.foregroundColor = Color::system(SystemColor::label)});
    title.setForegroundColor(*title.find("01:00"), Color::system(SystemColor::blue));
    styled->setAttributedTitle(title);

    removeEllipsesFromMenuTitles(*menu);

    for (std::size_t index = 0; index < std::size(cases); ++index) {
        EXPECT_EQ(submenu->item(index)->displayedTitle(), cases[index].shown) << cases[index].title;
    }
    ASSERT_TRUE(styled->attributedTitle());
    EXPECT_EQ(styled->attributedTitle()->text(), "保持亮屏 · 01:00");
    const auto at = styled->attributedTitle()->find("01:00");
    ASSERT_TRUE(at);
    EXPECT_EQ(styled->attributedTitle()->attributesAt(at->location).foregroundColor,
              Color::system(SystemColor::blue));
}

TEST_F(MenuItemStylingTest, IconsAreDrawnAtMostFourteenPointsInTheMiddleOfSixteen) {
    // A solid 32 × 16 picture becomes 14 × 7, centred: from (1, 4.5) to (15, 11.5).
    Bitmap wide(32, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) wide.setPixel(x, y, Pixel{255, 0, 0, 255});
    }
    Image picture = Image::fromBitmap(wide);
    picture.setTemplate(true);
    picture.setAccessibilityDescription("wide");
    auto menu = Menu::make();
    menu->addItem("wide")->setImage(picture);

    normalizeMenuIcons(*menu);

    const auto& icon = menu->item(0)->image();
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->size(), (Size{16, 16}));
    EXPECT_TRUE(icon->isTemplate());
    EXPECT_EQ(icon->accessibilityDescription(), "wide");
    auto pixels = icon->render(4);
    ASSERT_TRUE(pixels.ok());
    struct Probe {
        double x, yFromTop;
        bool painted;
    } probes[] = {
        {8, 8, true}, {1.5, 8, true}, {14.5, 8, true}, {8, 5, true}, {8, 11, true},
        {0.5, 8, false}, {15.5, 8, false}, {8, 4, false}, {8, 12, false},
    };
    for (const auto& probe : probes) {
        SCOPED_TRACE(::testing::Message() << probe.x << ", " << probe.yFromTop);
        const auto pixel = pixels->pixel(static_cast<int>(probe.x * 4), static_cast<int>(probe.yFromTop * 4));
        EXPECT_EQ(pixel.alpha > 128, probe.painted);
    }
}

TEST_F(MenuItemStylingTest, StatusSuffixTurnsBlueFromTheSeparatorOn) {
    auto item = MenuItem::make("保持亮屏 · 一直亮屏");
    styleActiveStatusSuffix(*item);
    ASSERT_TRUE(item->attributedTitle());
    const auto& title = *item->attributedTitle();
    const auto separator = title.find(" · ");
    ASSERT_TRUE(separator);
    EXPECT_EQ(title.attributesAt(0).foregroundColor, Color::system(SystemColor::label));
    EXPECT_EQ(title.attributesAt(separator->location).foregroundColor, Color::system(SystemColor::blue));
    EXPECT_EQ(title.attributesAt(title.length() - 1).foregroundColor, Color::system(SystemColor::blue));

    auto plain = MenuItem::make("保持亮屏");
    styleActiveStatusSuffix(*plain);
    EXPECT_FALSE(plain->attributedTitle() && !plain->attributedTitle()->empty());
}

TEST_F(MenuItemStylingTest, CountdownValueIsTheLastOccurrenceInSemiboldDigits) {
    auto item = MenuItem::make("00:05 定时关机 · 00:05");
    styleCountdownValue(*item, "00:05");
    ASSERT_TRUE(item->attributedTitle());
    const auto& title = *item->attributedTitle();
    const auto first = title.attributesAt(0);
    const auto last = title.attributesAt(title.length() - 1);
    EXPECT_EQ(first.foregroundColor, Color::system(SystemColor::label));
    EXPECT_EQ(last.foregroundColor, Color::system(SystemColor::blue));
    EXPECT_EQ(last.font, Font::monospacedDigitSystemFont(13, FontWeight::semibold));
}

TEST_F(MenuItemStylingTest, UnknownSymbolsFallBackToACircle) {
    const Image unknown = unifiedMenuIcon("no.such.symbol", "说明");
    EXPECT_TRUE(unknown.isTemplate());
    EXPECT_EQ(unknown.size(), (Size{16, 16}));
    EXPECT_EQ(unknown.accessibilityDescription(), "说明");
    auto drawn = unknown.render(2);
    ASSERT_TRUE(drawn.ok());
    int painted = 0;
    for (int y = 0; y < drawn->pixelsHigh(); ++y) {
        for (int x = 0; x < drawn->pixelsWide(); ++x) painted += drawn->pixel(x, y).alpha > 0;
    }
    EXPECT_GT(painted, 0) << "the circle is drawn in place of the unknown symbol";
}

}  // namespace
}  // namespace tallowmere::testing
