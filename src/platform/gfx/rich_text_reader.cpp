#include "platform/gfx/rich_text_reader.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/gfx/font.h"

namespace tallowmere::platform {

namespace {

// Real documents nest a handful of groups; a deeper one is hostile.
constexpr std::size_t deepestGroup = 200;
constexpr double defaultPointSize = 12;

enum class Destination { text, fontTable, colorTable, skipped };

struct GroupState {
    Destination destination = Destination::text;
    int font = -1;
    double pointSize = defaultPointSize;
    bool bold = false;
    bool italic = false;
    int color = 0;
    int unicodeSkip = 1;  // characters after \u that stand in for it
};

// Control words that open a group of metadata, not text.
bool isSkippedDestination(std::string_view word) {
    static constexpr std::string_view names[] = {"info",   "stylesheet", "pict",       "header",  "footer",
                                                 "headerl", "headerr",   "footerl",    "footerr", "footnote",
                                                 "listtable", "listoverridetable", "rsidtbl", "generator",
                                                 "xmlnstbl", "themedata", "colorschememapping", "latentstyles",
                                                 "datastore", "fldinst", "object", "filetbl", "revtbl"};
    return std::find(std::begin(names), std::end(names), word) != std::end(names);
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The Windows code page's characters in 0x80 … 0x9F; the rest of its upper
// half is Latin-1.
char32_t windowsLatin1(unsigned char byte) {
    static constexpr char32_t high[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                          0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    if (byte >= 0x80 && byte < 0xA0) return high[byte - 0x80];
    return byte;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Parser {
public:
    explicit Parser(std::string_view input) : in_(input) {}

    std::optional<RichText> parse() {
        if (!in_.starts_with("{\\rtf")) return std::nullopt;
        stack_.push_back({});
        while (at_ < in_.size()) {
            const char c = in_[at_];
            if (c == '{') {
                ++at_;
                if (stack_.size() >= deepestGroup) return std::nullopt;
                stack_.push_back(stack_.back());
                groupStart_ = true;
                continue;
            }
            if (c == '}') {
                ++at_;
                closeGroup();
                if (stack_.empty()) break;  // the document's own group ended
                continue;
            }
            if (c == '\\') {
                controlSequence();
                groupStart_ = false;
                continue;
            }
            ++at_;
            groupStart_ = false;
            if (c == '\r' || c == '\n') continue;
            character(static_cast<unsigned char>(c) < 0x80 ? static_cast<char32_t>(c)
                                                             : windowsLatin1(static_cast<unsigned char>(c)));
        }
        flushPendingHigh();
        return std::move(result_);
    }

private:
    GroupState& state() { return stack_.back(); }

    void closeGroup() {
        if (state().destination == Destination::fontTable && fontEntry_) finishFontEntry();
        stack_.pop_back();
    }

    void controlSequence() {
        ++at_;  // the backslash
        if (at_ >= in_.size()) return;
        const char c = in_[at_];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++at_;
            controlSymbol(c);
            return;
        }
        const std::size_t wordStart = at_;
        while (at_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[at_])) && at_ - wordStart < 32) ++at_;
        const std::string_view word = in_.substr(wordStart, at_ - wordStart);
        std::optional<long> parameter;
        if (at_ < in_.size() && (in_[at_] == '-' || std::isdigit(static_cast<unsigned char>(in_[at_])))) {
            const bool negative = in_[at_] == '-';
            if (negative) ++at_;
            long value = 0;
            int digits = 0;
            while (at_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[at_]))) {
                if (digits < 10) value = value * 10 + (in_[at_] - '0');
                ++digits;
                ++at_;
            }
            parameter = negative ? -value : value;
        }
        if (at_ < in_.size() && in_[at_] == ' ') ++at_;
        controlWord(word, parameter);
    }

