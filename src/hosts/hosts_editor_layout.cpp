#include "hosts/hosts_editor_layout.h"

#include <algorithm>

namespace tallowmere {

using platform::Rect;

namespace {

// A frame given by its top edge in a flipped superview; never negative.
Rect fromTop(double x, double top, double width, double height) {
    return Rect{x, top, std::max(0.0, width), std::max(0.0, height)};
}

}  // namespace

std::shared_ptr<HostsSidebarView> HostsSidebarView::make() {
    return std::shared_ptr<HostsSidebarView>(new HostsSidebarView());
}

void HostsSidebarView::install() {
    for (const auto& view : {header, outlineScroll, buttonRow, restoreButton, note}) addSubview(view);
}

void HostsSidebarView::layout() {
    const double width = bounds().width(), height = bounds().height();
    const double textWidth = width - 36;
    const double headerHeight = header->fittingSize().height;
    header->setFrame(fromTop(18, 62, textWidth, headerHeight));
    const double noteHeight = note->fittingHeightForWidth(textWidth);
    const double noteTop = height - 16 - noteHeight;
    note->setFrame(fromTop(18, noteTop, textWidth, noteHeight));
    const double restoreTop = noteTop - 8 - 24;
    restoreButton->setFrame(fromTop(18, restoreTop, textWidth, 24));
    const double buttonsTop = restoreTop - 9 - 28;
    buttonRow->setFrame(fromTop(12, buttonsTop, width - 24, 28));
    const double outlineTop = 62 + headerHeight + 12;
    outlineScroll->setFrame(fromTop(10, outlineTop, width - 20, buttonsTop - 10 - outlineTop));
}

std::shared_ptr<HostsEditorPane> HostsEditorPane::make() {
    return std::shared_ptr<HostsEditorPane>(new HostsEditorPane());
}

void HostsEditorPane::install() {
    for (const auto& view : {header, editorScroll, footer}) addSubview(view);
}

void HostsEditorPane::layout() {
    const double width = bounds().width() - 56, height = bounds().height();
    const double headerHeight = header->fittingSize().height;
    header->setFrame(fromTop(28, 54, width, headerHeight));
    const double footerTop = height - 18 - 20;
    footer->setFrame(fromTop(28, footerTop, width, 20));
    const double editorTop = 54 + headerHeight + 20;
    editorScroll->setFrame(fromTop(28, editorTop, width, footerTop - 14 - editorTop));
}

}  // namespace tallowmere
