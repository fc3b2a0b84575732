#include "screen/screen_ruler_controller.h"

#include <gtest/gtest.h>

#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using ScreenRulerControllerTest = testing::DesktopTest;

TEST_F(ScreenRulerControllerTest, CoversEveryScreenUntilEscapeOrReturn) {
    setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false});
    auto& ruler = ScreenRulerController::shared();
    for (const char* key : {"\x1b", "\r"}) {
        SCOPED_TRACE(key[0] == '\r' ? "Return" : "Escape");
        ruler.showFromMenu();
        ruler.showFromMenu();  // a second request while open adds nothing
        ASSERT_EQ(ruler.overlays().size(), 2u);
        EXPECT_EQ(ruler.overlays()[1]->frame(), (platform::ScreenRect{1440, 0, 1920, 1080}));
        EXPECT_TRUE(ruler.overlays()[0]->isVisible());
        auto overlay = ruler.overlays()[0];
        overlay->keyDown(platform::Event::key(platform::EventType::keyDown, 0, key));
        EXPECT_FALSE(ruler.isShowing());
        EXPECT_FALSE(overlay->isVisible());
    }
}

}  // namespace
}  // namespace tallowmere
