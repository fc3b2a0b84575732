#include "mainwindow/quick_launch_editor_inputs.h"

#include <array>
#include <system_error>

#include "platform/base/text.h"
#include "platform/base/url.h"
#include "platform/system/paths.h"

namespace tallowmere {

namespace fs = std::filesystem;

WebsiteIconStyle websiteIconStyleAtSegment(std::optional<int> segment) {
    const int index = segment.value_or(-1);
    if (index < 0) return allWebsiteIconStyles.front();
    if (index >= static_cast<int>(allWebsiteIconStyles.size())) return WebsiteIconStyle::globe;
    return allWebsiteIconStyles[static_cast<std::size_t>(index)];
}

std::optional<fs::path> existingLocalItem(std::string_view address) {
    const std::string trimmed = platform::Text::trimmingWhitespaceAndNewlines(address);
    if (trimmed.empty() || trimmed.find('\0') != std::string::npos) return std::nullopt;
    fs::path path;
    if (auto url = platform::Url::parse(trimmed); url && url->isFileUrl()) {
        auto filePath = url->fileSystemPath();
        if (!filePath) return std::nullopt;
        path = *filePath;
    } else if (trimmed == "~") {
        path = platform::Paths::home();
    } else if (trimmed.starts_with("~/")) {
        path = platform::Paths::home() / trimmed.substr(2);
    } else {
        path = trimmed;
    }
    std::error_code error;
    if (!path.is_absolute() || !fs::exists(path, error)) return std::nullopt;
    // Stored as a file list names it: no "." or "..", no trailing "/".
    fs::path normal = path.lexically_normal();
    if (!normal.has_filename() && normal != normal.root_path()) normal = normal.parent_path();
    return normal;
}

}  // namespace tallowmere
