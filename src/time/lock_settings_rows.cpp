#include "time/lock_settings_rows.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

#include "platform/base/text.h"

namespace tallowmere::LockSettingsRows {

namespace {

using platform::Text::trimmingWhitespaceAndNewlines;

// The whole minutes or seconds a reader prints: digits only, of a size a
// setting can have, so "10 (prevented by ...)" reads 10 and "-5" nothing.
std::optional<std::int64_t> leadingCount(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() || text.front() == '-' || value > 10'000'000) return std::nullopt;
    return value;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::vector<std::string> displaySleep(const std::optional<std::string>& pmsetOutput) {
    struct Source {
        const char* name;
        std::optional<std::int64_t> minutes;
    };
    Source battery{"电池", std::nullopt}, adapter{"电源适配器", std::nullopt};
    Source* section = nullptr;
    if (pmsetOutput) {
        for (std::string_view line : platform::Text::lines(*pmsetOutput)) {
            // The Chinese battery heading also holds "电源", so it is tried first.
            if (line.find("Battery Power:") != std::string_view::npos || line.find("电池") != std::string_view::npos) {
                section = &battery;
                continue;
            }
            if (line.find("AC Power:") != std::string_view::npos || line.find("电源") != std::string_view::npos) {
                section = &adapter;
                continue;
            }
            line = trimmed(line);
            constexpr std::string_view key = "displaysleep";
            if (!section || !line.starts_with(key)) continue;
            const std::string_view rest = line.substr(key.size());
            if (rest.empty() || (rest.front() != ' ' && rest.front() != '\t')) continue;
            section->minutes = leadingCount(trimmed(rest));
        }
    }
    std::vector<std::string> rows;
    for (const Source* source : {&battery, &adapter}) {
        if (!source->minutes) continue;
        rows.push_back(std::string(source->name) +
                       (*source->minutes == 0 ? "：不自动熄屏" : "：" + std::to_string(*source->minutes) + " 分钟后熄屏"));
    }
    if (rows.empty()) rows.emplace_back("自动熄屏时间：未能读取，请查看系统设置");
    return rows;
}

std::string screenSaver(const std::optional<std::string>& defaultsOutput) {
    const std::string text = defaultsOutput ? trimmingWhitespaceAndNewlines(*defaultsOutput) : std::string();
    const auto seconds = leadingCount(text);
    // Anything after the number means it was not the plain value asked for.
    if (!seconds || std::to_string(*seconds) != text) return "屏幕保护程序：未能读取，请查看系统设置";
    if (*seconds == 0) return "屏幕保护程序：不自动启动";
    // Rounded up, so a screen saver starting within the minute never reads "0".
    return "屏幕保护程序：无操作 " + std::to_string((*seconds + 59) / 60) + " 分钟后启动";
}

std::string passwordDelay(const std::optional<std::string>& sysadminctlOutput) {
    if (!sysadminctlOutput || trimmingWhitespaceAndNewlines(*sysadminctlOutput).empty()) {
        return "要求密码延迟：未能读取，请查看系统设置";
    }
    constexpr std::string_view marker = "screenLock delay is ";
    const auto found = sysadminctlOutput->find(marker);
    if (found != std::string::npos) {
        std::string value = trimmingWhitespaceAndNewlines(std::string_view(*sysadminctlOutput).substr(found + marker.size()));
        std::transform(value.begin(), value.end(), value.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (value.starts_with("immediate")) return "熄屏或屏保后：立即要求密码";
        if (value.find("off") != std::string::npos || value.find("never") != std::string::npos) {
            return "熄屏或屏保后：不要求密码";
        }
        if (const auto seconds = leadingCount(value)) {
            return "熄屏或屏保后：" + std::to_string(*seconds) + " 秒后要求密码";
        }
    }
    return "要求密码延迟：请查看系统设置";
}

std::vector<std::string> all(const std::optional<std::string>& pmsetOutput,
                             const std::optional<std::string>& defaultsOutput,
                             const std::optional<std::string>& sysadminctlOutput) {
    std::vector<std::string> rows{std::string(heading)};
    for (auto& row : displaySleep(pmsetOutput)) rows.push_back(std::move(row));
    rows.push_back(screenSaver(defaultsOutput));
    rows.push_back(passwordDelay(sysadminctlOutput));
    return rows;
}

}  // namespace tallowmere::LockSettingsRows
