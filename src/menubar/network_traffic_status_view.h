#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "menubar/media_control_action.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/image.h"
#include "platform/ui/view.h"

namespace tallowmere {

// The content of the activity status item, one strip drawn left to right:
// the calendar slot, the VPN or proxy column, the icon slot, the physical
// interface's rates, four player buttons and the running timers as text.
// Only the calendar slot and the player buttons take clicks; elsewhere a
// click falls through to the status item's button below. Made by the
// application delegate at its construction and filled by its refresh.
class NetworkTrafficStatusView : public platform::View {
public:
    // Drawing and hit testing share these widths.
    static constexpr double calendarSlotWidth = 24;
    static constexpr double vpnColumnWidth = 41;
    static constexpr double iconSlotWidth = 30;
    static constexpr double physicalColumnWidth = 46;
    static constexpr double mediaControlsWidth = 76;
    // A pressed player button stays highlighted this long.
    static constexpr double pressedHighlightDuration = 0.16;

    static std::shared_ptr<NetworkTrafficStatusView> make();

    std::optional<platform::Image> statusIcon;
    std::optional<platform::Image> statusIconBitmap;
    std::string uploadValue = "0";
    std::string downloadValue = "0";
    std::string uploadUnit = "KB/s";
    std::string downloadUnit = "KB/s";
    // All four present: the VPN or proxy column is shown.
    std::optional<std::string> vpnUploadValue;
    std::optional<std::string> vpnDownloadValue;
    std::optional<std::string> vpnUploadUnit;
    std::optional<std::string> vpnDownloadUnit;
    // The running timers, already joined.
    std::string timedStatus;
    // A player button was clicked.
    std::function<void(MediaControlAction action)> onMediaAction;
    bool showsTraffic = false;
    bool showsMediaControls = false;
    bool showsCalendar = true;
    bool mediaIsPlaying = false;
    std::optional<platform::Image> mediaPlayerIcon;
    // The player button (0 to 3) drawn pressed.
    std::optional<int> pressedMediaControlIndex;
    // The calendar slot was clicked; the point is the slot's bottom middle
    // in screen space.
    std::function<void(platform::ScreenPoint anchor)> onCalendar;

    // Calendar slot + icon slot + the traffic columns: where the player
    // buttons start.
    double leadingWidth() const;
    bool showsVPNColumn() const;

    std::shared_ptr<platform::View> hitTest(platform::Point pointInSuperview) override;
    void mouseDown(const platform::Event& event) override;
    // A click at `point` (view coordinates): the calendar, or a player
    // button highlighted and its action sent at once.
    void handleStatusClick(platform::Point point);
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;

protected:
    NetworkTrafficStatusView();

private:
    platform::Rect calendarRect() const;
    platform::Rect mediaRect() const;
    void drawCalendar(platform::Canvas& canvas) const;
    void drawStatusIcon(platform::Canvas& canvas) const;
    void drawTraffic(platform::Canvas& canvas) const;
    void drawMediaControls(platform::Canvas& canvas) const;
    void drawPlayerButton(platform::Canvas& canvas, double slotX) const;
    void drawTimedStatus(platform::Canvas& canvas) const;
};

}  // namespace tallowmere
