#pragma once

#include <functional>
#include <optional>

#include "platform/base/data.h"
#include "platform/base/result.h"
#include "platform/gfx/geometry.h"
#include "platform/system/command_call.h"

namespace tallowmere::platform {

class Desktop;

// "/usr/sbin/screencapture" on the simulated Mac: it captures the simulated
// screen as it looks (`WindowServer::captureScreenRect`) at the pixel scale
// of the screen the area lies on, and writes a PNG file.
//
//   screencapture [-icx] [-t png] [file]
//   -i  the person drags the area (`chooseArea`); cancelling writes nothing
//       and still exits 0, as the Mac's tool does
//   -c  to the pasteboard instead of a file
//   -x  no camera sound
//
// Without -i the whole primary screen is taken. Bad options exit 1 with the
// usage on standard error.
class ScreenCaptureCommand {
public:
    static constexpr const char* path = "/usr/sbin/screencapture";
    static constexpr const char* soundName = "Grab";

    explicit ScreenCaptureCommand(Desktop& desktop) : desktop_(desktop) {}
    ScreenCaptureCommand(const ScreenCaptureCommand&) = delete;
    ScreenCaptureCommand& operator=(const ScreenCaptureCommand&) = delete;

    // Asks the person for an area in screen space; nothing when they cancel
    // or nobody is there (headless). Set by the interface layer; unset, an
    // interactive capture is cancelled.
    std::function<std::optional<ScreenRect>()> chooseArea;

    int run(CommandCall& call);

    // The PNG bytes of `area` as the screen shows it, at the scale of the
    // screen holding the most of it.
    Result<Data> capturePng(ScreenRect area) const;
    double scaleFor(ScreenRect area) const;

private:
    Desktop& desktop_;
};

}  // namespace tallowmere::platform
