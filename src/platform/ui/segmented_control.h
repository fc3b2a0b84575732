#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/image.h"
#include "platform/ui/control.h"

namespace tallowmere::platform {

// How clicks select segments: one at a time, any number each toggled, or
// none kept (a row of momentary buttons).
enum class SegmentTrackingMode { selectOne, selectAny, momentary };

// A row of segments, each with a label or an image. A click on an enabled
// segment selects it by the tracking mode and runs `onAction` once; during
// the action of a momentary control the clicked segment reads as selected.
class SegmentedControl : public Control {
public:
    static std::shared_ptr<SegmentedControl> make(std::vector<std::string> labels,
                                                  SegmentTrackingMode mode = SegmentTrackingMode::selectOne);
    static std::shared_ptr<SegmentedControl> makeWithImages(std::vector<Image> images,
                                                            SegmentTrackingMode mode = SegmentTrackingMode::selectOne);

    int segmentCount() const { return static_cast<int>(segments_.size()); }
    // Adds empty segments or drops the last ones.
    void setSegmentCount(int count);

    std::string label(int segment) const;
    void setLabel(std::string label, int segment);
    std::optional<Image> image(int segment) const;
    void setImage(std::optional<Image> image, int segment);
    std::string toolTip(int segment) const;
    void setToolTip(std::string toolTip, int segment);
    // 0 sizes the segment to its content.
    double width(int segment) const;
    void setWidth(double width, int segment);
    bool isEnabled(int segment) const;
    void setEnabled(bool enabled, int segment);
    int tag(int segment) const;
    void setTag(int tag, int segment);
    using Control::isEnabled;
    using Control::setEnabled;

    SegmentTrackingMode trackingMode() const { return trackingMode_; }
    void setTrackingMode(SegmentTrackingMode mode);
    // The selected segment (the last selected one with selectAny); none
    // when no segment is selected.
    std::optional<int> selectedSegment() const;
    // Selects without running the action; none or an invalid index clears.
    void setSelectedSegment(std::optional<int> segment);
    bool isSelected(int segment) const;
    void setSelected(bool selected, int segment);
    // The segment at a point of the control, if any.
    std::optional<int> segmentAt(Point point) const;
    // What a click on `segment` does; nothing for a disabled control or segment.
    void performClick(int segment);

    std::string accessibilityRole() const override { return "AXRadioGroup"; }
    Size intrinsicContentSize() const override;
    void draw(Canvas& canvas, Rect dirty) override;
    void mouseDown(const Event& event) override;
    void mouseUp(const Event& event) override;

protected:
    SegmentedControl(std::size_t count, SegmentTrackingMode mode);

private:
    struct Segment {
        std::string label;
        std::optional<Image> image;
        std::string toolTip;
        double width = 0;
        bool enabled = true;
        bool selected = false;
        int tag = 0;
    };
    bool valid(int segment) const { return segment >= 0 && segment < segmentCount(); }
    double contentWidth(const Segment& segment) const;
    // Each segment's span, left to right, filling the bounds.
    std::vector<Rect> segmentRects() const;

    std::vector<Segment> segments_;
    SegmentTrackingMode trackingMode_;
    std::optional<int> lastSelected_;
    std::optional<int> pressed_;
};

}  // namespace tallowmere::platform
