#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/web/web_engine_backend.h"

namespace tallowmere::platform {

class MainQueue;

// The process's web engine, started when the first web view is made: the
// engine module (tallowmere_webkit.so, beside the program) is opened then,
// so a start that never shows a web page loads none of it. Once started,
// the main queue waits inside the engine's loop. One per AppContext.
//
// Where the engine cannot start (no display, no module) every web view
// fails to be made and the reason is logged once.
class WebEngine {
public:
    static constexpr const char* moduleFileName = "tallowmere_webkit.so";

    static WebEngine& shared();

    WebEngine();
    ~WebEngine();
    WebEngine(const WebEngine&) = delete;
    WebEngine& operator=(const WebEngine&) = delete;

    // Before the first start: where the module is (tests use the build's).
    void setModulePath(std::filesystem::path path) { modulePath_ = std::move(path); }
    // Before the first start: run the engine's pages without its sandbox.
    void setSandboxed(bool sandboxed) { sandboxed_ = sandboxed; }

    // The engine, started on the first call; null when it cannot run.
    WebEngineBackend* backend();
    // Why the engine did not start; empty while it has not failed.
    const std::string& failure() const { return failure_; }

    // Runs the engine's work for at most `seconds` of real time; tests wait
    // on a page this way, the program through the main queue.
    void pump(double seconds);

    // The X display the engine uses: TALLOWMERE_WEB_DISPLAY, else DISPLAY;
    // none when neither is set.
    static std::optional<std::string> displayName();

private:
    std::filesystem::path modulePath_;
    bool sandboxed_ = true;
    bool tried_ = false;
    std::string failure_;
    WebEngineBackend* backend_ = nullptr;
    // The queue that waits in the engine's loop.
    MainQueue* hostedQueue_ = nullptr;
};

}  // namespace tallowmere::platform
