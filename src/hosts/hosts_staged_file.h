#pragma once

#include <filesystem>
#include <string_view>

#include "platform/base/result.h"

namespace tallowmere {

// The text to apply, staged for the privileged script in the user's
// temporary folder: "tallowmere-hosts-<UUID>.txt", made by exclusive
// creation inside a fresh folder only the user can enter (0700), so nobody
// else can swap or read it between staging and the script's copy.
class StagedHostsFile {
public:
    static platform::Result<StagedHostsFile> create(std::string_view text);

    StagedHostsFile(StagedHostsFile&& other) noexcept;
    StagedHostsFile& operator=(StagedHostsFile&& other) noexcept;
    StagedHostsFile(const StagedHostsFile&) = delete;
    StagedHostsFile& operator=(const StagedHostsFile&) = delete;
    // Removes what is still there.
    ~StagedHostsFile();

    const std::filesystem::path& path() const { return file_; }
    // Removes the file and its folder; errors are ignored.
    void remove();

private:
    StagedHostsFile(std::filesystem::path folder, std::filesystem::path file)
        : folder_(std::move(folder)), file_(std::move(file)) {}

    std::filesystem::path folder_;
    std::filesystem::path file_;
};

}  // namespace tallowmere
