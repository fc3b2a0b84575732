#include "platform/ui/ui_trace.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

namespace {
bool traceNamesUi() {
    const char* value = std::getenv("TALLOWMERE_TRACE");
    if (!value) return false;
    std::string_view list(value);
    while (!list.empty()) {
        const auto comma = list.find(',');
        const auto name = list.substr(0, comma);
        if (name == "ui" || name == "all") return true;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return false;
}
}  // namespace

UiTrace::UiTrace() : printsToStandardError_(traceNamesUi()) {}

UiTrace& UiTrace::shared() { return AppContext::current().shared<UiTrace>(); }

void UiTrace::record(const std::string& line) {
    if (printsToStandardError_) std::fprintf(stderr, "ui: %s\n", line.c_str());
    if (onLine) onLine(line);
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
