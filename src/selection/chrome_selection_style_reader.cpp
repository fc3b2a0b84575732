#include "selection/chrome_selection_style_reader.h"

#include <cmath>
#include <limits>
#include <memory>

#include "platform/base/json.h"
#include "platform/base/text.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/serial_queue.h"
#include "platform/system/process_runner.h"

namespace tallowmere {

namespace resources {
extern const std::string_view chromeSelectionStyleScript;
}  // namespace resources

namespace {

using Reader = ChromeSelectionStyleReader;

// The reads' own queue, one per process: a read waits for the one before.
struct ChromeStyleQueue {
    platform::SerialQueue queue{Reader::queueLabel};
};

constexpr std::string_view errorPrefix = "SELVANE_ERROR:";

// The code points of well-formed UTF-8.
template <class Visit>
void forEachCodePoint(std::string_view text, Visit visit) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        visit(code, text.substr(i, length));
        i += length;
    }
}

const nlohmann::json* member(const nlohmann::json& object, const char* key) {
    auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

std::optional<std::string> stringMember(const nlohmann::json& object, const char* key) {
    const auto* value = member(object, key);
    if (!value || !value->is_string()) return std::nullopt;
    return value->get<std::string>();
}

// A whole number that fits an Int, as a decoder of Int takes it (255 and 255.0, not 255.5).
std::optional<int> integer(const nlohmann::json& value) {
    if (value.is_number_integer()) {
        if (value.is_number_unsigned()) {
            const auto n = value.get<std::uint64_t>();
            return n <= static_cast<std::uint64_t>(std::numeric_limits<int>::max()) ? std::optional<int>(static_cast<int>(n))
                                                                                     : std::nullopt;
        }
        const auto n = value.get<std::int64_t>();
        if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max()) return std::nullopt;
        return static_cast<int>(n);
    }
    if (value.is_number_float()) {
        const double n = value.get<double>();
        if (std::trunc(n) != n || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max()) {
            return std::nullopt;
        }
        return static_cast<int>(n);
    }
    return std::nullopt;
}

std::optional<Reader::Style> style(const nlohmann::json& object) {
    if (!object.is_object()) return std::nullopt;
    auto family = stringMember(object, "fontFamily");
    auto size = stringMember(object, "fontSize");
    auto weight = stringMember(object, "fontWeight");
    const auto* rgba = member(object, "rgba");
    if (!family || !size || !weight || !rgba || !rgba->is_array()) return std::nullopt;
    Reader::Style result{std::move(*family), std::move(*size), std::move(*weight), {}};
    for (const auto& entry : *rgba) {
        auto byte = integer(entry);
        if (!byte) return std::nullopt;
        result.rgba.push_back(*byte);
    }
    return result;
}

Reader::Result failure(const char* note) { return {{}, note}; }

}  // namespace

std::string_view ChromeSelectionStyleReader::selectionScript() { return resources::chromeSelectionStyleScript; }

