#pragma once

#include <functional>
#include <optional>

#include "platform/ui/modal_responder.h"

namespace tallowmere::platform {

// The person at the desktop viewer answers modal questions by using them
// on screen: while an alert or a modal window waits, the main queue keeps
// running (the person's input, timers, frames) until one of its buttons
// ends the session; the colour sampler waits for a click on a pixel or
// Escape. If the program terminates meanwhile, nobody answered and the
// question takes its cancel choice. Open and save panels are used the same
// way: the person browses, types a path, and chooses or cancels.
class ViewerModalResponder final : public ModalResponder {
  public:
    // A question came up: the screen should show it now, not after the
    // work that asked it (which waits for the answer).
    std::function<void()> onQuestionShown;
    // The colour sampler came up (true) or went (false).
    std::function<void(bool sampling)> onSamplingChanged;

    // While true, the person's next click picks a colour (`colorPicked`)
    // and Escape gives none; nothing else reaches the desktop.
    bool isSampling() const { return sampling_; }
    void colorPicked(std::optional<Color> color);

    // While true, the person drags out an area of the screen for a capture
    // (`areaChosen`) and Escape gives none.
    std::function<void(bool selecting)> onAreaSelectionChanged;
    bool isSelectingArea() const { return selectingArea_; }
    void areaChosen(std::optional<ScreenRect> area);

    std::optional<ModalResponse> answerAlert(Alert& alert) override;
    bool answerModalWindow(Window& window) override;
    std::optional<std::vector<std::filesystem::path>> answerOpenPanel(OpenPanel& panel) override;
    std::optional<std::filesystem::path> answerSavePanel(SavePanel& panel) override;
    std::optional<std::optional<Color>> answerColorSampler(ColorSampler& sampler) override;
    std::optional<ScreenRect> answerScreenArea() override;

  private:
    // Runs the main queue until `answered`; false when the program is
    // terminating instead. On a virtual clock it runs what is due once.
    bool waitFor(const std::function<bool()>& answered);
    // Waits for the innermost modal session to be stopped.
    std::optional<ModalResponse> waitForSessionResponse();

    bool sampling_ = false;
    std::optional<std::optional<Color>> picked_;
    bool selectingArea_ = false;
    std::optional<std::optional<ScreenRect>> chosenArea_;
};

}  // namespace tallowmere::platform
