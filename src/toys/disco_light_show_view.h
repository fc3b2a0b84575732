#pragma once

#include <functional>
#include <memory>

#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace tallowmere {

// The light-show panel: it keeps exactly the frame asked for, so it can
// cover the whole screen, menu bar included.
class DiscoDisplayPanel : public platform::Panel {
public:
    using Panel::Panel;
    platform::ScreenRect constrainFrameRect(platform::ScreenRect frame,
                                            const std::shared_ptr<platform::Screen>&) const override {
        return frame;
    }
};

// Draws one frame of the show: 14 coloured beams turning about
// `lightOrigin` and 28 drifting spots, for the screen at `screenIndex`.
void paintLightShow(platform::Canvas& canvas, platform::Size size, platform::Point lightOrigin, double phase,
                    int screenIndex);

// The beams and spots over one screen. A click or Escape asks to stop
// (`onStop`), though its panel lets clicks through to what lies below.
class DiscoLightShowView : public platform::View {
public:
    static constexpr int escapeKeyCode = 53;

    static std::shared_ptr<DiscoLightShowView> make(platform::Rect frame);
    explicit DiscoLightShowView(platform::Rect frame);

    int screenIndex = 0;
    platform::Point lightOrigin;
    std::function<void()> onStop;

    double phase() const { return phase_; }
    void setPhase(double phase);

    bool acceptsFirstResponder() const override { return true; }
    void mouseDown(const platform::Event& event) override;
    void keyDown(const platform::Event& event) override;
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;

private:
    double phase_ = 0;
};

}  // namespace tallowmere
