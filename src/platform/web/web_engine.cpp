#include "platform/web/web_engine.h"

#include <dlfcn.h>

#include <cstdlib>
#include <system_error>

#include "platform/runtime/app_context.h"
#include "platform/system/paths.h"
#include "platform/system/system_log.h"

namespace tallowmere::platform {

namespace {

std::filesystem::path besideProgram(const char* fileName) {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(fileName) : program.parent_path() / fileName;
}

}  // namespace

WebEngine& WebEngine::shared() { return AppContext::current().shared<WebEngine>(); }

WebEngine::WebEngine() : modulePath_(besideProgram(moduleFileName)) {}

WebEngine::~WebEngine() {
    // The module's engine lives on for the process (GTK starts once); only
    // this context's queue stops waiting in it.
    if (hostedQueue_) hostedQueue_->setRunLoopHost(nullptr);
}

std::optional<std::string> WebEngine::displayName() {
    for (const char* variable : {"TALLOWMERE_WEB_DISPLAY", "DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return std::string(value);
    }
    return std::nullopt;
}

WebEngineBackend* WebEngine::backend() {
    if (tried_) return backend_;
    tried_ = true;
    const auto display = displayName();
    if (!display) {
        failure_ = "no display";
    } else if (void* module = ::dlopen(modulePath_.c_str(), RTLD_NOW | RTLD_LOCAL); !module) {
        const char* error = ::dlerror();
        failure_ = "cannot load " + modulePath_.string() + ": " + (error ? error : "unknown error");
    } else if (auto make = reinterpret_cast<TallowmereMakeWebEngineBackend>(
                   ::dlsym(module, "tallowmere_make_web_engine_backend"));
               !make) {
        failure_ = "no engine in " + modulePath_.string();
    } else {
        WebEngineOptions options;
        options.display = *display;
        options.dataDirectory = (Paths::library() / "WebKit" / "com.quenlow.tallowmere").string();
        options.cacheDirectory = (Paths::library() / "Caches" / "com.quenlow.tallowmere" / "WebKit").string();
        options.sandboxed = sandboxed_;
        options.log = [](const std::string& line) { SystemLog::shared().log(line); };
        std::error_code ignored;
        std::filesystem::create_directories(options.dataDirectory, ignored);
        std::filesystem::create_directories(options.cacheDirectory, ignored);
        backend_ = make(options, failure_);
    }
    if (!backend_) {
        SystemLog::shared().log("Web engine unavailable: " + failure_);
        return nullptr;
    }
    hostedQueue_ = &AppContext::current().mainQueue();
    hostedQueue_->setRunLoopHost(&backend_->runLoopHost());
    return backend_;
}

void WebEngine::pump(double seconds) {
    if (backend_) backend_->pump(seconds);
}

}  // namespace tallowmere::platform
