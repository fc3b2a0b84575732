#include "quicklaunch/quick_launch_icons.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "localization/interface_language.h"
#include "platform/base/text.h"
#include "platform/desktop/workspace.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/font.h"
#include "platform/gfx/symbol_image.h"
#include "platform/gfx/text_measurer.h"
#include "platform/ui/grapheme_boundaries.h"

namespace tallowmere {

using platform::Color;
using platform::FontWeight;
using platform::Image;
using platform::SystemColor;

namespace {

constexpr double styleSide = 20;
constexpr double tileIconSide = 29;
constexpr int visibleAlpha = 9;
constexpr int cropMargin = 2;

struct BrowserLook {
    const char* bundleIdentifier;
    const char* symbol;
    const char* description;
};

std::optional<BrowserLook> browserLook(WebsiteIconStyle style) {
    switch (style) {
        case WebsiteIconStyle::edge: return BrowserLook{"com.microsoft.edgemac", "e.circle.fill", "Edge"};
        case WebsiteIconStyle::chrome: return BrowserLook{"com.google.Chrome", "circle.hexagongrid.fill", "Chrome"};
        case WebsiteIconStyle::firefox: return BrowserLook{"org.mozilla.firefox", "flame.fill", "Firefox"};
        case WebsiteIconStyle::globe: return std::nullopt;
    }
    return std::nullopt;
}

Image blankImage(double side) { return Image::fromBitmap(platform::Bitmap(static_cast<int>(side), static_cast<int>(side))); }

// A symbol in one colour, as the system's hierarchical rendering shows a
// single-layer symbol.
std::optional<Image> colouredSymbol(std::string_view name, std::string_view description, double pointSize,
                                    FontWeight weight, SystemColor colour) {
    auto symbol = platform::symbolImage(name, description, {pointSize, weight});
    if (!symbol) return std::nullopt;
    Image tinted = symbol->tinted(Color::system(colour));
    tinted.setAccessibilityDescription(std::string(description));
    return tinted;
}

Image workspaceIcon(const std::string& path) {
    return trimTransparentPadding(platform::Workspace::shared().iconForFile(path));
}

// The first user-perceived character of the trimmed text, if any.
std::optional<std::string> firstCharacter(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    const std::string trimmed = platform::Text::trimmingWhitespaceAndNewlines(*text);
    if (trimmed.empty()) return std::nullopt;
    return trimmed.substr(0, platform::GraphemeBoundaries::next(trimmed, 0));
}

WebsiteIconStyle storedStyle(const QuickLaunchEntry& entry) {
    if (!entry.websiteIconStyle) return WebsiteIconStyle::globe;
    return websiteIconStyleFromRawValue(*entry.websiteIconStyle).value_or(WebsiteIconStyle::globe);
}

}  // namespace

Image websiteIconStyleImage(WebsiteIconStyle style) {
    const auto look = browserLook(style);
    if (!look) {
        return colouredSymbol("globe", L("网页"), styleSide, FontWeight::semibold, SystemColor::blue)
            .value_or(blankImage(styleSide));
    }
    if (const auto path = platform::Workspace::shared().urlForApplication(look->bundleIdentifier)) {
        Image icon = workspaceIcon(*path);
        icon.setSize({styleSide, styleSide});
        return icon;
    }
    return platform::symbolImage(look->symbol, look->description, {17, FontWeight::medium})
        .value_or(blankImage(styleSide));
}

Image quickLaunchWebsiteIcon(WebsiteIconStyle style) {
    if (style == WebsiteIconStyle::globe) {
        return colouredSymbol("globe", L("网页"), tileIconSide, FontWeight::semibold, SystemColor::secondaryLabel)
            .value_or(blankImage(tileIconSide));
    }
    Image image = websiteIconStyleImage(style);
    image.setSize({tileIconSide, tileIconSide});
    return image;
}

Image quickLaunchIcon(const QuickLaunchEntry& entry) {
    switch (entry.kind) {
        case QuickLaunchKind::application: {
            const auto registered = platform::Workspace::shared().urlForApplication(entry.bundleIdentifier.value_or(""));
            return workspaceIcon(registered.value_or(entry.target));
        }
        case QuickLaunchKind::website:
            if (const auto emoji = firstCharacter(entry.websiteEmoji)) return quickLaunchWebsiteEmojiIcon(*emoji);
            return quickLaunchWebsiteIcon(storedStyle(entry));
        case QuickLaunchKind::information:
            return quickLaunchWebsiteEmojiIcon(firstCharacter(entry.websiteEmoji).value_or("📝"));
        case QuickLaunchKind::file: return workspaceIcon(entry.target);
        case QuickLaunchKind::newFile:
            return colouredSymbol("plus", entry.name, tileIconSide, FontWeight::medium, SystemColor::controlAccent)
                .value_or(blankImage(18));
    }
    return blankImage(tileIconSide);
}

Image quickLaunchWebsiteEmojiIcon(std::string_view emoji) {
    Image image = Image::withHandler({tileIconSide, tileIconSide}, [text = std::string(emoji)](platform::Canvas& canvas,
                                                                                            platform::Rect rect) {
        const platform::Font font =
            platform::Font::named("Apple Color Emoji", 22, platform::Font::systemFont(22));
        const platform::Size textSize = platform::TextMeasurer::shared().measure(text, font);
        // One point above the exact centre: emoji glyphs sit low in their line.
        const platform::Point origin{std::floor((rect.size.width - textSize.width) / 2),
                                     std::floor((rect.size.height - textSize.height) / 2) + 1};
        canvas.drawText(text, origin, font, Color::system(SystemColor::label));
        return true;
    });
    image.setTemplate(false);
    return image;
}

Image trimTransparentPadding(const Image& image) {
    // Pixels one per point of the image's own size, as the crop is measured.
    std::optional<platform::Bitmap> pixels;
    const platform::Bitmap* own = image.bitmap();
    if (own && own->scale() == 1 && own->size() == image.size()) {
        pixels = *own;
    } else if (image.size().width >= 1 && image.size().height >= 1) {
        auto rendered = image.render(1);
        if (rendered.ok()) pixels = std::move(rendered.value());
    }
    if (!pixels) return image;
    const int width = pixels->pixelsWide();
    const int height = pixels->pixelsHigh();
    if (width < 2 || height < 2) return image;

    int minX = width, maxX = -1, minY = height, maxY = -1;
    const auto& data = pixels->pixels();
    for (int y = 0; y < height; ++y) {
        const auto* row = data.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) {
            if (row[x].alpha < visibleAlpha) continue;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    if (maxX < 0) return image;

    const int left = std::max(minX - cropMargin, 0);
    const int right = std::min(maxX + cropMargin + 1, width);
    const int top = std::max(minY - cropMargin, 0);
    const int bottom = std::min(maxY + cropMargin + 1, height);
    platform::Bitmap cropped(right - left, bottom - top);
    for (int y = top; y < bottom; ++y) {
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(y) * width + left, right - left,
                    cropped.pixels().begin() + static_cast<std::ptrdiff_t>(y - top) * (right - left));
    }
    return Image::fromBitmap(std::move(cropped));
}

}  // namespace tallowmere
