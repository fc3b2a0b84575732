#include "platform/ui/views_trace.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "platform/ui/button.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/secure_text_field.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

class ViewsTraceTest : public testing::DesktopTest {
protected:
    // The middle of the frame a line of the listing gives for `what`
    // ("AXPopUpButton \"Light\"", "row \"Dark\""); none when no line has it.
    std::optional<ScreenPoint> listedCentre(const std::string& what) const {
        for (const auto& line : ViewsTrace::describeScreen()) {
            const auto at = line.find(what + " at (");
            if (at == std::string::npos) continue;
            double x = 0, y = 0, width = 0, height = 0;
            if (std::sscanf(line.c_str() + at + what.size(), " at (%lf, %lf, %lf × %lf)", &x, &y, &width, &height) != 4)
                return std::nullopt;
            return ScreenPoint{x + width / 2, y + height / 2};
        }
        return std::nullopt;
    }
};

TEST_F(ViewsTraceTest, ListsWhereShownControlsAndMenuRowsAreSoClicksThereReachThem) {
    auto window = Window::make(ScreenRect{200, 300, 400, 200}, WindowStyleMask::titled);
    window->setTitle("Settings");
    auto content = View::make({0, 0, 400, 200});
    window->setContentView(content);
    auto themes = PopUpButton::make();
    themes->addItems({"System", "Light", "Dark"});
    themes->selectItem(std::optional<std::size_t>(1));
    themes->setFrame({20, 150, 120, 22});
    std::optional<std::size_t> chosen;
    themes->onAction = [&](Control& sender) { chosen = static_cast<PopUpButton&>(sender).indexOfSelectedItem(); };
    content->addSubview(themes);
    auto hidden = Button::make("Hidden");
    hidden->setFrame({20, 100, 80, 22});
    hidden->setHidden(true);
    content->addSubview(hidden);
    // A page beside the shown one, as a paging view keeps it: out of sight.
    auto strip = View::make({0, 0, 400, 60});
    auto nextPage = View::make({400, 0, 400, 60});
    auto next = Button::make("Next page");
    next->setFrame({20, 10, 80, 22});
    nextPage->addSubview(next);
    strip->addSubview(nextPage);
    content->addSubview(strip);
    // Cut by its superview: only the shown half is listed.
    auto half = Button::make("Half");
    half->setFrame({360, 10, 80, 22});
    strip->addSubview(half);
    auto password = SecureTextField::make();
    password->setStringValue("hunter2");
    password->setFrame({200, 150, 120, 22});
    content->addSubview(password);
    auto closed = Window::make(ScreenRect{700, 300, 200, 100}, WindowStyleMask::titled);
    closed->setContentView(View::make({0, 0, 200, 100}));
    closed->contentView()->addSubview(Button::make("Closed"));
    window->makeKeyAndOrderFront();

    const auto number = std::to_string(window->windowNumber());
    EXPECT_EQ(ViewsTrace::describeScreen(),
              (std::vector<std::string>{
                  "\"Settings\" #" + number + " AXPopUpButton \"Light\" at (220, 450, 120 × 22)",
                  "\"Settings\" #" + number + " AXButton \"Half\" at (560, 310, 40 × 22)",
                  "\"Settings\" #" + number + " AXTextField \"\" at (400, 450, 120 × 22)",
              }));

    // A person presses where the pop-up is listed, goes down to the row
    // listed for "Dark" and lets go there.
    const auto popUp = listedCentre("AXPopUpButton \"Light\"");
    ASSERT_TRUE(popUp);
    mouse.moveTo(*popUp);
    mouse.press();
    ASSERT_TRUE(menus.isOpen()) << "no pop-up where the listing put it";
    const auto dark = listedCentre("menu \"\" row \"Dark\"");
    ASSERT_TRUE(dark) << "the open menu's rows are not listed";
    mouse.moveTo(*dark);
    mouse.release();
    EXPECT_EQ(chosen, 2u);
    EXPECT_FALSE(listedCentre("row \"Dark\"")) << "a closed menu has no rows";
}

}  // namespace
}  // namespace tallowmere::platform
