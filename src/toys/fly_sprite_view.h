#pragma once

#include <functional>
#include <memory>

#include "platform/gfx/image.h"
#include "platform/ui/view.h"

namespace tallowmere {

namespace platform {
class WorkItem;
}

// The content of one buddy panel: draws the creature and takes clicks on it.
// A click squashes it (the squish sound, then gone after `squashedFor`);
// the disco ball instead starts the light show on its screen with one
// click and closes the show and itself with two.
class FlySpriteView : public platform::View {
public:
    static constexpr int discoBallType = 8;
    static constexpr double squashedFor = 0.58;

    static std::shared_ptr<FlySpriteView> make(platform::Rect frame, int buddyType, int buddyStyle, double sizeScale);
    FlySpriteView(platform::Rect frame, int buddyType, int buddyStyle, double sizeScale);
    ~FlySpriteView() override;

    int buddyType() const { return buddyType_; }
    int buddyStyle() const { return buddyStyle_; }
    double sizeScale() const { return sizeScale_; }

    // Removes this buddy; set by the controller.
    std::function<void()> onKilled;

    // Radians, set by the motion; 0 faces right.
    double heading() const { return heading_; }
    void setHeading(double radians);
    bool isFlying() const { return isFlying_; }
    void setFlying(bool flying);
    bool isAlarmed() const { return isAlarmed_; }
    void setAlarmed(bool alarmed);
    bool isKilled() const { return isKilled_; }

    void mouseDown(const platform::Event& event) override;
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;

private:
    void squash();
    void cancelPendingDiscoClick();

    int buddyType_;
    int buddyStyle_;
    double sizeScale_;
    double heading_ = 0;
    bool isFlying_ = true;
    bool isAlarmed_ = false;
    bool isKilled_ = false;
    std::shared_ptr<platform::WorkItem> pendingDiscoClick_;
    // Loaded at the first drawing that needs it; none for types without one.
    std::optional<platform::Image> buddyIllustration_;
    bool illustrationLoaded_ = false;
};

}  // namespace tallowmere
