#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/base/result.h"
#include "platform/gfx/appearance.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/recording_canvas.h"

namespace tallowmere::platform {

class CairoCanvas;
class Screen;
class View;

// Keeps the picture of one screen (as ScreenSnapshot draws it) and brings it
// up to date by repainting only what changed: the views marked as needing
// display, with what lies under and over them. Anything else that changes
// the screen (a window moved, shown, retitled; the menu bar; an open menu;
// light or dark) repaints it whole. A screen on which nothing changed costs
// no drawing at all.
class ScreenPainter {
public:
    static Result<std::unique_ptr<ScreenPainter>> make(std::shared_ptr<Screen> screen, double scale);
    ~ScreenPainter();
    ScreenPainter(const ScreenPainter&) = delete;
    ScreenPainter& operator=(const ScreenPainter&) = delete;

    // Repaints what changed since the last update (everything the first
    // time); the parts repainted, in the screen's pixels (rows from the
    // top), none when nothing changed.
    struct PixelArea {
        int x = 0, y = 0, width = 0, height = 0;
        bool operator==(const PixelArea&) const = default;
    };
    std::vector<PixelArea> update();

    // The picture, or part of it.
    Bitmap bitmap() const;
    Bitmap bitmap(const PixelArea& area) const;
    const std::shared_ptr<Screen>& screen() const { return screen_; }
    double scale() const { return scale_; }

private:
    // What the screen shows apart from the views' own drawing (windows,
    // their frames and titles, the menu bar, the Dock), as the drawing calls
    // it takes: when any of it changes, the screen is repainted whole.
    struct Look {
        Appearance appearance = Appearance::light;
        bool menuOpen = false;
        std::vector<RecordingCanvas::Operation> chrome;
        bool operator==(const Look& other) const;
    };

    ScreenPainter(std::shared_ptr<Screen> screen, double scale, std::unique_ptr<CairoCanvas> canvas);
    Look currentLook() const;
    // The views marked for display since the last paint, as screen
    // rectangles their drawing may cover.
    std::vector<Rect> dirtyRects() const;
    PixelArea pixelsOf(Rect screenRect) const;
    void paint(std::optional<Rect> region);
    // Paints `area`, with room around it for the shadows it cuts.
    void paintArea(const PixelArea& area);
    void forEachOwnContentView(const std::function<void(View&)>& visit) const;

    std::shared_ptr<Screen> screen_;
    double scale_;
    std::unique_ptr<CairoCanvas> canvas_;
    std::optional<Look> painted_;
    // Views marked for display after this are not painted yet.
    std::uint64_t paintedMark_ = 0;
};

// The painters snapshots use, one per screen and scale, so a snapshot of a
// screen that changed a little repaints only that. One per AppContext.
class ScreenPainters {
public:
    static ScreenPainters& shared();
    // The painter of `screen` at `scale`, made on first use; painters of
    // screens that went are let go.
    Result<ScreenPainter*> painter(const std::shared_ptr<Screen>& screen, double scale);

private:
    std::vector<std::unique_ptr<ScreenPainter>> painters_;
};

}  // namespace tallowmere::platform
