#include "platform/desktop/sound_output.h"

#include <algorithm>
#include <array>

#include "platform/system/bundle.h"

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
    hear(std::string(name));
    return true;
}

void SoundOutput::beep() {
    played_.emplace_back(beepName);
    hear("Beep");
}

void SoundOutput::hear(const std::string& resource) {
    if (!onPlay) return;
    if (auto wav = systemSoundData(resource)) onPlay(played_.back(), *wav);
}

std::shared_ptr<const std::vector<std::uint8_t>> SoundOutput::systemSoundData(const std::string& resource) {
    if (auto found = loaded_.find(resource); found != loaded_.end()) return found->second;
    std::shared_ptr<const std::vector<std::uint8_t>> data;
    if (auto bytes = Bundle::main().resource(resource, "wav")) {
        data = std::make_shared<const std::vector<std::uint8_t>>(bytes->begin(), bytes->end());
    }
    loaded_.emplace(resource, data);
    return data;
}

void SoundOutput::playWave(std::string name, std::shared_ptr<const std::vector<std::uint8_t>> wav) {
    played_.push_back(name);
    if (onPlay && wav) onPlay(name, *wav);
}

}  // namespace tallowmere::platform
