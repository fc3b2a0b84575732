#pragma once

#include <memory>

#include "platform/ui/color_well.h"

namespace tallowmere {

// A borderless colour well drawn as a rounded swatch on the control
// background; a click makes it the one well the colour panel feeds.
class SquareColorWell : public platform::ColorWell {
public:
    static std::shared_ptr<SquareColorWell> make();

    void draw(platform::Canvas& canvas, platform::Rect dirty) override;
    void mouseDown(const platform::Event& event) override;

protected:
    SquareColorWell();
};

}  // namespace tallowmere
