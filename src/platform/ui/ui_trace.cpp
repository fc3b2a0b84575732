#include "platform/ui/ui_trace.h"

#include <cstdio>

#include "platform/runtime/app_context.h"
#include "platform/system/trace_switches.h"

namespace tallowmere::platform {

UiTrace::UiTrace() : printsToStandardError_(TraceSwitches::isOn("ui")) {}

UiTrace& UiTrace::shared() { return AppContext::current().shared<UiTrace>(); }

void UiTrace::record(const std::string& line) {
    if (printsToStandardError_) std::fprintf(stderr, "ui: %s\n", line.c_str());
    if (onLine) onLine(line);
}

std::string rectForTrace(const ScreenRect& rect) {
    char text[96];
    std::snprintf(text, sizeof text, "(%g, %g, %g × %g)", rect.minX(), rect.minY(), rect.width(), rect.height());
    return text;
}

}  // namespace tallowmere::platform
