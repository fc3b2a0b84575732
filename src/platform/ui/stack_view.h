#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/ui/view.h"

namespace tallowmere::platform {

// How arranged views share a stack's length.
enum class StackDistribution {
    // Views keep their fitting lengths, packed from the leading (top) edge;
    // views that hug weakly (below 500, such as a plain spacer view) take
    // the room that is left.
    gravityAreas,
    // The room that is left goes to the views that hug least.
    fill,
    // Every view gets the same length.
    fillEqually,
    // Lengths in proportion to the fitting lengths, filling the stack.
    fillProportionally,
    // Fitting lengths, with the room left spread evenly between them.
    equalSpacing,
};

// Where arranged views sit across the stack: leading/centerX/trailing for a
// vertical stack, top/centerY/bottom for a horizontal one; fill stretches
// them across. First-baseline rows are laid out as top-aligned ones (the
// texts of a row share their first line's top, close enough for rows of
// one font size).
enum class StackAlignment { leading, centerX, trailing, top, centerY, bottom, fill, firstBaseline };

// Arranges its arranged subviews in a row or a column, with spacing between
// them, insets around them and an alignment across. Hidden arranged views
// take no room (the gap closes) unless `detachesHiddenViews` is off. The
// stack is flipped: a vertical stack runs top to bottom.
class StackView : public View {
public:
    static std::shared_ptr<StackView> make(LayoutAxis orientation, std::vector<std::shared_ptr<View>> views = {});
    static std::shared_ptr<StackView> makeHorizontal(std::vector<std::shared_ptr<View>> views = {}) {
        return make(LayoutAxis::horizontal, std::move(views));
    }
    static std::shared_ptr<StackView> makeVertical(std::vector<std::shared_ptr<View>> views = {}) {
        return make(LayoutAxis::vertical, std::move(views));
    }

    // --- Arranged views ----------------------------------------------------------
    const std::vector<std::shared_ptr<View>>& arrangedSubviews() const { return arranged_; }
    // Adds at the end (and as a subview).
    void addArrangedSubview(std::shared_ptr<View> view);
    void insertArrangedSubview(std::shared_ptr<View> view, std::size_t index);
    // Stops arranging `view`; it stays a subview, as on the platform.
    void removeArrangedSubview(const View& view);
    // Removes every arranged view from the stack and from the tree.
    void removeAllArrangedSubviews();

    // --- Arrangement -------------------------------------------------------------
    LayoutAxis orientation() const { return orientation_; }
    void setOrientation(LayoutAxis orientation);
    double spacing() const { return spacing_; }
    void setSpacing(double spacing);
    // Spacing after one arranged view instead of `spacing`.
    void setCustomSpacing(double spacing, const View& after);
    std::optional<double> customSpacing(const View& after) const;
    StackAlignment alignment() const { return alignment_; }
    void setAlignment(StackAlignment alignment);
    StackDistribution distribution() const { return distribution_; }
    void setDistribution(StackDistribution distribution);
    EdgeInsets edgeInsets() const { return edgeInsets_; }
    void setEdgeInsets(EdgeInsets insets);
    bool detachesHiddenViews() const { return detachesHiddenViews_; }
    void setDetachesHiddenViews(bool detaches);
    // Stretches one arranged view across the stack whatever the alignment
    // (a card as wide as its column).
    void setFillsCrossAxis(const View& view, bool fills);

    // --- View ---------------------------------------------------------------------
    bool isFlipped() const override { return true; }
    Size measureFittingSize() const override;
    double measureFittingHeightForWidth(double width) const override;
    void layout() override;
    void willRemoveSubview(View& subview) override;

protected:
    explicit StackView(LayoutAxis orientation);

private:
    struct Item {
        View* view;
        double main = 0;   // length along the stack
        double cross = 0;  // length across
        double spacingAfter = 0;
    };
    // The visible arranged views with their fitting lengths for a cross
    // length of `crossLength` (none: their own).
    std::vector<Item> measure(std::optional<double> crossLength) const;
    double mainLength(const std::vector<Item>& items) const;
    void distribute(std::vector<Item>& items, double available) const;

    LayoutAxis orientation_;
    std::vector<std::shared_ptr<View>> arranged_;
    double spacing_ = 8;
    std::map<const View*, double> customSpacing_;
    std::map<const View*, bool> fillsCross_;
    StackAlignment alignment_;
    StackDistribution distribution_ = StackDistribution::gravityAreas;
    EdgeInsets edgeInsets_;
    bool detachesHiddenViews_ = true;
};

}  // namespace tallowmere::platform
