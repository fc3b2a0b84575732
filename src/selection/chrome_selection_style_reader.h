#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere {

// Reads the computed style of the text selected in the browser's page: a
// page script runs in the active tab of the browser's front window through
// osascript, and its JSON answer is checked against the text Accessibility
// reported. Every read ends in a Result whose note tells the person where
// the style came from or why it is missing.
struct ChromeSelectionStyleReader {
    // One styled stretch of the page selection, as the page script reports it.
    struct Style {
        std::string fontFamily;  // the CSS font-family list
        std::string fontSize;    // "16px"
        std::string fontWeight;  // "400", "bold"
        std::vector<int> rgba;   // red, green, blue, alpha bytes; empty when unknown
        bool operator==(const Style&) const = default;
    };

    // The page script's answer.
    struct Selection {
        std::string status;  // "ok", "empty", "frame", "protected", "limit", "unsupported"
        std::optional<std::string> text;
        std::optional<std::vector<Style>> styles;
    };

    struct Result {
        std::vector<Style> styles;
        std::string note;
        bool operator==(const Result&) const = default;
    };
    using Completion = std::function<void(Result)>;

    static constexpr const char* bundleIdentifier = "com.google.Chrome";
    static constexpr const char* queueLabel = "com.quenlow.tallowmere.chrome-text-style";
    static constexpr const char* osascriptPath = "/usr/bin/osascript";
    // Ends an osascript that hangs; the script's own Apple event gives up at 2 s.
    static constexpr double watchdogSeconds = 4.0;

    static constexpr const char* successNote = "来源：Chrome 网页样式；字体为 CSS 字体族，字号单位为 px";
    static constexpr const char* launchFailedNote = "无法启动 Chrome 网页样式读取";
    static constexpr const char* automationNote = "需在系统设置 → 隐私与安全性 → 自动化中允许控制 Chrome";
    static constexpr const char* javaScriptNote = "Chrome：显示 → 开发者 → 允许 Apple 事件中的 JavaScript";
    static constexpr const char* failedNote = "Chrome 网页样式读取失败，请重新选择文字";
    static constexpr const char* timeoutNote = "Chrome 网页样式读取超时或返回格式不受支持";
    static constexpr const char* frameNote = "此跨域嵌入页面需浏览器扩展读取文字样式";
    static constexpr const char* protectedNote = "受保护输入内容不读取文字样式";
    static constexpr const char* limitNote = "选区过大，请缩小选区后重试";
    static constexpr const char* noSelectionNote = "当前页面没有可读取的网页文字选区";
    static constexpr const char* changedNote = "网页选区已变化，请重新选择文字";

    // Returns at once; `completion` runs later on the main queue, exactly once.
    static void read(std::string expectedText, Completion completion);
    // The blocking work of `read`: runs osascript and waits for it.
    static Result readSynchronously(const std::string& expectedText);
    // The result of osascript's trimmed output.
    static Result decode(std::string_view output, const std::string& expectedText);

    // The page script, a JavaScript expression whose value is a JSON text.
    static std::string_view selectionScript();
    // The AppleScript handed to osascript on standard input.
    static std::string appleScript();
    // `text` as the inside of an AppleScript string literal.
    static std::string escapedForAppleScript(std::string_view text);
    // Runs of white space of any kind become one space, and none are kept at
    // the ends: the page and Accessibility break lines differently.
    static std::string normalized(std::string_view text);
    // The page script's answer; none for anything but the expected JSON.
    static std::optional<Selection> parseSelection(std::string_view json);
};

}  // namespace tallowmere
