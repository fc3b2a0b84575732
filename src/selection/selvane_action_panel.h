#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/desktop/screen.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/label.h"
#include "platform/ui/window.h"
#include "selection/selection_accessibility.h"

namespace tallowmere {

// The floating bar shown over selected text: a non-activating panel that
// never takes the program forward. One is made for the life of the
// program.
//
// For now the bar shows the selection it was given; its actions and tools
// come with the selection feature.
class SelvaneActionPanel {
public:
    static constexpr platform::Size barSize{260, 36};
    // Gap between the pointer and the bar's bottom edge.
    static constexpr double gapAbovePoint = 12;
    // How far the bar stays inside the screen's visible frame.
    static constexpr double edgeMargin = 8;

    SelvaneActionPanel();
    SelvaneActionPanel(const SelvaneActionPanel&) = delete;
    SelvaneActionPanel& operator=(const SelvaneActionPanel&) = delete;

    // Fills the bar for this selection (text may be empty) and shows it
    // above `near` (screen space), inside `screen`'s visible frame.
    void show(std::string text, platform::ScreenPoint near, const std::shared_ptr<platform::Screen>& screen,
              bool isSecure, std::optional<Accessibility::TextStyle> textStyle, std::optional<std::string> styleNote);
    // Orders the bar out and forgets the selection and where it came from;
    // harmless when hidden.
    void hide();

    bool isVisible() const { return panel_->isVisible(); }
    const std::string& text() const { return text_; }
    bool isSecure() const { return isSecure_; }
    const std::optional<Accessibility::TextStyle>& textStyle() const { return textStyle_; }
    // The application the selection came from; none while hidden.
    std::optional<pid_t> sourceProcess() const { return sourceProcess_; }
    const std::shared_ptr<platform::Panel>& panel() const { return panel_; }

private:
    std::shared_ptr<platform::Panel> panel_;
    std::shared_ptr<platform::Label> label_;
    std::string text_;
    bool isSecure_ = false;
    std::optional<Accessibility::TextStyle> textStyle_;
    std::optional<pid_t> sourceProcess_;
};

}  // namespace tallowmere
