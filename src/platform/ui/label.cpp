#include "platform/ui/label.h"

namespace tallowmere::platform {

Label::Label(Rect frame) : TextField(frame) {
    setEditable(false);
    setSelectable(false);
    setBezeled(false);
    setBordered(false);
    setDrawsBackground(false);
}

std::shared_ptr<Label> Label::make(std::string text) {
    auto label = std::shared_ptr<Label>(new Label({}));
    label->setStringValue(std::move(text));
    return label;
}

std::shared_ptr<Label> Label::makeWrapping(std::string text) {
    auto label = make(std::move(text));
    label->setLineBreakMode(LineBreakMode::byWordWrapping);
    label->setMaximumNumberOfLines(0);
    return label;
}

std::shared_ptr<Label> Label::make(AttributedString text) {
    auto label = std::shared_ptr<Label>(new Label({}));
    label->setAttributedStringValue(std::move(text));
    return label;
}

}  // namespace tallowmere::platform
