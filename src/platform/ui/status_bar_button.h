#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/desktop/event.h"
#include "platform/gfx/attributed_string.h"
#include "platform/gfx/image.h"
#include "platform/ui/view.h"

namespace tallowmere::platform {

class StatusItem;

// The button that shows a status item in the menu bar: an image and/or a
// title, centred. It takes every click inside its bounds, whatever views
// are added on top of it, and sends its action for the mouse events of its
// send-action mask (left mouse up unless told otherwise); an item with a
// menu opens the menu on the press instead.
class StatusBarButton : public View {
public:
    static constexpr double horizontalPadding = 6;
    static constexpr double imageTitleSpacing = 4;

    static std::shared_ptr<StatusBarButton> make(std::weak_ptr<StatusItem> item);

    // Runs for the events of `sendActionOn`, with the button as sender.
    std::function<void(StatusBarButton& sender)> action;
    // Event types that send the action, by mask (eventMask(EventType::...)).
    EventMask sendActionOn() const { return sendActionMask_; }
    void sendActionOn(EventMask mask) { sendActionMask_ = mask; }

    const std::optional<Image>& image() const { return image_; }
    void setImage(std::optional<Image> image);
    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    const std::optional<AttributedString>& attributedTitle() const { return attributedTitle_; }
    void setAttributedTitle(std::optional<AttributedString> title);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // When false a disabled button still draws its image at full strength.
    bool imageDimsWhenDisabled = true;
    bool appearsHighlighted() const { return highlighted_; }

    // The status item this button belongs to, while it exists.
    std::shared_ptr<StatusItem> statusItem() const { return item_.lock(); }
    // Clicks it as a person would: opens the menu or sends the action.
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

    struct Private;
    StatusBarButton(Private, std::weak_ptr<StatusItem> item);

private:
    void handle(const Event& event);
    void changed(const std::string& what);

    std::weak_ptr<StatusItem> item_;
    EventMask sendActionMask_ = eventMask(EventType::leftMouseUp);
    std::optional<Image> image_;
    std::string title_;
    std::optional<AttributedString> attributedTitle_;
    bool enabled_ = true;
    bool highlighted_ = false;
};

}  // namespace tallowmere::platform
