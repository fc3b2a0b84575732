#pragma once

#include <memory>

namespace tallowmere::platform {

class Window;

// Owns a window and shows it; features derive their controllers from it.
// Made with `WindowController::make<Subclass>(...)` so the window can point
// back at its controller.
class WindowController : public std::enable_shared_from_this<WindowController> {
public:
    template <class T = WindowController, class... Args>
    static std::shared_ptr<T> make(Args&&... args) {
        auto controller = std::make_shared<T>(std::forward<Args>(args)...);
        controller->linkWindow();
        return controller;
    }

    explicit WindowController(std::shared_ptr<Window> window = nullptr) : window_(std::move(window)) {}
    virtual ~WindowController() = default;
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    std::shared_ptr<Window> window() const { return window_; }
    void setWindow(std::shared_ptr<Window> window);
    // Makes the window key and brings it to the front.
    virtual void showWindow();
    // Closes the window; the controller keeps it for showing again.
    void close();

private:
    void linkWindow();

    std::shared_ptr<Window> window_;
};

}  // namespace tallowmere::platform
