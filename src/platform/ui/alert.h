#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/image.h"
#include "platform/ui/modal_response.h"

namespace tallowmere::platform {

class Panel;
class View;
class Window;

enum class AlertStyle { warning, informational, critical };

// A standard alert: a message, an informative text, an optional accessory
// view and suppression box, and buttons that answer 1000, 1001, 1002 ... in
// the order they were added. Its panel shows the texts and real buttons
// (Return and Escape press theirs), so a person at the desktop viewer
// answers by using them. It is answered by whoever answers modal questions
// (`ModalResponder`); with nobody there it takes its cancel choice (see
// `cancelResponse`).
class Alert : public std::enable_shared_from_this<Alert> {
public:
    struct Button {
        std::string title;
        std::string keyEquivalent;  // "\r" for Return, "\x1b" for Escape
        ModalResponse response = ModalResponses::alertFirstButton;
    };

    static std::shared_ptr<Alert> make();

    Alert(const Alert&) = delete;
    Alert& operator=(const Alert&) = delete;

    std::string messageText;
    std::string informativeText;
    AlertStyle alertStyle = AlertStyle::warning;
    // The application's icon when none is set.
    std::optional<Image> icon;
    // Shown between the texts and the buttons (a text field, a pop-up ...).
    std::shared_ptr<View> accessoryView;
    bool showsSuppressionButton = false;
    // The suppression box's state after the alert was answered.
    bool isSuppressed = false;

    // Adds a button; the first gets Return, one titled as a Cancel button
    // gets Escape, as the platform does.
    Button& addButton(std::string title);
    const std::vector<Button>& buttons() const { return buttons_; }
    Button& button(std::size_t index) { return buttons_.at(index); }

    // What is answered when nobody can: the button with Escape, else the
    // only button, else the last one (the rightmost is never the action).
    ModalResponse cancelResponse() const;

    // The alert's own panel, for placing a first responder in the accessory
    // view before it runs.
    std::shared_ptr<Window> window() const;

    // Shows the alert and waits for the answer; an alert without buttons
    // gets an "OK" button first.
    ModalResponse runModal();
    // The same, attached to `parent`, answered on a later turn of the main
    // queue; `completion` receives the response.
    void beginSheetModal(const std::shared_ptr<Window>& parent, std::function<void(ModalResponse)> completion);

    struct Private;
    explicit Alert(Private);

private:
    void prepare();
    // The texts, suppression box and buttons a person reads and clicks, in a
    // panel sized to the texts.
    void placeControls(double contentBottom, double accessoryHeight);
    ModalResponse ask(const std::string& how);

    std::vector<Button> buttons_;
    std::shared_ptr<Panel> window_;
    std::vector<std::shared_ptr<View>> controls_;
};

// True for the titles a person reads as Cancel in the interface languages.
bool isCancelButtonTitle(const std::string& title);

}  // namespace tallowmere::platform
