#include "platform/system/apple_event_descriptor.h"

namespace tallowmere::platform {

AppleEventDescriptor AppleEventDescriptor::text(std::string value) {
    AppleEventDescriptor descriptor;
    descriptor.text_ = std::move(value);
    return descriptor;
}

AppleEventDescriptor AppleEventDescriptor::list(std::vector<AppleEventDescriptor> items) {
    AppleEventDescriptor descriptor;
    descriptor.isList_ = true;
    descriptor.items_ = std::move(items);
    return descriptor;
}

std::optional<std::string> AppleEventDescriptor::stringValue() const {
    if (isList_) return std::nullopt;
    return text_;
}

long AppleEventDescriptor::numberOfItems() const {
    return isList_ ? static_cast<long>(items_.size()) : 0;
}

std::optional<AppleEventDescriptor> AppleEventDescriptor::descriptorAtIndex(long index) const {
    if (!isList_ || index < 1 || index > numberOfItems()) return std::nullopt;
    return items_[static_cast<std::size_t>(index - 1)];
}

std::string AppleEventDescriptor::printed() const {
    if (!isList_) return text_;
    std::string joined;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (i > 0) joined += ", ";
        joined += items_[i].printed();
    }
    return joined;
}

}  // namespace tallowmere::platform
