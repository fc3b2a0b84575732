#include "platform/ui/menu_layout.h"

#include <algorithm>
#include <cctype>

#include "platform/gfx/text_measurer.h"
#include "platform/ui/menu.h"
#include "platform/ui/view.h"

namespace tallowmere::platform {

std::string MenuLayout::keyEquivalentText(const MenuItem& item) {
    if (item.keyEquivalent().empty()) return {};
    const auto mask = item.keyEquivalentModifierMask();
    std::string text;
    if (mask.contains(ModifierFlags::control)) text += "⌃";
    if (mask.contains(ModifierFlags::option)) text += "⌥";
    if (mask.contains(ModifierFlags::shift)) text += "⇧";
    if (mask.contains(ModifierFlags::command)) text += "⌘";
    std::string key = item.keyEquivalent();
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text + key;
}

namespace {

double heightOfRow(const MenuItem& item) {
    if (item.isSeparatorItem()) return MenuLayout::separatorHeight;
    if (auto view = item.view()) return view->frame().height();
    return MenuLayout::rowHeight;
}

}  // namespace

MenuLayout MenuLayout::make(const Menu& menu, ScreenPoint topLeft, ScreenRect bounds) {
    MenuLayout layout;
    if (menu.font) layout.font = *menu.font;
    const auto& measurer = TextMeasurer::shared();

    double width = menu.minimumWidth;
    double height = 2 * verticalPadding;
    for (const auto& item : menu.items()) {
        if (item->isHidden()) continue;
        if (item->image()) layout.showsImages = true;
    }
    for (const auto& item : menu.items()) {
        if (item->isHidden()) continue;
        height += heightOfRow(*item);
        if (item->isSeparatorItem()) continue;
        double rowWidth;
        if (auto view = item->view()) {
            rowWidth = view->frame().width();
        } else {
            const double titleWidth = item->attributedTitle() && !item->attributedTitle()->empty()
                                          ? measurer.measure(*item->attributedTitle()).width
                                          : measurer.measure(item->title(), layout.font).width;
            rowWidth = stateColumnWidth + (layout.showsImages ? imageWidth + imageSpacing : 0) + titleWidth +
                       trailingPadding;
            const auto key = keyEquivalentText(*item);
            if (!key.empty()) rowWidth += keyEquivalentGap + measurer.measure(key, layout.font).width;
        }
        width = std::max(width, rowWidth);
    }

    // Kept on its screen: pushed left from the right edge, up from the bottom.
    double x = topLeft.x, top = topLeft.y;
    if (!bounds.isEmpty()) {
        if (x + width > bounds.maxX()) x = bounds.maxX() - width;
        if (x < bounds.minX()) x = bounds.minX();
        if (top - height < bounds.minY()) top = bounds.minY() + height;
        if (top > bounds.maxY()) top = bounds.maxY();
    }
    layout.frame = {x, top - height, width, height};

    double rowTop = top - verticalPadding;
    for (const auto& item : menu.items()) {
        if (item->isHidden()) continue;
        const double h = heightOfRow(*item);
        layout.rows.push_back({item, ScreenRect{x, rowTop - h, width, h}});
        rowTop -= h;
    }
    return layout;
}

const MenuLayout::Row* MenuLayout::rowAt(ScreenPoint point) const {
    for (const auto& row : rows) {
        if (row.frame.contains(point)) return &row;
    }
    return nullptr;
}

const MenuLayout::Row* MenuLayout::rowOf(const MenuItem& item) const {
    for (const auto& row : rows) {
        if (row.item.get() == &item) return &row;
    }
    return nullptr;
}

}  // namespace tallowmere::platform
