#include "localization/localized_text.h"

#include <ostream>

namespace tallowmere {

LocalizedText LocalizedText::copied(std::string_view text) {
    LocalizedText result({});
    result.owned_.assign(text);
    result.owns_ = true;
    result.text_ = result.owned_;
    return result;
}

void LocalizedText::adopt(const LocalizedText& other) {
    owns_ = other.owns_;
    if (owns_) {
        owned_ = other.owned_;
        text_ = owned_;
    } else {
        owned_.clear();
        text_ = other.text_;
    }
}

LocalizedText::LocalizedText(const LocalizedText& other) { adopt(other); }

// A moved short string changes its address (it lives inside the object), so
// the view is taken afresh rather than moved.
LocalizedText::LocalizedText(LocalizedText&& other) noexcept : owned_(std::move(other.owned_)), owns_(other.owns_) {
    text_ = owns_ ? std::string_view(owned_) : other.text_;
}

LocalizedText& LocalizedText::operator=(const LocalizedText& other) {
    if (this != &other) adopt(other);
    return *this;
}

LocalizedText& LocalizedText::operator=(LocalizedText&& other) noexcept {
    if (this == &other) return *this;
    owns_ = other.owns_;
    owned_ = std::move(other.owned_);
    text_ = owns_ ? std::string_view(owned_) : other.text_;
    return *this;
}

std::string operator+(const LocalizedText& a, const LocalizedText& b) { return a + b.view(); }

std::string operator+(const LocalizedText& a, std::string_view b) {
    std::string joined;
    joined.reserve(a.size() + b.size());
    joined.append(a.view()).append(b);
    return joined;
}

std::string operator+(std::string_view a, const LocalizedText& b) {
    std::string joined;
    joined.reserve(a.size() + b.size());
    joined.append(a).append(b.view());
    return joined;
}

std::ostream& operator<<(std::ostream& stream, const LocalizedText& text) { return stream << text.view(); }

}  // namespace tallowmere
