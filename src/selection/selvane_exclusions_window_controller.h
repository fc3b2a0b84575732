#pragma once

#include <memory>

#include "platform/ui/window_controller.h"
#include "selection/selvane_exclusions_view.h"

namespace tallowmere {

// The small window around the exclusion list, made once and kept after
// closing, so reopening shows the same window. One per process (`shared()`).
class SelvaneExclusionsWindowController : public platform::WindowController {
public:
    static constexpr platform::Size contentSize{460, 360};

    static SelvaneExclusionsWindowController& shared();

    SelvaneExclusionsWindowController();

    const std::shared_ptr<SelvaneExclusionsView>& exclusionsView() const { return view_; }
    // Shows the window in front, key, with the program activated.
    void open();

private:
    std::shared_ptr<SelvaneExclusionsView> view_;
};

}  // namespace tallowmere
