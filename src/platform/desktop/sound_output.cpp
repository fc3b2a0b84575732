#include "platform/desktop/sound_output.h"

#include <algorithm>
#include <array>

namespace tallowmere::platform {

namespace {

// The system sounds of the simulated Mac, and the screen capture's shutter.
constexpr std::array<std::string_view, 15> systemSounds = {
    "Basso", "Blow", "Bottle", "Frog", "Funk", "Glass", "Hero",
    "Morse", "Ping", "Pop", "Purr", "Sosumi", "Submarine", "Tink", "Grab",
};

}  // namespace

bool SoundOutput::playNamed(std::string_view name) {
    if (std::find(systemSounds.begin(), systemSounds.end(), name) == systemSounds.end()) return false;
    played_.emplace_back(name);
    return true;
}

void SoundOutput::beep() { played_.emplace_back(beepName); }

void SoundOutput::playWave(std::string name, std::shared_ptr<const std::vector<std::uint8_t>> wav) {
    played_.push_back(name);
    if (onPlay && wav) onPlay(name, *wav);
}

}  // namespace tallowmere::platform
