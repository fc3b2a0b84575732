#include "platform/ui/color_panel.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ui/color_well.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

class ColorPanelTest : public testing::DesktopTest {
protected:
    void SetUp() override {
        window->setContentView(View::make(Rect{0, 0, 300, 120}));
        window->contentView()->addSubview(well);
        well->setFrame({20, 20, 44, 23});
        well->onAction = [this](Control&) { ++actions; };
        window->makeKeyAndOrderFront();
    }

    void clickWell() {
        mouse.click(well->convertToScreen(well->bounds().center()));
        runUntilIdle();
    }
    std::size_t beeps() const {
        const auto& played = desktop.sounds().played();
        return static_cast<std::size_t>(std::count(played.begin(), played.end(), SoundOutput::beepName));
    }

    std::shared_ptr<Window> window = Window::make(ScreenRect{200, 200, 300, 120}, WindowStyleMask::titled);
    std::shared_ptr<ColorWell> well = ColorWell::make(*Color::fromHex("#102030"));
    int actions = 0;
};

TEST_F(ColorPanelTest, AClickedWellOpensThePanelOnItsColourAndTakesTheSwatchChosen) {
    auto& panel = ColorPanel::shared();
    EXPECT_FALSE(panel.isVisible());
    clickWell();
    ASSERT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.hexField()->stringValue(), "#102030");

    colorPanel.clickSwatch("#2F7FF0");
    runUntilIdle();
    EXPECT_EQ(well->color().hexString(), "#2F7FF0");
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(panel.hexField()->stringValue(), "#2F7FF0") << "the panel shows the colour in use";
}

TEST_F(ColorPanelTest, ATypedHexColoursTheWellAndATypoChangesNothing) {
    clickWell();
    struct Case {
        const char* typed;
        const char* expected;
        int actions;
        std::size_t beeps;
    } cases[] = {
        {"#12ab34", "#12AB34", 1, 0},
        {" 0A0B0C ", "#0A0B0C", 2, 0},
        {"#12ab3", "#0A0B0C", 2, 1},
        {"blue", "#0A0B0C", 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        colorPanel.typeHex(c.typed);
        runUntilIdle();
        EXPECT_EQ(well->color().hexString(), c.expected);
        EXPECT_EQ(actions, c.actions);
        EXPECT_EQ(beeps(), c.beeps);
        EXPECT_EQ(ColorPanel::shared().hexField()->stringValue(), c.expected);
    }
}

TEST_F(ColorPanelTest, WithoutAnActiveWellAChoiceOnlyChangesThePanel) {
    clickWell();
    well->deactivate();
    colorPanel.clickSwatch("#E5483D");
    runUntilIdle();
    EXPECT_EQ(ColorPanel::shared().color().hexString(), "#E5483D");
    EXPECT_EQ(well->color().hexString(), "#102030");
    EXPECT_EQ(actions, 0);
}

}  // namespace
}  // namespace tallowmere::platform
