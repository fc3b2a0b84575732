#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/menu.h"
#include "platform/ui/text_field.h"

namespace tallowmere::platform {

// A text field with a list of suggested values: the person types a value or
// opens the list with the arrow button and picks one. Picking sets the text,
// fires `onSelectionDidChange` and runs `onAction`.
class ComboBox : public TextField {
public:
    static std::shared_ptr<ComboBox> make(std::vector<std::string> items = {});

    std::function<void(ComboBox& comboBox)> onSelectionDidChange;

    const std::vector<std::string>& items() const { return items_; }
    void addItem(std::string item);
    void addItems(const std::vector<std::string>& items);
    void removeAllItems();
    std::size_t numberOfItems() const { return items_.size(); }
    int numberOfVisibleItems = 5;

    // The list item the text shows, if the text is still that item.
    std::optional<std::size_t> indexOfSelectedItem() const;
    // Shows the item's text; sends nothing. An index past the end clears.
    void selectItem(std::optional<std::size_t> index);

    // Opens the list below the field; nothing when disabled or empty.
    void showList();
    // The arrow that opens the list, in the view's coordinates.
    Rect arrowRect() const;

    Size intrinsicContentSize() const override;
    void draw(Canvas& canvas, Rect dirty) override;
    void mouseDown(const Event& event) override;

protected:
    explicit ComboBox(Rect frame) : TextField(frame) {}

private:
    void choose(std::size_t index);

    std::vector<std::string> items_;
    std::optional<std::size_t> selected_;
    std::shared_ptr<Menu> list_;
};

}  // namespace tallowmere::platform
