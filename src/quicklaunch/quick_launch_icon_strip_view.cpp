#include "quicklaunch/quick_launch_icon_strip_view.h"

#include <cmath>
#include <limits>

#include "localization/interface_language.h"
#include "platform/gfx/font.h"
#include "platform/ui/label.h"

namespace tallowmere {

using platform::Color;
using platform::Point;
using platform::Rect;
using platform::SystemColor;

namespace {

constexpr double itemHeight = QuickLaunchIconItemView::size.height;
constexpr double itemWidth = QuickLaunchIconItemView::size.width;

}  // namespace

std::shared_ptr<QuickLaunchIconStripView> QuickLaunchIconStripView::make(Rect frame) {
    return std::shared_ptr<QuickLaunchIconStripView>(new QuickLaunchIconStripView(frame));
}

QuickLaunchIconStripView::QuickLaunchIconStripView(Rect frame) : View(frame) {
    setWantsLayer(true);
    registerForDraggedTypes({platform::PasteboardType::fileURL});
    stack_ = platform::View::make();
    addSubview(stack_);
    setHeight(emptyHeight);
}

void QuickLaunchIconStripView::setHeight(double height) {
    // Fixed as well, so a stack that holds the strip gives it this height.
    setFixedHeight(height);
    setFrameSize({frame().size.width, height});
    stack_->setFrame({{inset, inset}, {std::max(0.0, frame().size.width - 2 * inset), std::max(0.0, height - 2 * inset)}});
}

void QuickLaunchIconStripView::viewDidChangeSize(platform::Size oldSize) {
    if (oldSize.width == frame().size.width) return;
    // The strip is often filled before its card is laid out: the rows
    // follow the width it is given later, centred as when they were made.
    stack_->setFrameSize({std::max(0.0, frame().size.width - 2 * inset), stack_->frame().size.height});
    const double width = stack_->frame().size.width;
    for (const auto& child : stack_->subviews()) {
        child->setFrameSize({width, child->frame().size.height});
        const auto& rowItems = child->subviews();
        const double rowWidth = static_cast<double>(rowItems.size()) * (itemWidth + spacing) - spacing;
        for (std::size_t i = 0; i < rowItems.size(); ++i) {
            rowItems[i]->setFrameOrigin({(width - rowWidth) / 2 + static_cast<double>(i) * (itemWidth + spacing), 0});
        }
    }
}

void QuickLaunchIconStripView::update(const std::vector<QuickLaunchEntry>& entries) {
    while (!stack_->subviews().empty()) stack_->subviews().back()->removeFromSuperview();
    items_.clear();

    if (entries.empty()) {
        setHeight(emptyHeight);
        auto label = platform::Label::make(L("暂无快捷启动项"));
        label->setFont(platform::Font::systemFont(12));
        label->setTextColor(Color::system(SystemColor::tertiaryLabel));
        label->setAlignment(platform::TextAlignment::center);
        // As tall as its line draws: a Chinese line in the Latin system
        // face takes the taller Chinese face's height.
        const double labelHeight = label->fittingSize().height;
        label->setFrame({{0, (stack_->frame().size.height - labelHeight) / 2}, {stack_->frame().size.width, labelHeight}});
        stack_->addSubview(label);
        return;
    }

    const std::size_t rows = (entries.size() + itemsPerRow - 1) / itemsPerRow;
    setHeight(static_cast<double>(rows) * itemHeight + static_cast<double>(rows - 1) * spacing + 2 * inset);
    const double width = stack_->frame().size.width;
    const double stackHeight = stack_->frame().size.height;
    std::weak_ptr<QuickLaunchIconStripView> weakStrip =
        std::static_pointer_cast<QuickLaunchIconStripView>(shared_from_this());
    for (std::size_t row = 0; row < rows; ++row) {
        const std::size_t first = row * itemsPerRow;
        const std::size_t count = std::min<std::size_t>(itemsPerRow, entries.size() - first);
        const double rowTop = stackHeight - static_cast<double>(row) * (itemHeight + spacing);
        auto rowView = platform::View::make({{0, rowTop - itemHeight}, {width, itemHeight}});
        const double rowWidth = static_cast<double>(count) * (itemWidth + spacing) - spacing;
        for (std::size_t i = 0; i < count; ++i) {
            auto item = QuickLaunchIconItemView::make(entries[first + i]);
            item->setFrameOrigin({(width - rowWidth) / 2 + static_cast<double>(i) * (itemWidth + spacing), 0});
            item->onSelect = [weakStrip](const platform::Uuid& id) {
                auto strip = weakStrip.lock();
                if (!strip) return;
                strip->setSelected(id);
                if (strip->onSelect) strip->onSelect(id);
            };
            item->onDoubleClick = [weakStrip](const platform::Uuid& id) {
                auto strip = weakStrip.lock();
                if (!strip) return;
                strip->setSelected(id);
                if (strip->onDoubleClick) strip->onDoubleClick(id);
            };
            item->onDrop = [weakStrip](const platform::Uuid& id, Point windowPoint) {
                auto strip = weakStrip.lock();
                if (!strip || !strip->onMove) return;
                strip->onMove(id, strip->destinationIndex(windowPoint));
            };
            rowView->addSubview(item);
            items_.push_back(item);
        }
        stack_->addSubview(rowView);
    }
    setSelected(selectedID_);
}

void QuickLaunchIconStripView::setSelected(const std::optional<platform::Uuid>& id) {
    selectedID_ = id;
    for (const auto& item : items_) item->setSelected(id && item->entryID() == *id);
}

int QuickLaunchIconStripView::destinationIndex(Point windowPoint) const {
    const Point point = stack_->convertFromWindow(windowPoint);
    std::vector<Rect> frames;
    for (const auto& item : items_) frames.push_back(item->convert(item->bounds(), stack_.get()));
    const int last = std::max(0, static_cast<int>(items_.size()) - 1);

    auto inBand = [&](const Rect& frame) { return std::abs(point.y - frame.midY()) < frame.size.height / 2; };
    bool inSomeRow = false;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (!inBand(frames[i])) continue;
        inSomeRow = true;
        if (point.x < frames[i].midX()) return static_cast<int>(i);
    }
    if (inSomeRow || frames.empty()) return last;

