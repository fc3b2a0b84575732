#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/view.h"

namespace tallowmere::platform {

// Items of one size laid out in rows that wrap at the view's width (a flow
// layout), each item a view made by `viewForItem`. Usually the document of
// a scroll view with the scroll view's width; its height follows the rows.
// Flipped: the first row is at the top.
class CollectionView : public View {
public:
    static std::shared_ptr<CollectionView> make();

    std::function<std::size_t()> numberOfItems;
    std::function<std::shared_ptr<View>(std::size_t index)> viewForItem;

    Size itemSize{50, 50};
    double minimumInteritemSpacing = 10;
    double minimumLineSpacing = 10;
    EdgeInsets sectionInset;
    std::optional<Color> backgroundColor;

    // Asks for the items again.
    void reloadData();
    std::size_t itemCount() const { return items_.size(); }
    std::shared_ptr<View> itemView(std::size_t index) const;
    // The item at a point of the view, if any.
    std::optional<std::size_t> indexAt(Point point) const;
    // Items per row at a given width (at least one).
    std::size_t columnsForWidth(double width) const;

    bool isFlipped() const override { return true; }
    double measureFittingHeightForWidth(double width) const override;
    void layout() override;
    void draw(Canvas& canvas, Rect dirty) override;

protected:
    CollectionView() : View({}) {}

private:
    Rect frameOfItem(std::size_t index, double width) const;

    std::vector<std::shared_ptr<View>> items_;
};

}  // namespace tallowmere::platform
