#include "platform/system/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace tallowmere::platform::Paths {

std::filesystem::path home() {
    if (const char* h = std::getenv("HOME"); h && *h) return h;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

std::filesystem::path library() { return home() / "Library"; }
std::filesystem::path applicationSupport() { return library() / "Application Support"; }
std::filesystem::path preferences() { return library() / "Preferences"; }
std::filesystem::path launchAgents() { return library() / "LaunchAgents"; }
std::filesystem::path desktop() { return home() / "Desktop"; }

std::filesystem::path systemRoot() { return library() / "Tallowmere System"; }

std::filesystem::path systemFile(std::string_view macPath) {
    while (!macPath.empty() && macPath.front() == '/') macPath.remove_prefix(1);
    // A "../" never climbs out of the simulated root.
    std::filesystem::path inside;
    for (const auto& part : std::filesystem::path(macPath).lexically_normal()) {
        if (part != "..") inside /= part;
    }
    return systemRoot() / inside;
}

std::filesystem::path temporary() {
    if (const char* t = std::getenv("TMPDIR"); t && *t) return t;
    return "/tmp";
}

}  // namespace tallowmere::platform::Paths
