#include "hosts/hosts_backups.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <utility>

namespace tallowmere::HostsBackups {

namespace fs = std::filesystem;

namespace {

std::string digits(long value, int width) {
    std::string text = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return value < 0 ? "-" + text : text;
}

// Seconds since 1970 of the file's last content change; the distant past
// when it cannot be read.
double modificationDate(const fs::path& file) {
    struct stat status{};
    if (::stat(file.c_str(), &status) != 0) return -std::numeric_limits<double>::infinity();
    return static_cast<double>(status.st_mtim.tv_sec) + static_cast<double>(status.st_mtim.tv_nsec) / 1e9;
}

}  // namespace

std::string fileName(platform::Date date) {
    // Whole milliseconds first, so 0.123 s never reads as 122 ms.
    const auto total = static_cast<long long>(std::floor(date.timeIntervalSince1970() * 1000.0 + 1e-6));
    long long secondsPart = total / 1000;
    long long milliseconds = total % 1000;
    if (milliseconds < 0) {
        milliseconds += 1000;
        --secondsPart;
    }
    const auto time = static_cast<std::time_t>(secondsPart);
    std::tm local{};
    ::localtime_r(&time, &local);
    return "hosts-" + digits(local.tm_year + 1900L, 4) + digits(local.tm_mon + 1, 2) + digits(local.tm_mday, 2) +
           "-" + digits(local.tm_hour, 2) + digits(local.tm_min, 2) + digits(local.tm_sec, 2) + "-" +
           digits(static_cast<long>(milliseconds), 3) + ".backup";
}

platform::Result<std::vector<fs::path>> list(const fs::path& folder) {
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error) {
        return platform::Error{platform::ErrorCode::ioFailed,
                               "The backups folder couldn\u2019t be listed (" + error.message() + ").",
                               error.value()};
    }
    std::vector<std::pair<fs::path, double>> found;
    for (; entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::path& path = entries->path();
        const std::string name = path.filename().string();
        if (name.starts_with('.') || path.extension() != ".backup") continue;
        std::error_code ignored;
        if (!fs::is_regular_file(entries->status(ignored))) continue;
        found.emplace_back(path, modificationDate(path));
    }
    if (error) {
        return platform::Error{platform::ErrorCode::ioFailed,
                               "The backups folder couldn\u2019t be listed (" + error.message() + ").",
                               error.value()};
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& left, const auto& right) { return left.second > right.second; });
    std::vector<fs::path> backups;
    backups.reserve(found.size());
    for (auto& [path, date] : found) backups.push_back(std::move(path));
    return backups;
}

std::string listTitle(const fs::path& backup) {
    std::string title = backup.stem().string();
    constexpr std::string_view prefix = "hosts-";
    for (auto at = title.find(prefix); at != std::string::npos; at = title.find(prefix, at)) {
        title.erase(at, prefix.size());
    }
    return title;
}

}  // namespace tallowmere::HostsBackups