    // Released between rows, above the first or below the last: the
    // vertically nearest row decides, by the same left-of-centre rule;
    // past that row's end the item goes to the row's last place.
    double nearest = std::numeric_limits<double>::infinity();
    double rowCentre = 0;
    for (const Rect& frame : frames) {
        const double distance = std::abs(point.y - frame.midY());
        if (distance < nearest) {
            nearest = distance;
            rowCentre = frame.midY();
        }
    }
    int rowLast = last;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].midY() != rowCentre) continue;
        if (point.x < frames[i].midX()) return static_cast<int>(i);
        rowLast = static_cast<int>(i);
    }
    return rowLast;
}

platform::DragOperation QuickLaunchIconStripView::draggingEntered(const platform::DraggingInfo& info) {
    if (info.pasteboard.fileURLs().empty()) return platform::DragOperation::none;
    mutableLayer().backgroundColor = Color::system(SystemColor::controlAccent).withAlphaComponent(0.1);
    setNeedsDisplay();
    return platform::DragOperation::copy;
}

void QuickLaunchIconStripView::draggingExited() {
    mutableLayer().backgroundColor.reset();
    setNeedsDisplay();
}

bool QuickLaunchIconStripView::performDragOperation(const platform::DraggingInfo& info) {
    draggingExited();
    const std::vector<std::string> urls = info.pasteboard.fileURLs();
    if (urls.empty()) return false;
    if (onImportFiles) onImportFiles(urls);
    return true;
}

}  // namespace tallowmere
