#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/ui/event_monitors.h"
#include "platform/ui/window.h"

namespace tallowmere {

class ScreenRulerView;

// The ruler's overlay: a clear panel that may take the keys.
class ScreenRulerPanel : public platform::Panel {
public:
    using Panel::Panel;
    bool canBecomeKey() const override { return true; }
    bool canBecomeMain() const override { return false; }
};

// The screen ruler: one overlay over the screen under the pointer, on
// which the person clicks points and reads the segments' lengths. Return
// or Enter copies the last segment's length and closes it; Escape closes
// it, from this program or any other. Its texts are fixed Chinese in every
// language. One per process (`shared()`).
class ScreenRulerController : public std::enable_shared_from_this<ScreenRulerController> {
public:
    static constexpr int panelLevel = 1000;
    // All spaces, stationary, full-screen auxiliary.
    static constexpr std::uint64_t panelCollectionBehavior = 273;

    static ScreenRulerController& shared();

    ScreenRulerController() = default;
    ScreenRulerController(const ScreenRulerController&) = delete;
    ScreenRulerController& operator=(const ScreenRulerController&) = delete;

    // Opens the ruler, or closes it while it is visible.
    void showFromMenu();
    // Removes the monitors and the overlay.
    void close();
    // Local and global key monitors for Escape, Return and Enter.
    void installEscapeMonitors();

    bool isShowing() const { return panel_ && panel_->isVisible(); }
    std::shared_ptr<ScreenRulerPanel> panel() const { return panel_; }
    std::shared_ptr<ScreenRulerView> view() const;

private:
    void copyAndClose();

    std::shared_ptr<ScreenRulerPanel> panel_;
    std::optional<platform::EventMonitorToken> localKeyMonitor_;
    std::optional<platform::EventMonitorToken> globalKeyMonitor_;
};

}  // namespace tallowmere
