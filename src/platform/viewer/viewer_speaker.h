#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <sys/types.h>

namespace tallowmere::platform {

// Lets the person at the desktop viewer hear the program's sounds: each
// WAVE file is handed to the system's `aplay` (ALSA) when the machine has a
// sound device and that player. A sound started again cuts off its last
// playing. Without a device or player it stays silent, as a muted Mac.
class ViewerSpeaker {
public:
    // Null when this machine cannot play sound.
    static std::unique_ptr<ViewerSpeaker> openIfAvailable();

    ViewerSpeaker() = default;
    ~ViewerSpeaker();
    ViewerSpeaker(const ViewerSpeaker&) = delete;
    ViewerSpeaker& operator=(const ViewerSpeaker&) = delete;

    void play(const std::string& name, const std::vector<std::uint8_t>& wav);

private:
    void reap();
    std::map<std::string, pid_t> playing_;
};

}  // namespace tallowmere::platform
