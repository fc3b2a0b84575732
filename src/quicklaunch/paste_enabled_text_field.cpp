#include "quicklaunch/paste_enabled_text_field.h"

#include <algorithm>
#include <cctype>

#include "platform/desktop/pasteboard.h"

namespace tallowmere {

std::shared_ptr<PasteEnabledTextField> PasteEnabledTextField::make(std::string text) {
    auto field = std::shared_ptr<PasteEnabledTextField>(new PasteEnabledTextField({{0, 0}, {100, 22}}));
    field->setStringValue(std::move(text));
    field->setEditable(true);
    field->setBezeled(true);
    field->setMaximumNumberOfLines(1);
    return field;
}

bool PasteEnabledTextField::performKeyEquivalent(const platform::Event& event) {
    std::string key = event.charactersIgnoringModifiers;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
    const bool commandV = event.modifierFlags.deviceIndependent() ==
                              platform::ModifierFlags{platform::ModifierFlags::command} &&
                          key == "v";
    if (!commandV) return TextField::performKeyEquivalent(event);
    const auto text = platform::Pasteboard::general().string();
    if (!text || !isEditing()) return false;
    insertText(*text);
    return true;
}

}  // namespace tallowmere
