#include "platform/ui/grapheme_boundaries.h"

#include <algorithm>
#include <memory>

#include <unicode/brkiter.h>
#include <unicode/utext.h>

namespace tallowmere::platform::GraphemeBoundaries {

std::vector<std::size_t> all(std::string_view text) {
    std::vector<std::size_t> boundaries{0};
    if (text.empty()) return boundaries;
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
    std::unique_ptr<icu::BreakIterator> iterator(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_SUCCESS(status) && iterator) {
        iterator->setText(utext, status);
        if (U_SUCCESS(status)) {
            for (int32_t b = iterator->next(); b != icu::BreakIterator::DONE; b = iterator->next())
                boundaries.push_back(static_cast<std::size_t>(b));
        }
    }
    utext_close(utext);
    // Without ICU's answer every byte that starts a code point is a boundary.
    if (boundaries.size() == 1) {
        for (std::size_t i = 1; i < text.size(); ++i)
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) boundaries.push_back(i);
        boundaries.push_back(text.size());
    }
    if (boundaries.back() != text.size()) boundaries.push_back(text.size());
    return boundaries;
}

std::size_t next(std::string_view text, std::size_t offset) {
    const auto boundaries = all(text);
    auto it = std::upper_bound(boundaries.begin(), boundaries.end(), offset);
    return it == boundaries.end() ? text.size() : *it;
}

std::size_t previous(std::string_view text, std::size_t offset) {
    const auto boundaries = all(text);
    auto it = std::lower_bound(boundaries.begin(), boundaries.end(), offset);
    return it == boundaries.begin() ? 0 : *(it - 1);
}

std::size_t atOrBefore(std::string_view text, std::size_t offset) {
    if (offset >= text.size()) return text.size();
    const auto boundaries = all(text);
    auto it = std::upper_bound(boundaries.begin(), boundaries.end(), offset);
    return *(it - 1);
}

}  // namespace tallowmere::platform::GraphemeBoundaries
