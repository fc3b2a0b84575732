#include "app/menu_item_styling.h"

#include <algorithm>
#include <cmath>

#include "platform/base/format.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/symbol_image.h"
#include "platform/gfx/text_measurer.h"
#include "platform/ui/menu.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr Size menuIconSize{16, 16};
// Icons are drawn inside this square so that tall and wide pictures line up.
constexpr double menuIconArtSize = 14;
constexpr std::string_view statusSeparator = " · ";

Color labelColor() { return Color::system(SystemColor::label); }
Color systemBlue() { return Color::system(SystemColor::blue); }


template <class Visit>
void forEachItem(Menu& menu, const Visit& visit) {
    for (const auto& item : menu.items()) {
        visit(*item);
        if (auto submenu = item->submenu()) forEachItem(*submenu, visit);
    }
}

}  // namespace

Image unifiedMenuIcon(std::string_view symbolName, std::string_view description) {
    const SymbolConfiguration configuration{.pointSize = 13, .weight = FontWeight::regular};
    auto symbol = symbolImage(symbolName, description, configuration);
    if (!symbol) symbol = symbolImage("circle", description, configuration);
    Image image = symbol ? *symbol : blankMenuIcon();
    image.setTemplate(true);
    image.setSize(menuIconSize);
    image.setAccessibilityDescription(std::string(description));
    return image;
}

Image::DrawHandler uniformMenuEmojiIcon(std::string emoji) {
    return [emoji = std::move(emoji)](Canvas& canvas, Rect rect) {
        const Font font = Font::named("Apple Color Emoji", 13, Font::systemFont(13));
        const Size size = TextMeasurer::shared().measure(emoji, font);
        const Point origin{std::floor(rect.midX() - size.width / 2), std::floor(rect.midY() - size.height / 2) + 1};
        canvas.drawText(emoji, origin, font, labelColor());
        return true;
    };
}

Image menuEmojiImage(std::string emoji) {
    Image image = Image::withHandler({20, 20}, uniformMenuEmojiIcon(std::move(emoji)));
    image.setTemplate(false);
    image.setSize(menuIconSize);
    return image;
}

Image::DrawHandler aiMenuTextIcon() {
    return [](Canvas& canvas, Rect) {
        const Font font = Font::boldSystemFont(10);
        const Size size = TextMeasurer::shared().measure("AI", font);
        canvas.drawText("AI", Point{(16 - size.width) / 2, (16 - size.height) / 2}, font, systemBlue());
        return true;
    };
}

Image::DrawHandler boardMenuIcon() {
    return [](Canvas& canvas, Rect) {
        canvas.setFillColor(Color::black());
        canvas.fillRoundedRect(Rect{1.5, 4.0, 15.0, 11.5}, 1.4);
        canvas.setStrokeColor(Color::black());
        canvas.setLineWidth(1.35);
        canvas.setLineCap(LineCap::round);
        canvas.strokeLine(Point{4, 4}, Point{3, 1.8});
        canvas.strokeLine(Point{14, 4}, Point{15, 1.8});
        return true;
    };
}

Image blankMenuIcon() {
    Image image = Image::withHandler(menuIconSize, [](Canvas&, Rect) { return true; });
    image.setTemplate(false);
    return image;
}

void normalizeMenuIcons(Menu& menu) {
    forEachItem(menu, [](MenuItem& item) {
        if (!item.image()) return;
        const Image source = *item.image();
        const Size size = source.size();
        if (!(size.width > 0 && size.height > 0)) return;
        const double scale = std::min(menuIconArtSize / size.width, menuIconArtSize / size.height);
        const Size drawn{size.width * scale, size.height * scale};
        const Rect target{(menuIconSize.width - drawn.width) / 2, (menuIconSize.height - drawn.height) / 2,
                          drawn.width, drawn.height};
        Image normalized = Image::withHandler(menuIconSize, [source, target](Canvas& canvas, Rect) {
            source.draw(canvas, target);
            return true;
        });
        normalized.setTemplate(source.isTemplate());
        normalized.setAccessibilityDescription(source.accessibilityDescription());
        item.setImage(std::move(normalized));
    });
}

void normalizeMenuIconSizes(Menu& menu) {
    forEachItem(menu, [](MenuItem& item) {
        if (!item.image()) return;
        Image resized = *item.image();
        resized.setSize(menuIconSize);
        item.setImage(std::move(resized));
    });
}

void removeEllipsesFromMenuTitles(Menu& menu) {
    forEachItem(menu, [](MenuItem& item) {
        if (item.attributedTitle() && !item.attributedTitle()->empty()) {
            AttributedString title = *item.attributedTitle();
            title.replaceOccurrences("…", "");
            title.replaceOccurrences("...", "");
            item.setAttributedTitle(std::move(title));
            return;
        }
        std::string title = item.title();
        for (std::string_view ellipsis : {std::string_view("…"), std::string_view("...")}) {
            for (auto at = title.find(ellipsis); at != std::string::npos; at = title.find(ellipsis, at)) {
                title.erase(at, ellipsis.size());
            }
        }
        item.setTitle(std::move(title));
    });
}

void styleActiveStatusSuffix(MenuItem& item) {
    AttributedString title(item.title());
    auto separator = title.find(statusSeparator);
    if (!separator) return;
    title.setAttributes(title.wholeRange(), TextAttributes{.font = Font::menuFont(), .foregroundColor = labelColor()});
    title.setForegroundColor(TextRange{separator->location, title.length() - separator->location}, systemBlue());
    item.setAttributedTitle(std::move(title));
}

void styleActiveMenuOption(MenuItem& item) {
    AttributedString title(item.title(), TextAttributes{.font = Font::menuFont(), .foregroundColor = systemBlue()});
    item.setAttributedTitle(std::move(title));
}

void styleCountdownValue(MenuItem& item, std::string_view value) {
    AttributedString title(item.title(), TextAttributes{.foregroundColor = labelColor()});
    if (auto found = value.empty() ? std::nullopt : title.findLast(value)) {
        title.setAttributes(*found, TextAttributes{.font = Font::monospacedDigitSystemFont(13, FontWeight::semibold),
                                                   .foregroundColor = systemBlue()});
    }
    item.setAttributedTitle(std::move(title));
}

std::optional<std::string> exactCountdownText(Date until, Date now) {
    const double left = std::ceil(until.timeIntervalSince(now));
    if (!(left >= 1)) return std::nullopt;
    const auto seconds = static_cast<long long>(left);
    if (seconds >= 3600) {
        return formatTemplate("%02d:%02d:%02d", seconds / 3600, (seconds % 3600) / 60, seconds % 60);
    }
    return formatTemplate("%02d:%02d", seconds / 60, seconds % 60);
}

}  // namespace tallowmere
