#pragma once

#include <sys/types.h>

#include <array>
#include <optional>
#include <string>

namespace tallowmere::testing {

// A private X server for a test that needs a display: Xvfb on a display
// number it picks itself (-displayfd), so tests running side by side never
// meet, stopped with the object. A test that cannot have one fails with the
// reason; it never passes without a display.
class XvfbDisplay {
public:
    // Starts Xvfb with one screen of `width` × `height` pixels and waits
    // (within a deadline) until it accepts clients.
    XvfbDisplay(int width, int height);
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool isRunning() const { return !name_.empty(); }
    // ":N" for DISPLAY; empty when it did not start.
    const std::string& name() const { return name_; }
    // Why it did not start.
    const std::string& failure() const { return failure_; }

private:
    pid_t pid_ = -1;
    std::string name_;
    std::string failure_;
};

// The red, green and blue of one pixel of a window on `display`, as the X
// server holds it; none when the window cannot be read.
std::optional<std::array<int, 3>> windowPixel(const std::string& display, unsigned long window, int x, int y);

// Runs a command line through the shell and gives its standard output
// (standard error goes to the test's own).
std::string commandOutput(const std::string& command);

}  // namespace tallowmere::testing
