#include "platform/ui/secure_text_field.h"

#include "platform/base/text.h"

namespace tallowmere::platform {

std::shared_ptr<SecureTextField> SecureTextField::make(std::string text) {
    auto field = std::shared_ptr<SecureTextField>(new SecureTextField({}));
    field->setStringValue(std::move(text));
    return field;
}

std::string SecureTextField::displayedText() const {
    std::string bullets;
    for (std::size_t i = Text::graphemeCount(stringValue()); i > 0; --i) bullets += "•";
    return bullets;
}

}  // namespace tallowmere::platform
