#include "screen/screenshot_controller.h"

#include <system_error>

#include "platform/base/date_formatter.h"
#include "platform/base/gregorian_calendar.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/pasteboard.h"
#include "platform/gfx/image.h"
#include "platform/runtime/app_context.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/process_runner.h"
#include "platform/ui/alert.h"
#include "platform/ui/desktop_link.h"
#include "screen/screenshot_toast.h"

namespace tallowmere {

namespace {

void showAlert(const std::string& message, const std::string& informative) {
    auto alert = platform::Alert::make();
    alert->messageText = message;
    alert->informativeText = informative;
    alert->runModal();
}

}  // namespace

ScreenshotController& ScreenshotController::shared() {
    return platform::AppContext::current().shared<ScreenshotController>();
}

std::string ScreenshotController::fileName(platform::Date date) {
    auto formatter = platform::DateFormatter::make(
        "yyyyMMddHHmmss", platform::GregorianCalendar::current().timeZoneIdentifier(), "en_US_POSIX");
    return "tallowmeru_" + (formatter.ok() ? formatter->string(date) : std::string()) + ".png";
}

void ScreenshotController::capture(platform::MenuItem& /*sender*/) { requestCapture(); }

void ScreenshotController::requestCapture() {
    if (capturePending_ || captureProcess_) return;
    capturePending_ = true;
    if (onWillCapture) onWillCapture();
    std::weak_ptr<ScreenshotController> weakSelf = weak_from_this();
    platform::AppContext::current().mainQueue().asyncAfter(captureDelaySeconds, [weakSelf] {
        if (auto self = weakSelf.lock()) self->runCapture();
    });
}

std::optional<std::filesystem::path> ScreenshotController::reserveFile(const std::filesystem::path& desktop,
                                                                       platform::Date date) {
    const auto name = fileName(date);
    const auto stem = name.substr(0, name.size() - 4);
    for (int n = 0; n < 10000; ++n) {
        const auto file = desktop / (n == 0 ? name : stem + "_" + std::to_string(n) + ".png");
        auto created = platform::Files::createEmptyExclusively(file);
        if (created.ok()) return file;
        if (created.error().code != platform::ErrorCode::alreadyExists) return std::nullopt;
    }
    return std::nullopt;
}

void ScreenshotController::runCapture() {
    // Still pending while the tool starts: a tool that runs inside the
    // program is under way before `start` returns, and a request made
    // meanwhile must be ignored like any other.
    struct EndPending {
        bool& pending;
        ~EndPending() { pending = false; }
    } endPending{capturePending_};
    const auto desktop = platform::Paths::desktop();
    std::error_code error;
    if (!std::filesystem::is_directory(desktop, error)) {
        showAlert("无法获取桌面位置", "请检查桌面文件夹是否可用后重试。");
        return;
    }
    const auto file = reserveFile(desktop, platform::AppContext::current().clock().now());
    if (!file) {
        showAlert("无法获取桌面位置", "请检查桌面文件夹是否可用后重试。");
        return;
    }
    std::weak_ptr<ScreenshotController> weakSelf = weak_from_this();
    auto started = platform::ProcessRunner::start(
        {.executable = captureTool, .arguments = {"-i", "-x", file->string()}},
        [weakSelf, file = *file](const platform::ProcessResult& result) {
            if (auto self = weakSelf.lock()) self->captureEnded(result, file);
        });
    if (!started) {
        std::filesystem::remove(*file, error);
        showAlert(started.error().message, "");
        return;
    }
    // The tool may have ended already (and its handler be queued): it is
    // running until that handler clears it.
    captureProcess_ = std::move(*started);
}

void ScreenshotController::captureEnded(const platform::ProcessResult& result, const std::filesystem::path& file) {
    captureProcess_.reset();
    std::optional<platform::Image> image;
    if (result.succeeded()) {
        if (auto bytes = platform::Files::read(file); bytes.ok() && !bytes->empty()) {
            image = platform::Image::fromPngDataOnDemand(std::move(*bytes));
        }
    }
    if (!image) {
        // Cancelled: the name was only held for the capture.
        std::error_code error;
        if (std::filesystem::is_regular_file(file, error) && std::filesystem::file_size(file, error) == 0) {
            std::filesystem::remove(file, error);
        }
        return;
    }
    auto& pasteboard = platform::DesktopLink::desktop().pasteboard();
    pasteboard.clearContents();
    if (pasteboard.writeImage(*image)) {
        ScreenshotToast::shared().show(successMessage);
    } else {
        showAlert("截图已保存到桌面", "未能复制到剪切板，文件名：" + file.filename().string());
    }
}

void ScreenshotController::registerShortcut() {
    if (eventHandler_) return;
    auto& hotKeys = platform::DesktopLink::desktop().hotKeys();
    platform::HotKeyService::HandlerRef handler;
    if (hotKeys.installHandler(handleHotKey, handler) != platform::HotKeyService::noErr) return;
    eventHandler_ = handler;
    platform::HotKeyService::HotKeyRef hotKey;
    if (hotKeys.registerHotKey(hotKeyCode, hotKeyModifiers, hotKeyIdentifier, hotKey) == platform::HotKeyService::noErr) {
        hotKey_ = hotKey;
        return;
    }
    platform::AppContext::current().mainQueue().async([] {
        auto alert = platform::Alert::make();
        alert->messageText = "截图快捷键未能注册";
        alert->informativeText = "Command + A 可能已被其他应用占用。仍可通过菜单或 Selvane 的截图按钮使用。";
        alert->addButton("好");
        alert->runModal();
    });
}

platform::HotKeyService::Status ScreenshotController::handleHotKey(const platform::HotKeyEvent* event) {
    if (!event || !event->directObject || *event->directObject != hotKeyIdentifier) {
        return platform::HotKeyService::eventNotHandledErr;
    }
    platform::AppContext::current().mainQueue().async([] { ScreenshotController::shared().requestCapture(); });
    return platform::HotKeyService::noErr;
}

}  // namespace tallowmere