std::string ChromeSelectionStyleReader::escapedForAppleScript(std::string_view text) {
    std::string doubled;
    doubled.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        if (c == '\\') doubled += '\\';
        doubled += c;
    }
    std::string escaped;
    escaped.reserve(doubled.size() + doubled.size() / 8);
    for (char c : doubled) {
        if (c == '"') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string ChromeSelectionStyleReader::appleScript() {
    std::string script;
    script += "with timeout of 2 seconds\n";
    script += "    try\n";
    script += "        tell application id \"com.google.Chrome\"\n";
    script += "            if (count of windows) is 0 then\n";
    script += "                return \"SELVANE_ERROR:no-window\"\n";
    script += "            end if\n";
    script += "            return (execute active tab of front window javascript \"" +
              escapedForAppleScript(selectionScript()) + "\")\n";
    script += "        end tell\n";
    script += "    on error errorMessage number errorNumber\n";
    script += "        return \"SELVANE_ERROR:\" & errorNumber\n";
    script += "    end try\n";
    script += "end timeout\n";
    return script;
}

std::string ChromeSelectionStyleReader::normalized(std::string_view text) {
    const std::string valid = platform::Text::repairUtf8(text);
    std::string result;
    bool pendingSpace = false;
    forEachCodePoint(valid, [&](char32_t code, std::string_view bytes) {
        if (platform::Text::isWhitespaceOrNewline(code)) {
            pendingSpace = !result.empty();
            return;
        }
        if (pendingSpace) result += ' ';
        pendingSpace = false;
        result.append(bytes);
    });
    return result;
}

std::optional<ChromeSelectionStyleReader::Selection> ChromeSelectionStyleReader::parseSelection(std::string_view json) {
    auto parsed = platform::Json::parse(json);
    if (!parsed || !parsed->is_object()) return std::nullopt;
    const auto& object = *parsed;
    auto status = stringMember(object, "status");
    if (!status) return std::nullopt;
    Selection selection{std::move(*status), std::nullopt, std::nullopt};
    // A member that is there must have its kind; null stands for absent.
    if (const auto* text = member(object, "text"); text && !text->is_null()) {
        if (!text->is_string()) return std::nullopt;
        selection.text = text->get<std::string>();
    }
    if (const auto* styles = member(object, "styles"); styles && !styles->is_null()) {
        if (!styles->is_array()) return std::nullopt;
        std::vector<Style> records;
        records.reserve(styles->size());
        for (const auto& entry : *styles) {
            auto record = style(entry);
            if (!record) return std::nullopt;
            records.push_back(std::move(*record));
        }
        selection.styles = std::move(records);
    }
    return selection;
}

ChromeSelectionStyleReader::Result ChromeSelectionStyleReader::decode(std::string_view output,
                                                                     const std::string& expectedText) {
    if (output.starts_with(errorPrefix)) {
        if (output.find("-1743") != std::string_view::npos) return failure(automationNote);
        if (output == "SELVANE_ERROR:12") return failure(javaScriptNote);
        return failure(failedNote);
    }
    auto selection = parseSelection(output);
    if (!selection) return failure(timeoutNote);
    if (selection->status == "frame") return failure(frameNote);
    if (selection->status == "protected") return failure(protectedNote);
    if (selection->status == "limit") return failure(limitNote);
    if (selection->status != "ok") return failure(noSelectionNote);
    if (!selection->text || !selection->styles || selection->styles->empty()) return failure(changedNote);
    const std::string pageText = normalized(*selection->text);
    if (pageText.empty() || pageText != normalized(expectedText)) return failure(changedNote);
    return {std::move(*selection->styles), successNote};
}

ChromeSelectionStyleReader::Result ChromeSelectionStyleReader::readSynchronously(const std::string& expectedText) {
    platform::ProcessRequest request;
    request.executable = osascriptPath;
    request.arguments = {"-"};
    request.standardInput = appleScript();
    request.output = platform::ProcessOutput::separate;  // standard error is not read
    request.timeout = watchdogSeconds;
    auto ran = platform::ProcessRunner::run(request);
    if (!ran) return failure(launchFailedNote);
    // A run the watchdog ended has empty or cut output, which decodes to the time-out note.
    const std::string& bytes = ran->standardOutput;
    const std::string output = platform::Text::isValidUtf8(bytes) ? platform::Text::trimmingWhitespaceAndNewlines(bytes)
                                                                  : std::string();
    return decode(output, expectedText);
}

void ChromeSelectionStyleReader::read(std::string expectedText, Completion completion) {
    auto& context = platform::AppContext::current();
    auto& main = context.mainQueue();
    context.shared<ChromeStyleQueue>().queue.async(
        [&main, expectedText = std::move(expectedText), completion = std::move(completion)]() mutable {
            auto result = readSynchronously(expectedText);
            main.async([completion = std::move(completion), result = std::move(result)]() mutable {
                completion(std::move(result));
            });
        });
}

}  // namespace tallowmere
