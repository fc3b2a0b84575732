#pragma once

#include <memory>
#include <string>

#include "platform/ui/text_field.h"

namespace tallowmere::platform {

// A text field for passwords: it edits like any field but shows one bullet
// per character, and Accessibility reads it as secure.
class SecureTextField : public TextField {
public:
    static std::shared_ptr<SecureTextField> make(std::string text = {});

    std::string accessibilityRole() const override { return "AXTextField"; }
    std::string accessibilitySubrole() const { return "AXSecureTextField"; }

protected:
    explicit SecureTextField(Rect frame) : TextField(frame) {}
    std::string displayedText() const override;
};

}  // namespace tallowmere::platform
