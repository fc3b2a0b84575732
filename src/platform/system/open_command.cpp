#include "platform/system/open_command.h"

#include <spawn.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

extern char** environ;

namespace tallowmere::platform::OpenCommand {

namespace {

constexpr int usageStatus = 1;

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

int run(CommandCall& call, const std::string& ownBundlePath, const std::filesystem::path& executable) {
    const auto& arguments = call.arguments();
    if (arguments.size() != 2 || arguments[0] != "-n" ||
        withoutTrailingSlashes(arguments[1]) != withoutTrailingSlashes(ownBundlePath)) {
        call.writeError("open: only `open -n` of the program's own bundle is available here\n");
        return usageStatus;
    }
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        if (std::strncmp(*variable, newInstanceVariable, std::strlen(newInstanceVariable)) == 0) continue;
        environment.emplace_back(*variable);
    }
    environment.push_back(std::string(newInstanceVariable) + "=1");
    std::vector<char*> envp;
    for (auto& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string program = executable.string();
    char* argv[] = {program.data(), nullptr};
    pid_t child = 0;
    if (const int failed = ::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, envp.data())) {
        call.writeError("open: " + program + ": " + std::strerror(failed) + "\n");
        return usageStatus;
    }
    return 0;
}

}  // namespace tallowmere::platform::OpenCommand
