#include "platform/desktop/desktop_scene.h"

#include <algorithm>
#include <cstdlib>

#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_trace.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"

namespace tallowmere::resources {
extern const std::string_view defaultDesktopSceneJSON;
}

namespace tallowmere::platform {

std::string_view DesktopScene::defaultSceneText() { return resources::defaultDesktopSceneJSON; }

Result<DesktopScene> DesktopScene::load(const std::filesystem::path& file, const std::filesystem::path& home) {
    auto text = Files::readText(file);
    if (!text) return Error{text.error().code, file.string() + ": " + text.error().message, text.error().systemCode};
    auto scene = parse(*text, home);
    if (!scene) return Error{scene.error().code, file.string() + ": " + scene.error().message};
    return scene;
}

Result<DesktopScene> DesktopScene::forProgram() {
    const char* file = std::getenv(fileVariable);
    if (file && *file) return load(file, Paths::home());
    auto scene = parse(defaultSceneText(), Paths::home());
    if (!scene) return Error{scene.error().code, "the default scene: " + scene.error().message};
    return scene;
}

Result<void> DesktopScene::setUpForProgram(Desktop& desktop) {
    // Traced from the start, so the scene's applications and windows are
    // seen as they open.
    DesktopTrace::shared();
    auto scene = forProgram();
    if (!scene) return scene.error();
    return scene->apply(desktop);
}

Result<void> DesktopScene::apply(Desktop& desktop) const {
    auto& arrangement = desktop.screens();
    const auto attached = arrangement.onlineDisplays();
    for (const auto& screen : attached) arrangement.removeScreen(screen);
    for (const auto& screen : screens) {
        if (auto added = arrangement.addScreen(screen.spec); !added) return added.error();
    }
    if (std::any_of(screens.begin(), screens.end(), [](const auto& s) { return s.mirrorOf != 0; })) {
        auto configuration = arrangement.beginConfiguration();
        if (!configuration) return configuration.error();
        for (const auto& screen : screens) {
            if (screen.mirrorOf == 0) continue;
            if (auto set = configuration->configureMirror(screen.spec.displayID, screen.mirrorOf); !set) return set;
        }
        if (auto done = arrangement.completeConfiguration(std::move(*configuration)); !done) return done;
    }
    arrangement.setDock(dock);
    desktop.accessibility().setTrusted(accessibilityTrusted);
    if (pointer) desktop.input().warpMouse(*pointer);
    desktop.calendars().setAuthorizationStatus(calendar.access);
    for (const auto& sceneCalendar : calendar.calendars) {
        desktop.calendars().calendar(sceneCalendar.title);
        for (const auto& event : sceneCalendar.events) desktop.calendars().addEvent(event, sceneCalendar.title);
    }

    auto& finderModel = desktop.finder();
    finderModel.setSelection({finder.selection.begin(), finder.selection.end()});
    if (finder.desktopFolder) finderModel.setDesktopFolder(*finder.desktopFolder);
    finderModel.setAutomationAllowed(finder.automationAllowed);
    finderModel.setResponding(finder.responding);
    desktop.sharingServices().setAvailable(SharingService::sendViaAirDrop, airDropAvailable);
    if (proxies) desktop.proxySettings().setProxies(proxies);
    desktop.nowPlaying().setInstalled(media.frameworkInstalled);
    for (const auto& name : media.missingFunctions) desktop.nowPlaying().setProvided(name, false);
    if (media.systemVersion) desktop.audio().setSystemVersion(*media.systemVersion);
    if (inputSources) {
        auto& sources = desktop.inputSources();
        sources.removeAll();
        for (const auto& source : inputSources->sources) sources.add(source);
        if (inputSources->selected) sources.setSelectedID(*inputSources->selected);
        if (inputSources->selectionFails) sources.setSelectionFailure(KeyboardInputSources::parameterError);
    }

    std::shared_ptr<SimulatedApplication> frontmost;
    for (const auto& scene : applications) {
        auto app = desktop.addApplication(scene.spec);
        if (!app) return app.error();
        if (!(*app)->isRunning()) continue;
        // Its windows opened back to front, so they list in the scene's order.
        const auto windows = (*app)->windows();
        for (std::size_t i = 0; i < scene.windows.size() && i < windows.size(); ++i) {
            const auto& text = scene.windows[i].focusedText;
            if (!text) continue;
            auto element = windows[i]->addElement(*text);
            // The application's focus is in its front window.
            if (i == 0) element->focus();
        }
        for (const auto& item : scene.statusItems) {
            auto spec = item;
            spec.bundleIdentifier = scene.spec.bundleIdentifier;
            desktop.statusArea().addOtherItem(std::move(spec));
        }
        if (scene.playing) {
            const pid_t pid = (*app)->processIdentifier();
            desktop.audio().setRunningOutput(desktop.audio().addProcess(pid), true);
            desktop.nowPlaying().setNowPlayingApplication(pid);
            desktop.nowPlaying().setClient(NowPlayingClient{scene.spec.bundleIdentifier, std::nullopt});
            desktop.nowPlaying().setPlaying(true);
        }
        if (scene.hidden) (*app)->setHidden(true);
        if (scene.frontmost) frontmost = *app;
    }
    if (frontmost) desktop.activate(*frontmost);
    return {};
}

}  // namespace tallowmere::platform
