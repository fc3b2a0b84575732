#pragma once

#include <functional>
#include <memory>

#include "platform/ui/slider.h"
#include "platform/ui/window.h"

namespace tallowmere {

// The web panel's window: a floating panel that takes keys without
// activating the program; Esc asks its owner to hide it.
class MenuBarWebPanel : public platform::Panel {
public:
    MenuBarWebPanel(MakeKey key, platform::ScreenRect contentRect, platform::WindowStyleMask style);

    std::function<void()> onRequestHide;

    bool canBecomeKey() const override { return true; }
    bool canBecomeMain() const override { return false; }
    void cancelOperation() override;
    // Hidden (transparent and click-through), it takes no keys either: they
    // would reach a page nobody sees.
    void sendEvent(const platform::Event& event) override;
};

// The playback bar's seek slider: a click jumps to the clicked place at
// once, measured with 8 pt insets at both ends, then the drag goes on.
class MenuBarWebSeekSlider : public platform::Slider {
public:
    static constexpr double inset = 8;
    static std::shared_ptr<MenuBarWebSeekSlider> make();

    // True while a press on the slider is being tracked.
    bool isTrackingProgress() const { return isTrackingProgress_; }
    // The fraction of the range a point at `x` stands for.
    static double fraction(double x, double width);

    // A 6 pt bar centred in the slider.
    platform::Rect trackRect() const override;
    void mouseDown(const platform::Event& event) override;
    void mouseUp(const platform::Event& event) override;

protected:
    explicit MenuBarWebSeekSlider(platform::Rect frame);

private:
    bool isTrackingProgress_ = false;
};

}  // namespace tallowmere
