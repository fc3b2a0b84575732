#include "platform/desktop/ax_value.h"

#include <algorithm>

#include "platform/desktop/utf16_offsets.h"

namespace tallowmere::platform {

const AXAttributedString* AXValue::asAttributedString() const {
    auto* held = std::get_if<std::shared_ptr<const AXAttributedString>>(&storage_);
    return held ? held->get() : nullptr;
}

bool AXValue::operator==(const AXValue& other) const {
    if (storage_.index() != other.storage_.index()) return false;
    if (auto* mine = asAttributedString()) return *mine == *other.asAttributedString();
    return std::visit(
        [&](const auto& a) {
            using T = std::decay_t<decltype(a)>;
            if constexpr (std::is_same_v<T, std::shared_ptr<const AXAttributedString>>) {
                return false;  // handled above
            } else {
                return a == std::get<T>(other.storage_);
            }
        },
        storage_);
}

std::vector<AXAttributedString::Run> AXAttributedString::runs() const {
    const std::int64_t total = Utf16::length(text_);
    std::vector<Run> result;
    std::int64_t covered = 0;
    for (const Run& run : runs_) {
        if (covered >= total) break;
        const std::int64_t length = std::min(run.length, total - covered);
        if (length <= 0) continue;
        result.push_back({length, run.attributes});
        covered += length;
    }
    if (covered < total) result.push_back({total - covered, {}});
    return result;
}

std::string AXAttributedString::runText(std::size_t index) const {
    const auto all = runs();
    if (index >= all.size()) return {};
    std::int64_t start = 0;
    for (std::size_t i = 0; i < index; ++i) start += all[i].length;
    return Utf16::slice(text_, start, all[index].length).value_or("");
}

AXAttributedString AXAttributedString::substring(AXRange range) const {
    const std::int64_t total = Utf16::length(text_);
    const std::int64_t begin = std::clamp<std::int64_t>(range.location, 0, total);
    const std::int64_t end = std::clamp<std::int64_t>(
        range.location + std::max<std::int64_t>(range.length, 0), begin, total);
    std::vector<Run> cut;
    std::int64_t at = 0;
    for (const Run& run : runs()) {
        const std::int64_t runEnd = at + run.length;
        const std::int64_t from = std::max(at, begin), to = std::min(runEnd, end);
        if (to > from) cut.push_back({to - from, run.attributes});
        at = runEnd;
    }
    return AXAttributedString(Utf16::slice(text_, begin, end - begin).value_or(""), std::move(cut));
}

}  // namespace tallowmere::platform
