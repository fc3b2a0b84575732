#pragma once

#include <memory>

#include "platform/ui/view.h"

namespace tallowmere {

// The pictogram of the mouse usage item: a mouse with a four-way arrow at
// its top left.
class MouseDragUsageIconView : public platform::View {
public:
    static std::shared_ptr<MouseDragUsageIconView> make();

    platform::Size intrinsicContentSize() const override { return {40, 40}; }
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;

protected:
    MouseDragUsageIconView();
};

}  // namespace tallowmere
