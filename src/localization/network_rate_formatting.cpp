#include "localization/network_rate_formatting.h"

#include <charconv>
#include <cmath>

namespace tallowmere {
namespace {

// Fixed-point text as printf prints it in the C locale: correctly rounded,
// exact halves to the even neighbour, a full stop whatever the user's locale.
std::string fixed(double value, int decimals) {
    char buffer[64];
    auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, written.ptr);
}

}  // namespace

std::pair<std::string, std::string> NetworkRateFormatting::display(double bytesPerSecond) {
    if (!std::isfinite(bytesPerSecond)) return {"-", "KB/s"};
    const double kilobytes = (bytesPerSecond > 0 ? bytesPerSecond : 0.0) / 1000;
    // The unit is chosen from the unrounded value, so 999.5 KB/s reads "1000 KB/s".
    if (kilobytes < 1000) return {fixed(kilobytes, 0), "KB/s"};
    const double megabytes = kilobytes / 1000;
    return {fixed(megabytes, megabytes < 10 ? 1 : 0), "MB/s"};
}

}  // namespace tallowmere
