#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere::platform {

// The simulated Mac's speaker: the system sounds the program plays and the
// alert beep, recorded in the order they were asked for so a person's
// trace and the tests can tell what was heard. One per desktop.
class SoundOutput {
public:
    // How a beep is recorded among the named sounds.
    static constexpr std::string_view beepName = "beep";

    SoundOutput() = default;
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // Plays the system sound `name` ("Glass", ...); false, and nothing
    // heard, for a sound the system does not have. Sounds whose WAVE file
    // the bundle holds ("Glass.wav") are heard through `onPlay`.
    bool playNamed(std::string_view name);
    // The alert beep (the bundle's "Beep.wav").
    void beep();
    // Plays a sound of the program's own: `wav` holds a whole RIFF WAVE
    // file. Heard as `name`; a sound of the same name still playing is cut
    // off, so a repeated sound starts again from its beginning.
    void playWave(std::string name, std::shared_ptr<const std::vector<std::uint8_t>> wav);

    // Where the sounds go to be heard (the desktop viewer, where a sound
    // device exists): each sound's name and its WAVE bytes, as it starts.
    std::function<void(const std::string& name, const std::vector<std::uint8_t>& wav)> onPlay;

    // Every sound heard so far, beeps as `beepName`.
    const std::vector<std::string>& played() const { return played_; }

private:
    // Hands the last sound played to `onPlay`, with the bundle's file `resource`.wav.
    void hear(const std::string& resource);
    // The bundle's WAVE file for a system sound, read once; null when none.
    std::shared_ptr<const std::vector<std::uint8_t>> systemSoundData(const std::string& resource);

    std::vector<std::string> played_;
    std::map<std::string, std::shared_ptr<const std::vector<std::uint8_t>>, std::less<>> loaded_;
};

}  // namespace tallowmere::platform
