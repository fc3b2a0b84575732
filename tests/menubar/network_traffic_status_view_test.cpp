#include "menubar/network_traffic_status_view.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fixture.h"

namespace tallowmere {
namespace {

using platform::Point;

class NetworkTrafficStatusViewTest : public testing::TallowmereTest {
protected:
    // Traffic with a VPN column and the player buttons: the buttons start at 87.
    std::shared_ptr<NetworkTrafficStatusView> strip() {
        auto view = NetworkTrafficStatusView::make();
        view->showsCalendar = false;
        view->showsTraffic = true;
        view->vpnUploadValue = "1";
        view->vpnDownloadValue = "2";
        view->showsMediaControls = true;
        view->setFrame({0, 0, 87 + 76, 22});
        view->onMediaAction = [this](MediaControlAction action) { actions.push_back(action); };
        return view;
    }

    std::vector<MediaControlAction> actions;
};

TEST_F(NetworkTrafficStatusViewTest, TheLeadingWidthFollowsWhatIsShown) {
    struct Case {
        const char* name;
        bool calendar, traffic, vpn, icon;
        double leading;
    };
    const Case cases[] = {
        {"nothing", false, false, false, false, 0},
        {"traffic", false, true, false, false, 46},
        {"traffic with VPN", false, true, true, false, 87},
        {"VPN strings without traffic", false, false, true, false, 0},
        {"calendar, icon and traffic", true, true, false, true, 24 + 30 + 46},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        auto view = NetworkTrafficStatusView::make();
        view->showsCalendar = testCase.calendar;
        view->showsTraffic = testCase.traffic;
        if (testCase.vpn) view->vpnUploadValue = view->vpnDownloadValue = "0";
        if (testCase.icon) view->statusIcon = platform::Image::withHandler({24, 24}, [](auto&, auto) { return true; });
        EXPECT_DOUBLE_EQ(view->leadingWidth(), testCase.leading);
    }
}

TEST_F(NetworkTrafficStatusViewTest, ClicksInTheMediaZoneChooseOneOfFourButtons) {
    struct Case {
        double x;  // from the start of the media zone
        MediaControlAction action;
    };
    const Case cases[] = {
        {0, MediaControlAction::previous},     {18.9, MediaControlAction::previous},
        {19, MediaControlAction::playPause},   {38.5, MediaControlAction::next},
        {57.5, MediaControlAction::openPlayer}, {75.9, MediaControlAction::openPlayer},
    };
    auto view = strip();
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.x);
        actions.clear();
        const Point point{87 + testCase.x, 11};
        EXPECT_EQ(view->hitTest(point), view) << "the media zone takes the click";
        view->handleStatusClick(point);
        ASSERT_EQ(actions.size(), 1u) << "the action is sent at once";
        EXPECT_EQ(actions[0], testCase.action);
    }
    actions.clear();
    for (const double x : {10.0, 86.9}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(view->hitTest({x, 11}), nullptr) << "over the rates the status item's button takes the click";
        view->handleStatusClick({x, 11});
    }
    EXPECT_TRUE(actions.empty());
    view->showsMediaControls = false;
    EXPECT_EQ(view->hitTest({90, 11}), nullptr);
    view->setHidden(true);
    view->showsMediaControls = true;
    EXPECT_EQ(view->hitTest({90, 11}), nullptr) << "a hidden strip takes nothing";
}

TEST_F(NetworkTrafficStatusViewTest, ALaterClickKeepsItsOwnHighlight) {
    auto view = strip();
    view->handleStatusClick({87 + 5, 11});
    EXPECT_EQ(view->pressedMediaControlIndex, 0);
    advance(0.1);
    view->handleStatusClick({87 + 40, 11});
    EXPECT_EQ(view->pressedMediaControlIndex, 2);
    advance(0.07);  // the first click's 0.16 s are over
    EXPECT_EQ(view->pressedMediaControlIndex, 2) << "the first expiry cleared the second highlight";
    advance(0.1);
    EXPECT_EQ(view->pressedMediaControlIndex, std::nullopt);
}

TEST_F(NetworkTrafficStatusViewTest, TheCalendarSlotReportsItsBottomMiddle) {
    auto view = strip();
    view->showsCalendar = true;
    std::optional<platform::ScreenPoint> anchor;
    view->onCalendar = [&](platform::ScreenPoint point) { anchor = point; };
    EXPECT_EQ(view->hitTest({5, 5}), view);
    view->handleStatusClick({5, 5});
    ASSERT_TRUE(anchor);
    EXPECT_DOUBLE_EQ(anchor->x, 12);
    EXPECT_DOUBLE_EQ(anchor->y, 0);
    EXPECT_TRUE(actions.empty());
}

}  // namespace
}  // namespace tallowmere
