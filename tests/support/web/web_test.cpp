#include "support/web/web_test.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/web/web_engine.h"
#include "support/xvfb_display.h"

namespace tallowmere::testing {

namespace {

// The display lives as long as the process: GTK keeps its connection open.
std::string ensureDisplay() {
    if (const char* display = std::getenv("TALLOWMERE_WEB_DISPLAY"); display && *display) return {};
    static XvfbDisplay xvfb(1440, 900);
    if (!xvfb.isRunning()) return "no display for the web engine: " + xvfb.failure();
    ::setenv("TALLOWMERE_WEB_DISPLAY", xvfb.name().c_str(), 1);
    return {};
}

}  // namespace

std::string startWebEngine() {
    if (auto failure = ensureDisplay(); !failure.empty()) return failure;
    auto& engine = platform::WebEngine::shared();
    engine.setModulePath(TALLOWMERE_WEB_ENGINE_MODULE);
    static const bool announced = [] {
        std::fprintf(stderr, "web tests: the engine's sandbox is off\n");
        return true;
    }();
    (void)announced;
    engine.setSandboxed(false);
    if (!engine.backend()) return "the web engine cannot start: " + engine.failure();
    return {};
}

bool waitUntil(const std::function<bool()>& done, double seconds) {
    auto& context = platform::AppContext::current();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (true) {
        context.mainQueue().runUntilIdle();
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        platform::WebEngine::shared().pump(0.02);
    }
}

void runEngineFor(double seconds) {
    waitUntil([] { return false; }, seconds);
}

std::string testPagesFolder() { return std::string(TALLOWMERE_SOURCE_DIR) + "/tests/webpanel/pages"; }

}  // namespace tallowmere::testing
