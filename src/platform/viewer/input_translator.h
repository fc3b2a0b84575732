#pragma once

#include "platform/desktop/event.h"
#include "platform/viewer/scroll_phase_synthesizer.h"
#include "platform/viewer/viewer_geometry.h"
#include "platform/viewer/viewer_input.h"

namespace tallowmere::platform {

class Desktop;
class MainQueue;

// Turns what the person does in the viewer's window into the simulated
// desktop's events, on the main queue's thread: the pointer moves or drags,
// presses and releases (the desktop counts the clicks from their times and
// places), wheel notches become coarse scroll steps and a touchpad's smooth
// scrolling a precise scroll gesture with phases, keys get the platform's
// key codes and characters, and modifier keys announce themselves with
// flags-changed events as the platform's do.
class InputTranslator {
  public:
    InputTranslator(Desktop& desktop, MainQueue& queue, ViewerGeometry geometry);
    InputTranslator(const InputTranslator&) = delete;
    InputTranslator& operator=(const InputTranslator&) = delete;

    const ViewerGeometry& geometry() const { return geometry_; }
    void setGeometry(ViewerGeometry geometry) { geometry_ = geometry; }

    void handle(const ViewerInput& input);

  private:
    void pointerMoved(const ViewerInput& input);
    void wheel(const ViewerInput& input);
    void button(const ViewerInput& input, bool pressed);
    void key(const ViewerInput& input, bool pressed);
    void modifiersChanged(ModifierFlags flags, std::uint16_t keyCode, double timestamp);
    void post(Event event);

    Desktop& desktop_;
    ViewerGeometry geometry_;
    ScrollPhaseSynthesizer scroll_;
    // Bit n while the person holds button n, as the desktop counts them.
    unsigned heldButtons_ = 0;
    // The modifiers the last event posted carried.
    ModifierFlags announced_{};
};

}  // namespace tallowmere::platform
