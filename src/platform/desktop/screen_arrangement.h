#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/base/result.h"
#include "platform/desktop/screen.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class NotificationCenter;

enum class DockEdge { bottom, left, right };

// Where the Dock sits on the primary screen; a size of 0 is a hidden Dock.
struct DockPlacement {
    DockEdge edge = DockEdge::bottom;
    double size = 0;
};

// The attached displays, their arrangement and the two coordinate spaces.
//
// Screen space has its origin at the bottom-left of the primary screen (the
// first in the list) with y up; Accessibility space has its origin at the
// top-left of the primary screen with y down. They convert through the
// primary screen's height. The menu bar (24 pt) sits at the top of the
// primary screen, the Dock on the primary screen's chosen edge.
//
// Every change posts `didChangeScreenParametersNotification` on the
// context's default notification centre.
class ScreenArrangement {
  public:
    static constexpr const char* didChangeScreenParametersNotification =
        "ApplicationDidChangeScreenParameters";
    static constexpr double menuBarHeight = 24;

    explicit ScreenArrangement(NotificationCenter& notifications) : notifications_(notifications) {}
    ScreenArrangement(const ScreenArrangement&) = delete;
    ScreenArrangement& operator=(const ScreenArrangement&) = delete;

    // Displays that show their own desktop, the primary first. Mirrored
    // displays are left out, as they share the source's screen.
    std::vector<std::shared_ptr<Screen>> screens() const;
    // Every connected display, mirrored or not, in attachment order.
    const std::vector<std::shared_ptr<Screen>>& onlineDisplays() const { return displays_; }
    // The same list, for background queues (the display hardware's
    // functions): a copy taken under a lock. Only a screen's identifier,
    // name, built-in flag and device may be read from another thread.
    std::vector<std::shared_ptr<Screen>> onlineDisplaysFromAnyThread() const;
    std::shared_ptr<Screen> primaryScreen() const;
    // The screen of the key window; the primary screen when there is none.
    std::shared_ptr<Screen> mainScreen() const;
    std::shared_ptr<Screen> screen(DisplayID id) const;
    // The first screen whose frame contains the point, if any.
    std::shared_ptr<Screen> screenContaining(ScreenPoint point) const;

    // A test attaches a display; the first becomes the primary. A frame that
    // is empty or a display ID already in use is refused.
    Result<std::shared_ptr<Screen>> addScreen(ScreenSpec spec);
    void removeScreen(const std::shared_ptr<Screen>& screen);
    // New frame (and scale), as when the user changes the resolution.
    Result<void> reconfigure(const std::shared_ptr<Screen>& screen, ScreenRect frame,
                             std::optional<double> backingScaleFactor = std::nullopt);
    void setDock(DockPlacement dock);
    DockPlacement dock() const { return dock_; }

    // Height of the primary screen: the reference of every conversion.
    double primaryHeight() const;
    AXPoint toAX(ScreenPoint p) const { return {p.x, primaryHeight() - p.y}; }
    ScreenPoint toScreen(AXPoint p) const { return {p.x, primaryHeight() - p.y}; }
    AXRect toAX(const ScreenRect& r) const {
        return {r.minX(), primaryHeight() - r.maxY(), r.width(), r.height()};
    }
    ScreenRect toScreen(const AXRect& r) const {
        return {r.minX(), primaryHeight() - r.maxY(), r.width(), r.height()};
    }

    // Display mirroring, changed in one transaction as the display system
    // does it: every step is checked and nothing changes unless the whole
    // configuration completes.
    class Configuration {
      public:
        // Sets `display` to mirror `source` (0 ends its mirroring).
        Result<void> configureMirror(DisplayID display, DisplayID source);

      private:
        friend class ScreenArrangement;
        std::vector<std::pair<DisplayID, DisplayID>> mirrors_;
        ScreenArrangement* owner_ = nullptr;
    };
    Result<Configuration> beginConfiguration();
    Result<void> completeConfiguration(Configuration configuration);
    // Tests: make the next `beginConfiguration` or `completeConfiguration` fail.
    void failNextBeginConfiguration() { failNextBegin_ = true; }
    void failNextCompleteConfiguration() { failNextComplete_ = true; }
    int completedConfigurationCount() const { return completedConfigurations_; }

    // Set by the desktop: the frame, in screen space, of the key window.
    std::function<std::optional<ScreenRect>()> keyWindowFrame;

  private:
    friend class Desktop;
    void updateVisibleFrames();
    void postChange();

    NotificationCenter& notifications_;
    std::vector<std::shared_ptr<Screen>> displays_;
    void publishDisplays();
    mutable std::mutex publishedMutex_;
    std::vector<std::shared_ptr<Screen>> published_;  // displays_ as other threads see it
    DockPlacement dock_;
    DisplayID nextDisplayID_ = 1;
    bool failNextBegin_ = false;
    bool failNextComplete_ = false;
    int completedConfigurations_ = 0;
    bool postsChanges_ = true;  // off while the desktop sets itself up
};

}  // namespace tallowmere::platform
