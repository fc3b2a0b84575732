#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/result.h"

namespace tallowmere {

// What the program was asked to do on its command line, read the way Linux
// programs read theirs: `--help` and `--version` answer and end, `--snapshot
// FILE` asks the running instance for a picture of its screen, and any
// other option starting with "--" is refused rather than taken for a URL.
struct CommandLine {
    enum class Action { run, help, version, snapshot };

    Action action = Action::run;
    // For `snapshot`: the PNG file, made absolute from the current folder.
    std::filesystem::path snapshotFile{};

    // Refused arguments say why, for the line before the usage.
    static platform::Result<CommandLine> parse(const std::vector<std::string>& arguments,
                                               const std::filesystem::path& currentFolder);
    static std::string usage();
    static std::string version();

    // Answers `--help`, `--version` and `--snapshot`, and refuses a bad
    // command line, with the exit status to end with; none when the program
    // is to start (or hand its URLs to the running instance).
    static std::optional<int> answerWithoutStarting(const std::vector<std::string>& arguments);
};

}  // namespace tallowmere
