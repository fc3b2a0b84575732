#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop/ax_element.h"
#include "platform/desktop/running_application.h"
#include <functional>
#include "windows/layout_store.h"
#include "windows/workspace_layout.h"

namespace tallowmere {

// One restore of a saved layout, as a chain of main-queue steps:
//  1. at once: start the saved applications that do not run and reopen
//     saved documents that are not open (only files that exist and web
//     addresses; nothing else a file may hold is ever opened);
//  2. after a wait for them: match every saved window to a live window of
//     its application, put it on today's screens with its minimised state,
//     and confirm each placement a moment later;
//  3. raise the windows twice in their saved stacking order, frontmost
//     last; then report how many placements were confirmed.
// The completion runs exactly once, whatever happens on the way. The chain
// holds itself alive through its scheduled steps, each a cancellable work
// item on the main queue.
class LayoutRestore : public std::enable_shared_from_this<LayoutRestore> {
public:
    // Waits, in seconds, each from the step before.
    static constexpr double launchWait = 2.6;
    static constexpr double settleWait = 0.2;
    static constexpr double confirmationDelay = 0.18;
    static constexpr double raiseInterval = 0.075;
    static constexpr double secondPassDelay = 0.14;
    static constexpr double completionDelay = 0.25;

    // Refuses at once (no Accessibility trust, no such layout), else runs
    // the first phase now and schedules the rest.
    static void start(std::weak_ptr<LayoutStore> store, const platform::Uuid& id,
                      LayoutStore::RestoreCompletion completion);

    LayoutRestore(std::weak_ptr<LayoutStore> store, WorkspaceLayout layout, LayoutStore::RestoreCompletion completion);
    LayoutRestore(const LayoutRestore&) = delete;
    LayoutRestore& operator=(const LayoutRestore&) = delete;

private:
    struct Match {
        WindowSnapshot saved;
        platform::AXElement window;
        std::shared_ptr<platform::RunningApplication> application;
    };

    // Phase 1; true when something was launched or opened.
    bool launchMissingApplications();
    bool reopenDocuments();
    // Phase 2.
    void placeWindows();
    void placeGroup(const std::string& bundleIdentifier);
    void place(const WindowSnapshot& saved, const platform::AXElement& window,
               const std::shared_ptr<platform::RunningApplication>& application);
    void raiseWindow(std::size_t index, int pass);
    void finish(platform::Result<int> result);
    // Runs `step` on the main queue after `seconds`; the step holds the
    // restore alive until it has run.
    void after(double seconds, std::function<void(LayoutRestore&)> step);

    std::weak_ptr<LayoutStore> store_;
    WorkspaceLayout layout_;
    LayoutStore::RestoreCompletion completion_;
    int restored_ = 0;
    std::vector<Match> matched_;
    std::vector<Match> raiseList_;
    bool finished_ = false;
};

}  // namespace tallowmere
