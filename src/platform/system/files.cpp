#include "platform/system/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/system/atomic_file_writer.h"
#include "platform/system/system_error.h"
#include "platform/system/unique_fd.h"

namespace tallowmere::platform::Files {

namespace {

namespace fs = std::filesystem;

std::string quoted(const fs::path& path) {
    return "\u201C" + path.filename().string() + "\u201D";
}

Error readFailure(int errnum, const fs::path& path) {
    if (errnum == ENOENT) {
        return Error{
            ErrorCode::notFound,
            "The file " + quoted(path) + " couldn\u2019t be opened because there is no such file.",
            errnum};
    }
    return systemError(errnum, "The file " + quoted(path) + " couldn\u2019t be opened");
}

template <typename Bytes>
Result<Bytes> readBytes(const fs::path& path) {
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.isValid()) return readFailure(errno, path);
    const int fd = file.get();

    struct stat info {};
    if (::fstat(fd, &info) != 0) return readFailure(errno, path);
    if (S_ISDIR(info.st_mode)) return readFailure(EISDIR, path);

    Bytes bytes;
    if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[64 * 1024];
    for (;;) {
        ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) continue;
            return readFailure(errno, path);
        }
        if (count == 0) return bytes;
        bytes.insert(bytes.end(), buffer, buffer + count);
    }
}

std::string_view view(const Data& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// yyyyMMddTHHmmssZ: sorts by time, and has no ":" (which Finder shows as "/").
std::string compactTimestamp(Date now) {
    const auto seconds = static_cast<std::time_t>(now.timeIntervalSince1970());
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

}  // namespace

Result<Data> read(const fs::path& path) {
    return readBytes<Data>(path);
}

Result<std::string> readText(const fs::path& path) {
    return readBytes<std::string>(path);
}

Result<void> writeAtomically(const fs::path& path, std::string_view bytes, mode_t mode) {
    return AtomicFileWriter(path, mode).write(bytes);
}

Result<void> writeAtomically(const fs::path& path, const Data& bytes, mode_t mode) {
    return writeAtomically(path, view(bytes), mode);
}

Result<void> createExclusively(const fs::path& path, std::string_view bytes, mode_t mode) {
    return AtomicFileWriter(path, mode, AtomicFileWriter::Existing::keep).write(bytes);
}

Result<void> createExclusively(const fs::path& path, const Data& bytes, mode_t mode) {
    return createExclusively(path, view(bytes), mode);
}

Result<void> createEmptyExclusively(const fs::path& path, mode_t mode) {
    UniqueFd file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 07777));
    if (!file.isValid()) return systemError(errno, "The file " + quoted(path) + " couldn\u2019t be created");
    // open applies the umask; the file gets exactly what was asked.
    ::fchmod(file.get(), mode & 07777);
    if (const int error = file.close(); error != 0) {
        return systemError(error, "The file " + quoted(path) + " couldn\u2019t be created");
    }
    return {};
}

Result<void> createDirectories(const fs::path& path, mode_t mode) {
    if (path.empty()) return Error{ErrorCode::invalidArgument, "No folder to create.", EINVAL};
    fs::path partial;
    for (const fs::path& component : path.lexically_normal()) {
        if (component.empty()) continue;  // the trailing "" of "a/b/"
        partial /= component;
        if (::mkdir(partial.c_str(), mode & 07777) == 0) {
            // mkdir applies the umask; the folder gets exactly what was asked.
            if (::chmod(partial.c_str(), mode & 07777) != 0) {
                return systemError(errno,
                                   "The folder " + quoted(partial) + " couldn\u2019t be created");
            }
            continue;
        }
        const int error = errno;
        struct stat info {};
        if (error == EEXIST && ::stat(partial.c_str(), &info) == 0) {
            if (S_ISDIR(info.st_mode)) continue;
            return systemError(ENOTDIR,
                               "The folder " + quoted(partial) + " couldn\u2019t be created");
        }
        return systemError(error, "The folder " + quoted(partial) + " couldn\u2019t be created");
    }
    return {};
}

Result<fs::path> keepAside(const fs::path& path, Date now) {
    const std::string base = path.filename().string() + ".unreadable-" + compactTimestamp(now);
    for (int attempt = 1; attempt < 1000; ++attempt) {
        fs::path aside =
            path.parent_path() / (attempt == 1 ? base : base + "-" + std::to_string(attempt));
        // Never over another kept file: each one is somebody's lost data.
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
            return aside;
        if (errno == EEXIST) continue;
        if (errno == EINVAL || errno == ENOSYS) {
            if (::link(path.c_str(), aside.c_str()) == 0) {
                ::unlink(path.c_str());
                return aside;
            }
            if (errno == EEXIST) continue;
        }
        return systemError(errno, "The file " + quoted(path) + " couldn\u2019t be kept aside");
    }
    return systemError(EEXIST, "The file " + quoted(path) + " couldn\u2019t be kept aside");
}

}  // namespace tallowmere::platform::Files
