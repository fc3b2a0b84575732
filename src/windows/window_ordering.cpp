#include "windows/window_ordering.h"

#include <cmath>

#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"

namespace tallowmere {

double WindowOrdering::matchScore(const WindowOrderEntry& entry, const std::string& title,
                                  const platform::AXRect& frame) {
    const double titlePart = !title.empty() && entry.title == title ? 0 : titleMismatchPenalty;
    return titlePart + std::abs(entry.frame.minX() - frame.minX()) + std::abs(entry.frame.minY() - frame.minY()) +
           std::abs(entry.frame.width() - frame.width()) + std::abs(entry.frame.height() - frame.height());
}

std::vector<WindowOrderEntry> WindowOrdering::onScreenOrder() {
    using namespace platform::WindowListOption;
    const auto list = platform::DesktopLink::desktop().windowServer().windowList(onScreenOnly | excludeDesktopElements);
    std::vector<WindowOrderEntry> order;
    int counter = 0;
    for (const auto& info : list) {
        const int zIndex = counter++;
        const auto& b = info.bounds;
        const bool isRect = std::isfinite(b.minX()) && std::isfinite(b.minY()) && std::isfinite(b.width()) &&
                            std::isfinite(b.height()) && b.width() >= 0 && b.height() >= 0;
        if (info.ownerPID <= 0 || !isRect) continue;
        order.push_back({info.ownerPID, info.name.value_or(""), b, zIndex});
    }
    return order;
}

}  // namespace tallowmere
