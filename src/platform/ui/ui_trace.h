#pragma once

#include <functional>
#include <string>

#include "platform/gfx/geometry.h"
#include "platform/system/trace_switches.h"  // quotedForTrace

namespace tallowmere::platform {

// What a person would see change on screen, one line each: status items,
// menus opened, windows and panels shown and hidden, alerts with their texts
// and the button chosen. Printed on standard error when TALLOWMERE_TRACE
// names "ui" (a comma-separated list), so a headless run can be followed.
// One per AppContext.
class UiTrace {
public:
    UiTrace();
    static UiTrace& shared();

    UiTrace(const UiTrace&) = delete;
    UiTrace& operator=(const UiTrace&) = delete;

    bool printsToStandardError() const { return printsToStandardError_; }
    void setPrintsToStandardError(bool prints) { printsToStandardError_ = prints; }

    // Every line, whether or not it is printed (tests read what was shown).
    std::function<void(const std::string& line)> onLine;

    void record(const std::string& line);

private:
    bool printsToStandardError_ = false;
};

// A frame in screen space for a trace line: "(x, y, width × height)".
std::string rectForTrace(const ScreenRect& rect);

}  // namespace tallowmere::platform
