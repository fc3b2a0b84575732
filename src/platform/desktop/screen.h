#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/desktop/display_device.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

using DisplayID = std::uint32_t;

// How a test or the desktop viewer describes a display to attach.
struct ScreenSpec {
    ScreenRect frame{0, 0, 1440, 900};
    double backingScaleFactor = 2.0;
    std::string localizedName = "Built-in Retina Display";
    bool isBuiltIn = true;
    DisplayID displayID = 0;  // 0: the desktop picks the next free identifier
    bool supportsMirroring = true;
    // The frame less the menu bar and the Dock; none: worked out from where
    // the menu bar and the Dock are.
    std::optional<ScreenRect> visibleFrame{};
    // The display behind the screen: identity, brightness, DDC channel.
    DisplayHardwareSpec hardware{};
};

// One attached display as the program sees it. Held by `std::shared_ptr` and
// compared by identity: a screen stays the same object while it is attached,
// even when its frame changes.
class Screen {
  public:
    explicit Screen(const ScreenSpec& spec)
        : displayID_(spec.displayID),
          frame_(spec.frame),
          visibleFrame_(spec.visibleFrame.value_or(spec.frame)),
          fixedVisibleFrame_(spec.visibleFrame),
          backingScaleFactor_(spec.backingScaleFactor),
          localizedName_(spec.localizedName),
          isBuiltIn_(spec.isBuiltIn),
          supportsMirroring_(spec.supportsMirroring),
          device_(std::make_shared<DisplayDevice>(spec.hardware, spec.isBuiltIn)) {}

    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // The display number of the device description ("NSScreenNumber").
    DisplayID displayID() const { return displayID_; }
    // Whole display in screen space.
    ScreenRect frame() const { return frame_; }
    // The frame less the menu bar and the Dock.
    ScreenRect visibleFrame() const { return visibleFrame_; }
    double backingScaleFactor() const { return backingScaleFactor_; }
    const std::string& localizedName() const { return localizedName_; }
    bool isBuiltIn() const { return isBuiltIn_; }
    bool supportsMirroring() const { return supportsMirroring_; }
    // The display this one shows a copy of; 0 while it shows its own desktop.
    DisplayID mirrorSource() const { return mirrorSource_; }
    bool isMirrored() const { return mirrorSource_ != 0; }
    // Its hardware, which background queues reach too.
    const std::shared_ptr<DisplayDevice>& device() const { return device_; }

  private:
    friend class ScreenArrangement;
    DisplayID displayID_;
    ScreenRect frame_;
    ScreenRect visibleFrame_;
    std::optional<ScreenRect> fixedVisibleFrame_;  // as the screen was described, until it changes
    double backingScaleFactor_;
    std::string localizedName_;
    bool isBuiltIn_;
    bool supportsMirroring_;
    DisplayID mirrorSource_ = 0;
    std::shared_ptr<DisplayDevice> device_;
};

}  // namespace tallowmere::platform
