#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tallowmere::platform {

// Where a command's standard output and standard error go.
enum class ProcessOutput {
    separate,   // each collected on its own
    merged,     // both into one stream, in the order written (standardOutput)
    discarded,  // neither is kept
};

// One command to run, named by its path on a Mac ("/usr/bin/shasum"); the
// CommandTable decides what that path means here. No shell is involved:
// the arguments reach the command as they are.
struct ProcessRequest {
    std::string executable{};
    std::vector<std::string> arguments{};
    // Bytes the command reads; absent, it reads nothing (an empty stream).
    std::optional<std::string> standardInput{};
    ProcessOutput output = ProcessOutput::separate;
    // Seconds after which a command still running is ended (SIGTERM, then
    // SIGKILL if it lingers) and reported as timed out. Absent: no limit.
    std::optional<double> timeout{};
};

}  // namespace tallowmere::platform
