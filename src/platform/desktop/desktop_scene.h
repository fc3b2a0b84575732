#pragma once

#include "platform/base/property_value.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/result.h"
#include "platform/desktop/audio_hardware.h"
#include "platform/desktop/calendar_database.h"
#include "platform/desktop/keyboard_input_sources.h"
#include "platform/desktop/screen.h"
#include "platform/desktop/screen_arrangement.h"
#include "platform/desktop/simulated_application.h"
#include "platform/desktop/simulated_element.h"
#include "platform/desktop/simulated_window.h"
#include "platform/desktop/status_area.h"

namespace tallowmere::platform {

class Desktop;

// The desktop the program starts on, as a scene file (JSON) describes it:
// screens, the Dock, Accessibility trust, the pointer, and the other
// applications with their windows, documents and focused text. Read whole
// and checked before anything is built, so a bad file never leaves a
// half-built desktop; tests load the same files.
//
// Screens and the pointer are in screen space (origin at the primary
// screen's bottom-left, y up); windows in Accessibility space (origin at
// its top-left, y down), as the platform keeps them. Paths starting with
// "~/" are in the home folder.
struct DesktopScene {
    struct SceneScreen {
        ScreenSpec spec{};
        DisplayID mirrorOf = 0;  // the display it shows a copy of; 0 for none
    };
    struct SceneWindow {
        WindowSpec spec{};
        std::optional<ElementSpec> focusedText{};  // relative to the window
    };
    struct SceneApplication {
        ApplicationSpec spec{};  // launchWindows is filled from `windows`
        bool frontmost = false;
        bool hidden = false;
        std::vector<SceneWindow> windows{};  // front to back
        // Its items in the menu bar, right to left, left of the items of
        // the applications before it.
        std::vector<OtherStatusItemSpec> statusItems{};
        // A player that plays: its sound comes out and the now-playing
        // service names it.
        bool playing = false;
    };
    // The now-playing framework as this Mac has it, and its version (audio
    // process objects came with 14.2).
    struct SceneMedia {
        bool frameworkInstalled = true;
        std::vector<std::string> missingFunctions{};
        std::optional<OperatingSystemVersion> systemVersion{};
    };
    // The keyboard input sources; absent, a Mac as it comes.
    struct SceneInputSources {
        std::vector<KeyboardInputSource> sources{};
        std::optional<std::string> selected{};
        bool selectionFails = false;
    };
    struct SceneCalendar {
        std::string title{};
        std::vector<CalendarEvent> events{};
    };
    // The person's calendars and what they allowed the program.
    struct SceneCalendars {
        CalendarAuthorizationStatus access = CalendarAuthorizationStatus::notDetermined;
        std::vector<SceneCalendar> calendars{};
    };

    // Finder beyond its windows (whose front one's folder document is the
    // folder it shows): what is selected, and how it answers scripts.
    struct SceneFinder {
        std::vector<std::string> selection{};  // paths
        std::optional<std::string> desktopFolder{};
        bool automationAllowed = true;
        bool responding = true;
    };

    std::vector<SceneScreen> screens{};  // the primary first
    DockPlacement dock{};
    bool accessibilityTrusted = false;
    std::optional<ScreenPoint> pointer{};
    std::vector<SceneApplication> applications{};
    SceneFinder finder{};
    bool airDropAvailable = true;
    SceneCalendars calendar{};
    // The system proxy settings as the network settings keep them; absent,
    // they come from the environment's proxy variables.
    std::optional<PropertyValue> proxies{};
    SceneMedia media{};
    std::optional<SceneInputSources> inputSources{};

    // Names the scene file the program starts on.
    static constexpr const char* fileVariable = "TALLOWMERE_DESKTOP";

    // A scene from its JSON text; `home` stands for "~". An error names the
    // JSON path of the bad member and why ("$.applications[1].name: ...").
    static Result<DesktopScene> parse(std::string_view json, const std::filesystem::path& home);
    // The same for a file; the error starts with the file's path.
    static Result<DesktopScene> load(const std::filesystem::path& file,
                                     const std::filesystem::path& home);
    // The scene named by TALLOWMERE_DESKTOP, else the default scene that
    // ships with the program, with "~" the real home folder.
    static Result<DesktopScene> forProgram();
    // The default scene's JSON text.
    static std::string_view defaultSceneText();

    // Puts the scene on a desktop that is as it was made: its screens
    // replace the desktop's, its applications are installed and started,
    // the frontmost one is activated. Fails only where the desktop refuses
    // what the scene checked (an application the desktop already has).
    Result<void> apply(Desktop& desktop) const;
    // The program's start: `forProgram`'s scene put on `desktop`, with the
    // desktop trace watching.
    static Result<void> setUpForProgram(Desktop& desktop);
};

}  // namespace tallowmere::platform
