#pragma once

#include <memory>
#include <string>

namespace tallowmere {

namespace platform {
class Label;
class Panel;
class WorkItem;
}  // namespace platform

// The short confirmation bubble shown after copying: one dark rounded panel,
// centred on the screen under the pointer, gone 0.7 s after the last show.
// It takes no clicks and never activates the program. One per process
// (`shared()`).
class ScreenshotToast : public std::enable_shared_from_this<ScreenshotToast> {
public:
    static constexpr const char* defaultMessage = "已复制到剪切板";
    static constexpr double visibleSeconds = 0.7;

    static ScreenshotToast& shared();

    ScreenshotToast();
    ScreenshotToast(const ScreenshotToast&) = delete;
    ScreenshotToast& operator=(const ScreenshotToast&) = delete;

    // Shows `message`, replacing any toast still up and restarting its time.
    void show(const std::string& message = defaultMessage);

    // Null until the first show; then the same panel for good.
    std::shared_ptr<platform::Panel> panel() const { return panel_; }

private:
    void makePanel();

    std::shared_ptr<platform::Panel> panel_;
    std::shared_ptr<platform::WorkItem> dismissWork_;
    std::shared_ptr<platform::Label> messageLabel_;
};

}  // namespace tallowmere
