#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/run_loop_host.h"
#include "platform/web/web_types.h"

// The boundary between the platform's web view and the engine module
// (tallowmere_webkit.so), opened when the first web view is made. Both sides
// are built from this one header by the same compiler; the module exports
// `tallowmere_make_web_engine_backend` with C linkage.
namespace tallowmere::platform {

// One page's calls back into the platform, made on the main thread from
// inside the engine's loop. The platform side only posts them on to the main
// queue.
class WebPageObserver {
public:
    enum class LoadEvent { started, committed, finished };

    virtual ~WebPageObserver() = default;
    virtual void pageLoadChanged(LoadEvent event) = 0;
    virtual void pageLoadFailed(std::string description) = 0;
    // Calls `decide(true)` to let the navigation go on, `decide(false)` to
    // cancel it; `decide` may be kept and called later, once.
    virtual void pageDecidePolicy(WebNavigationAction action, std::function<void(bool)> decide) = 0;
    virtual void pageReceivedScriptMessage(WebScriptMessage message) = 0;
    // The picture changed; the next paint shows it.
    virtual void pageNeedsDisplay() = 0;
    virtual void pageTitleChanged() = 0;
    virtual void pageProcessTerminated(std::string reason) = 0;
    virtual void pageCookiesChanged() = 0;
    // A key press the page left unhandled (no default prevented), oldest
    // first: it goes on to the view's window, as Esc does to a panel.
    virtual void pageDidNotHandleKeyDown(int keyCode) = 0;
};

// Pixels of a page picture: premultiplied 32-bit ARGB in native order, rows
// from the top, `stride` bytes apart.
struct WebPixels {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<std::uint8_t> bytes;
};

enum class WebMouseKind { down, up, moved };

// One page of the engine: a view in a window of its own, off-screen.
class WebPageBackend {
public:
    using ScriptCompletion = std::function<void(std::optional<std::string> resultJSON, std::string error)>;
    using CookiesCompletion = std::function<void(std::vector<HttpCookie>)>;

    virtual ~WebPageBackend() = default;

    virtual void load(const std::string& url) = 0;
    virtual void loadHTML(const std::string& html, const std::string& baseURL) = 0;
    virtual void stopLoading() = 0;
    virtual void reload() = 0;
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual bool canGoBack() const = 0;
    virtual bool canGoForward() const = 0;
    // Empty when the page has no address yet.
    virtual std::string url() const = 0;
    virtual std::optional<std::string> title() const = 0;
    virtual bool isLoading() const = 0;
    virtual std::string userAgent() const = 0;

    // Runs `source` in the page's main frame; the completion (when given)
    // gets the value as JSON text, or none and the error.
    virtual void evaluateJavaScript(const std::string& source, ScriptCompletion completion) = 0;

    // Size in pixels of the page's view.
    virtual void setSize(int width, int height) = 0;
    // The page's current picture, whether or not it is shown.
    virtual WebPixels paint() = 0;
    // While false nobody sees the page: its frames are no longer drawn for
    // the module's own window and `pageNeedsDisplay` stays quiet, yet the
    // page runs on as a shown one (media plays, scripts see it visible).
    virtual void setPictureShown(bool shown) = 0;

    // Points in the view, origin top-left. `button` 1 left, 2 middle, 3 right;
    // `modifiers` the platform's modifier flags.
    virtual void sendMouse(WebMouseKind kind, double x, double y, int button, int clickCount,
                           std::uint64_t modifiers) = 0;
    virtual void sendScroll(double x, double y, double deltaX, double deltaY) = 0;
    // `keyCode` is the platform's virtual key code; `text` what it types.
    virtual void sendKey(bool down, int keyCode, const std::string& text, std::uint64_t modifiers) = 0;
    virtual void setFocused(bool focused) = 0;
    // Pages see the dark colour scheme (prefers-color-scheme) while true.
    virtual void setDarkAppearance(bool dark) = 0;

    virtual void allCookies(CookiesCompletion completion) = 0;
    virtual void setCookie(const HttpCookie& cookie, std::function<void()> completion) = 0;
    // Empties the engine's cookie store, as a fresh engine data folder would.
    virtual void removeAllCookies(std::function<void()> completion) = 0;
};

struct WebEngineOptions {
    // The X display the engine's windows live on.
    std::string display;
    // Where the engine keeps website data and caches.
    std::string dataDirectory;
    std::string cacheDirectory;
    bool sandboxed = true;
    // A line for the system log (the sandbox turned off, say).
    std::function<void(const std::string&)> log;
};

class WebEngineBackend {
public:
    virtual ~WebEngineBackend() = default;
    virtual std::unique_ptr<WebPageBackend> makePage(const WebViewConfiguration& configuration,
                                                     WebPageObserver& observer) = 0;
    // The engine's loop, for the main queue to wait in.
    virtual RunLoopHost& runLoopHost() = 0;
    // Runs the engine's pending work once, waiting at most `seconds`.
    virtual void pump(double seconds) = 0;
};

}  // namespace tallowmere::platform

extern "C" {
// Makes the one engine of the process, or gives null and why in `failure`.
using TallowmereMakeWebEngineBackend = tallowmere::platform::WebEngineBackend* (*)(
    const tallowmere::platform::WebEngineOptions& options, std::string& failure);
}
