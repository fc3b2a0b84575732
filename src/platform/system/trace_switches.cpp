#include "platform/system/trace_switches.h"

#include <cstdlib>

namespace tallowmere::platform {

bool TraceSwitches::names(std::string_view list, std::string_view name) {
    while (!list.empty()) {
        const auto comma = list.find(',');
        const auto item = list.substr(0, comma);
        if (item == name || item == "all") return true;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

bool TraceSwitches::isOn(std::string_view name) {
    const char* list = std::getenv(variable);
    return list && names(list, name);
}

std::string quotedForTrace(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\n') {
            quoted += "\\n";
        } else if (c == '"') {
            quoted += "\\\"";
        } else {
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

}  // namespace tallowmere::platform
