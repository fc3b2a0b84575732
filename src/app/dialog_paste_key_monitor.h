#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/desktop/event.h"
#include "platform/ui/event_monitors.h"

namespace tallowmere {

namespace platform {
class Alert;
class View;
class Window;
}  // namespace platform

// Command+V for an editor dialog while it runs modally: the pasteboard's
// text goes in place of the selection of whichever of the dialog's inputs
// has the keys, ahead of any other key handling, so pasting works without
// an Edit menu. Installed for the dialog's run and removed when the monitor
// is destroyed, whichever way the dialog ends.
class DialogPasteKeyMonitor {
public:
    // `inputs` are the dialog's text fields and text views, in the order
    // they are tried.
    DialogPasteKeyMonitor(std::weak_ptr<platform::Window> dialogWindow,
                          std::vector<std::weak_ptr<platform::View>> inputs);
    ~DialogPasteKeyMonitor();
    DialogPasteKeyMonitor(const DialogPasteKeyMonitor&) = delete;
    DialogPasteKeyMonitor& operator=(const DialogPasteKeyMonitor&) = delete;

    // The key event handled: nothing when it pasted, else the event to pass on.
    std::optional<platform::Event> handle(const platform::Event& event) const;

private:
    std::weak_ptr<platform::Window> dialogWindow_;
    std::vector<std::weak_ptr<platform::View>> inputs_;
    std::optional<platform::EventMonitorToken> token_;
};

// Runs an editor dialog with `firstInput` holding the keys (again on the
// next turn, in case the alert took them for its buttons) and Command+V
// pasting into `inputs`; true when the first button answered.
bool runEditorDialog(platform::Alert& alert, const std::shared_ptr<platform::View>& firstInput,
                     std::vector<std::weak_ptr<platform::View>> inputs);

}  // namespace tallowmere
