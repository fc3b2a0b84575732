#include "webpanel/menu_bar_web_page_scripts.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "platform/base/format.h"

namespace tallowmere {

namespace resources {
extern const std::string_view webMediaPolicyScript;
extern const std::string_view webMediaObserverScript;
extern const std::string_view webAdSkippingScript;
extern const std::string_view webCursorVisibilityScript;
extern const std::string_view webCompactLayoutScript;
extern const std::string_view webPauseScript;
extern const std::string_view webResumeScript;
extern const std::string_view webCheckpointScript;
extern const std::string_view webSeekScript;
}  // namespace resources

using platform::WebUserScript;

namespace {

std::string quoted(std::string_view text) { return nlohmann::json(std::string(text)).dump(); }

}  // namespace

WebUserScript MenuBarWebMediaPolicy::makeScript() {
    // At document start in every frame: `play` is replaced before any of the
    // page's own scripts can call it.
    return {std::string(resources::webMediaPolicyScript), WebUserScript::InjectionTime::documentStart, false,
            WebUserScript::World::page};
}

std::string_view MenuBarWebAdSkipping::source() { return resources::webAdSkippingScript; }

WebUserScript MenuBarWebAdSkipping::makeScript() {
    return {std::string(source()), WebUserScript::InjectionTime::documentEnd, false, WebUserScript::World::page};
}

WebUserScript MenuBarWebCursorVisibility::makeScript() {
    return {std::string(resources::webCursorVisibilityScript), WebUserScript::InjectionTime::documentEnd, false,
            WebUserScript::World::defaultClient};
}

std::string_view MenuBarWebCompactLayout::script() { return resources::webCompactLayoutScript; }

namespace MenuBarWebPageScripts {

WebUserScript mediaObserver(std::string_view token) {
    return {std::string(resources::webMediaObserverScript) + "(" + quoted(token) + ");",
            WebUserScript::InjectionTime::documentEnd, true, WebUserScript::World::page};
}

std::string allowPlayback() {
    return "window.__tallowmereSetPlaybackAllowed && window.__tallowmereSetPlaybackAllowed(true);";
}

std::string setPlaybackAllowed(bool allowed) {
    return "window.__tallowmereSetPlaybackAllowed && window.__tallowmereSetPlaybackAllowed(" +
           std::string(allowed ? "true" : "false") + ");";
}

std::string pause() { return std::string(resources::webPauseScript); }

std::string resume(bool rewind, std::string_view token) {
    return std::string(resources::webResumeScript) + "(" + (rewind ? "true" : "false") + ", " + quoted(token) + ");";
}

std::string checkpoint() { return std::string(resources::webCheckpointScript); }

std::string seek(double seconds) {
    // The template formatter writes a point whatever the user's locale: the
    // page reads the number as JavaScript.
    if (!std::isfinite(seconds)) seconds = 0;
    return std::string(resources::webSeekScript) + "(" + platform::formatTemplate("%.3f", seconds) + ");";
}

std::string mediaProbe() { return "document.querySelector('video,audio') !== null"; }

std::string skipAd(std::string_view request) {
    return "window.__tallowmereSkipAd && window.__tallowmereSkipAd('" + std::string(request) + "');";
}

std::string setCompactMedia(bool enabled) {
    return "window.__tallowbySetCompactMedia && window.__tallowbySetCompactMedia(" +
           std::string(enabled ? "true" : "false") + ");";
}

}  // namespace MenuBarWebPageScripts

}  // namespace tallowmere
