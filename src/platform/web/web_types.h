#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tallowmere::platform {

// A script the web view runs in every page it loads.
struct WebUserScript {
    enum class InjectionTime { documentStart, documentEnd };
    // The page's own world, or a world of the program's apart from it (the
    // page's scripts cannot see what runs there).
    enum class World { page, defaultClient };

    std::string source;
    InjectionTime injectionTime = InjectionTime::documentEnd;
    bool mainFrameOnly = true;
    World world = World::page;
};

// What a web view is made with; fixed for its life.
struct WebViewConfiguration {
    std::vector<WebUserScript> userScripts;
    // Names under which page scripts post to the program
    // (window.webkit.messageHandlers.NAME.postMessage(body)).
    std::vector<std::string> scriptMessageHandlers;
    std::string userAgent;
    double pageZoom = 1;
    bool allowsMagnification = false;
    bool javaScriptCanOpenWindowsAutomatically = false;
    // False lets pages start media without a click (a page script may gate it).
    bool mediaPlaybackRequiresUserAction = true;
};

// A message a page script posted to one of the configured handlers.
struct WebScriptMessage {
    std::string handlerName;
    // The body as JSON text ("null" for undefined).
    std::string bodyJSON;
};

// A navigation the page or the person asks for, before it happens.
struct WebNavigationAction {
    enum class Type { linkActivated, formSubmitted, backForward, reload, other };
    std::string url;
    Type type = Type::other;
    // A request for a new window (window.open, target=_blank).
    bool opensNewWindow = false;
};

// One cookie of the engine's store.
struct HttpCookie {
    std::string name;
    std::string value;
    std::string domain;
    std::string path = "/";
    // Seconds since 1970; none for a session cookie.
    std::optional<double> expires;
    bool secure = false;
    bool httpOnly = false;
    // "Lax", "Strict", "None" or empty.
    std::string sameSite;
    bool operator==(const HttpCookie&) const = default;
};

}  // namespace tallowmere::platform
