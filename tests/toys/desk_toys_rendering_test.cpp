// Pictures a person can look at, written under the build folder:
//   renderings/toys/buddies.png     the nine creatures (rows, top to bottom) in
//                                   three styles of three columns each: flying,
//                                   alarmed, squashed
//   renderings/toys/light_show.png  one light-show frame on a 1440 × 900 screen
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/ui/bundle_image.h"
#include "support/fixture.h"
#include "toys/buddy_painter.h"
#include "toys/disco_light_show_view.h"

namespace tallowmere::testing {
namespace {

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "toys";
constexpr double cell = 76;

class DeskToysRenderingTest : public TallowmereTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(renderings);
        context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    }
    std::optional<platform::Image> illustration(int type) {
        const auto name = buddyIllustrationName(type);
        return name ? platform::bundleImage(*name, "png") : std::nullopt;
    }
    // One buddy alone in a cell, as its panel shows it.
    platform::Bitmap render(const BuddyLook& look) {
        auto canvas = std::move(platform::CairoCanvas::make({cell, cell}, 1).value());
        const auto picture = illustration(look.type);
        paintBuddy(*canvas, {8, 8, cell - 16, cell - 16}, look, picture ? &*picture : nullptr);
        return canvas->bitmap();
    }
    static int differingPixels(const platform::Bitmap& a, const platform::Bitmap& b) {
        int differing = 0;
        for (int y = 0; y < a.pixelsHigh(); ++y) {
            for (int x = 0; x < a.pixelsWide(); ++x) {
                const auto p = a.pixel(x, y), q = b.pixel(x, y);
                differing += std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue) +
                                     std::abs(p.alpha - q.alpha) > 48
                                 ? 1
                                 : 0;
            }
        }
        return differing;
    }
};

TEST_F(DeskToysRenderingTest, EveryCreatureTurnsAndLooksDifferentFlyingAlarmedAndSquashed) {
    auto sheet = std::move(platform::CairoCanvas::make({cell * 9, cell * 9}, 2).value());
    sheet->setFillColor(platform::Color::sRGB(0.93, 0.94, 0.96));
    sheet->fillRect({0, 0, cell * 9, cell * 9});
    for (int type = 0; type < 9; ++type) {
        if (auto name = buddyIllustrationName(type)) {
            EXPECT_TRUE(illustration(type).has_value()) << "the bundle lacks " << *name;
        }
        for (int style = 0; style < 3; ++style) {
            SCOPED_TRACE("type " + std::to_string(type) + ", style " + std::to_string(style));
            const BuddyLook resting{type, style, 0, false, false, false};
            const BuddyLook looks[] = {
                {type, style, 0, true, false, false},
                {type, style, 0, false, true, false},
                {type, style, 0, false, false, true},
            };
            const auto still = render(resting);
            EXPECT_GT(differingPixels(still, render(BuddyLook{type, style, 1.2, false, false, false})), 20)
                << "it does not turn with its heading";
            const char* states[] = {"flying", "alarmed", "squashed"};
            for (int state = 0; state < 3; ++state) {
                EXPECT_GT(differingPixels(still, render(looks[state])), 20) << states[state] << " looks as at rest";
                const auto picture = illustration(type);
                paintBuddy(*sheet, platform::Rect{(style * 3 + state) * cell, (8 - type) * cell, cell, cell}.insetBy(8, 8),
                           looks[state], picture ? &*picture : nullptr);
            }
        }
    }
    EXPECT_TRUE(platform::writePng(sheet->bitmap(), renderings / "buddies.png").ok());
}

TEST_F(DeskToysRenderingTest, LightShowFrameCoversTheScreenWithBeamsAndSpots) {
    auto canvas = std::move(platform::CairoCanvas::make({1440, 900}, 1).value());
    canvas->setFillColor(platform::Color::sRGB(0.12, 0.14, 0.2));
    canvas->fillRect({0, 0, 1440, 900});
    paintLightShow(*canvas, {1440, 900}, {720, 900 - 24 - 75}, 2.0, 0);
    const auto bitmap = canvas->bitmap();
    EXPECT_TRUE(platform::writePng(bitmap, renderings / "light_show.png").ok());
    int lit = 0, sampled = 0;
    for (int y = 0; y < 900; y += 30) {
        for (int x = 0; x < 1440; x += 30, ++sampled) {
            const auto p = bitmap.pixel(x, y);
            if (p.red + p.green + p.blue > 31 + 36 + 51 + 30) ++lit;
        }
    }
    EXPECT_GT(lit, sampled / 5) << "the beams should light a good part of the screen";
    EXPECT_LT(lit, sampled) << "and leave dark gaps between them";
}

}  // namespace
}  // namespace tallowmere::testing
