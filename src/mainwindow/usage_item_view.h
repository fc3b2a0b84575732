#pragma once

#include <memory>

#include "platform/ui/label.h"
#include "platform/ui/stack_view.h"

namespace tallowmere {

// One usage hint of the gestures card: a 40-point icon slot beside a title
// and its detail, top-aligned. The item is 54 points high while the title
// takes one line and the detail two; a language that needs more lines gets
// them and the item grows, rather than cutting the text off.
class UsageItemView : public platform::StackView {
public:
    static constexpr double height = 54;

    static std::shared_ptr<UsageItemView> make(std::shared_ptr<platform::View> icon,
                                               std::shared_ptr<platform::Label> title,
                                               std::shared_ptr<platform::Label> detail);

protected:
    UsageItemView();

    double measureFittingHeightForWidth(double width) const override;

private:
    // Whether the title needs more than one line or the detail more than
    // two when the item is `width` wide.
    bool textsNeedMoreLines(double width) const;

    std::shared_ptr<platform::Label> title_;
    std::shared_ptr<platform::Label> detail_;
};

}  // namespace tallowmere
