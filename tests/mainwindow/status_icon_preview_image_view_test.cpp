#include "mainwindow/status_icon_preview_image_view.h"

#include <gtest/gtest.h>

#include "platform/gfx/image.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::ScreenPoint;
using platform::ScreenRect;

TEST(StatusIconPreviewPlacementTest, BelowRightOfThePointerAndKeptOnTheScreen) {
    const ScreenRect visible{0, 0, 1440, 875};
    struct Case {
        const char* what;
        ScreenPoint pointer;
        ScreenPoint origin;
    } cases[] = {
        {"room below", {500, 600}, {514, 286}},
        {"near the bottom: above instead", {500, 200}, {514, 214}},
        {"near the right edge: shifted left", {1300, 600}, {1140, 286}},
        {"near the top right corner", {1430, 870}, {1140, 556}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(StatusIconPreviewImageView::previewOrigin(c.pointer, visible), c.origin);
    }
}

class StatusIconPreviewTest : public testing::DesktopTest {
protected:
    StatusIconPreviewTest() {
        preview->setImage(platform::Image::withHandler({22, 22}, [](platform::Canvas&, platform::Rect) { return true; }));
        preview->setFrame({100, 100, 28, 28});
        content->addSubview(preview);
        window->setContentView(content);
        window->orderFront();
        mouse.moveTo({50, 50});
    }
    ScreenPoint centre() { return preview->convertToScreen(preview->bounds()).center(); }

    std::shared_ptr<platform::Window> window =
        platform::Window::make(ScreenRect{200, 300, 400, 300}, platform::WindowStyleMask::titled);
    std::shared_ptr<platform::View> content = platform::View::make();
    std::shared_ptr<StatusIconPreviewImageView> preview = StatusIconPreviewImageView::make();
};

TEST_F(StatusIconPreviewTest, RestingTheMouseForASecondShowsThePreviewUntilItLeaves) {
    mouse.moveTo(centre());
    advance(0.9);
    EXPECT_FALSE(preview->previewPanel()) << "not before a second";
    advance(0.2);
    auto panel = preview->previewPanel();
    ASSERT_TRUE(panel);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->ignoresMouseEvents());
    const ScreenPoint pointer = centre();
    EXPECT_EQ(panel->frame(), (ScreenRect{pointer.x + 14, pointer.y - 314, 300, 300}));

    mouse.moveTo({50, 50});
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(preview->previewPanel());
}

TEST_F(StatusIconPreviewTest, LeavingWithinTheSecondShowsNothingAndAClickShowsItAtOnce) {
    mouse.moveTo(centre());
    advance(0.5);
    mouse.moveTo({50, 50});
    advance(2);
    EXPECT_FALSE(preview->previewPanel());

    mouse.click(centre());
    EXPECT_TRUE(preview->previewPanel());
    EXPECT_FALSE(preview->hasPendingPreview());
}

TEST_F(StatusIconPreviewTest, NoPreviewOutsideAWindow) {
    preview->removeFromSuperview();
    preview->mouseDown(platform::Event::mouse(platform::EventType::leftMouseDown, centre()));
    EXPECT_FALSE(preview->previewPanel());
}

}  // namespace
}  // namespace tallowmere
