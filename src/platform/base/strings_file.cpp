#include "platform/base/strings_file.h"

#include <cstdint>
#include <string>

#include "platform/base/property_list.h"
#include "platform/base/text.h"

namespace tallowmere::platform::StringsFile {

namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string fromUtf16(std::span<const std::uint8_t> bytes, bool bigEndian) {
    std::string out;
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t i) -> char32_t {
        const std::uint8_t a = bytes[2 * i], b = bytes[2 * i + 1];
        return bigEndian ? (char32_t(a) << 8 | b) : (char32_t(b) << 8 | a);
    };
    for (std::size_t i = 0; i < units; ++i) {
        char32_t c = unit(i);
        if (isHighSurrogate(c) && i + 1 < units && isLowSurrogate(unit(i + 1))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            c = replacementCharacter;
        }
        appendUtf8(out, c);
    }
    if (bytes.size() % 2 != 0) appendUtf8(out, replacementCharacter);
    return out;
}

Error syntaxError(std::size_t offset, const std::string& what) {
    return Error{ErrorCode::parseFailed,
                 "The strings file is damaged at byte " + std::to_string(offset) + ": " + what, 0};
}

bool isUnquotedCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '+' || c == '/' || c == ':' || c == '.' || c == '-';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The text form over UTF-8, one pass, no recursion.
class TextParser {
public:
    explicit TextParser(std::string_view text) : text_(text) {}

    Result<PropertyValue::Dictionary> parse() {
        PropertyValue::Dictionary table;
        if (auto skipped = skipSpace(); !skipped) return skipped.error();
        const bool braced = peek() == '{';
        if (braced) {
            ++at_;
            if (auto skipped = skipSpace(); !skipped) return skipped.error();
        }
        while (!atEnd() && !(braced && peek() == '}')) {
            auto key = string();
            if (!key) return key.error();
            if (auto skipped = skipSpace(); !skipped) return skipped.error();
            std::string value = *key;
            if (peek() == '=') {
                ++at_;
                if (auto skipped = skipSpace(); !skipped) return skipped.error();
                auto given = string();
                if (!given) return given.error();
                value = std::move(*given);
                if (auto skipped = skipSpace(); !skipped) return skipped.error();
            }
            if (peek() != ';') return syntaxError(at_, "a \u201C;\u201D is missing");
            ++at_;
            table.insert_or_assign(std::move(*key), PropertyValue(std::move(value)));
            if (auto skipped = skipSpace(); !skipped) return skipped.error();
        }
        if (braced) {
            if (peek() != '}') return syntaxError(at_, "the closing \u201C}\u201D is missing");
            ++at_;
            if (auto skipped = skipSpace(); !skipped) return skipped.error();
        }
        if (!atEnd()) return syntaxError(at_, "text follows the table");
        return table;
    }

private:
    bool atEnd() const { return at_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[at_]; }

    Result<void> skipSpace() {
        while (!atEnd()) {
            const char c = text_[at_];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                ++at_;
            } else if (text_.substr(at_, 2) == "//") {
                const auto end = text_.find('\n', at_);
                at_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else if (text_.substr(at_, 2) == "/*") {
                const auto end = text_.find("*/", at_ + 2);
                if (end == std::string_view::npos) return syntaxError(at_, "a comment is not closed");
                at_ = end + 2;
            } else {
                break;
            }
        }
        return {};
    }

    Result<std::string> string() {
        if (peek() == '"') return quoted();
        const std::size_t start = at_;
        while (!atEnd() && isUnquotedCharacter(text_[at_])) ++at_;
        if (at_ == start) return syntaxError(at_, "a string is expected");
        return std::string(text_.substr(start, at_ - start));
    }

    Result<std::string> quoted() {
        const std::size_t start = at_++;
        std::string out;
        // A \U high surrogate waiting for its pair; 0 when none is (no
        // surrogate is 0).
        char32_t pendingHigh = 0;
        auto flushPending = [&] {
            if (pendingHigh) appendUtf8(out, replacementCharacter);
            pendingHigh = 0;
        };
        while (true) {
            if (atEnd()) return syntaxError(start, "a quoted string is not closed");
            const char c = text_[at_++];
            if (c == '"') break;
            if (c != '\\') {
                flushPending();
                out.push_back(c);
                continue;
            }
            if (atEnd()) return syntaxError(start, "a quoted string is not closed");
            const char escaped = text_[at_++];
            if (escaped == 'U' || escaped == 'u') {
                char32_t unit = 0;
                int digits = 0;
                for (; digits < 4 && !atEnd() && hexValue(text_[at_]) >= 0; ++digits, ++at_) {
                    unit = unit * 16 + static_cast<char32_t>(hexValue(text_[at_]));
                }
                if (digits == 0) return syntaxError(at_, "\\U needs hexadecimal digits");
                if (pendingHigh && isLowSurrogate(unit)) {
                    appendUtf8(out, 0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00));
                    pendingHigh = 0;
                    continue;
                }
                flushPending();
                if (isHighSurrogate(unit)) {
                    pendingHigh = unit;
                } else {
                    appendUtf8(out, isLowSurrogate(unit) || unit == 0 ? replacementCharacter : unit);
                }
                continue;
            }
            flushPending();
            if (escaped >= '0' && escaped <= '7') {
                unsigned value = static_cast<unsigned>(escaped - '0');
                for (int digits = 1; digits < 3 && !atEnd() && text_[at_] >= '0' && text_[at_] <= '7'; ++digits) {
                    value = value * 8 + static_cast<unsigned>(text_[at_++] - '0');
                }
                // Octal escapes name bytes of the old encodings: read them as Latin-1.
                appendUtf8(out, value == 0 ? replacementCharacter : char32_t(value));
                continue;
            }
            switch (escaped) {
                case 'a': out.push_back('\a'); break;
                case 'b': out.push_back('\b'); break;
                case 'f': out.push_back('\f'); break;
                case 'n': out.push_back('\n'); break;
                case 'r': out.push_back('\r'); break;
                case 't': out.push_back('\t'); break;
                case 'v': out.push_back('\v'); break;
                default: out.push_back(escaped); break;  // \" \\ \' and any other character as itself
            }
        }
        flushPending();
        return out;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

Result<PropertyValue::Dictionary> read(std::span<const std::uint8_t> bytes) {
    if (PropertyList::detectFormat(bytes)) {
        auto list = PropertyList::read(bytes);
        if (!list) return list.error();
        if (const auto* dictionary = list->asDictionary()) return *dictionary;
        return Error{ErrorCode::wrongShape, "The strings file\u2019s property list is not a dictionary", 0};
    }
    std::string text;
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        text = fromUtf16(bytes.subspan(2), true);
    } else if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        text = fromUtf16(bytes.subspan(2), false);
    } else {
        std::string_view utf8(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
        if (!Text::isValidUtf8(utf8)) return Error{ErrorCode::parseFailed, "The strings file is not UTF-8 or UTF-16", 0};
        text = std::string(utf8);
    }
    return TextParser(text).parse();
}

}  // namespace tallowmere::platform::StringsFile
