// The input controller runs inside the global monitors for every scroll and
// drag event the person makes, so each must be handled well within the
// time between two events (a trackpad reports about 120 a second). Target
// on a development machine: one scroll event of a swipe in progress and one
// drag event of a title-bar drag under 5 µs each, not counting the
// Accessibility calls they make, which are requests to another process on
// the real platform; BM_AccessibilityFrameRead gives the cost of the one
// such call each event makes here, to subtract.
#include <benchmark/benchmark.h>

#include <memory>

#include "program_in_temporary_home.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "windows/accessibility.h"
#include "windows/input_controller.h"
#include "windows/screen_geometry.h"
#include "windows/snap_engine.h"

namespace tallowmere {
namespace {

using platform::Event;
using platform::EventPhase;
using platform::EventType;
using platform::ScreenPoint;

// A program with the input controller switched on and another
// application's window in front, as a person would find it.
struct Scene {
    bench::ProgramInTemporaryHome program;
    platform::Desktop& desktop = platform::Desktop::shared();
    std::shared_ptr<InputController> controller;
    std::shared_ptr<platform::SimulatedWindow> window;
    ScreenPoint titleBar{};

    Scene() {
        desktop.accessibility().setTrusted(true);
        controller = InputController::make(std::make_shared<SnapEngine>(), nullptr);
        controller->gestureEnabled = controller->mouseEnabled = true;
        if (auto app = desktop.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"})) {
            window = (*app)->addWindow({.title = "Notes", .frame = {200, 150, 600, 400}});
            desktop.activate(**app);
        }
        titleBar = ScreenGeometry::toScreen(platform::AXPoint{500, 160});
        desktop.input().warpMouse(titleBar);
    }
    void drain() { platform::AppContext::current().mainQueue().runUntilIdle(); }
    // A left-button event with the pointer at `at`, as the monitor gets it.
    void mouse(EventType type, ScreenPoint at) {
        desktop.input().warpMouse(at);
        controller->handleMouse(Event::mouse(type, at));
    }
    // Presses the title bar and drags it to `to`.
    void startDrag(ScreenPoint to) {
        mouse(EventType::leftMouseDown, titleBar);
        mouse(EventType::leftMouseDragged, to);
    }
    // Drags back and forth between `a` and `b`, one event per iteration.
    void dragBetween(benchmark::State& state, ScreenPoint a, ScreenPoint b) {
        int i = 0;
        for (auto _ : state) {
            mouse(EventType::leftMouseDragged, (i++ % 2) ? a : b);
            drain();
        }
    }
};

void BM_ScrollEventOfASwipe(benchmark::State& state) {
    Scene scene;
    if (!scene.window) {
        state.SkipWithError("no window");
        return;
    }
    scene.controller->handleGesture(Event::scroll(scene.titleBar, 0, 0, EventPhase::began));
    scene.controller->handleGesture(Event::scroll(scene.titleBar, 40, 0, EventPhase::changed));
    int i = 0;
    for (auto _ : state) {
        // Back and forth on the left half: a target and its preview every time.
        const double dx = (i++ % 2) ? 1 : -1;
        scene.controller->handleGesture(Event::scroll(scene.titleBar, dx, 0, EventPhase::changed));
        scene.drain();
    }
    if (scene.controller->gestureTarget() != SnapTarget::left) state.SkipWithError("the swipe was not recognised");
}
BENCHMARK(BM_ScrollEventOfASwipe);

void BM_DragEventOfATitleBarDrag(benchmark::State& state) {
    Scene scene;
    if (!scene.window) {
        state.SkipWithError("no window");
        return;
    }
    const ScreenPoint a{scene.titleBar.x + 200, scene.titleBar.y - 150};
    scene.startDrag(a);
    scene.dragBetween(state, a, {a.x + 3, a.y - 2});
    if (!scene.controller->isWindowDrag()) state.SkipWithError("the drag was not recognised");
}
BENCHMARK(BM_DragEventOfATitleBarDrag);

void BM_DragEventAtAScreenEdge(benchmark::State& state) {
    Scene scene;
    if (!scene.window) {
        state.SkipWithError("no window");
        return;
    }
    // An edge target and its preview on every event.
    scene.startDrag({4, 400});
    scene.dragBetween(state, {4, 400}, {6, 400});
    if (scene.controller->dragTarget() != SnapTarget::left) state.SkipWithError("no edge target");
}
BENCHMARK(BM_DragEventAtAScreenEdge);

void BM_AccessibilityFrameRead(benchmark::State& state) {
    Scene scene;
    auto element = Accessibility::windowAtCocoaPoint(scene.titleBar);
    if (!element) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(Accessibility::frame(*element));
}
BENCHMARK(BM_AccessibilityFrameRead);

}  // namespace
}  // namespace tallowmere
