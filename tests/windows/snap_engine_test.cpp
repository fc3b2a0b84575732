#include "windows/snap_engine.h"

#include <gtest/gtest.h>

#include <cmath>

#include "localization/interface_language.h"
#include "support/geometry_printing.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::AXRect;

class SnapEngineTest : public testing::DesktopTest {
protected:
    SnapEngine engine;
};

TEST_F(SnapEngineTest, TargetsKeepTheirOrderRawValuesAndTitles) {
    InterfaceLanguage::setCurrent(InterfaceLanguage::english);
    struct Case {
        SnapTarget target;
        const char* rawValue;
        const char* englishTitle;
    } cases[] = {
        {SnapTarget::topLeft, "topLeft", "Top Left"},
        {SnapTarget::top, "top", "Top half of screen"},
        {SnapTarget::topRight, "topRight", "Top Right"},
        {SnapTarget::left, "left", "Left half of screen"},
        {SnapTarget::maximize, "maximize", "Maximize"},
        {SnapTarget::right, "right", "Right half of screen"},
        {SnapTarget::bottomLeft, "bottomLeft", "Bottom Left"},
        {SnapTarget::bottom, "bottom", "Bottom half of screen"},
        {SnapTarget::bottomRight, "bottomRight", "Bottom Right"},
        {SnapTarget::center, "center", "Center"},
    };
    ASSERT_EQ(std::size(cases), allSnapTargets.size());
    for (std::size_t i = 0; i < allSnapTargets.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.rawValue);
        EXPECT_EQ(allSnapTargets[i], c.target) << "declaration order";
        EXPECT_EQ(rawValue(c.target), c.rawValue);
        EXPECT_EQ(snapTargetFromRawValue(c.rawValue), c.target);
        EXPECT_EQ(title(c.target), c.englishTitle);
    }
    for (const char* unknown : {"", "Left", "centre", "maximize "}) {
        EXPECT_EQ(snapTargetFromRawValue(unknown), std::nullopt) << unknown;
    }
}

TEST_F(SnapEngineTest, EveryTargetFillsItsShareOfTheVisibleFrame) {
    // Menu bar on top and a 61 pt Dock on the left leave an odd width:
    // visible frame (61, 24) 1379 × 876 in Accessibility space.
    desktop.screens().setDock({platform::DockEdge::left, 61});
    const AXRect window{300, 200, 500, 400};
    struct Case {
        SnapTarget target;
        AXRect frame;
    } cases[] = {
        {SnapTarget::topLeft, {61, 24, 689, 438}},
        {SnapTarget::top, {61, 24, 1379, 438}},
        {SnapTarget::topRight, {750, 24, 690, 438}},
        {SnapTarget::left, {61, 24, 689, 876}},
        {SnapTarget::maximize, {61, 24, 1379, 876}},
        {SnapTarget::right, {750, 24, 690, 876}},
        {SnapTarget::bottomLeft, {61, 462, 689, 438}},
        {SnapTarget::bottom, {61, 462, 1379, 438}},
        {SnapTarget::bottomRight, {750, 462, 690, 438}},
        // Centred at x 500.5, widened to whole points on both sides.
        {SnapTarget::center, {500, 262, 501, 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(rawValue(c.target)));
        EXPECT_EQ(engine.targetFrame(window, c.target, nullptr), c.frame);
        EXPECT_EQ(engine.targetFrame(window, c.target, setup.primaryScreen()), c.frame);
    }
}

TEST_F(SnapEngineTest, SecondaryScreensUseTheirOwnVisibleFrameInPrimaryCoordinates) {
    auto above = setup.addScreen({.frame = {0, 900, 1440, 900}, .isBuiltIn = false});
    auto right = setup.addScreen({.frame = {1440, 0, 1439, 1080}, .isBuiltIn = false});
    struct Case {
        const char* what;
        AXRect window;
        std::shared_ptr<platform::Screen> screen;
        SnapTarget target;
        AXRect frame;
    } cases[] = {
        {"above: right half", {100, -800, 400, 300}, nullptr, SnapTarget::right, {720, -900, 720, 900}},
        {"above: bottom-left", {100, -800, 400, 300}, nullptr, SnapTarget::bottomLeft, {0, -450, 720, 450}},
        {"right, odd width: left", {1500, 100, 400, 300}, nullptr, SnapTarget::left, {1440, -180, 719, 1080}},
        {"right, odd width: right", {1500, 100, 400, 300}, nullptr, SnapTarget::right, {2159, -180, 720, 1080}},
        {"screen given beats the window's", {100, 100, 400, 300}, right, SnapTarget::maximize,
         {1440, -180, 1439, 1080}},
        {"window on no screen: the main screen", {9000, 9000, 400, 300}, nullptr, SnapTarget::maximize,
         {0, 24, 1440, 876}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(engine.targetFrame(c.window, c.target, c.screen), c.frame);
    }
    (void)above;
}

TEST_F(SnapEngineTest, CentreShrinksALargeWindowButNeverEnlargesOne) {
    desktop.screens().setDock({platform::DockEdge::bottom, 1});  // visible 1440 × 875 at y 24
    struct Case {
        AXRect window;
        AXRect frame;
    } cases[] = {
        {{0, 500, 500, 400}, {470, 261, 500, 401}},
        // 1036.8 × 682.5 centred at (201.6, 120.25), then whole points.
        {{10, 10, 1400, 870}, {201, 120, 1038, 683}},
        {{10, 10, 1400, 300}, {201, 311, 1038, 301}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(engine.targetFrame(c.window, SnapTarget::center, nullptr), c.frame);
    }
}

TEST_F(SnapEngineTest, FractionalScreensStillGiveWholePointFrames) {
    auto odd = setup.addScreen({.frame = {1440, 0.5, 1439.5, 875.25}, .isBuiltIn = false});
    for (SnapTarget target : allSnapTargets) {
        SCOPED_TRACE(std::string(rawValue(target)));
        auto frame = engine.targetFrame({1500, 100, 700.3, 500.7}, target, odd);
        ASSERT_TRUE(frame);
        for (double v : {frame->origin.x, frame->origin.y, frame->size.width, frame->size.height}) {
            EXPECT_EQ(v, std::floor(v));
        }
    }
    EXPECT_EQ(engine.targetFrame({1500, 100, 700, 500}, SnapTarget::right, odd), (AXRect{2159, 24, 721, 876}));
}

TEST_F(SnapEngineTest, NoScreenAtAllGivesNoFrame) {
    desktop.screens().removeScreen(setup.primaryScreen());
    EXPECT_EQ(engine.targetFrame({0, 0, 400, 300}, SnapTarget::maximize, nullptr), std::nullopt);
}

}  // namespace
}  // namespace tallowmere
