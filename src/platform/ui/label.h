#pragma once

#include <memory>
#include <string>

#include "platform/gfx/attributed_string.h"
#include "platform/ui/text_field.h"

namespace tallowmere::platform {

// A text field in label mode: static text with no bezel, no background, not
// editable or selectable; clicks go through to the view that holds it.
class Label : public TextField {
public:
    // One line, clipped.
    static std::shared_ptr<Label> make(std::string text = {});
    // Wraps at word boundaries over as many lines as it needs.
    static std::shared_ptr<Label> makeWrapping(std::string text = {});
    static std::shared_ptr<Label> make(AttributedString text);

protected:
    explicit Label(Rect frame);
};

}  // namespace tallowmere::platform
