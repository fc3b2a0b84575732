#include "platform/system/system_files.h"

#include "platform/system/files.h"
#include "platform/system/paths.h"

namespace tallowmere::platform::SystemFiles {

namespace {

// What a Mac ships, for a machine without a readable /etc/hosts.
constexpr std::string_view fallbackHosts =
    "##\n"
    "# Host Database\n"
    "#\n"
    "# localhost is used to configure the loopback interface\n"
    "# when the system is booting.  Do not change this entry.\n"
    "##\n"
    "127.0.0.1\tlocalhost\n"
    "255.255.255.255\tbroadcasthost\n"
    "::1             localhost\n";

}  // namespace

Result<std::filesystem::path> hosts() {
    const auto path = Paths::systemFile("/private/etc/hosts");
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, error))) return path;
    if (auto made = Files::createDirectories(path.parent_path()); !made) return made.error();
    auto seed = Files::readText("/etc/hosts");
    const std::string text = seed ? std::move(*seed) : std::string(fallbackHosts);
    // Exclusive: a seed racing another never replaces what is there.
    if (auto created = Files::createExclusively(path, text, 0644);
        !created && created.error().code != ErrorCode::alreadyExists) {
        return created.error();
    }
    return path;
}

}  // namespace tallowmere::platform::SystemFiles
