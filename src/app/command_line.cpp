#include "app/command_line.h"

#include <cstdio>

#include "app/finder_launch_argument.h"
#include "app/instance_channel.h"
#include "app/instance_request.h"
#include "localization/product_identity.h"
#include "platform/system/bundle.h"

namespace tallowmere {

namespace fs = std::filesystem;
using platform::Error;
using platform::ErrorCode;

namespace {

// A picture of a large arrangement takes a while in a sanitized build on a
// busy machine; an instance that has not answered by then is stuck.
constexpr double snapshotTimeout = 30;

Error refused(std::string why) { return Error{ErrorCode::invalidArgument, std::move(why), 0}; }

std::string infoString(const platform::Bundle& bundle, const char* key) {
    const auto* value = bundle.objectForInfoDictionaryKey(key);
    const auto* text = value ? value->asString() : nullptr;
    return text ? *text : std::string("unknown");
}

}  // namespace

platform::Result<CommandLine> CommandLine::parse(const std::vector<std::string>& arguments,
                                                 const fs::path& currentFolder) {
    CommandLine line;
    bool hasURLs = false;
    auto setAction = [&](Action action, const std::string& option) -> platform::Result<void> {
        if (line.action != Action::run) return refused(option + " cannot be combined with another command");
        line.action = action;
        return {};
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        platform::Result<void> set;
        if (argument == "--help" || argument == "-h") {
            set = setAction(Action::help, argument);
        } else if (argument == "--version") {
            set = setAction(Action::version, argument);
        } else if (argument == "--snapshot" || argument.starts_with("--snapshot=")) {
            std::string file;
            if (argument == "--snapshot") {
                if (i + 1 == arguments.size()) return refused("--snapshot needs a file");
                file = arguments[++i];
            } else {
                file = argument.substr(std::string_view("--snapshot=").size());
            }
            if (file.empty()) return refused("--snapshot needs a file");
            set = setAction(Action::snapshot, "--snapshot");
            line.snapshotFile = (currentFolder / file).lexically_normal();
        } else if (argument == finderActionArgument) {
            // Stays with the launch; the application reads it.
        } else if (argument.starts_with("--")) {
            return refused("unknown option " + argument);
        } else if (!argument.starts_with("-")) {
            hasURLs = true;
        }
        if (!set) return set.error();
    }
    if (line.action == Action::snapshot && hasURLs) return refused("--snapshot takes no URLs");
    return line;
}

std::string CommandLine::usage() {
    return "Usage: tallowmere [--finder-action] [URL ...]\n"
           "       tallowmere --snapshot FILE.png\n"
           "       tallowmere --help | --version\n"
           "\n"
           "Starts the menu-bar program, or hands the URLs to the one already running.\n"
           "\n"
           "Options:\n"
           "  --finder-action   started for a Finder request: the main window stays closed\n"
           "  --snapshot FILE   the running program writes a PNG of its simulated screen to FILE\n"
           "  --help            show this text and exit\n"
           "  --version         show the version and build and exit\n"
           "\n"
           "Environment:\n"
           "  TALLOWMERE_DESKTOP=FILE  the scene (JSON) the simulated desktop starts on\n"
           "  TALLOWMERE_TRACE=LIST    print changes on standard error: ui, desktop (comma-separated)\n"
           "  TALLOWMERE_HEADLESS=1    no desktop viewer window, even with a display\n"
           "  DISPLAY                  the X display the desktop viewer opens on\n";
}

std::string CommandLine::version() {
    const platform::Bundle bundle;
    return std::string(ProductIdentity::externalName) + " " + infoString(bundle, "CFBundleShortVersionString") +
           " (build " + infoString(bundle, "CFBundleVersion") + ")\n";
}

std::optional<int> CommandLine::answerWithoutStarting(const std::vector<std::string>& arguments) {
    std::error_code error;
    const fs::path currentFolder = fs::current_path(error);
    auto line = parse(arguments, currentFolder);
    if (!line) {
        std::fprintf(stderr, "tallowmere: %s\n%s", line.error().message.c_str(), usage().c_str());
        return 2;
    }
    switch (line->action) {
        case Action::run:
            return std::nullopt;
        case Action::help:
            std::fputs(usage().c_str(), stdout);
            return 0;
        case Action::version:
            std::fputs(version().c_str(), stdout);
            return 0;
        case Action::snapshot: {
            InstanceRequest request;
            request.snapshotPath = line->snapshotFile.string();
            auto sent = InstanceRequest::checkSnapshotPath(*request.snapshotPath);
            if (sent) sent = InstanceChannel::send(InstanceChannel::defaultFolder(), request, snapshotTimeout);
            if (!sent) {
                std::fprintf(stderr, "tallowmere: no snapshot written to %s: %s\n", request.snapshotPath->c_str(),
                             sent.error().message.c_str());
                return 1;
            }
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace tallowmere
