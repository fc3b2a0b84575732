// The program's entry: one instance per user, its URLs, its signals, and the
// application's event loop.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app_delegate.h"
#include "app/command_line.h"
#include "app/instance_channel.h"
#include "app/instance_request.h"
#include "app/termination_signals.h"
#include "localization/product_identity.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_scene.h"
#include "platform/runtime/app_context.h"
#include "platform/system/command_table.h"
#include "platform/system/open_command.h"
#include "platform/ui/application.h"
#include "platform/ui/finder_sync_extension_host.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/views_trace.h"
#include "platform/viewer/desktop_viewer.h"

namespace {

using namespace tallowmere;

// How long a program started anew waits for the old one to quit.
constexpr double relaunchLockTimeout = 10;

// The launch's URLs that may be handed over; others are reported and left out.
InstanceRequest checkedRequest(const std::vector<std::string>& arguments) {
    InstanceRequest request;
    for (std::string& url : InstanceRequest::fromLaunchArguments(arguments).urls) {
        if (auto valid = InstanceRequest::checkURL(url); !valid) {
            std::fprintf(stderr, "tallowmere: ignoring \"%s\": %s\n", url.c_str(), valid.error().message.c_str());
            continue;
        }
        request.urls.push_back(std::move(url));
    }
    return request;
}

// Requests from later launches reach the application as the platform's own
// events, on the main queue: URLs as a URL-open event, a bare launch as a
// reopen. A snapshot is answered once its file is written, and the views
// trace lists where on it the program's controls and menu rows are.
void deliver(InstanceRequest request, InstanceChannel::Reply& reply) {
    if (request.snapshotPath) {
        auto written = platform::ScreenSnapshot::writeArrangementPng(*request.snapshotPath);
        if (written) {
            platform::ViewsTrace::printIfOn();
            reply.accept();
        } else {
            reply.refuse(written.error().message);
        }
        return;
    }
    auto& application = platform::Application::shared();
    if (request.urls.empty()) {
        application.receiveReopenEvent();
    } else {
        application.receiveURLOpenEvent(std::move(request.urls));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // --help, --version, --snapshot and a command line that is refused end here.
    if (auto status = CommandLine::answerWithoutStarting(arguments)) return *status;
    const InstanceRequest request = checkedRequest(arguments);

    platform::AppContext context;
    auto& mainQueue = context.mainQueue();

    auto onRequest = [&mainQueue](InstanceRequest received, auto reply) {
        // URLs are taken as they arrive; a snapshot once it is written.
        if (!received.snapshotPath) reply->accept();
        mainQueue.async([received = std::move(received), reply]() mutable { deliver(std::move(received), *reply); });
    };
    // One instance per user: a later launch hands its URLs over and ends here.
    // A program started anew (a change of language) waits for the old one to quit instead.
    std::unique_ptr<InstanceChannel> channel;
    if (std::getenv(platform::OpenCommand::newInstanceVariable)) {
        ::unsetenv(platform::OpenCommand::newInstanceVariable);
        auto claimed = InstanceChannel::claimWhenReleased(InstanceChannel::defaultFolder(), onRequest,
                                                          relaunchLockTimeout);
        if (!claimed) {
            std::fprintf(stderr, "tallowmere: %s\n", claimed.error().message.c_str());
            return 1;
        }
        channel = std::move(*claimed);
    } else {
        auto claim = InstanceChannel::claim(InstanceChannel::defaultFolder(), request, onRequest);
        if (!claim) {
            std::fprintf(stderr, "tallowmere: %s\n", claim.error().message.c_str());
            return 1;
        }
        if (claim->handedOver()) return 0;
        channel = std::move(claim->channel);
    }

    // The simulated desktop the program starts on; a scene that cannot be read stops the start.
    if (auto desktop = platform::DesktopScene::setUpForProgram(platform::Desktop::shared()); !desktop) {
        std::fprintf(stderr, "tallowmere: %s\n", desktop.error().message.c_str());
        return 2;
    }

    // "open -n" of its own bundle starts the program anew.
    platform::CommandTable::shared().installStandIn(
        platform::OpenCommand::path, [bundle = platform::Desktop::shared().currentApplication().bundlePath()](
                                         platform::CommandCall& call) {
            return platform::OpenCommand::run(call, bundle, "/proc/self/exe");
        });

    // Finder finds the program's Finder extension in the program's bundle, and loads it when first needed.
    platform::FinderSyncExtensionHost::shared().installProgramExtension();

    // SIGTERM and SIGINT end the program the way a quit does, stop sequence included.
    auto signals = TerminationSignals::install(mainQueue, [](int) { platform::Application::shared().terminate(); });
    if (!signals) std::fprintf(stderr, "tallowmere: %s\n", signals.error().message.c_str());

    auto& application = platform::Application::shared();
    application.setArguments(arguments);

    // The application's delegate is made and set here, and held for the run.
    const auto delegate = AppDelegate::make();
    application.setDelegate(delegate);

    // The launch's own URLs arrive as a URL-open event, delivered once launching has finished.
    if (!request.urls.empty()) application.receiveURLOpenEvent(request.urls);
    // With a display the simulated screen is shown in a real window; without one the program runs headless.
    const auto viewer = platform::DesktopViewer::startIfRequested(std::string(ProductIdentity::externalName));
    application.run();
    return 0;
}
