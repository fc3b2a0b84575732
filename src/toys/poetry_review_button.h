#pragma once

#include <memory>
#include <string>

#include "platform/ui/button.h"

namespace tallowmere {

// The header's small borderless actions ("已赏阅", "鉴赏录", the history's
// close button): a brush-written title on a faint paper pill, 74 × 30,
// with the pointing hand over it.
class PoetryReviewButton : public platform::Button {
public:
    static std::shared_ptr<PoetryReviewButton> make(std::string title = "已赏阅");

    platform::Size intrinsicContentSize() const override { return {74, 30}; }
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;

protected:
    explicit PoetryReviewButton(platform::Rect frame);
};

}  // namespace tallowmere
