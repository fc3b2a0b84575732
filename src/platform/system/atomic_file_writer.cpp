#include "platform/system/atomic_file_writer.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "platform/system/system_error.h"
#include "platform/system/unique_fd.h"

namespace tallowmere::platform {

namespace {

namespace fs = std::filesystem;

// Names stay well under NAME_MAX once the prefix and suffix are added.
constexpr std::size_t maxNameBytesInTemporary = 200;
constexpr int creationAttempts = 64;

std::string randomSuffix() {
    std::uint64_t bits = 0;
    if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) != sizeof bits) {
        bits = static_cast<std::uint64_t>(getpid()) * 0x9E3779B97F4A7C15ull ^
               static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&bits));
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
    return text;
}

std::string quoted(const fs::path& path) {
    return "\u201C" + path.filename().string() + "\u201D";
}

std::string saveFailure(const fs::path& destination) {
    fs::path folder = destination.parent_path();
    return "The file " + quoted(destination) + " couldn\u2019t be saved in the folder " +
           quoted(folder.empty() ? fs::path(".") : folder);
}

// Removes the temporary file unless the write got as far as publishing it.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!published_) ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const fs::path& path() const { return path_; }
    void markPublished() { published_ = true; }

private:
    fs::path path_;
    bool published_ = false;
};

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// Moves the finished temporary file to `destination`, without replacing an
// existing file when `replace` is false. Returns 0 or an errno.
int publish(const fs::path& temporary, const fs::path& destination, bool replace) {
    if (replace) return ::rename(temporary.c_str(), destination.c_str()) == 0 ? 0 : errno;
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) ==
        0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // File systems without RENAME_NOREPLACE: link() fails on an existing name
    // just as atomically; the temporary name is then dropped.
    if (::link(temporary.c_str(), destination.c_str()) != 0) return errno;
    ::unlink(temporary.c_str());
    return 0;
}

void flushFolder(const fs::path& folder) {
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // Some file systems refuse fsync on folders; the rename has happened
    // either way, so this is best effort.
    if (fd.isValid()) ::fsync(fd.get());
}

}  // namespace

Result<void> AtomicFileWriter::write(std::string_view bytes) const {
    const std::string name = destination_.filename().string();
    if (name.empty() || name == "." || name == "..") {
        return Error{ErrorCode::invalidArgument,
                     "No file name in \u201C" + destination_.string() + "\u201D.", EINVAL};
    }
    fs::path folder = destination_.parent_path();
    if (folder.empty()) folder = ".";
    const std::string stem = "." + name.substr(0, maxNameBytesInTemporary) + ".tmp-";

    UniqueFd fd;
    fs::path temporaryPath;
    for (int attempt = 0; attempt < creationAttempts && !fd.isValid(); ++attempt) {
        temporaryPath = folder / (stem + randomSuffix());
        // `mode_` from the start: the umask may narrow it, never widen it.
        fd.reset(::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                        mode_ & 07777));
        if (!fd.isValid() && errno != EEXIST) return systemError(errno, saveFailure(destination_));
    }
    if (!fd.isValid()) return systemError(EEXIST, saveFailure(destination_));
    TemporaryFile temporary(temporaryPath);

    if (onTemporaryCreated) onTemporaryCreated(temporary.path());

    if (::fchmod(fd.get(), mode_ & 07777) != 0)
        return systemError(errno, saveFailure(destination_));
    if (int error = writeAll(fd.get(), bytes)) return systemError(error, saveFailure(destination_));
    if (::fsync(fd.get()) != 0) return systemError(errno, saveFailure(destination_));
    if (int error = fd.close()) return systemError(error, saveFailure(destination_));

    if (int error = publish(temporary.path(), destination_, existing_ == Existing::replace)) {
        if (error == EEXIST) {
            return Error{
                ErrorCode::alreadyExists,
                saveFailure(destination_) + " because a file with the same name already exists.",
                EEXIST};
        }
        return systemError(error, saveFailure(destination_));
    }
    temporary.markPublished();
    flushFolder(folder);
    return {};
}

}  // namespace tallowmere::platform
