#include "platform/gfx/attributed_string.h"

#include <algorithm>

#include "platform/gfx/image.h"

namespace tallowmere::platform {

AttributedString::AttributedString(std::string text, TextAttributes attributes) : text_(std::move(text)) {
    // An empty text keeps one empty run so its attributes (its font, say)
    // still decide how high an empty line is.
    runs_.push_back({{0, text_.size()}, std::move(attributes)});
}

AttributedString AttributedString::attachment(const Image& image, Rect bounds, TextAttributes attributes) {
    attributes.attachment = std::make_shared<const TextAttachment>(
        TextAttachment{std::make_shared<const Image>(image), bounds});
    return AttributedString(std::string(attachmentCharacter), std::move(attributes));
}

std::vector<std::pair<std::size_t, std::shared_ptr<const TextAttachment>>> AttributedString::attachments() const {
    std::vector<std::pair<std::size_t, std::shared_ptr<const TextAttachment>>> found;
    for (const auto& run : runs_) {
        if (!run.attributes.attachment) continue;
        const std::string_view text = textOf(run);
        for (std::size_t at = text.find(attachmentCharacter); at != std::string_view::npos;
             at = text.find(attachmentCharacter, at + attachmentCharacter.size())) {
            found.emplace_back(run.range.location + at, run.attributes.attachment);
        }
    }
    return found;
}

std::string_view AttributedString::textOf(const Run& run) const {
    return std::string_view(text_).substr(run.range.location, run.range.length);
}

TextAttributes AttributedString::attributesAt(std::size_t offset) const {
    if (runs_.empty()) return {};
    for (const auto& run : runs_)
        if (offset < run.range.end()) return run.attributes;
    return runs_.back().attributes;
}

template <class Change>
void AttributedString::modify(TextRange range, Change change) {
    if (range.location > text_.size()) return;
    const std::size_t start = range.location;
    const std::size_t end = std::min(text_.size(), range.location + std::min(range.length, text_.size()));
    if (runs_.empty()) runs_.push_back({{0, text_.size()}, {}});
    if (text_.empty()) {
        change(runs_.front().attributes);
        return;
    }
    if (start >= end) return;
    std::vector<Run> result;
    for (const auto& run : runs_) {
        const std::size_t runStart = run.range.location, runEnd = run.range.end();
        const std::size_t cut1 = std::clamp(start, runStart, runEnd);
        const std::size_t cut2 = std::clamp(end, runStart, runEnd);
        if (cut1 > runStart) result.push_back({{runStart, cut1 - runStart}, run.attributes});
        if (cut2 > cut1) {
            Run changed{{cut1, cut2 - cut1}, run.attributes};
            change(changed.attributes);
            result.push_back(std::move(changed));
        }
        if (runEnd > cut2) result.push_back({{cut2, runEnd - cut2}, run.attributes});
    }
    runs_ = std::move(result);
    normalize();
}

void AttributedString::normalize() {
    std::vector<Run> merged;
    for (auto& run : runs_) {
        if (run.range.length == 0 && !text_.empty()) continue;
        if (!merged.empty() && merged.back().attributes == run.attributes) {
            merged.back().range.length += run.range.length;
        } else {
            merged.push_back(std::move(run));
        }
    }
    if (merged.empty()) merged.push_back({{0, text_.size()}, {}});
    runs_ = std::move(merged);
}

void AttributedString::setAttributes(TextRange range, const TextAttributes& attributes) {
    modify(range, [&](TextAttributes& a) { a = attributes; });
}

void AttributedString::setFont(TextRange range, const Font& font) {
    modify(range, [&](TextAttributes& a) { a.font = font; });
}

void AttributedString::setForegroundColor(TextRange range, const Color& color) {
    modify(range, [&](TextAttributes& a) { a.foregroundColor = color; });
}

void AttributedString::setUnderline(TextRange range, UnderlineStyle style) {
    modify(range, [&](TextAttributes& a) { a.underline = style; });
}

void AttributedString::append(std::string_view text, const TextAttributes& attributes) {
    if (text.empty()) return;
    if (text_.empty()) runs_.clear();
    runs_.push_back({{text_.size(), text.size()}, attributes});
    text_ += text;
    normalize();
}

void AttributedString::append(const AttributedString& other) {
    for (const auto& run : other.runs_) append(other.textOf(run), run.attributes);
}

void AttributedString::replaceOccurrences(std::string_view target, std::string_view replacement) {
    if (target.empty()) return;
    AttributedString result;
    result.runs_ = {{{0, 0}, attributesAt(0)}};
    auto appendSlice = [&](std::size_t from, std::size_t to) {
        for (const auto& run : runs_) {
            const std::size_t a = std::max(from, run.range.location), b = std::min(to, run.range.end());
            if (a < b) result.append(std::string_view(text_).substr(a, b - a), run.attributes);
        }
    };
    std::size_t position = 0;
    for (std::size_t found = text_.find(target); found != std::string::npos;
         found = text_.find(target, position)) {
        appendSlice(position, found);
        result.append(replacement, attributesAt(found));
        position = found + target.size();
    }
    if (position == 0) return;  // nothing found
    appendSlice(position, text_.size());
    *this = std::move(result);
}

std::optional<TextRange> AttributedString::find(std::string_view needle) const {
    const auto found = text_.find(needle);
    if (found == std::string::npos) return std::nullopt;
    return TextRange{found, needle.size()};
}

std::optional<TextRange> AttributedString::findLast(std::string_view needle) const {
    const auto found = text_.rfind(needle);
    if (found == std::string::npos) return std::nullopt;
    return TextRange{found, needle.size()};
}

}  // namespace tallowmere::platform
