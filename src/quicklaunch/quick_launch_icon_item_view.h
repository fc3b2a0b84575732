#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/base/uuid.h"
#include "platform/ui/view.h"
#include "quicklaunch/quick_launch_entry.h"

namespace tallowmere {

// One entry of the icon strip: its icon over its name. A press that stays
// within 4 points is a click (or a double click); one that goes further is a
// drag, reported where it is released.
class QuickLaunchIconItemView : public platform::View {
public:
    static constexpr platform::Size size{80, 72};
    // Further than this from the press, a press becomes a drag.
    static constexpr double dragThreshold = 4;

    static std::shared_ptr<QuickLaunchIconItemView> make(const QuickLaunchEntry& entry);

    const platform::Uuid& entryID() const { return entryID_; }
    std::function<void(const platform::Uuid&)> onSelect;
    std::function<void(const platform::Uuid&)> onDoubleClick;
    // The end of a drag, with the pointer in window coordinates.
    std::function<void(const platform::Uuid&, platform::Point)> onDrop;

    bool isSelected() const { return isSelected_; }
    bool isDragging() const { return isDragging_; }
    // Marks the item selected or not.
    void setSelected(bool selected);

    void mouseDown(const platform::Event& event) override;
    void mouseDragged(const platform::Event& event) override;
    void mouseUp(const platform::Event& event) override;

protected:
    explicit QuickLaunchIconItemView(const QuickLaunchEntry& entry);

private:
    platform::Point windowLocation(const platform::Event& event) const;
    void setBackgroundAlpha(double alpha);

    platform::Uuid entryID_;
    std::optional<platform::Point> mouseDownPoint_;
    bool isDragging_ = false;
    bool isSelected_ = false;
};

}  // namespace tallowmere
