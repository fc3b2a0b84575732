#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/desktop/event.h"
#include "platform/gfx/attributed_string.h"
#include "platform/gfx/image.h"

namespace tallowmere::platform {

class Menu;
class View;

// The mark beside an item: a check (on), a dash (mixed) or nothing.
enum class MenuItemState { off, on, mixed };

// One row of a menu: a command, a submenu, a separator or a custom view.
// Made through the factories, held by its menu.
class MenuItem : public std::enable_shared_from_this<MenuItem> {
public:
    using Action = std::function<void(MenuItem& sender)>;

    // `keyEquivalent` is the character typed with Command ("s", "q").
    static std::shared_ptr<MenuItem> make(std::string title, Action action = {}, std::string keyEquivalent = {});
    static std::shared_ptr<MenuItem> separator();

    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    // --- What it shows ----------------------------------------------------
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    // Styled runs shown in place of the title when not empty; setting it also
    // sets the title to its text.
    const std::optional<AttributedString>& attributedTitle() const { return attributedTitle_; }
    void setAttributedTitle(std::optional<AttributedString> title);
    // What is shown: the attributed title's text when there is one.
    const std::string& displayedTitle() const;

    const std::optional<Image>& image() const { return image_; }
    void setImage(std::optional<Image> image) { image_ = std::move(image); }
    MenuItemState state() const { return state_; }
    void setState(MenuItemState state) { state_ = state; }
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string toolTip) { toolTip_ = std::move(toolTip); }
    int indentationLevel() const { return indentationLevel_; }
    void setIndentationLevel(int level) { indentationLevel_ = level < 0 ? 0 : level; }

    bool isSeparatorItem() const { return separator_; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    // A view drawn in place of the title; it receives the clicks.
    std::shared_ptr<View> view() const { return view_; }
    void setView(std::shared_ptr<View> view) { view_ = std::move(view); }

    // --- What it does ------------------------------------------------------
    Action action;
    // 64 bits: tags handed out one by one for the life of a process never run out.
    std::int64_t tag() const { return tag_; }
    void setTag(std::int64_t tag) { tag_ = tag; }
    // Any value the action reads back (a layout id, a file type ...).
    const std::any& representedObject() const { return representedObject_; }
    void setRepresentedObject(std::any object) { representedObject_ = std::move(object); }
    // The represented object if it holds a T.
    template <class T>
    const T* representedObjectAs() const {
        return std::any_cast<T>(&representedObject_);
    }

    const std::string& keyEquivalent() const { return keyEquivalent_; }
    void setKeyEquivalent(std::string key) { keyEquivalent_ = std::move(key); }
    ModifierFlags keyEquivalentModifierMask() const { return keyEquivalentModifierMask_; }
    void setKeyEquivalentModifierMask(ModifierFlags mask) { keyEquivalentModifierMask_ = mask; }

    // The flag the owner sets; see `canBeChosen` for what a person can do.
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    // Enabled, visible, not a separator, and, in a menu that enables its
    // items automatically, with an action or a submenu to open.
    bool canBeChosen() const;

    std::shared_ptr<Menu> submenu() const { return submenu_; }
    // Also makes this item the submenu's parent.
    void setSubmenu(std::shared_ptr<Menu> submenu);
    bool hasSubmenu() const { return submenu_ != nullptr; }
    // The menu this item is in, if any.
    std::shared_ptr<Menu> menu() const { return menu_.lock(); }

    struct Private;  // construction goes through the factories
    MenuItem(Private, std::string title, Action action, std::string keyEquivalent, bool separator);

private:
    friend class Menu;

    std::string title_;
    std::optional<AttributedString> attributedTitle_;
    std::optional<Image> image_;
    MenuItemState state_ = MenuItemState::off;
    std::string toolTip_;
    int indentationLevel_ = 0;
    bool separator_ = false;
    bool hidden_ = false;
    std::shared_ptr<View> view_;
    std::int64_t tag_ = 0;
    std::any representedObject_;
    std::string keyEquivalent_;
    ModifierFlags keyEquivalentModifierMask_{ModifierFlags::command};
    bool enabled_ = true;
    std::shared_ptr<Menu> submenu_;
    std::weak_ptr<Menu> menu_;
};

}  // namespace tallowmere::platform
