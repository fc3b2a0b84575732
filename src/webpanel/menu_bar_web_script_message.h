#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tallowmere {

// A media observer's report of the page's media. A field that is missing or
// of the wrong type is none.
struct MenuBarWebMediaReport {
    std::optional<bool> audioMuted;
    std::optional<double> audioVolume;
    std::optional<bool> audioSuspended;
    std::optional<bool> available;
    std::optional<bool> playing;
    std::optional<double> duration;
    std::optional<double> currentTime;
    std::optional<std::string> url;
};

// The page refused to play what the program asked it to resume.
struct MenuBarWebPlaybackError {};

// The person touched the page (a trusted click or key).
struct MenuBarWebPlaybackIntent {};

// One frame's answer to a skip-ad request.
struct MenuBarWebAdSkipAnswer {
    std::string request;
    std::optional<std::string> status;
};

using MenuBarWebScriptMessage =
    std::variant<MenuBarWebMediaReport, MenuBarWebPlaybackError, MenuBarWebPlaybackIntent, MenuBarWebAdSkipAnswer>;

// Reads what a page posted under `handlerName`. None for an unknown handler,
// a body that is not an object, an intent that is not exactly
// `userInitiated: true`, a skip answer without a request id, and a media
// message not signed with `mediaToken` (it came from another frame than the
// observer's, or from a page forging one).
std::optional<MenuBarWebScriptMessage> parseMenuBarWebScriptMessage(std::string_view handlerName,
                                                                    std::string_view bodyJSON,
                                                                    std::string_view mediaToken);

}  // namespace tallowmere
