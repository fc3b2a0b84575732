#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/color.h"

namespace tallowmere {

namespace platform {
class Button;
class Panel;
class View;
class Window;
}  // namespace platform

// The program's general dialog: the application icon, a bold title, a short
// centred message, an optional content view and a column of equally wide
// buttons. It knows nothing of what its buttons mean: a button's result is
// its position in the list of titles (0 the top one).
//
// Run it modally centred on a window (`runModal`), or show `panel()`
// yourself after setting `modelessSelectionHandler`, placed with
// `centerOn`; keep the object alive while it is shown.
class CenteredActivationPanel : public std::enable_shared_from_this<CenteredActivationPanel> {
public:
    static constexpr double width = 560;
    static constexpr double minimumHeight = 228;
    static constexpr double buttonWidth = 228;
    // Messages longer than this many characters get a taller message area.
    static constexpr std::size_t shortMessageLength = 52;

    // Builds the whole panel; shows nothing. Return presses the first
    // button; Escape presses the last one when it is titled with the
    // looked-up "取消".
    static std::shared_ptr<CenteredActivationPanel> make(std::string title, std::string message,
                                                         std::shared_ptr<platform::View> content, double iconSize,
                                                         platform::Color titleColor,
                                                         std::vector<std::string> buttonTitles);

    CenteredActivationPanel(const CenteredActivationPanel&) = delete;
    CenteredActivationPanel& operator=(const CenteredActivationPanel&) = delete;

    // Kept when closed, so the dialog can be shown again.
    const std::shared_ptr<platform::Panel>& panel() const { return panel_; }
    const std::vector<std::shared_ptr<platform::Button>>& buttons() const { return buttons_; }
    // The position of the last button pressed; cleared at each modal run.
    std::optional<int> selectedIndex() const { return selectedIndex_; }

    // When set, a button press hides the panel and goes here instead of
    // ending a modal loop; it fires at most once.
    std::function<void(int index)> modelessSelectionHandler;

    // Shows the panel centred on `window` (on the screen without one), runs
    // a modal loop for it and hides it again. The pressed button's position,
    // or none when the loop ended without a press.
    std::optional<int> runModal(const std::shared_ptr<platform::Window>& window);

    // Lays the content out and places the panel's centre on the centre of
    // `window`'s frame, or centres it on the screen without one.
    void centerOn(const std::shared_ptr<platform::Window>& window);

    // The action of every button.
    void selectButton(const platform::Button& sender);

    struct Private {};
    explicit CenteredActivationPanel(Private) {}

private:
    void build(const std::string& title, const std::string& message, std::shared_ptr<platform::View> content,
               double iconSize, const platform::Color& titleColor, const std::vector<std::string>& buttonTitles);

    std::shared_ptr<platform::Panel> panel_;
    std::vector<std::shared_ptr<platform::Button>> buttons_;
    std::optional<int> selectedIndex_;
};

// The panel's height for a message, a content view of `contentHeight` and
// `buttonCount` buttons.
double centeredActivationPanelHeight(const std::string& message, double contentHeight, std::size_t buttonCount);

}  // namespace tallowmere
