#pragma once

#include <string>
#include <utility>

namespace tallowmere {

// Turns a byte rate into the value and unit texts of the menu bar's network
// rates, in decimal units (1 KB = 1000 bytes). Unit texts are not translated.
struct NetworkRateFormatting {
    // (value, unit): ("12", "KB/s"), ("1.5", "MB/s"), ("-", "KB/s") for a rate
    // that is not finite; a negative rate reads as 0.
    static std::pair<std::string, std::string> display(double bytesPerSecond);
};

}  // namespace tallowmere
