#include "platform/viewer/viewer_modal_responder.h"

#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/file_panel.h"
#include "platform/ui/file_panel_browser.h"

namespace tallowmere::platform {

bool ViewerModalResponder::waitFor(const std::function<bool()>& answered) {
    if (onQuestionShown) onQuestionShown();
    auto& context = AppContext::current();
    if (context.isDeterministic()) {
        context.mainQueue().runUntilIdle();
        return answered();
    }
    return context.mainQueue().runUntil(answered);
}

std::optional<ModalResponse> ViewerModalResponder::waitForSessionResponse() {
    auto& application = Application::shared();
    waitFor([&application] { return application.modalResponse().has_value(); });
    return application.modalResponse();
}

std::optional<ModalResponse> ViewerModalResponder::answerAlert(Alert&) {
    return waitForSessionResponse();
}

bool ViewerModalResponder::answerModalWindow(Window&) {
    return waitForSessionResponse().has_value();
}

std::optional<std::vector<std::filesystem::path>> ViewerModalResponder::answerOpenPanel(OpenPanel& panel) {
    if (waitForSessionResponse() != ModalResponses::ok || !panel.browser()) return std::nullopt;
    return panel.browser()->choice();
}

std::optional<std::filesystem::path> ViewerModalResponder::answerSavePanel(SavePanel& panel) {
    if (waitForSessionResponse() != ModalResponses::ok || !panel.browser()) return std::nullopt;
    const auto& choice = panel.browser()->choice();
    if (!choice || choice->empty()) return std::nullopt;
    return choice->front();
}

std::optional<std::optional<Color>> ViewerModalResponder::answerColorSampler(ColorSampler&) {
    picked_.reset();
    sampling_ = true;
    if (onSamplingChanged) onSamplingChanged(true);
    waitFor([this] { return picked_.has_value(); });
    sampling_ = false;
    if (onSamplingChanged) onSamplingChanged(false);
    auto picked = picked_;
    picked_.reset();
    return picked;
}

void ViewerModalResponder::colorPicked(std::optional<Color> color) {
    if (sampling_) picked_ = color;
}

std::optional<ScreenRect> ViewerModalResponder::answerScreenArea() {
    chosenArea_.reset();
    selectingArea_ = true;
    if (onAreaSelectionChanged) onAreaSelectionChanged(true);
    waitFor([this] { return chosenArea_.has_value(); });
    selectingArea_ = false;
    if (onAreaSelectionChanged) onAreaSelectionChanged(false);
    std::optional<ScreenRect> area;
    if (chosenArea_) area = *chosenArea_;
    chosenArea_.reset();
    return area;
}

void ViewerModalResponder::areaChosen(std::optional<ScreenRect> area) {
    if (selectingArea_) chosenArea_ = area;
}

}  // namespace tallowmere::platform
