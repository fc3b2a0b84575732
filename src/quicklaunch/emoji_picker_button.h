#pragma once

#include <memory>

#include "platform/ui/button.h"
#include "platform/ui/text_field.h"

namespace tallowmere {

// The "😊" button beside an emoji field: it puts the keys in the field and
// opens the system's character palette, which types the chosen emoji there.
class EmojiPickerButton : public platform::Button {
public:
    static std::shared_ptr<EmojiPickerButton> make(const std::shared_ptr<platform::TextField>& emojiField);

    // The button's action. A field that has gone still opens the palette.
    void openEmojiPicker();

protected:
    explicit EmojiPickerButton(const std::shared_ptr<platform::TextField>& emojiField);

private:
    std::weak_ptr<platform::TextField> emojiField_;
};

}  // namespace tallowmere
