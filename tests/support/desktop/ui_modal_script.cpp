#include "support/desktop/ui_modal_script.h"

#include "platform/ui/file_panel.h"
#include "platform/ui/window.h"

namespace tallowmere::testing {

using namespace platform;

std::optional<ModalResponse> ModalScript::answerAlert(Alert& alert) {
    ShownAlert shown{alert.messageText, alert.informativeText, {}, !alertAnswers.empty()};
    for (const auto& button : alert.buttons()) shown.buttons.push_back(button.title);
    alertsShown.push_back(shown);
    if (alertAnswers.empty()) return std::nullopt;
    auto answer = std::move(alertAnswers.front());
    alertAnswers.pop_front();
    return answer(alert);
}

bool ModalScript::answerModalWindow(Window& window) {
    modalWindowsShown.push_back(window.title());
    if (windowAnswers.empty()) return false;
    auto answer = std::move(windowAnswers.front());
    windowAnswers.pop_front();
    answer(window);
    return true;
}

std::optional<std::vector<std::filesystem::path>> ModalScript::answerOpenPanel(OpenPanel& panel) {
    panelsShown.push_back({"open", panel.title, panel.message});
    if (openAnswers.empty()) return std::nullopt;
    auto answer = std::move(openAnswers.front());
    openAnswers.pop_front();
    return answer;
}

std::optional<std::filesystem::path> ModalScript::answerSavePanel(SavePanel& panel) {
    panelsShown.push_back({"save", panel.title, panel.message});
    if (saveAnswers.empty()) return std::nullopt;
    auto answer = std::move(saveAnswers.front());
    saveAnswers.pop_front();
    return answer;
}

std::optional<std::optional<Color>> ModalScript::answerColorSampler(ColorSampler&) {
    ++colorSamplerShownCount;
    if (colorAnswers.empty()) return std::nullopt;
    auto answer = std::move(colorAnswers.front());
    colorAnswers.pop_front();
    return answer;
}

std::optional<ScreenRect> ModalScript::answerScreenArea() {
    ++screenAreaAskedCount;
    if (areaAnswers.empty()) return std::nullopt;
    auto answer = areaAnswers.front();
    areaAnswers.pop_front();
    return answer;
}

}  // namespace tallowmere::testing
