#include "webpanel/menu_bar_web_script_message.h"

#include <nlohmann/json.hpp>

namespace tallowmere {

namespace {

using nlohmann::json;

std::optional<bool> boolean(const json& body, const char* key) {
    const auto it = body.find(key);
    if (it == body.end() || !it->is_boolean()) return std::nullopt;
    return it->get<bool>();
}

std::optional<double> number(const json& body, const char* key) {
    const auto it = body.find(key);
    if (it == body.end() || !it->is_number()) return std::nullopt;
    return it->get<double>();
}

std::optional<std::string> text(const json& body, const char* key) {
    const auto it = body.find(key);
    if (it == body.end() || !it->is_string()) return std::nullopt;
    return it->get<std::string>();
}

}  // namespace

std::optional<MenuBarWebScriptMessage> parseMenuBarWebScriptMessage(std::string_view handlerName,
                                                                    std::string_view bodyJSON,
                                                                    std::string_view mediaToken) {
    const json body = json::parse(bodyJSON, nullptr, false);
    if (!body.is_object()) return std::nullopt;
    if (handlerName == "menuBarWebAdSkip") {
        auto request = text(body, "request");
        if (!request) return std::nullopt;
        return MenuBarWebAdSkipAnswer{std::move(*request), text(body, "status")};
    }
    if (handlerName == "menuBarWebPlaybackIntent") {
        if (boolean(body, "userInitiated") != true) return std::nullopt;
        return MenuBarWebPlaybackIntent{};
    }
    if (handlerName == "menuBarWebMedia") {
        if (mediaToken.empty() || text(body, "token") != mediaToken) return std::nullopt;
        if (body.contains("playbackError")) return MenuBarWebPlaybackError{};
        return MenuBarWebMediaReport{boolean(body, "audioMuted"), number(body, "audioVolume"),
                                     boolean(body, "audioSuspended"), boolean(body, "available"),
                                     boolean(body, "playing"),        number(body, "duration"),
                                     number(body, "currentTime"),     text(body, "url")};
    }
    return std::nullopt;
}

}  // namespace tallowmere
