#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/alert.h"
#include "platform/ui/modal_responder.h"

namespace tallowmere::testing {

// The person at the simulated Mac, as far as modal questions go: a test
// scripts the answers beforehand, and whatever is asked without a scripted
// answer takes its cancel choice, as with nobody there. Every question is
// recorded so a test can read what was shown.
class ModalScript final : public platform::ModalResponder {
public:
    struct ShownAlert {
        std::string messageText;
        std::string informativeText;
        std::vector<std::string> buttons;
        bool wasScripted = false;
    };
    struct ShownPanel {
        std::string kind;  // "open" or "save"
        std::string title;
        std::string message;
    };

    using AlertAnswer = std::function<std::optional<platform::ModalResponse>(platform::Alert&)>;
    using WindowAnswer = std::function<void(platform::Window&)>;
    using OpenAnswer = std::optional<std::vector<std::filesystem::path>>;
    using SaveAnswer = std::optional<std::filesystem::path>;
    using ColorAnswer = std::optional<platform::Color>;

    std::deque<AlertAnswer> alertAnswers;
    std::deque<WindowAnswer> windowAnswers;
    std::deque<OpenAnswer> openAnswers;
    std::deque<SaveAnswer> saveAnswers;
    std::deque<ColorAnswer> colorAnswers;
    // Areas dragged for an interactive screen capture; nothing is Escape.
    std::deque<std::optional<platform::ScreenRect>> areaAnswers;

    std::vector<ShownAlert> alertsShown;
    std::vector<ShownPanel> panelsShown;
    std::vector<std::string> modalWindowsShown;
    int colorSamplerShownCount = 0;
    int screenAreaAskedCount = 0;

    std::optional<platform::ModalResponse> answerAlert(platform::Alert& alert) override;
    bool answerModalWindow(platform::Window& window) override;
    std::optional<std::vector<std::filesystem::path>> answerOpenPanel(platform::OpenPanel& panel) override;
    std::optional<std::filesystem::path> answerSavePanel(platform::SavePanel& panel) override;
    std::optional<std::optional<platform::Color>> answerColorSampler(platform::ColorSampler& sampler) override;
    std::optional<platform::ScreenRect> answerScreenArea() override;
};

}  // namespace tallowmere::testing