    void controlSymbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            character(static_cast<char32_t>(c));
            break;
        case '~':
            character(0xA0);
            break;
        case '_':
            character(0x2011);
            break;
        case '\n':
        case '\r':
            character('\n');
            break;
        case '*':
            if (groupStart_) state().destination = Destination::skipped;
            break;
        case '\'': {
            if (at_ + 1 < in_.size() && hexDigit(in_[at_]) >= 0 && hexDigit(in_[at_ + 1]) >= 0) {
                const auto byte = static_cast<unsigned char>(hexDigit(in_[at_]) * 16 + hexDigit(in_[at_ + 1]));
                at_ += 2;
                if (skipPending_ > 0) {
                    --skipPending_;
                } else {
                    character(windowsLatin1(byte));
                }
            }
            break;
        }
        default:
            break;  // \- (optional hyphen), \| and the like show nothing
        }
    }

    void controlWord(std::string_view word, std::optional<long> parameter) {
        GroupState& s = state();
        const long value = parameter.value_or(1);
        if (word == "fonttbl") {
            s.destination = Destination::fontTable;
        } else if (word == "colortbl") {
            s.destination = Destination::colorTable;
        } else if (isSkippedDestination(word)) {
            s.destination = Destination::skipped;
        } else if (s.destination == Destination::fontTable) {
            if (word == "f" && parameter) {
                if (fontEntry_) finishFontEntry();
                fontEntry_ = static_cast<int>(*parameter);
                fontName_.clear();
            }
        } else if (s.destination == Destination::colorTable) {
            const int component = static_cast<int>(std::clamp(value, 0L, 255L));
            if (word == "red") pendingColor_.red = component / 255.0;
            if (word == "green") pendingColor_.green = component / 255.0;
            if (word == "blue") pendingColor_.blue = component / 255.0;
            if (word == "red" || word == "green" || word == "blue") colorHasComponents_ = true;
        } else if (s.destination == Destination::text) {
            formatWord(s, word, parameter, value);
        }
    }

    void formatWord(GroupState& s, std::string_view word, std::optional<long> parameter, long value) {
        if (word == "f" && parameter) {
            s.font = static_cast<int>(*parameter);
        } else if (word == "deff" && parameter) {
            defaultFont_ = static_cast<int>(*parameter);
        } else if (word == "fs" && parameter && *parameter > 0 && *parameter <= 20000) {
            s.pointSize = static_cast<double>(*parameter) / 2;
        } else if (word == "b") {
            s.bold = value != 0;
        } else if (word == "i") {
            s.italic = value != 0;
        } else if (word == "cf" && parameter) {
            s.color = static_cast<int>(*parameter);
        } else if (word == "plain") {
            s.font = -1;
            s.pointSize = defaultPointSize;
            s.bold = s.italic = false;
        } else if (word == "uc" && parameter && *parameter >= 0 && *parameter <= 8) {
            s.unicodeSkip = static_cast<int>(*parameter);
        } else if (word == "u" && parameter) {
            long code = *parameter;
            if (code < 0) code += 65536;
            unicode(static_cast<char32_t>(std::clamp(code, 0L, 65535L)));
            skipPending_ = s.unicodeSkip;
        } else if (word == "par" || word == "line") {
            character('\n');
        } else if (word == "tab") {
            character('\t');
        } else if (word == "emdash") {
            character(0x2014);
        } else if (word == "endash") {
            character(0x2013);
        } else if (word == "bullet") {
            character(0x2022);
        }
    }

    // A UTF-16 unit from \u: pairs of surrogates make one character.
    void unicode(char32_t unit) {
        if (unit >= 0xD800 && unit < 0xDC00) {
            flushPendingHigh();
            pendingHigh_ = unit;
            return;
        }
        if (unit >= 0xDC00 && unit < 0xE000) {
            if (pendingHigh_) {
                const char32_t combined = 0x10000 + ((*pendingHigh_ - 0xD800) << 10) + (unit - 0xDC00);
                pendingHigh_.reset();
                emit(combined);
            } else {
                emit(0xFFFD);
            }
            return;
        }
        flushPendingHigh();
        emit(unit);
    }

    void flushPendingHigh() {
        if (pendingHigh_) {
            pendingHigh_.reset();
            emit(0xFFFD);
        }
    }

    // A character of the input: it may be the stand-in that follows a \u.
    void character(char32_t c) {
        if (skipPending_ > 0) {
            --skipPending_;
            return;
        }
        if (state().destination == Destination::text) flushPendingHigh();
        emit(c);
    }

    void emit(char32_t c) {
        GroupState& s = state();
        switch (s.destination) {
        case Destination::skipped:
            return;
        case Destination::fontTable:
            if (!fontEntry_) return;
            if (c == ';') {
                finishFontEntry();
            } else if (fontName_.size() < 256) {
                appendUtf8(fontName_, c);
            }
            return;
        case Destination::colorTable:
            if (c == ';') {
                colors_.push_back(colorHasComponents_ ? std::optional<Color>(Color::sRGB(pendingColor_.red, pendingColor_.green,
                                                                                         pendingColor_.blue))
                                                      : std::nullopt);
                pendingColor_ = {};
                colorHasComponents_ = false;
            }
            return;
        case Destination::text:
            break;
        }
        std::string bytes;
        appendUtf8(bytes, c);
        RichText::Run run{bytes.size(), fontNameOf(s.font), s.pointSize, s.bold, s.italic, colorOf(s.color)};
        result_.text += bytes;
        if (!result_.runs.empty()) {
            auto& last = result_.runs.back();
            RichText::Run probe = run;
            probe.length = last.length;
            if (probe == last) {
                last.length += bytes.size();
                return;
            }
        }
        result_.runs.push_back(std::move(run));
    }

    void finishFontEntry() {
        auto name = fontName_;
        while (!name.empty() && name.back() == ' ') name.pop_back();
        while (!name.empty() && name.front() == ' ') name.erase(name.begin());
        if (fontEntry_ && fonts_.size() < 4096) fonts_[*fontEntry_] = name;
        fontEntry_.reset();
        fontName_.clear();
    }

    std::string fontNameOf(int font) const {
        auto found = fonts_.find(font >= 0 ? font : defaultFont_);
        return found == fonts_.end() ? std::string() : found->second;
    }

    std::optional<Color> colorOf(int index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= colors_.size()) return std::nullopt;
        return colors_[static_cast<std::size_t>(index)];
    }

    std::string_view in_;
    std::size_t at_ = 0;
    std::vector<GroupState> stack_;
    bool groupStart_ = false;
    int skipPending_ = 0;
    std::optional<char32_t> pendingHigh_;
    int defaultFont_ = 0;
    std::map<int, std::string> fonts_;
    std::optional<int> fontEntry_;
    std::string fontName_;
    std::vector<std::optional<Color>> colors_;
    RGBA pendingColor_;
    bool colorHasComponents_ = false;
    RichText result_;
};

}  // namespace

AttributedString RichText::attributedString() const {
    AttributedString result;
    std::size_t at = 0;
    for (const auto& run : runs) {
        Font font = run.fontName.empty() ? Font::systemFont(run.pointSize)
                                         : Font::named(run.fontName, run.pointSize, Font::systemFont(run.pointSize));
        if (run.bold) font = font.bold();
        if (run.italic) font = font.italic();
        TextAttributes attributes;
        attributes.font = font;
        attributes.foregroundColor = run.color;
        result.append(std::string_view(text).substr(at, run.length), attributes);
        at += run.length;
    }
    return result;
}

namespace RichTextReader {

std::optional<RichText> read(std::string_view rtf) { return Parser(rtf).parse(); }

}  // namespace RichTextReader

}  // namespace tallowmere::platform
