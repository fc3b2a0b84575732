#include "localization/network_rate_formatting.h"

#include <cmath>

#include "platform/base/format.h"

namespace tallowmere {

std::pair<std::string, std::string> NetworkRateFormatting::display(double bytesPerSecond) {
    if (!std::isfinite(bytesPerSecond)) return {"-", "KB/s"};
    const double kilobytes = (bytesPerSecond > 0 ? bytesPerSecond : 0.0) / 1000;
    // The unit is chosen from the unrounded value, so 999.5 KB/s reads "1000 KB/s".
    if (kilobytes < 1000) return {platform::formatTemplate("%.0f", kilobytes), "KB/s"};
    const double megabytes = kilobytes / 1000;
    return {platform::formatTemplate(megabytes < 10 ? "%.1f" : "%.0f", megabytes), "MB/s"};
}

}  // namespace tallowmere
