#include "app/dialog_paste_key_monitor.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/desktop/pasteboard.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/alert.h"
#include "platform/ui/text_field.h"
#include "platform/ui/text_view.h"
#include "platform/ui/window.h"

namespace tallowmere {

using namespace platform;

namespace {

// Command alone: Command+Shift+V and the other combinations keep their own meaning.
bool isPlainCommandV(const Event& event) {
    if (event.modifierFlags.deviceIndependent() != ModifierFlags{ModifierFlags::command}) return false;
    std::string key = event.charactersIgnoringModifiers;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key == "v";
}

}  // namespace

DialogPasteKeyMonitor::DialogPasteKeyMonitor(std::weak_ptr<Window> dialogWindow, std::vector<std::weak_ptr<View>> inputs)
    : dialogWindow_(std::move(dialogWindow)), inputs_(std::move(inputs)) {
    // The handler runs only while this object lives: the token is removed in the destructor.
    token_ = EventMonitors::shared().addLocalMonitor(eventMask(EventType::keyDown),
                                                     [this](const Event& event) { return handle(event); });
}

DialogPasteKeyMonitor::~DialogPasteKeyMonitor() {
    if (!token_ || !AppContext::hasCurrent()) return;
    if (auto* monitors = AppContext::current().sharedIfMade<EventMonitors>()) monitors->removeMonitor(*token_);
}

std::optional<Event> DialogPasteKeyMonitor::handle(const Event& event) const {
    auto window = dialogWindow_.lock();
    if (!window || event.windowNumber != window->windowNumber() || !isPlainCommandV(event)) return event;
    const auto text = Pasteboard::general().string();
    if (!text) return event;
    const auto focused = window->firstResponder();
    if (!focused) return event;
    for (const auto& weakInput : inputs_) {
        auto input = weakInput.lock();
        if (input != focused) continue;
        if (auto field = std::dynamic_pointer_cast<TextField>(input); field && field->isEditing()) {
            field->insertText(*text);
            return std::nullopt;
        }
        if (auto view = std::dynamic_pointer_cast<TextView>(input); view && view->isEditable()) {
            view->insertText(*text);
            return std::nullopt;
        }
        return event;
    }
    return event;
}

bool runEditorDialog(Alert& alert, const std::shared_ptr<View>& firstInput, std::vector<std::weak_ptr<View>> inputs) {
    auto window = alert.window();
    if (window) window->initialFirstResponder = firstInput;
    AppContext::current().mainQueue().async(
        [weakWindow = std::weak_ptr<Window>(window), weakInput = std::weak_ptr<View>(firstInput)] {
            auto shown = weakWindow.lock();
            auto input = weakInput.lock();
            if (shown && input) shown->makeFirstResponder(input);
        });
    const DialogPasteKeyMonitor pasteKeys(window, std::move(inputs));
    return alert.runModal() == ModalResponses::alertFirstButton;
}

}  // namespace tallowmere
