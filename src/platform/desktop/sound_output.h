#pragma once

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
    // heard, for a sound the system does not have.
    bool playNamed(std::string_view name);
    // The alert beep.
    void beep();

    // Every sound heard so far, beeps as `beepName`.
    const std::vector<std::string>& played() const { return played_; }

private:
    std::vector<std::string> played_;
};

}  // namespace tallowmere::platform
