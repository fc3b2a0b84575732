#include "app/status_bar_icon_images.h"

#include <string>

#include "app/application_icon.h"
#include "localization/interface_language.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image_filters.h"
#include "platform/gfx/path.h"
#include "platform/ui/bundle_image.h"

namespace tallowmere {

using namespace platform;
using StatusBarIconPreference::Style;

namespace {

constexpr std::string_view productPrefix = "塔洛梅百宝箱 ";

enum class Clip { none, oval, roundedRect4, roundedRect5 };

// A 22 × 22 picture that draws `source` over its whole rect.
Image menuBarImage(Image source, Clip clip, ImageInterpolation interpolation, bool isTemplate,
                   std::string description) {
    Image image = Image::withHandler(StatusBarIconImages::menuBarSize, [source, clip, interpolation](Canvas& canvas,
                                                                                                      Rect rect) {
        canvas.save();
        canvas.setImageInterpolation(interpolation);
        switch (clip) {
            case Clip::none: break;
            case Clip::oval: canvas.clip(Path::ellipse(rect)); break;
            case Clip::roundedRect4: canvas.clip(Path::roundedRect(rect, 4)); break;
            case Clip::roundedRect5: canvas.clip(Path::roundedRect(rect, 5)); break;
        }
        canvas.drawImage(source, rect);
        canvas.restore();
        return true;
    });
    image.setTemplate(isTemplate);
    image.setAccessibilityDescription(std::move(description));
    return image;
}

std::optional<Image> bundlePicture(std::string_view name) { return bundleImage(name, "png"); }

Image mascotIcon(std::string_view resource, std::string description) {
    auto picture = bundlePicture(resource);
    if (!picture) return StatusBarIconImages::makeColorStatusBarIcon();
    return menuBarImage(*picture, Clip::roundedRect5, ImageInterpolation::high, false, std::move(description));
}

std::string_view resourceOf(Style style) {
    switch (style) {
        case Style::color: return {};
        case Style::pixel: return "StatusPixelTallowmere";
        case Style::outline: return "StatusOutline";
        case Style::cartoonInkpaw: return "StatusCartoonInkpaw";
        case Style::gentleInkpaw: return "StatusGentleInkpaw";
    }
    return {};
}

}  // namespace

Image StatusBarIconImages::applicationIcon() { return ApplicationIcon::image(); }

Image StatusBarIconImages::makeColorStatusBarIcon() {
    return menuBarImage(applicationIcon(), Clip::oval, ImageInterpolation::high, false,
                        std::string(productPrefix) + L("小猫头像"));
}

Image StatusBarIconImages::makePixelStatusBarIcon() {
    auto picture = bundlePicture("StatusPixelTallowmere");
    if (!picture) return makeColorStatusBarIcon();
    return menuBarImage(*picture, Clip::roundedRect4, ImageInterpolation::none, false,
                        StatusBarIconPreference::title(Style::pixel));
}

Image StatusBarIconImages::makeCartoonInkpawStatusBarIcon() { return mascotIcon("StatusCartoonInkpaw", "虎头虎脑墨爪"); }

Image StatusBarIconImages::makeGentleInkpawStatusBarIcon() { return mascotIcon("StatusGentleInkpaw", "温柔墨爪"); }

std::optional<Image> StatusBarIconImages::makeInkStatusBarIcon(std::string_view resourceName, bool isTemplate,
                                                               bool pixelated, const Color& tintColor) {
    auto picture = bundlePicture(resourceName);
    if (!picture) return std::nullopt;
    auto pixels = picture->render(picture->bitmap() ? picture->bitmap()->scale() : 1);
    if (!pixels) return std::nullopt;
    Bitmap mask = ImageFilters::darkStrokesToAlpha(*pixels);
    Image maskImage = Image::fromBitmap(Bitmap(mask));
    maskImage.setSize({static_cast<double>(mask.pixelsWide()), static_cast<double>(mask.pixelsHigh())});
    const ImageInterpolation interpolation = pixelated ? ImageInterpolation::none : ImageInterpolation::high;
    Image image = Image::withHandler(menuBarSize, [maskImage, interpolation, isTemplate, tintColor](Canvas& canvas,
                                                                                                     Rect rect) {
        canvas.save();
        canvas.setImageInterpolation(interpolation);
        canvas.drawImage(maskImage, rect);
        if (!isTemplate) {
            canvas.setFillColor(tintColor);
            canvas.setCompositingOperation(CompositingOperation::sourceAtop);
            canvas.fillRect(rect);
        }
        canvas.restore();
        return true;
    });
    image.setTemplate(isTemplate);
    image.setAccessibilityDescription(std::string(productPrefix) + L("原图线框猫头像"));
    return image;
}

Image StatusBarIconImages::statusBarIconImage(Style style) {
    switch (style) {
        case Style::color: return makeColorStatusBarIcon();
        case Style::pixel: return makePixelStatusBarIcon();
        case Style::outline: {
            auto ink = makeInkStatusBarIcon("StatusOutline", true, false, Color::system(SystemColor::label));
            return ink ? *ink : makeColorStatusBarIcon();
        }
        case Style::cartoonInkpaw: return makeCartoonInkpawStatusBarIcon();
        case Style::gentleInkpaw: return makeGentleInkpawStatusBarIcon();
    }
    return makeColorStatusBarIcon();
}

Image StatusBarIconImages::statusBarIconLargePreviewImage(Style style) {
    if (style == Style::color) return applicationIcon();
    auto picture = bundlePicture(resourceOf(style));
    return picture ? *picture : statusBarIconImage(style);
}

}  // namespace tallowmere
