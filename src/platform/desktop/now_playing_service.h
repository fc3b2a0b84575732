#pragma once

#include <sys/types.h>

#include <array>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/property_value.h"

namespace tallowmere::platform {

class Desktop;

// Who reports what is playing: an application, or a helper of one.
struct NowPlayingClient {
    std::string bundleIdentifier;
    std::optional<std::string> parentApplicationBundleIdentifier;
};

// The simulated Mac's private now-playing framework: which application
// plays media, whether it plays, what, and the remote commands that reach
// it. The program finds the framework by its path and each function by its
// name; a scene or a test may leave out the framework or any function, as
// systems differ. Queries answer on the main queue, as the program asks
// them to. One per desktop.
class NowPlayingService {
public:
    static constexpr std::string_view frameworkPath =
        "/System/Library/PrivateFrameworks/MediaRemote.framework/MediaRemote";
    static constexpr std::array<std::string_view, 7> functionNames{
        "MRMediaRemoteSendCommand",
        "MRMediaRemoteGetNowPlayingApplicationPID",
        "MRMediaRemoteGetNowPlayingInfo",
        "MRMediaRemoteGetNowPlayingApplicationIsPlaying",
        "MRMediaRemoteGetNowPlayingClient",
        "MRNowPlayingClientGetBundleIdentifier",
        "MRNowPlayingClientGetParentApplicationBundleIdentifier",
    };
    // The remote commands the program sends.
    static constexpr int togglePlayPauseCommand = 2;
    static constexpr int nextTrackCommand = 4;
    static constexpr int previousTrackCommand = 5;
    static constexpr std::string_view playbackRateKey = "kMRMediaRemoteNowPlayingInfoPlaybackRate";

    explicit NowPlayingService(Desktop& desktop);
    NowPlayingService(const NowPlayingService&) = delete;
    NowPlayingService& operator=(const NowPlayingService&) = delete;

    // --- The framework as the program finds it --------------------------------
    // Whether a framework is at `path`.
    bool opens(std::string_view path) const;
    // Whether the opened framework has a function of that name.
    bool provides(std::string_view functionName) const;
    void setInstalled(bool installed) { installed_ = installed; }
    void setProvided(std::string_view functionName, bool provided);

    // --- What plays (set by a scene or a test, as a player would) -------------
    // The application that plays, by process id; none clears everything.
    void setNowPlayingApplication(std::optional<pid_t> pid);
    void setClient(std::optional<NowPlayingClient> client) { client_ = std::move(client); }
    void setPlaying(bool playing) { playing_ = playing; }
    bool isPlaying() const { return playing_; }
    // The information dictionary; none when the player gives none.
    void setInfo(std::optional<PropertyValue> info) { info_ = std::move(info); }

    // --- The framework's functions ------------------------------------------------
    // Each answers on the main queue. The pid is 0 when nothing plays.
    void getNowPlayingApplicationPID(std::function<void(int pid)> reply) const;
    void getNowPlayingInfo(std::function<void(std::optional<PropertyValue> info)> reply) const;
    void getNowPlayingApplicationIsPlaying(std::function<void(bool playing)> reply) const;
    void getNowPlayingClient(std::function<void(std::optional<NowPlayingClient> client)> reply) const;
    // A command reaches the application that plays: play-pause flips it.
    void sendCommand(int command);
    // Every command received, in order.
    const std::vector<int>& commandsReceived() const { return commands_; }

private:
    Desktop& desktop_;
    bool installed_ = true;
    std::set<std::string, std::less<>> missing_;
    std::optional<pid_t> pid_;
    std::optional<NowPlayingClient> client_;
    bool playing_ = false;
    std::optional<PropertyValue> info_;
    std::vector<int> commands_;
};

}  // namespace tallowmere::platform
