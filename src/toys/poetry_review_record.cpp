#include "toys/poetry_review_record.h"

#include <cmath>
#include <optional>

#include "platform/base/property_value.h"
#include "platform/system/user_defaults.h"
#include "toys/poetry_collection.h"

namespace tallowmere::PoetryReviewRecord {

namespace {

using platform::PropertyValue;
using platform::UserDefaults;

// A stored number as an integer, truncated as the preferences read a real.
std::optional<std::int64_t> number(const PropertyValue& value) {
    if (auto integer = value.asInteger()) return integer;
    if (auto real = value.asReal(); real && std::isfinite(*real) && std::fabs(*real) < 9.0e18) {
        return static_cast<std::int64_t>(*real);
    }
    return std::nullopt;
}

std::vector<std::int64_t> storedNumbers(const char* key, std::size_t limit) {
    std::vector<std::int64_t> numbers;
    const auto stored = UserDefaults::standard().object(key);
    const auto* array = stored ? stored->asArray() : nullptr;
    if (!array) return numbers;
    for (std::size_t i = 0; i < array->size() && i < limit; ++i) {
        if (auto value = number((*array)[i])) numbers.push_back(*value);
    }
    return numbers;
}

}  // namespace

int loadIndex() {
    const auto stored = UserDefaults::standard().object(indexKey);
    const auto value = stored ? number(*stored) : std::nullopt;
    if (!value || *value < 0) return 0;
    return static_cast<int>(*value % PoetryCollection::count);
}

void storeIndex(int index) { UserDefaults::standard().set(indexKey, PropertyValue(index)); }

std::set<int> loadReviewed() {
    std::set<int> reviewed;
    for (const auto value : storedNumbers(reviewedKey, SIZE_MAX)) {
        if (value >= 0 && value < PoetryCollection::count) reviewed.insert(static_cast<int>(value));
    }
    return reviewed;
}

void storeReviewed(const std::set<int>& reviewed) {
    PropertyValue::Array array(reviewed.begin(), reviewed.end());
    UserDefaults::standard().set(reviewedKey, PropertyValue(std::move(array)));
}

std::vector<int> loadSealStyles() {
    std::vector<int> styles(PoetryCollection::count, 0);
    // Elements are taken by position, so a skipped non-number still
    // holds its poem's place.
    const auto stored = UserDefaults::standard().object(sealStylesKey);
    const auto* array = stored ? stored->asArray() : nullptr;
    if (!array) return styles;
    for (std::size_t i = 0; i < array->size() && i < styles.size(); ++i) {
        if (auto value = number((*array)[i])) styles[i] = static_cast<int>(((*value % 2) + 2) % 2);
    }
    return styles;
}

void storeSealStyles(const std::vector<int>& styles) {
    PropertyValue::Array array(styles.begin(), styles.end());
    UserDefaults::standard().set(sealStylesKey, PropertyValue(std::move(array)));
}

}  // namespace tallowmere::PoetryReviewRecord
