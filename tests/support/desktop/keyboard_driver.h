#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/desktop/desktop.h"

namespace tallowmere::testing {

// A person at the keyboard: key presses with modifiers, posted to the
// desktop (the frontmost application or the program's key window gets
// them), or, as the program does for its editing commands, posted to one
// process. Each press is a key down and a key up; held modifiers are
// announced with flags-changed events around them.
class KeyboardDriver {
  public:
    explicit KeyboardDriver(platform::Desktop& desktop) : desktop_(desktop) {}
    KeyboardDriver(const KeyboardDriver&) = delete;
    KeyboardDriver& operator=(const KeyboardDriver&) = delete;

    void press(std::uint16_t keyCode, std::string characters = {},
               platform::ModifierFlags modifiers = {});
    // A letter or digit of the ANSI layout ("c"), its key code looked up.
    void press(char character, platform::ModifierFlags modifiers = {});
    // Each character of `text` pressed in turn.
    void type(const std::string& text);
    // The key posted straight to a process, as the program posts editing
    // commands; no flags-changed events, and no global monitor sees it.
    platform::Result<void> pressInProcess(pid_t pid, char character,
                                          platform::ModifierFlags modifiers);

    // The ANSI key code of a letter, digit or space.
    static std::optional<std::uint16_t> keyCode(char character);

  private:
    platform::Desktop& desktop_;
};

}  // namespace tallowmere::testing
