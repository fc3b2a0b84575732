#include "support/xvfb_display.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <vector>

extern char** environ;

namespace tallowmere::testing {

namespace {
// Xvfb starts in well under a second; a sanitized run on a busy machine
// may take much longer.
constexpr auto startPatience = std::chrono::seconds(30);
}  // namespace

bool acceptsClients(const std::string& display);  // below, with Xlib

XvfbDisplay::XvfbDisplay(int width, int height) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        failure_ = "no pipe for Xvfb's display number";
        return;
    }
    std::vector<std::string> words{"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0",
                                   std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp",
                                   // Without it the server resets whenever its last client leaves (our
                                   // readiness probe, or a program quitting as it starts itself anew),
                                   // and a client connecting meanwhile is turned away.
                                   "-noreset"};
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        pid_ = -1;
        failure_ = "Xvfb could not be started (is the xvfb package installed? scripts/install-deps installs it)";
        return;
    }
    // Xvfb writes its display number once it accepts clients.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + startPatience;
    while (number.empty() || number.back() != '\n') {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        pollfd entry{pipeFds[0], POLLIN, 0};
        if (left <= 0 || ::poll(&entry, 1, static_cast<int>(left)) <= 0) break;
        char buffer[16];
        const ssize_t read = ::read(pipeFds[0], buffer, sizeof buffer);
        if (read <= 0) break;
        number.append(buffer, static_cast<std::size_t>(read));
    }
    ::close(pipeFds[0]);
    if (number.empty() || number.back() != '\n') {
        failure_ = "Xvfb started but did not say which display it serves";
        return;
    }
    number.pop_back();
    name_ = ":" + number;
    // On a busy machine a client can still be turned away just after the
    // number is written; the program under test must find the server ready.
    while (!acceptsClients(name_)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            failure_ = "Xvfb on " + name_ + " does not accept clients";
            return;
        }
        ::poll(nullptr, 0, 20);
    }
}

XvfbDisplay::~XvfbDisplay() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, read);
        ::pclose(pipe);
    }
    return output;
}

}  // namespace tallowmere::testing

// Xlib last: its macros (None, Status, Bool) would clash with what comes before.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tallowmere::testing {

bool acceptsClients(const std::string& display) {
    Display* connection = XOpenDisplay(display.c_str());
    if (!connection) return false;
    XCloseDisplay(connection);
    return true;
}

std::optional<std::array<int, 3>> windowPixel(const std::string& display, unsigned long window, int x, int y) {
    Display* connection = XOpenDisplay(display.c_str());
    if (!connection) return std::nullopt;
    // A window that is not viewable answers with an error, not a picture.
    auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XImage* image = XGetImage(connection, window, x, y, 1, 1, AllPlanes, ZPixmap);
    std::optional<std::array<int, 3>> rgb;
    if (image) {
        const unsigned long pixel = XGetPixel(image, 0, 0);
        rgb = std::array<int, 3>{static_cast<int>((pixel & image->red_mask) >> 16),
                                 static_cast<int>((pixel & image->green_mask) >> 8),
                                 static_cast<int>(pixel & image->blue_mask)};
        XDestroyImage(image);
    }
    XSync(connection, False);
    XSetErrorHandler(previous);
    XCloseDisplay(connection);
    return rgb;
}

}  // namespace tallowmere::testing
