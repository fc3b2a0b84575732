#include "quicklaunch/quick_launch_icons.h"

#include <gtest/gtest.h>

#include <functional>

#include "localization/interface_language.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::Bitmap;
using platform::Image;
using platform::Pixel;

// A transparent square with one opaque block from `from` to `to` (inclusive).
Image iconWithBlock(int side, int from, int to, std::uint8_t alpha = 255) {
    Bitmap bitmap(side, side);
    for (int y = from; y <= to; ++y) {
        for (int x = from; x <= to; ++x) bitmap.setPixel(x, y, {200, 30, 30, alpha});
    }
    return Image::fromBitmap(std::move(bitmap));
}

TEST(TrimTransparentPadding, CropsToVisiblePixelsWithATwoPixelMargin) {
    Bitmap corner(100, 100);
    corner.setPixel(99, 99, {0, 0, 0, 9});
    Bitmap offCentre(100, 100);
    offCentre.setPixel(30, 60, {0, 0, 255, 255});
    struct Case {
        const char* name;
        Image image;
        bool unchanged;
        int wide, high;
    } cases[] = {
        {"only alpha 8 counts as transparent", iconWithBlock(100, 10, 80, 8), true, 100, 100},
        {"one alpha-9 pixel in the corner: margin clamped", Image::fromBitmap(corner), false, 3, 3},
        {"one pixel inside", Image::fromBitmap(offCentre), false, 5, 5},
        {"a block with room around it", iconWithBlock(64, 10, 49), false, 44, 44},
        {"1 × 1", iconWithBlock(1, 0, 0), true, 1, 1},
        {"1 pixel high", Image::fromBitmap(Bitmap(40, 1)), true, 40, 1},
        {"a drawing that fails has no pixels",
         Image::withHandler({20, 20}, [](platform::Canvas&, platform::Rect) { return false; }), true, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Image trimmed = trimTransparentPadding(c.image);
        if (c.unchanged) {
            EXPECT_TRUE(trimmed.sharesPictureWith(c.image));
            continue;
        }
        ASSERT_NE(trimmed.bitmap(), nullptr);
        EXPECT_EQ(trimmed.bitmap()->pixelsWide(), c.wide);
        EXPECT_EQ(trimmed.bitmap()->pixelsHigh(), c.high);
        EXPECT_EQ(trimmed.size(), (platform::Size{double(c.wide), double(c.high)})) << "a point per pixel";
    }
    // The pixel keeps its place inside the margin (rows count from the top).
    const Image trimmed = trimTransparentPadding(Image::fromBitmap(offCentre));
    EXPECT_EQ(trimmed.bitmap()->pixel(2, 2), (Pixel{0, 0, 255, 255}));
}

class QuickLaunchIconTest : public testing::DesktopTest {
protected:
    QuickLaunchIconTest() {
        InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese);
        setup.addApplication({.bundleIdentifier = "com.google.Chrome", .name = "Google Chrome",
                              .running = false, .icon = iconWithBlock(64, 10, 49)});
        setup.addApplication({.bundleIdentifier = "com.example.mail", .name = "Mail",
                              .bundlePath = "/Applications/Mail.app", .running = false,
                              .icon = iconWithBlock(32, 4, 27)});
    }
};

TEST_F(QuickLaunchIconTest, EachEntryShowsThePictureOfItsSource) {
    auto entry = [](QuickLaunchKind kind, std::string target, std::optional<std::string> style = std::nullopt,
                    std::optional<std::string> emoji = std::nullopt, std::optional<std::string> bundle = std::nullopt) {
        return QuickLaunchEntry{platform::Uuid::random(), kind, "Name", std::move(target), std::move(bundle),
                                std::move(style), std::move(emoji)};
    };
    enum class Source { emoji, symbol, bitmap };
    struct Case {
        const char* name;
        QuickLaunchEntry entry;
        Source source;
        platform::Size size;
        std::string description = {};
        int pixelsWide = 0;  // for a cropped icon
    } cases[] = {
        {"an emoji beats the style", entry(QuickLaunchKind::website, "https://a.example", "chrome", " 🌈 "),
         Source::emoji, {29, 29}},
        {"a blank emoji falls back to the installed browser's cropped icon",
         entry(QuickLaunchKind::website, "https://a.example", "chrome", "   "), Source::bitmap, {29, 29}, {}, 44},
        {"an unknown style is the globe", entry(QuickLaunchKind::website, "https://a.example", "safari"),
         Source::symbol, {32, 32}, "网页"},
        {"a missing browser is its symbol at 17 pt resized to 29",
         entry(QuickLaunchKind::website, "https://a.example", "firefox"), Source::symbol, {29, 29}, "Firefox"},
        {"information without an emoji is a note", entry(QuickLaunchKind::information, "text"), Source::emoji,
         {29, 29}},
        {"a registered application", entry(QuickLaunchKind::application, "/Applications/Old.app", {}, {}, "com.example.mail"),
         Source::bitmap, {28, 28}, {}, 28},
        {"a lost bundle identifier uses the file's icon",
         entry(QuickLaunchKind::application, "/Applications/Mail.app", {}, {}, "com.example.gone"), Source::bitmap,
         {28, 28}, {}, 28},
        {"a new-file template is a plus named after it", entry(QuickLaunchKind::newFile, ""), Source::symbol,
         {32, 32}, "Name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Image icon = quickLaunchIcon(c.entry);
        EXPECT_EQ(icon.size(), c.size);
        switch (c.source) {
            case Source::emoji: EXPECT_NE(icon.drawHandler(), nullptr) << "drawn at render time"; break;
            case Source::symbol: EXPECT_EQ(icon.accessibilityDescription(), c.description); break;
            case Source::bitmap:
                ASSERT_NE(icon.bitmap(), nullptr);
                EXPECT_EQ(icon.bitmap()->pixelsWide(), c.pixelsWide) << "cropped";
                break;
        }
    }
    EXPECT_EQ(websiteIconStyleImage(WebsiteIconStyle::firefox).size(), (platform::Size{20, 20}))
        << "the 17-point symbol is 20 points square";
    EXPECT_EQ(websiteIconStyleImage(WebsiteIconStyle::chrome).size(), (platform::Size{20, 20}));
}

TEST_F(QuickLaunchIconTest, AnEmojiIsDrawnVisiblyIntoItsSquare) {
    auto rendered = quickLaunchWebsiteEmojiIcon("🌈").render(2);
    ASSERT_TRUE(rendered.ok());
    const Bitmap& bitmap = rendered.value();
    EXPECT_EQ(bitmap.pixelsWide(), 58);
    int visible = 0;
    for (const Pixel& pixel : bitmap.pixels()) visible += pixel.alpha > 0;
    EXPECT_GT(visible, 0);
}

}  // namespace
}  // namespace tallowmere
