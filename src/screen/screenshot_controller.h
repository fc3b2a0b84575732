#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/base/date.h"
#include "platform/desktop/hot_key_service.h"

namespace tallowmere {

namespace platform {
class MenuItem;
class RunningProcess;
struct ProcessResult;
}  // namespace platform

// The interactive screenshot: the person drags an area in the system's
// capture tool, the picture is saved on the Desktop, copied to the
// pasteboard and confirmed by the toast. One capture at a time. One per
// process (`shared()`).
//
// Idle → pending (0.2 s, for the menu or the selection bar to go) →
// running (the capture tool is up) → idle.
class ScreenshotController : public std::enable_shared_from_this<ScreenshotController> {
public:
    static constexpr double captureDelaySeconds = 0.2;
    static constexpr const char* captureTool = "/usr/sbin/screencapture";
    static constexpr const char* successMessage = "已复制到剪切板，并保存到桌面";
    // Command+A: the key, the event manager's Command bit, and its identity.
    static constexpr std::uint16_t hotKeyCode = 0;
    static constexpr std::uint32_t hotKeyModifiers = platform::HotKeyService::cmdKey;
    static constexpr platform::HotKeyIdentifier hotKeyIdentifier{platform::fourCharCode("TBSC"), 1};

    static ScreenshotController& shared();

    ScreenshotController() = default;
    ScreenshotController(const ScreenshotController&) = delete;
    ScreenshotController& operator=(const ScreenshotController&) = delete;

    // Runs once at the start of every accepted capture (the selection bar
    // hides itself here).
    std::function<void()> onWillCapture;

    // Start one capture; ignored while one is pending or running.
    void capture(platform::MenuItem& sender);
    void requestCapture();
    bool isPending() const { return capturePending_; }
    bool isRunning() const { return captureProcess_ != nullptr; }

    // Installs the hot-key handler and registers Command+A, once. Nothing at
    // start calls this: Command+A would take Select All from every
    // application.
    void registerShortcut();
    bool hasRegisteredShortcut() const { return hotKey_.has_value(); }
    // The hot-key handler: starts a capture for Command+A, leaves anything
    // else to the next handler.
    static platform::HotKeyService::Status handleHotKey(const platform::HotKeyEvent* event);

    // "tallowmeru_yyyyMMddHHmmss.png" in local time, whatever the person's
    // locale and calendar.
    static std::string fileName(platform::Date date);

private:
    void runCapture();
    void captureEnded(const platform::ProcessResult& result, const std::filesystem::path& file);
    // Takes the first free name: the time's, then "_1", "_2" ... before
    // ".png", created empty so no other capture can take it meanwhile.
    static std::optional<std::filesystem::path> reserveFile(const std::filesystem::path& desktop, platform::Date date);

    std::optional<platform::HotKeyService::HotKeyRef> hotKey_;
    std::optional<platform::HotKeyService::HandlerRef> eventHandler_;
    std::shared_ptr<platform::RunningProcess> captureProcess_;
    bool capturePending_ = false;
};

}  // namespace tallowmere
