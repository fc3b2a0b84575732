#include "platform/viewer/viewer_speaker.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string_view>

extern char** environ;

namespace tallowmere::platform {

namespace {

bool hasPlayer() {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string_view rest = path;
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::filesystem::path folder(std::string(rest.substr(0, colon)));
        if (::access((folder / "aplay").c_str(), X_OK) == 0) return true;
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    return false;
}

}  // namespace

std::unique_ptr<ViewerSpeaker> ViewerSpeaker::openIfAvailable() {
    std::error_code error;
    if (!std::filesystem::exists("/dev/snd", error) || !hasPlayer()) return nullptr;
    return std::make_unique<ViewerSpeaker>();
}

ViewerSpeaker::~ViewerSpeaker() {
    for (const auto& [name, pid] : playing_) ::kill(pid, SIGTERM);
    for (const auto& [name, pid] : playing_) ::waitpid(pid, nullptr, 0);
}

void ViewerSpeaker::reap() {
    for (auto it = playing_.begin(); it != playing_.end();) {
        if (::waitpid(it->second, nullptr, WNOHANG) != 0) it = playing_.erase(it);
        else ++it;
    }
}

void ViewerSpeaker::play(const std::string& name, const std::vector<std::uint8_t>& wav) {
    reap();
    if (auto running = playing_.find(name); running != playing_.end()) {
        ::kill(running->second, SIGTERM);
        ::waitpid(running->second, nullptr, 0);
        playing_.erase(running);
    }
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    const char* arguments[] = {"aplay", "-q", "-", nullptr};
    pid_t pid = 0;
    const int spawned =
        ::posix_spawnp(&pid, "aplay", &actions, nullptr, const_cast<char* const*>(arguments), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[0]);
    if (spawned == 0) {
        // A short sound fits the pipe's buffer, so this never waits long.
        std::size_t written = 0;
        while (written < wav.size()) {
            const ssize_t n = ::write(pipeEnds[1], wav.data() + written, wav.size() - written);
            if (n <= 0) break;
            written += static_cast<std::size_t>(n);
        }
        playing_[name] = pid;
    }
    ::close(pipeEnds[1]);
}

}  // namespace tallowmere::platform
