#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/desktop/screen.h"
#include "platform/gfx/geometry.h"

namespace tallowmere {

// The look of selected text as the bar's library reads it; window
// management only carries it from a read to the bar.
class SelectionStyle {
public:
    virtual ~SelectionStyle() = default;
};

// What the input controller asks of the selection action bar. The bar's
// own library builds on window management, so the application delegate
// hands the bar over when it makes the input controller instead of window
// management linking it.
class SelectionBar {
public:
    // What the browser's page said of its selection's style.
    struct PageStyleReading {
        std::shared_ptr<const SelectionStyle> style;  // none when the page gave none
        std::string note;                             // where the style came from, or why it is missing
    };

    virtual ~SelectionBar() = default;

    // Hides the bar and forgets its selection; harmless when hidden.
    virtual void hide() = 0;
    // True while the person chooses an application for the exclusion list:
    // the mouse is theirs, and the input controller ignores it meanwhile.
    virtual bool isChoosingApplication() const = 0;
    // True when the application is on the exclusion list; an absent
    // identifier never is.
    virtual bool excludes(const std::optional<std::string>& bundleIdentifier) const = 0;
    // Reads the selection under `point` (screen space): text, whether it
    // comes from a password field, and its style; then shows the bar beside
    // the point on `screen`.
    virtual void showSelection(platform::ScreenPoint point, const std::shared_ptr<platform::Screen>& screen) = 0;

    // The reads of the selection under a point (screen space), one step at
    // a time, for the selection trigger. Synchronous, on the main thread.
    virtual bool isSecureInput(platform::ScreenPoint point) = 0;
    // Trimmed, never empty; none when nothing is readable or a password field is involved.
    virtual std::optional<std::string> selectedText(platform::ScreenPoint point) = 0;
    virtual std::shared_ptr<const SelectionStyle> selectedTextStyle(platform::ScreenPoint point) = 0;
    // Asks the browser's page for the style of its selection, which should
    // read as `expectedText`; `completion` runs once, later, on the main queue.
    virtual void readPageStyle(std::string expectedText, std::function<void(PageStyleReading)> completion) = 0;
    // Shows the bar for a selection read step by step.
    virtual void show(std::string text, platform::ScreenPoint point, const std::shared_ptr<platform::Screen>& screen,
                      bool isSecure, std::shared_ptr<const SelectionStyle> style, std::optional<std::string> note) = 0;
};

}  // namespace tallowmere
