#include "quicklaunch/emoji_picker_button.h"

#include "localization/product_identity.h"
#include "platform/ui/application.h"
#include "platform/ui/window.h"

namespace tallowmere {

std::shared_ptr<EmojiPickerButton> EmojiPickerButton::make(const std::shared_ptr<platform::TextField>& emojiField) {
    auto button = std::shared_ptr<EmojiPickerButton>(new EmojiPickerButton(emojiField));
    button->onAction = [weak = std::weak_ptr<EmojiPickerButton>(button)](platform::Control&) {
        if (auto self = weak.lock()) self->openEmojiPicker();
    };
    return button;
}

EmojiPickerButton::EmojiPickerButton(const std::shared_ptr<platform::TextField>& emojiField)
    : Button({{0, 0}, {40, 24}}), emojiField_(emojiField) {
    setTitle("😊");
    setBezelStyle(platform::BezelStyle::push);
    // A fixed pair of texts, not looked up: the Chinese-script languages read
    // the Chinese one.
    setToolTip(ProductIdentity::usesChineseDisplayName() ? "选择 Emoji" : "Choose Emoji");
}

void EmojiPickerButton::openEmojiPicker() {
    if (auto field = emojiField_.lock()) {
        if (auto window = field->window()) window->makeFirstResponder(field);
    }
    platform::Application::shared().orderFrontCharacterPalette();
}

}  // namespace tallowmere
