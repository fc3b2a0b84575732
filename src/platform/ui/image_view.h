#pragma once

#include <memory>
#include <optional>

#include "platform/gfx/image.h"
#include "platform/ui/control_drawing.h"
#include "platform/ui/view.h"

namespace tallowmere::platform {

// Shows one image, fitted into its bounds by `imageScaling` and centred; a
// template image takes the content tint (the label colour when none).
// Clicks go through to the view that holds it.
class ImageView : public View {
public:
    static std::shared_ptr<ImageView> make(std::optional<Image> image = std::nullopt);

    const std::optional<Image>& image() const { return image_; }
    void setImage(std::optional<Image> image);
    ImageScaling imageScaling() const { return imageScaling_; }
    void setImageScaling(ImageScaling scaling);
    const std::optional<Color>& contentTintColor() const { return contentTintColor_; }
    void setContentTintColor(std::optional<Color> color);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    std::string accessibilityRole() const override { return "AXImage"; }
    // The image's size; none without an image.
    Size intrinsicContentSize() const override;
    void draw(Canvas& canvas, Rect dirty) override;

protected:
    explicit ImageView(Rect frame);

private:
    std::optional<Image> image_;
    ImageScaling imageScaling_ = ImageScaling::proportionallyDown;
    std::optional<Color> contentTintColor_;
    bool enabled_ = true;
};

}  // namespace tallowmere::platform
