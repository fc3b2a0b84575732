#include "platform/desktop/browser_scripting.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/base/text.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/simulated_application.h"
#include "platform/desktop/simulated_window.h"
#include "platform/desktop/utf16_offsets.h"

namespace tallowmere::resources {
extern const std::string_view browserSelectionStyleScript;
}  // namespace tallowmere::resources

namespace tallowmere::platform {

namespace BrowserScripts {

namespace {

// The limits the selection-style page script keeps.
constexpr std::int64_t maxTextUnits = 200000;
constexpr std::size_t maxTextNodes = 20000;
constexpr std::size_t maxStyles = 128;
constexpr std::int64_t maxFamilyUnits = 2048;

// What a script of the expected shape asks.
struct PageScriptRequest {
    std::optional<double> timeoutSeconds;
    std::string bundleIdentifier;
    std::string noWindowAnswer;
    std::string javaScript;
    std::string errorPrefix;
};

// Reads the script line by line; the JavaScript literal may span lines.
class ScriptReader {
public:
    explicit ScriptReader(std::string_view text) : text_(text) {}

    bool atEnd() {
        skipBlankLines();
        return at_ >= text_.size();
    }
    // The next line without its indentation, when it starts with `prefix`;
    // the rest of the line after the prefix.
    std::optional<std::string_view> line(std::string_view prefix) {
        skipBlankLines();
        std::size_t start = at_;
        while (start < text_.size() && (text_[start] == ' ' || text_[start] == '\t')) ++start;
        if (text_.substr(start, prefix.size()) != prefix) return std::nullopt;
        std::size_t end = text_.find('\n', start);
        if (end == std::string_view::npos) end = text_.size();
        std::string_view rest = text_.substr(start + prefix.size(), end - start - prefix.size());
        while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\r')) rest.remove_suffix(1);
        at_ = end;
        return rest;
    }
    // Where the next line starts after its indentation and `prefix`, for a
    // string literal that goes on from there.
    bool enter(std::string_view prefix) {
        skipBlankLines();
        std::size_t start = at_;
        while (start < text_.size() && (text_[start] == ' ' || text_[start] == '\t')) ++start;
        if (text_.substr(start, prefix.size()) != prefix) return false;
        at_ = start + prefix.size();
        return true;
    }
    // An AppleScript string literal's contents, its opening quote already read.
    std::optional<std::string> literal() {
        std::string value;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') return value;
            if (c != '\\') {
                value += c;
                continue;
            }
            if (at_ >= text_.size()) return std::nullopt;
            const char escaped = text_[at_++];
            switch (escaped) {
                case '\\': case '"': value += escaped; break;
                case 'n': value += '\n'; break;
                case 't': value += '\t'; break;
                case 'r': value += '\r'; break;
                default: return std::nullopt;  // not a literal AppleScript compiles
            }
        }
        return std::nullopt;
    }
    // The rest of the current line.
    std::string_view restOfLine() {
        std::size_t end = text_.find('\n', at_);
        if (end == std::string_view::npos) end = text_.size();
        std::string_view rest = text_.substr(at_, end - at_);
        at_ = end;
        return rest;
    }

private:
    void skipBlankLines() {
        for (;;) {
            std::size_t i = at_;
            while (i < text_.size() && (text_[i] == ' ' || text_[i] == '\t' || text_[i] == '\r')) ++i;
            if (i < text_.size() && text_[i] == '\n') {
                at_ = i + 1;
                continue;
            }
            return;
        }
    }
    std::string_view text_;
    std::size_t at_ = 0;
};

std::optional<std::string> quoted(std::string_view text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return std::nullopt;
    text = text.substr(1, text.size() - 2);
    if (text.find('"') != std::string_view::npos || text.find('\\') != std::string_view::npos) return std::nullopt;
    return std::string(text);
}

std::optional<PageScriptRequest> parse(std::string_view source) {
    ScriptReader reader(source);
    PageScriptRequest request;
    if (auto timeout = reader.line("with timeout of ")) {
        if (!timeout->ends_with(" seconds")) return std::nullopt;
        const std::string number(timeout->substr(0, timeout->size() - 8));
        char* end = nullptr;
        const double seconds = std::strtod(number.c_str(), &end);
        if (number.empty() || *end != '\0' || !(seconds > 0)) return std::nullopt;
        request.timeoutSeconds = seconds;
    }
    if (!reader.line("try")) return std::nullopt;
    auto tell = reader.line("tell application id ");
    auto identifier = tell ? quoted(*tell) : std::nullopt;
    if (!identifier) return std::nullopt;
    request.bundleIdentifier = *identifier;
    if (reader.line("if (count of windows) is 0 then") != std::string_view()) return std::nullopt;
    auto noWindow = reader.line("return ");
    auto noWindowText = noWindow ? quoted(*noWindow) : std::nullopt;
    if (!noWindowText) return std::nullopt;
    request.noWindowAnswer = *noWindowText;
    if (reader.line("end if") != std::string_view()) return std::nullopt;
    if (!reader.enter("return (execute active tab of front window javascript \"")) return std::nullopt;
    auto javaScript = reader.literal();
    if (!javaScript || reader.restOfLine() != ")") return std::nullopt;
    request.javaScript = std::move(*javaScript);
    if (reader.line("end tell") != std::string_view()) return std::nullopt;
    if (reader.line("on error errorMessage number errorNumber") != std::string_view()) return std::nullopt;
    auto handler = reader.line("return ");
    if (!handler || !handler->ends_with(" & errorNumber")) return std::nullopt;
    auto prefix = quoted(handler->substr(0, handler->size() - std::string_view(" & errorNumber").size()));
    if (!prefix) return std::nullopt;
    request.errorPrefix = *prefix;
    if (reader.line("end try") != std::string_view()) return std::nullopt;
    if (request.timeoutSeconds && reader.line("end timeout") != std::string_view()) return std::nullopt;
    if (!reader.atEnd()) return std::nullopt;
    return request;
}

// The page: the focused text element of the front window, else its first one.
const SimulatedElement* pageOf(const SimulatedApplication& app, const SimulatedWindow& window) {
    auto focused = app.focusedElement();
    if (focused && focused->isTextElement() && focused->window().get() == &window) return focused.get();
    std::vector<const SimulatedElement*> pending{&window};
    while (!pending.empty()) {
        const SimulatedElement* element = pending.front();
        pending.erase(pending.begin());
        if (element != &window && element->isTextElement()) return element;
        for (const auto& child : element->children()) pending.push_back(child.get());
    }
    return nullptr;
}

// Only white space, as a page script's /^\s*$/ finds it.
bool isBlank(std::string_view text) { return Text::trimmingWhitespaceAndNewlines(text).empty(); }

// A number as JavaScript prints it: 16, 13.5.
std::string jsNumber(double value) {
    if (std::trunc(value) == value && std::fabs(value) < 1e15) return std::to_string(static_cast<long long>(value));
    std::string text = nlohmann::json(value).dump();
    return text;
}

std::string cssFamily(const std::string& family) {
    return family.find_first_of(" \t") == std::string::npos ? family : "\"" + family + "\"";
}

// The computed CSS weight of a font, from its weight trait, else its bold trait.
std::string cssWeight(const AXFont& font) {
    if (!font.weightTrait) return font.isBold ? "700" : "400";
    const double w = *font.weightTrait;
    constexpr std::pair<double, int> steps[] = {{-0.7, 100}, {-0.5, 200}, {-0.2, 300}, {0.115, 400},
                                                {0.265, 500}, {0.35, 600},  {0.48, 700},  {0.59, 800}};
    for (const auto& [below, weight] : steps) {
        if (w < below) return std::to_string(weight);
    }
    return "900";
}

int byte(double component) { return static_cast<int>(std::lround(std::clamp(component, 0.0, 1.0) * 255)); }

// One run's computed style as the page script records it.
nlohmann::ordered_json styleRecord(const AXValue::Dictionary& attributes) {
    AXFont font{"Helvetica", "Helvetica", "Helvetica", 16, std::nullopt, false};
    if (auto it = attributes.find(AXStringAttribute::font); it != attributes.end()) {
        if (auto given = it->second.asFont()) font = *given;
    }
    AXColor color{0, 0, 0, 1, AXColorKind::colour};
    if (auto it = attributes.find(AXStringAttribute::foregroundColor); it != attributes.end()) {
        if (auto given = it->second.asColor(); given && given->kind != AXColorKind::pattern) color = *given;
    }
    nlohmann::ordered_json record;
    record["fontFamily"] = cssFamily(font.familyName.empty() ? font.fontName : font.familyName);
    record["fontSize"] = jsNumber(font.pointSize) + "px";
    record["fontWeight"] = cssWeight(font);
    record["rgba"] = {byte(color.red), byte(color.green), byte(color.blue), byte(color.alpha)};
    return record;
}

std::string status(std::string_view value) {
    nlohmann::ordered_json answer;
    answer["status"] = value;
    return answer.dump();
}

}  // namespace

std::string selectionStyleAnswer(const SimulatedElement* page, const BrowserScripting& browser) {
    if (browser.focusInCrossOriginFrame) return status("frame");
    if (!page) return status("empty");
    if (page->isSecure()) return status("protected");
    const auto range = page->selectedRange();
    const std::string value = page->value().value_or("");
    if (!range || range->length <= 0) return status("empty");
    const std::string text = page->selectedText();
    if (Utf16::length(text) > maxTextUnits) return status("limit");

    // Each style run is a text node in its own styled element.
    const AXAttributedString attributed = page->attributedValue();
    const auto runs = attributed.runs();
    std::vector<nlohmann::ordered_json> styles;
    std::set<std::string> seen;
    std::size_t visited = 0;
    std::int64_t runStart = 0;
    const std::int64_t selectionEnd = range->location + range->length;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const std::int64_t runEnd = runStart + runs[i].length;
        const std::int64_t from = std::max(runStart, range->location);
        const std::int64_t to = std::min(runEnd, selectionEnd);
        runStart = runEnd;
        if (from >= to) continue;
        if (++visited > maxTextNodes) return status("limit");
        auto part = Utf16::slice(value, from, to - from);
        if (!part || part->empty() || isBlank(*part)) continue;
        auto record = styleRecord(runs[i].attributes);
        if (Utf16::length(record["fontFamily"].get<std::string>()) > maxFamilyUnits) return status("unsupported");
        const std::string key = record.dump();
        if (!seen.insert(key).second) continue;
        if (styles.size() >= maxStyles) return status("unsupported");
        styles.push_back(std::move(record));
    }
    nlohmann::ordered_json answer;
    answer["status"] = styles.empty() ? "empty" : "ok";
    answer["text"] = text;
    answer["styles"] = nlohmann::ordered_json::array();
    for (auto& record : styles) answer["styles"].push_back(std::move(record));
    return answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<int> run(Desktop& desktop, const std::string& source, CommandCall& call) {
    auto request = parse(source);
    if (!request) return std::nullopt;
    auto app = desktop.application(request->bundleIdentifier);
    if (!app || !app->applicationSpec().browser) return std::nullopt;
    if (request->javaScript != resources::browserSelectionStyleScript) return std::nullopt;
    const BrowserScripting& browser = *app->applicationSpec().browser;

    auto answer = [&](const std::string& text) {
        call.writeOutput(text + "\n");
        return 0;
    };
    auto fail = [&](int number) { return answer(request->errorPrefix + std::to_string(number)); };
    if (!app->isRunning()) return fail(-600);  // the application isn't running
    if (!browser.automationAllowed) return fail(-1743);
    if (browser.responsiveness == BrowserScripting::Responsiveness::hung ||
        (browser.responsiveness == BrowserScripting::Responsiveness::slow && !request->timeoutSeconds)) {
        call.hang();
        return 1;
    }
    if (browser.responsiveness == BrowserScripting::Responsiveness::slow) return fail(-1712);
    const auto windows = app->windows();
    if (windows.empty()) return answer(request->noWindowAnswer);
    if (!browser.javaScriptFromAppleEvents) return fail(12);
    return answer(selectionStyleAnswer(pageOf(*app, *windows.front()), browser));
}

}  // namespace BrowserScripts

}  // namespace tallowmere::platform
