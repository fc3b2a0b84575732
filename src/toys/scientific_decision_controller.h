#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "toys/scientific_decision.h"

namespace tallowmere {

namespace platform {
class Button;
class Label;
class TextField;
class TextView;
class Window;
}  // namespace platform

// The decision maker's window: disputants, the matter and two to four
// outcomes in; one outcome drawn at random, shown, and its certificate saved
// on the Desktop. One per process (`shared()`); the window is built once.
class ScientificDecisionController {
public:
    static ScientificDecisionController& shared();

    ScientificDecisionController() = default;
    ScientificDecisionController(const ScientificDecisionController&) = delete;
    ScientificDecisionController& operator=(const ScientificDecisionController&) = delete;

    // Shows the window in front with the focus in the disputants' field.
    void open();
    // Draws an outcome, shows it and saves its certificate on the Desktop.
    void decide();
    // Saves the last certificate where the person chooses.
    void saveAs();

    // Tests: where draws come from (the secure source when empty).
    RandomIndexSource randomIndex;

    const std::optional<ScientificDecisionRecord>& record() const { return record_; }
    std::shared_ptr<platform::Window> window() const { return window_; }
    std::shared_ptr<platform::TextField> peopleField() const { return peopleField_; }
    std::shared_ptr<platform::TextView> matterView() const { return matterView_; }
    const std::array<std::shared_ptr<platform::TextField>, 4>& resultFields() const { return resultFields_; }
    std::shared_ptr<platform::Label> resultLabel() const { return resultLabel_; }
    std::shared_ptr<platform::Button> decideButton() const { return decideButton_; }
    std::shared_ptr<platform::Button> saveButton() const { return saveButton_; }

private:
    void makeWindow();
    static void showAlert(const std::string& title, const std::string& message);

    std::shared_ptr<platform::Window> window_;
    std::shared_ptr<platform::TextField> peopleField_;
    std::shared_ptr<platform::TextView> matterView_;
    std::array<std::shared_ptr<platform::TextField>, 4> resultFields_;
    std::shared_ptr<platform::Label> resultLabel_;
    std::shared_ptr<platform::Button> decideButton_;
    std::shared_ptr<platform::Button> saveButton_;
    std::optional<ScientificDecisionRecord> record_;
};

}  // namespace tallowmere
