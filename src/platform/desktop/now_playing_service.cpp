#include "platform/desktop/now_playing_service.h"

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"

namespace tallowmere::platform {

NowPlayingService::NowPlayingService(Desktop& desktop) : desktop_(desktop) {}

bool NowPlayingService::opens(std::string_view path) const { return installed_ && path == frameworkPath; }

bool NowPlayingService::provides(std::string_view functionName) const {
    if (!installed_ || missing_.contains(functionName)) return false;
    for (const auto name : functionNames) {
        if (name == functionName) return true;
    }
    return false;
}

void NowPlayingService::setProvided(std::string_view functionName, bool provided) {
    if (provided) {
        if (auto found = missing_.find(functionName); found != missing_.end()) missing_.erase(found);
    } else {
        missing_.emplace(functionName);
    }
}

void NowPlayingService::setNowPlayingApplication(std::optional<pid_t> pid) {
    pid_ = pid;
    if (pid) return;
    client_.reset();
    playing_ = false;
    info_.reset();
}

void NowPlayingService::getNowPlayingApplicationPID(std::function<void(int pid)> reply) const {
    desktop_.context().mainQueue().async([reply = std::move(reply), pid = pid_.value_or(0)] { reply(pid); });
}

void NowPlayingService::getNowPlayingInfo(std::function<void(std::optional<PropertyValue> info)> reply) const {
    desktop_.context().mainQueue().async([reply = std::move(reply), info = info_] { reply(info); });
}

void NowPlayingService::getNowPlayingApplicationIsPlaying(std::function<void(bool playing)> reply) const {
    desktop_.context().mainQueue().async([reply = std::move(reply), playing = playing_] { reply(playing); });
}

void NowPlayingService::getNowPlayingClient(std::function<void(std::optional<NowPlayingClient> client)> reply) const {
    desktop_.context().mainQueue().async([reply = std::move(reply), client = client_] { reply(client); });
}

void NowPlayingService::sendCommand(int command) {
    commands_.push_back(command);
    if (command != togglePlayPauseCommand || !pid_) return;
    playing_ = !playing_;
    // The player's sound stops and starts with it.
    if (const auto object = desktop_.audio().objectOfProcess(*pid_)) desktop_.audio().setRunningOutput(*object, playing_);
}

}  // namespace tallowmere::platform
