#include "platform/ui/window_frame_controls.h"

#include <gtest/gtest.h>

#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

using Button = WindowFrameControls::Button;

class WindowFrameControlsTest : public testing::DesktopTest {
protected:
    std::shared_ptr<Window> makeWindow(WindowStyleMask style) {
        auto window = Window::make(ScreenRect{200, 200, 500, 300}, style);
        auto content = View::make();
        window->setContentView(content);
        window->setMinSize({300, 150});
        window->orderFront();
        return window;
    }
    static constexpr auto everything = WindowStyleMask::titled | WindowStyleMask::closable |
                                       WindowStyleMask::miniaturizable | WindowStyleMask::resizable;
};

TEST_F(WindowFrameControlsTest, TheTitleBarButtonsCloseMinimiseAndFillTheScreen) {
    auto window = makeWindow(WindowStyleMask{everything});
    const auto before = window->frame();
    mouse.click(WindowFrameControls::buttonCentre(window->frame(), Button::fullScreen));
    EXPECT_TRUE(window->isFullScreen());
    mouse.click(WindowFrameControls::buttonCentre(window->frame(), Button::fullScreen));
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_EQ(window->frame(), before);

    mouse.click(WindowFrameControls::buttonCentre(window->frame(), Button::miniaturize));
    EXPECT_TRUE(window->isMiniaturized());
    window->deminiaturize();

    mouse.click(WindowFrameControls::buttonCentre(window->frame(), Button::close));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowFrameControlsTest, AWindowWithoutAnAbilityHasNoLiveButtonForIt) {
    auto window = makeWindow(WindowStyleMask{WindowStyleMask::titled});
    for (auto button : {Button::close, Button::miniaturize, Button::fullScreen}) {
        EXPECT_FALSE(WindowFrameControls::isAvailable(*window, button));
        mouse.click(WindowFrameControls::buttonCentre(window->frame(), button));
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMiniaturized());
    EXPECT_FALSE(window->isFullScreen());
}

TEST_F(WindowFrameControlsTest, DraggingAnEdgeResizesDownToTheMinimumSize) {
    auto window = makeWindow(WindowStyleMask{everything});
    const double height = window->frame().height();  // the content and the title bar
    mouse.drag({698, 350}, {798, 350});
    EXPECT_EQ(window->frame(), (ScreenRect{200, 200, 600, height})) << "the right edge follows the pointer";

    mouse.drag({201, 350}, {701, 350});
    EXPECT_EQ(window->frame(), (ScreenRect{500, 200, 300, height})) << "the left edge stops at the minimum width";

    mouse.drag({600, 201}, {600, 151});
    EXPECT_EQ(window->frame(), (ScreenRect{500, 150, 300, height + 50})) << "the bottom edge";

    auto fixed = makeWindow(WindowStyleMask{WindowStyleMask::titled});
    const auto before = fixed->frame();
    mouse.drag({before.maxX() - 1, before.midY()}, {before.maxX() + 100, before.midY()});
    EXPECT_EQ(fixed->frame(), before) << "a window that is not resizable keeps its size";
}

}  // namespace
}  // namespace tallowmere::platform
