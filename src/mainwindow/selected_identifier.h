#pragma once

#include <optional>

#include "platform/base/uuid.h"
#include "platform/ui/pop_up_button.h"

namespace tallowmere {

// The identifier a pop-up's selected item carries as a UUID string; none
// without a selected item, with another kind of object, or with a string
// that is no UUID.
inline std::optional<platform::Uuid> selectedIdentifier(const platform::PopUpButton& popup) {
    auto item = popup.selectedItem();
    const auto* text = item ? item->representedObjectAs<std::string>() : nullptr;
    return text ? platform::Uuid::fromString(*text) : std::nullopt;
}

}  // namespace tallowmere
