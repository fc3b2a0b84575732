#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"

namespace tallowmere::platform {

// A button that shows one choice of a list and opens the list (a Menu) when
// clicked. Choosing an item selects it (its mark turns on) and runs
// `onAction` once. A pull-down button shows its first item as a fixed title
// and offers the others.
//
// Items are the Menu's items. Those the pop-up adds, and any without an
// action of their own, select themselves when chosen; an item given its own
// action runs that action instead.
class PopUpButton : public Control {
public:
    static std::shared_ptr<PopUpButton> make(bool pullsDown = false);

    bool pullsDown() const { return pullsDown_; }
    void setPullsDown(bool pullsDown);
    const std::shared_ptr<Menu>& menu() const { return menu_; }
    void setMenu(std::shared_ptr<Menu> menu);

    // --- Items ------------------------------------------------------------------
    std::shared_ptr<MenuItem> addItem(std::string title);
    void addItems(const std::vector<std::string>& titles);
    std::shared_ptr<MenuItem> insertItem(std::string title, std::size_t index);
    void removeItem(std::size_t index);
    void removeAllItems();
    std::size_t numberOfItems() const { return menu_->numberOfItems(); }
    std::shared_ptr<MenuItem> item(std::size_t index) const { return menu_->item(index); }
    std::shared_ptr<MenuItem> lastItem() const;
    std::vector<std::string> itemTitles() const;
    std::optional<std::size_t> indexOfItem(const std::string& title) const;
    std::optional<std::size_t> indexOfItemWithTag(int tag) const;
    // The first item whose represented object holds a T equal to `object`.
    template <class T>
    std::optional<std::size_t> indexOfItemWithRepresentedObject(const T& object) const {
        for (std::size_t i = 0; i < numberOfItems(); ++i)
            if (const T* held = item(i)->template representedObjectAs<T>(); held && *held == object) return i;
        return std::nullopt;
    }

    // --- Selection --------------------------------------------------------------
    std::optional<std::size_t> indexOfSelectedItem() const;
    std::shared_ptr<MenuItem> selectedItem() const { return selected_.lock(); }
    std::string titleOfSelectedItem() const;
    // Selects without running the action; none (or an index past the end)
    // clears the selection.
    void selectItem(std::optional<std::size_t> index);
    void selectItem(const std::shared_ptr<MenuItem>& item);
    bool selectItemWithTitle(const std::string& title);
    bool selectItemWithTag(int tag);
    // The title shown on the button.
    std::string displayedTitle() const;

    // Opens the list, as a click does; nothing when disabled.
    void performClick();

    // --- View -------------------------------------------------------------------
    std::string accessibilityRole() const override { return pullsDown_ ? "AXMenuButton" : "AXPopUpButton"; }
    Size intrinsicContentSize() const override;
    void draw(Canvas& canvas, Rect dirty) override;
    void mouseDown(const Event& event) override;

protected:
    explicit PopUpButton(bool pullsDown);

private:
    void installSelectionAction(MenuItem& item);
    void choose(MenuItem& item);
    void refreshMarks();

    bool pullsDown_;
    std::shared_ptr<Menu> menu_;
    std::weak_ptr<MenuItem> selected_;
};

}  // namespace tallowmere::platform
