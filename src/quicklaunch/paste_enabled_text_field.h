#pragma once

#include <memory>
#include <string>

#include "platform/ui/text_field.h"

namespace tallowmere {

// A one-line field that pastes plain text with Command+V itself, so pasting
// works in the editor dialogs even where no Edit menu routes the key.
class PasteEnabledTextField : public platform::TextField {
public:
    static std::shared_ptr<PasteEnabledTextField> make(std::string text = {});

    // Command+V alone (no Shift, no Caps Lock) while editing puts the
    // pasteboard's text in place of the selection; false when the pasteboard
    // has no text. Every other key goes to the standard handling.
    bool performKeyEquivalent(const platform::Event& event) override;

protected:
    explicit PasteEnabledTextField(platform::Rect frame) : TextField(frame) {}
};

}  // namespace tallowmere
