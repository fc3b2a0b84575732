#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/color.h"
#include "platform/ui/view.h"

namespace tallowmere {

// The ruler's canvas over one screen: clicked points joined into measured
// segments, each labelled in points and device pixels. A click near a point
// grabs it, a double click starts a new run, a right click, Delete,
// Forward Delete or Command-Z takes the last point back.
class ScreenRulerView : public platform::View {
public:
    static constexpr double grabDistance = 14;
    static constexpr double doubleClickDistance = 8;

    static std::shared_ptr<ScreenRulerView> make(platform::Rect frame);

    std::function<void()> onClose;

    const std::vector<platform::Point>& points() const { return points_; }
    // Entry i: point i is joined to point i − 1 (entry 0 is always false).
    const std::vector<bool>& connectsToPrevious() const { return connectsToPrevious_; }
    bool startsNewSegment() const { return startsNewSegment_; }
    std::optional<std::size_t> draggedPointIndex() const { return draggedPointIndex_; }
    platform::Color accent = platform::Color::system(platform::SystemColor::blue);

    // The length of the last segment, if there is one.
    std::optional<double> lastSegmentLength() const;
    // "12.5 pt / 25 px" at the window's backing scale; "12.5 pt" without
    // one; "-" for a length that is negative or not finite.
    std::string formattedDistance(double distance) const;

    // The banner and its two buttons.
    platform::Rect bannerRect() const;
    platform::Rect clearButtonRect() const;
    platform::Rect closeButtonRect() const;

    bool acceptsFirstResponder() const override { return true; }
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;
    void mouseDown(const platform::Event& event) override;
    void mouseDragged(const platform::Event& event) override;
    void mouseUp(const platform::Event& event) override;
    void rightMouseDown(const platform::Event& event) override;
    void keyDown(const platform::Event& event) override;

protected:
    explicit ScreenRulerView(platform::Rect frame);

private:
    void undo();

    std::vector<platform::Point> points_;
    std::vector<bool> connectsToPrevious_;
    bool startsNewSegment_ = false;
    std::optional<std::size_t> draggedPointIndex_;
    std::optional<double> lastCanvasClickTime_;
    std::optional<platform::Point> lastCanvasClickPoint_;
};

}  // namespace tallowmere
