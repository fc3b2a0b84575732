#include "hosts/hosts_staged_file.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "platform/base/uuid.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"

namespace tallowmere {

platform::Result<StagedHostsFile> StagedHostsFile::create(std::string_view text) {
    std::string pattern = (platform::Paths::temporary() / "tallowmere-hosts.XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        const int error = errno;
        return platform::Error{platform::ErrorCode::ioFailed,
                               "The temporary folder for the hosts text couldn\u2019t be created.", error};
    }
    const std::filesystem::path folder = pattern;
    StagedHostsFile staged(folder, folder / ("tallowmere-hosts-" + platform::Uuid::random().uuidString() + ".txt"));
    if (auto created = platform::Files::createExclusively(staged.file_, text, 0600); !created) {
        return created.error();
    }
    return staged;
}

StagedHostsFile::StagedHostsFile(StagedHostsFile&& other) noexcept
    : folder_(std::exchange(other.folder_, {})), file_(std::exchange(other.file_, {})) {}

StagedHostsFile& StagedHostsFile::operator=(StagedHostsFile&& other) noexcept {
    if (this != &other) {
        remove();
        folder_ = std::exchange(other.folder_, {});
        file_ = std::exchange(other.file_, {});
    }
    return *this;
}

StagedHostsFile::~StagedHostsFile() { remove(); }

void StagedHostsFile::remove() {
    std::error_code ignored;
    if (!file_.empty()) std::filesystem::remove(file_, ignored);
    if (!folder_.empty()) std::filesystem::remove(folder_, ignored);
    file_.clear();
    folder_.clear();
}

}  // namespace tallowmere
