#include "platform/system/atomic_file_writer.h"

#include <fcntl.h>
#include <sys/file.h>
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
constexpr std::size_t suffixDigits = 16;

fs::path folderOf(const fs::path& destination) {
    fs::path folder = destination.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

std::string temporaryStem(const fs::path& destination) {
    const std::string name = destination.filename().string();
    std::string stem(".");
    stem.append(name, 0, maxNameBytesInTemporary).append(".tmp-");
    return stem;
}

bool isTemporaryName(std::string_view name, std::string_view stem) {
    if (!name.starts_with(stem) || name.size() != stem.size() + suffixDigits) return false;
    for (char c : name.substr(stem.size())) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether `path` still names the file open as `fd`: a clean-up may have
// removed it between its creation and the writer's lock.
bool stillNamed(int fd, const fs::path& path) {
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && sameFile(open, named);
}

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
    const fs::path folder = folderOf(destination_);
    const std::string stem = temporaryStem(destination_);

    UniqueFd fd;
    // A second descriptor of the same open file, so the lock outlives the
    // close of `fd` (which reports deferred write errors) until the rename.
    UniqueFd lockHolder;
    fs::path temporaryPath;
    for (int attempt = 0; attempt < creationAttempts && !fd.isValid(); ++attempt) {
        temporaryPath = folder / (stem + randomSuffix());
        // `mode_` from the start: the umask may narrow it, never widen it.
        fd.reset(::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                        mode_ & 07777));
        if (!fd.isValid()) {
            if (errno != EEXIST) return systemError(errno, saveFailure(destination_));
            continue;
        }
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            if (!stillNamed(fd.get(), temporaryPath)) fd.reset();  // taken by a clean-up; try another name
        } else if (errno == EWOULDBLOCK) {
            fd.reset();  // a clean-up holds it and will remove it
        }
        // Elsewhere the file system has no locks: go on unguarded.
    }
    if (!fd.isValid()) return systemError(EEXIST, saveFailure(destination_));
    lockHolder.reset(::dup(fd.get()));
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

std::size_t AtomicFileWriter::removeLeftovers(const fs::path& destination) {
    const std::string stem = temporaryStem(destination);
    std::error_code error;
    fs::directory_iterator entries(folderOf(destination), error);
    if (error) return 0;
    std::size_t removed = 0;
    for (const fs::directory_entry& entry : entries) {
        const fs::path& path = entry.path();
        if (!isTemporaryName(path.filename().string(), stem)) continue;
        UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info {};
        if (!fd.isValid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        // A writer holds its temporary file locked; where no lock can be
        // taken it is either in use or unknowable, and stays.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
        if (!stillNamed(fd.get(), path)) continue;
        if (::unlink(path.c_str()) == 0) ++removed;
    }
    return removed;
}

}  // namespace tallowmere::platform
