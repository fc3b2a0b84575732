#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace tallowmere::testing {

// A command's exit status and everything it printed, for tests that check
// our output with tools that share no code with ours (python3's json,
// plistlib and zipfile, unzip) or run the project's own scripts.
struct CommandRun {
    int status = -1;
    std::string output;
};

// `shell` is run by /bin/sh as it is; its output streams are the caller's to join.
inline CommandRun runShell(const std::string& shell) {
    CommandRun run;
    FILE* pipe = popen(shell.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    while (std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, read);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline CommandRun runCommand(const std::string& command) { return runShell(command + " 2>&1"); }

// python3 running `script` (a program text, passed through a quoted here
// document, so it may hold any quote but a line "PY") with `arguments`.
inline CommandRun runPython(const std::string& script, const std::string& arguments = {}) {
    return runShell("python3 - " + arguments + " 2>&1 <<'PY'\n" + script + "\nPY\n");
}

}  // namespace tallowmere::testing
