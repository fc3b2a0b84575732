#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "platform/gfx/color.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/modal_response.h"

namespace tallowmere::platform {

class Alert;
class ColorSampler;
class OpenPanel;
class SavePanel;
class Window;

// The person who answers modal questions: alerts, windows run modally, open
// and save panels and the colour sampler. The desktop viewer answers through
// its window; tests install a scripted responder. Each method returns nothing
// when nobody answers, and the caller then takes the question's cancel
// choice, so nothing is done without a person's consent.
class ModalResponder {
public:
    virtual ~ModalResponder() = default;

    // The response of the button pressed (1000 for the first ...). The
    // responder may also tick the suppression box or fill the accessory view.
    virtual std::optional<ModalResponse> answerAlert(Alert& alert) = 0;
    // Runs while `window` is modal; it ends the session by pressing one of
    // the window's buttons (which calls Application::stopModal) or returns
    // false when nobody acts.
    virtual bool answerModalWindow(Window& window) = 0;
    // The chosen files or folders; nothing for Cancel.
    virtual std::optional<std::vector<std::filesystem::path>> answerOpenPanel(OpenPanel& panel) = 0;
    virtual std::optional<std::filesystem::path> answerSavePanel(SavePanel& panel) = 0;
    // The outer optional is whether anyone answered; the inner one is the
    // picked colour, or nothing when the person pressed Escape.
    virtual std::optional<std::optional<Color>> answerColorSampler(ColorSampler& sampler) = 0;
    // The area of the screen dragged out for an interactive capture, in
    // screen space; nothing for Escape or when nobody answers.
    virtual std::optional<ScreenRect> answerScreenArea() { return std::nullopt; }
};

}  // namespace tallowmere::platform
