// Pictures of the panel and the strip under the build folder
// (renderings/quicklaunch), for a person to look at; the checks make sure
// each picture shows what it should.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/persistent_configuration.h"
#include "localization/interface_language.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/ui/screen_snapshot.h"
#include "quicklaunch/quick_launch_icon_strip_view.h"
#include "quicklaunch/quick_launch_panel.h"
#include "quicklaunch/quick_launch_store.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::Bitmap;

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "quicklaunch";
constexpr double margin = 20, scale = 2;

class QuickLaunchRenderingTest : public testing::DesktopTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(renderings);
        context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
        InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese);
    }

    // One entry of each kind, a website with an emoji and one with a style.
    std::vector<QuickLaunchEntry> entries() {
        Bitmap icon(64, 64);
        for (int y = 8; y < 56; ++y) {
            for (int x = 8; x < 56; ++x) icon.setPixel(x, y, {40, 140, 220, 255});
        }
        setup.addApplication({.bundleIdentifier = "com.example.mail", .name = "Mail",
                              .bundlePath = "/Applications/Mail.app", .running = false,
                              .icon = platform::Image::fromBitmap(icon)});
        auto entry = [](QuickLaunchKind kind, std::string name, std::string target,
                        std::optional<std::string> bundle = std::nullopt, std::optional<std::string> style = std::nullopt,
                        std::optional<std::string> emoji = std::nullopt) {
            return QuickLaunchEntry{platform::Uuid::random(), kind, std::move(name), std::move(target),
                                    std::move(bundle), std::move(style), std::move(emoji)};
        };
        return {
            entry(QuickLaunchKind::application, "邮件", "/Applications/Mail.app", "com.example.mail"),
            entry(QuickLaunchKind::website, "搜索", "https://www.example.com/", std::nullopt, "firefox"),
            entry(QuickLaunchKind::website, "彩虹", "https://rainbow.example/", std::nullopt, "chrome", "🌈"),
            entry(QuickLaunchKind::information, "地址", "北京市"),
            entry(QuickLaunchKind::file, "笔记", (home() / "notes.txt").string()),
            entry(QuickLaunchKind::newFile, "新文本", ""),
        };
    }
};

TEST_F(QuickLaunchRenderingTest, PanelWithATileOfEachKind) {
    const std::string json = *QuickLaunchEntryCoding::encode(entries());
    PersistentConfiguration::shared().setQuickLaunchData(platform::Data(json.begin(), json.end()));
    QuickLaunchPanel panel(std::make_shared<QuickLaunchStore>());
    ASSERT_TRUE(panel.show({720, 700}, setup.primaryScreen(), QuickLaunchPanel::Trigger::menuBarDoubleClick));
    const auto frame = panel.panel()->frame();
    auto made = platform::CairoCanvas::make({frame.width() + 2 * margin, frame.height() + 2 * margin}, scale);
    ASSERT_TRUE(made.ok());
    auto& canvas = **made;
    canvas.setFillColor(platform::ScreenSnapshot::desktopColor);
    canvas.fillRect({0, 0, frame.width() + 2 * margin, frame.height() + 2 * margin});
    canvas.translate(margin - frame.minX(), margin - frame.minY());
    platform::ScreenSnapshot::drawOwnWindow(canvas, *panel.panel());
    const Bitmap bitmap = canvas.bitmap();
    ASSERT_TRUE(platform::writePng(bitmap, renderings / "panel.png").ok());
    // The panel's fill differs from the desktop around it.
    const auto inside = bitmap.pixel(static_cast<int>((margin + frame.width() / 2) * scale), static_cast<int>((margin + 5) * scale));
    const auto outside = bitmap.pixel(2, 2);
    EXPECT_NE(inside, outside);
}

TEST_F(QuickLaunchRenderingTest, StripWithASelection) {
    auto strip = QuickLaunchIconStripView::make({{0, 0}, {460, 78}});
    const auto list = entries();
    strip->update(list);
    strip->setSelected(list[2].id);
    auto made = platform::CairoCanvas::make({strip->frame().width(), strip->height()}, scale);
    ASSERT_TRUE(made.ok());
    auto& canvas = **made;
    canvas.setFillColor(platform::Color::white());
    canvas.fillRect({0, 0, strip->frame().width(), strip->height()});
    strip->display(canvas);
    const Bitmap bitmap = canvas.bitmap();
    ASSERT_TRUE(platform::writePng(bitmap, renderings / "strip.png").ok());
    // The selected item is tinted, an unselected one is not.
    auto cornerOf = [&](std::size_t index) {
        const auto rect = strip->items()[index]->convert(strip->items()[index]->bounds(), strip.get());
        return bitmap.pixel(static_cast<int>((rect.minX() + 6) * scale),
                            static_cast<int>((strip->height() - rect.minY() - 6) * scale));
    };
    EXPECT_NE(cornerOf(2), cornerOf(3));
    EXPECT_EQ(cornerOf(3), (platform::Pixel{255, 255, 255, 255}));
}

}  // namespace
}  // namespace tallowmere
