#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "platform/gfx/image.h"
#include "platform/ui/view.h"

namespace tallowmere {

// The red seal stamped beside an appreciated poem: one of two styles drawn
// from the bundle's seal pictures ("PoetrySealYang" for style 0,
// "PoetrySealYin" otherwise), tilted a little like a hand-pressed stamp.
// A click asks the owner to change the style (`onChangeStyle`). Without its
// picture it stays blank but still takes the click.
class PoetryReviewedSealView : public platform::View {
public:
    static constexpr double side = 56;
    static constexpr double tilt = -0.035;  // radians

    static std::shared_ptr<PoetryReviewedSealView> make();
    explicit PoetryReviewedSealView(platform::Rect frame);

    int styleIndex() const { return styleIndex_; }
    void setStyleIndex(int style);
    std::function<void()> onChangeStyle;

    // The seal picture of a style: white made clear, cut to the seal and
    // shown 56 points square; none when the bundle lacks it. Kept per style.
    std::optional<platform::Image> sealImage(int style);

    platform::Size intrinsicContentSize() const override { return {side, side}; }
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;
    void mouseDown(const platform::Event& event) override;

private:
    int styleIndex_ = 0;
    std::map<int, std::optional<platform::Image>> cachedImages_;
};

}  // namespace tallowmere
