#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/uuid.h"
#include "platform/desktop/pasteboard.h"
#include "platform/ui/drag_operation.h"
#include "platform/ui/dragging_info.h"
#include "platform/ui/view.h"
#include "quicklaunch/quick_launch_entry.h"
#include "quicklaunch/quick_launch_icon_item_view.h"

namespace tallowmere {

// The main window's strip of quick-launch icons in rows of five. It only
// reports what the person did; its owner changes the store and then calls
// `update(entries:)` and `setSelected(id:)` again.
class QuickLaunchIconStripView : public platform::View {
public:
    static constexpr int itemsPerRow = 5;
    static constexpr double spacing = 6;
    static constexpr double inset = 8;
    static constexpr double emptyHeight = 78;

    static std::shared_ptr<QuickLaunchIconStripView> make(platform::Rect frame);

    std::function<void(const platform::Uuid&)> onSelect;
    std::function<void(const platform::Uuid&)> onDoubleClick;
    // The dragged entry and the index it is to take in the list.
    std::function<void(const platform::Uuid&, int destination)> onMove;
    // Files or folders dropped on the strip, in the drag's order.
    std::function<void(const std::vector<std::string>& fileURLs)> onImportFiles;

    // Holds the rows (or the empty-state label), 8 points inside the strip.
    const std::shared_ptr<platform::View>& stack() const { return stack_; }
    // Every item, row by row.
    const std::vector<std::shared_ptr<QuickLaunchIconItemView>>& items() const { return items_; }
    const std::optional<platform::Uuid>& selectedID() const { return selectedID_; }
    // The height the strip asks for.
    double height() const { return frame().size.height; }

    // Replaces the icons by those of `entries` and marks the selection again.
    void update(const std::vector<QuickLaunchEntry>& entries);
    // Marks the item with that id, unmarking the others; none unmarks all.
    void setSelected(const std::optional<platform::Uuid>& id);
    // The index a dragged item takes when released at `windowPoint`.
    int destinationIndex(platform::Point windowPoint) const;

    // A drag over the strip (it registers for file URLs): only file URLs
    // are taken, as a copy.
    platform::DragOperation draggingEntered(const platform::DraggingInfo& info) override;
    void draggingExited() override;
    bool performDragOperation(const platform::DraggingInfo& info) override;
    bool isDropHighlighted() const { return layer().backgroundColor.has_value(); }
    void viewDidChangeSize(platform::Size oldSize) override;

protected:
    explicit QuickLaunchIconStripView(platform::Rect frame);

private:
    void setHeight(double height);

    std::shared_ptr<platform::View> stack_;
    std::vector<std::shared_ptr<QuickLaunchIconItemView>> items_;
    std::optional<platform::Uuid> selectedID_;
};

}  // namespace tallowmere
