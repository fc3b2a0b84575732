#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "platform/desktop/event.h"
#include "platform/ui/view.h"
#include "platform/ui/view_event_router.h"
#include "support/geometry_printing.h"

namespace tallowmere::testing {

// Drives a view tree without a window, the way a person at the Mac would:
// the root's superview space stands for the window and for the screen, and
// events go through the same router a window uses. Not for testing windows,
// key status or screen placement (the desktop fixture does those).
class ViewDriver {
public:
    explicit ViewDriver(std::shared_ptr<platform::View> root) : root_(std::move(root)) {
        router_->setRootView(root_);
    }

    platform::ViewEventRouter& router() { return *router_; }

    void moveTo(platform::Point where) { send(platform::EventType::mouseMoved, where); }
    void press(platform::Point where, int clickCount = 1) { send(platform::EventType::leftMouseDown, where, clickCount); }
    void dragTo(platform::Point where) { send(platform::EventType::leftMouseDragged, where); }
    void release(platform::Point where, int clickCount = 1) { send(platform::EventType::leftMouseUp, where, clickCount); }
    void click(platform::Point where) {
        press(where);
        release(where);
    }
    // Clicks the middle of `view`.
    void click(const platform::View& view) { click(centerOf(view)); }
    void scroll(platform::Point where, double dx, double dy) {
        auto event = platform::Event::scroll(screen(where), dx, dy, platform::EventPhase::changed);
        router_->dispatch(event, where);
    }

    // One key down and up; `characters` is what the key types.
    bool key(std::uint16_t keyCode, std::string characters = {}, platform::ModifierFlags flags = {}) {
        auto down = platform::Event::key(platform::EventType::keyDown, keyCode, characters, flags);
        down.charactersIgnoringModifiers = characters;
        const bool taken = router_->dispatch(down, {});
        router_->dispatch(platform::Event::key(platform::EventType::keyUp, keyCode, characters, flags), {});
        return taken;
    }
    // Types each character of `text` as its own key press.
    void type(const std::string& text) {
        for (std::size_t i = 0; i < text.size();) {
            const auto lead = static_cast<unsigned char>(text[i]);
            const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            key(0, text.substr(i, length));
            i += length;
        }
    }

    platform::Point centerOf(const platform::View& view) const {
        return view.convertToWindow(view.bounds().center());
    }

private:
    static platform::ScreenPoint screen(platform::Point p) { return {p.x, p.y}; }
    void send(platform::EventType type, platform::Point where, int clickCount = 1) {
        router_->dispatch(platform::Event::mouse(type, screen(where), clickCount), where);
    }

    std::shared_ptr<platform::View> root_;
    std::shared_ptr<platform::ViewEventRouter> router_ = platform::ViewEventRouter::make();
};

}  // namespace tallowmere::testing
