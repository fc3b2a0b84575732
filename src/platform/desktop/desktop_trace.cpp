#include "platform/desktop/desktop_trace.h"

#include <cmath>
#include <cstdio>

#include "platform/desktop/desktop.h"
#include "platform/desktop/screen_lock_service.h"
#include "platform/runtime/app_context.h"
#include "platform/system/system_shutdown.h"
#include "platform/system/trace_switches.h"

namespace tallowmere::platform {

namespace {

// "(760, 120, 600, 420)": the frame in screen coordinates, whole points.
std::string frameText(const ScreenRect& frame) {
    auto whole = [](double value) { return std::to_string(std::lround(value)); };
    return "(" + whole(frame.minX()) + ", " + whole(frame.minY()) + ", " + whole(frame.width()) + ", " +
           whole(frame.height()) + ")";
}

// "Notes.txt" of "TextEdit"
std::string windowText(const SimulatedWindow& window) {
    auto app = window.application();
    return quotedForTrace(window.title()) + " of " + quotedForTrace(app ? app->name() : std::string());
}

// What a person pasting would get: the text, else the kinds of data.
std::string pasteboardText(const Pasteboard& pasteboard) {
    if (auto text = pasteboard.string()) return quotedForTrace(*text);
    std::string kinds;
    for (const auto& type : pasteboard.types()) kinds += (kinds.empty() ? "" : ", ") + type;
    if (!pasteboard.fileURLs().empty()) kinds += (kinds.empty() ? "" : ", ") + std::string("file URLs");
    if (pasteboard.image()) kinds += (kinds.empty() ? "" : ", ") + std::string("an image");
    return kinds.empty() ? "empty" : kinds;
}

}  // namespace

DesktopTrace& DesktopTrace::shared() { return AppContext::current().shared<DesktopTrace>(); }

std::shared_ptr<DesktopTrace> DesktopTrace::makeShared() {
    auto trace = std::make_shared<DesktopTrace>(Desktop::shared());
    trace->start();
    return trace;
}

DesktopTrace::DesktopTrace(Desktop& desktop)
    : desktop_(desktop), printsToStandardError_(TraceSwitches::isOn("desktop")) {}

DesktopTrace::~DesktopTrace() {
    for (const auto& token : workspaceObservers_) desktop_.workspace().notificationCenter().removeObserver(token);
    for (const auto& token : desktopObservers_) desktop_.notificationCenter().removeObserver(token);
    for (const auto& token : contextObservers_) desktop_.context().notificationCenter().removeObserver(token);
    for (auto& [number, moving] : moving_) moving.report->cancel();
    if (pasteboardReport_) pasteboardReport_->cancel();
}

void DesktopTrace::start() {
    std::weak_ptr<DesktopTrace> weak = weak_from_this();
    auto& workspace = desktop_.workspace().notificationCenter();
    const std::pair<const char*, const char*> applicationChanges[] = {
        {Workspace::didLaunchApplicationNotification, "launched"},
        {Workspace::didActivateApplicationNotification, "activated"},
        {Workspace::didHideApplicationNotification, "hidden"},
        {Workspace::didUnhideApplicationNotification, "shown"},
        {Workspace::didTerminateApplicationNotification, "quit"},
    };
    for (const auto& change : applicationChanges) {
        const char* what = change.second;
        workspaceObservers_.push_back(workspace.addObserver(change.first, nullptr, [weak, what](const Notification& n) {
            if (auto trace = weak.lock()) trace->applicationChanged(what, n);
        }));
    }
    auto& desktop = desktop_.notificationCenter();
    const std::pair<const char*, const char*> windowChanges[] = {
        {Desktop::windowDidOpenNotification, "opened"},
        {Desktop::windowDidCloseNotification, "closed"},
        {Desktop::windowDidMinimizeNotification, "minimised"},
        {Desktop::windowDidDeminimizeNotification, "restored"},
        {Desktop::windowDidRaiseNotification, "raised"},
        {Desktop::windowDidChangeFrameNotification, nullptr},
    };
    for (const auto& change : windowChanges) {
        const char* what = change.second;
        desktopObservers_.push_back(desktop.addObserver(change.first, nullptr, [weak, what](const Notification& n) {
            if (auto trace = weak.lock()) trace->windowChanged(what, n);
        }));
    }
    desktopObservers_.push_back(desktop.addObserver(Pasteboard::didChangeNotification, nullptr,
                                                    [weak](const Notification&) {
                                                        if (auto trace = weak.lock()) trace->pasteboardChanged();
                                                    }));
    desktopObservers_.push_back(desktop.addObserver(PowerManagement::didChangeNotification, nullptr,
                                                    [weak](const Notification&) {
                                                        if (auto trace = weak.lock()) trace->powerChanged();
                                                    }));
    const std::pair<const char*, const char*> lockChanges[] = {
        {ScreenLockService::didLockNotification, "screen locked"},
        {ScreenLockService::didUnlockNotification, "screen unlocked"},
        // In place of powering off: nothing here shuts this computer down.
        {SystemShutdown::didShutDownNotification, "the Mac shuts down (shutdown -h now)"},
    };
    for (const auto& change : lockChanges) {
        const char* line = change.second;
        contextObservers_.push_back(desktop_.context().notificationCenter().addObserver(
            change.first, nullptr, [weak, line](const Notification&) {
                auto trace = weak.lock();
                if (trace && trace->isWatched()) trace->record(line);
            }));
    }
}

void DesktopTrace::powerChanged() {
    if (!isWatched()) return;
    record(desktop_.power().preventsIdleDisplaySleep() ? "display kept awake" : "display may sleep");
}

void DesktopTrace::record(const std::string& line) {
    if (printsToStandardError_) std::fprintf(stderr, "desktop: %s\n", line.c_str());
    if (onLine) onLine(line);
}

void DesktopTrace::applicationChanged(const char* what, const Notification& notification) {
    if (!isWatched()) return;
    const auto* running = notification.info<std::shared_ptr<RunningApplication>>(Workspace::applicationKey);
    if (!running || !*running) return;
    std::string line = std::string("application ") + what + " " + quotedForTrace((*running)->localizedName().value_or(""));
    if (std::string_view(what) == "launched") line += " (" + (*running)->bundleIdentifier().value_or("") + ")";
    record(line);
}

void DesktopTrace::windowChanged(const char* what, const Notification& notification) {
    if (!isWatched()) return;
    const auto* window = notification.info<std::shared_ptr<SimulatedWindow>>(Desktop::windowKey);
    if (!window || !*window) return;
    if (!what) {
        frameChanged(*window);
        return;
    }
    const int number = (*window)->windowNumber();
    // A frame still settling is reported before the window goes.
    if (moving_.contains(number)) reportFrame(number);
    std::string line = std::string("window ") + what + " " + windowText(**window);
    if (std::string_view(what) == "opened") {
        line += " " + frameText((*window)->screenFrame());
        if ((*window)->isMinimized()) line += " in the Dock";
    }
    record(line);
}

void DesktopTrace::frameChanged(const std::shared_ptr<SimulatedWindow>& window) {
    const int number = window->windowNumber();
    auto& moving = moving_[number];
    if (moving.report) moving.report->cancel();
    moving.window = window;
    std::weak_ptr<DesktopTrace> weak = weak_from_this();
    moving.report = desktop_.context().mainQueue().asyncAfter(settleSeconds, [weak, number] {
        if (auto trace = weak.lock()) trace->reportFrame(number);
    });
}

void DesktopTrace::reportFrame(int windowNumber) {
    auto it = moving_.find(windowNumber);
    if (it == moving_.end()) return;
    auto window = it->second.window.lock();
    it->second.report->cancel();
    moving_.erase(it);
    if (window) record("window frame " + windowText(*window) + " " + frameText(window->screenFrame()));
}

void DesktopTrace::pasteboardChanged() {
    // The new contents are written after the pasteboard is cleared: report
    // them once the change is done.
    if (!isWatched() || pasteboardReport_) return;
    std::weak_ptr<DesktopTrace> weak = weak_from_this();
    pasteboardReport_ = WorkItem::make([weak] {
        if (auto trace = weak.lock()) trace->reportPasteboard();
    });
    desktop_.context().mainQueue().async(pasteboardReport_);
}

void DesktopTrace::reportPasteboard() {
    pasteboardReport_.reset();
    record("pasteboard changed: " + pasteboardText(desktop_.pasteboard()));
}

}  // namespace tallowmere::platform
