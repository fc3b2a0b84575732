#pragma once

#include <optional>
#include <string>

#include "platform/system/command_call.h"

namespace tallowmere::platform {

class Desktop;
class SimulatedElement;

// How a web browser of the simulated Mac answers the scripts other programs
// send it through Apple events (a scene sets it per browser).
struct BrowserScripting {
    // How long the browser takes to answer an Apple event.
    enum class Responsiveness {
        answers,
        // Busy: the event times out after the script's own timeout (-1712);
        // with no timeout in the script it waits for ever.
        slow,
        // Stuck so badly that osascript itself never returns.
        hung,
    };
    // The person allowed the program to control it (Automation); else -1743.
    bool automationAllowed = true;
    // "Allow JavaScript from Apple Events" in its developer menu; else error 12.
    bool javaScriptFromAppleEvents = true;
    Responsiveness responsiveness = Responsiveness::answers;
    // The focus is inside a frame of another origin, which page scripts
    // cannot read.
    bool focusInCrossOriginFrame = false;
};

// The browsers' side of osascript: the script that runs a page script in the
// active tab of a browser's front window, with its error handler and time
// limit. A browser cannot run JavaScript here, so only page scripts it knows
// are run, on its page model: the front window's text element with its style
// runs (each run a text node in a styled element) and its selection.
namespace BrowserScripts {

// osascript's status for such a script, or none for any other script (or a
// page script the browsers do not know).
std::optional<int> run(Desktop& desktop, const std::string& source, CommandCall& call);

// The answer of the selection-style page script for a page: the JSON text
// it gives ("status", and with a selection "text" and "styles").
std::string selectionStyleAnswer(const SimulatedElement* page, const BrowserScripting& browser);

}  // namespace BrowserScripts

}  // namespace tallowmere::platform
