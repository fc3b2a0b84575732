#include "platform/desktop/finder_window_listing.h"

#include <algorithm>
#include <cctype>

#include "platform/base/url.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/simulated_window.h"

namespace tallowmere::platform::FinderWindowListing {

namespace {

std::string folded(const std::filesystem::path& path) {
    std::string name = path.filename().string();
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name;
}

std::size_t rowsThatFit(const SimulatedWindow& window) {
    const double body = window.axFrame().size.height - window.windowSpec().titleBarHeight - topInset;
    return body <= 0 ? 0 : static_cast<std::size_t>(body / rowHeight);
}

}  // namespace

std::optional<std::filesystem::path> folderOf(const SimulatedWindow& window) {
    auto app = window.application();
    if (!app || app->bundleIdentifier() != Desktop::finderBundleIdentifier || !window.document()) return std::nullopt;
    const std::string& document = *window.document();
    std::optional<std::string> path;
    if (document.starts_with("/")) {
        path = document;
    } else if (auto url = Url::parse(document)) {
        path = url->fileSystemPath();
    }
    std::error_code error;
    if (!path || !std::filesystem::is_directory(*path, error)) return std::nullopt;
    return std::filesystem::path(*path);
}

std::vector<std::filesystem::path> items(const SimulatedWindow& window) {
    const auto folder = folderOf(window);
    if (!folder) return {};
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(*folder, error), end; !error && it != end; it.increment(error)) {
        const auto& path = it->path();
        if (!path.filename().string().starts_with(".")) found.push_back(path);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return folded(a) < folded(b); });
    found.resize(std::min(found.size(), rowsThatFit(window)));
    return found;
}

AXRect rowFrame(const SimulatedWindow& window, std::size_t index) {
    const AXRect frame = window.axFrame();
    return {frame.minX() + sideInset,
            frame.minY() + window.windowSpec().titleBarHeight + topInset + static_cast<double>(index) * rowHeight,
            std::max(0.0, frame.size.width - 2 * sideInset), rowHeight};
}

std::optional<std::filesystem::path> itemAt(const SimulatedWindow& window, AXPoint point) {
    const auto shown = items(window);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (rowFrame(window, i).contains(point)) return shown[i];
    }
    return std::nullopt;
}

}  // namespace tallowmere::platform::FinderWindowListing
