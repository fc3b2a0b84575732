#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/desktop/event.h"
#include "platform/ui/button.h"

namespace tallowmere::platform {

class StatusItem;

// The button that shows a status item in the menu bar: a borderless button
// with an image and/or a title, centred. It takes every click inside its
// bounds, whatever views are added on top of it, and runs `onAction` for
// the mouse events of its send-action mask (left mouse up unless told
// otherwise); an item with a menu opens the menu on the press instead.
class StatusBarButton : public Button {
public:
    static constexpr double horizontalPadding = 6;
    static constexpr double imageTitleSpacing = 4;

    static std::shared_ptr<StatusBarButton> make(std::weak_ptr<StatusItem> item);

    // Event types that send the action, by mask (eventMask(EventType::...)).
    EventMask sendActionOn() const { return sendActionMask_; }
    void sendActionOn(EventMask mask) { sendActionMask_ = mask; }

    // As Button's, and a variable-length item takes the new width.
    void setImage(std::optional<Image> image);
    void setTitle(std::string title);
    void setAttributedTitle(std::optional<AttributedString> title);
    // When false a disabled button still draws its image at full strength.
    bool imageDimsWhenDisabled = true;

    // The status item this button belongs to, while it exists.
    std::shared_ptr<StatusItem> statusItem() const { return item_.lock(); }
    // Clicks it as a person would: opens the item's menu or runs the action.
    void performClick();

    // The width the content needs, padding included (a variable-length
    // item takes it).
    double contentWidth() const;

    std::shared_ptr<View> hitTest(Point pointInSuperview) override;
    void mouseDown(const Event& event) override;
    void mouseUp(const Event& event) override;
    void rightMouseDown(const Event& event) override;
    void rightMouseUp(const Event& event) override;
    void draw(Canvas& canvas, Rect dirty) override;
    std::string accessibilityRole() const override { return "AXMenuBarItem"; }

    struct Private {};  // construction goes through make
    StatusBarButton(Private, std::weak_ptr<StatusItem> item);

private:
    void handle(const Event& event);
    void contentChanged(const std::string& what);

    std::weak_ptr<StatusItem> item_;
    EventMask sendActionMask_ = eventMask(EventType::leftMouseUp);
};

}  // namespace tallowmere::platform
