#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/desktop/screen.h"
#include "platform/gfx/image.h"
#include "platform/ui/view.h"

namespace tallowmere {

namespace platform {
class TrackingArea;
class WorkItem;
}

// The small spinning disco ball at the top of a screen. One click (after
// the double-click interval, so a double click never counts as one) runs
// `onActivate`; a double click runs `onDismiss`.
class DiscoBallLauncherView : public platform::View {
public:
    static std::shared_ptr<DiscoBallLauncherView> make(platform::Rect frame);
    explicit DiscoBallLauncherView(platform::Rect frame);
    ~DiscoBallLauncherView() override;

    platform::DisplayID displayID = 0;
    std::function<void()> onActivate;
    std::function<void()> onDismiss;

    double rotation() const { return rotation_; }
    void setRotation(double radians);
    bool isHovering() const { return isHovering_; }
    bool hasPendingSingleClick() const { return pendingSingleClick_ != nullptr; }
    void cancelPendingClick();

    void mouseDown(const platform::Event& event) override;
    void mouseEntered(const platform::Event& event) override;
    void mouseExited(const platform::Event& event) override;
    void updateTrackingAreas() override;
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;

private:
    double rotation_ = 0;
    bool isHovering_ = false;
    std::shared_ptr<platform::TrackingArea> trackingArea_;
    std::shared_ptr<platform::WorkItem> pendingSingleClick_;
    std::optional<platform::Image> discoBallImage_;
    bool imageLoaded_ = false;
};

}  // namespace tallowmere
