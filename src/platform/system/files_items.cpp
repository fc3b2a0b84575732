// Items of folders: listing, kinds, and moves and copies that never replace.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <system_error>

#include "platform/system/files.h"
#include "platform/system/hidden_flag.h"
#include "platform/system/system_error.h"
#include "platform/system/unique_fd.h"

namespace tallowmere::platform::Files {

namespace {

namespace fs = std::filesystem;

std::string quoted(const fs::path& path) {
    return "\u201C" + path.filename().string() + "\u201D";
}

Error itemError(int errnum, const std::string& what) {
    return systemError(errnum, what);
}

Error clashError(const fs::path& from, const fs::path& to, const char* verb) {
    return Error{ErrorCode::alreadyExists,
                 quoted(from) + " couldn\u2019t be " + verb + " to " + quoted(to.parent_path()) +
                     " because an item with the same name already exists.",
                 EEXIST};
}

Error intoItselfError(const fs::path& from, const char* verb) {
    return Error{ErrorCode::invalidArgument,
                 quoted(from) + " couldn\u2019t be " + verb + " into itself or a folder inside it.", EINVAL};
}

// Copies the rest of `in` to `out`, the kernel copying where it can.
Result<void> copyContents(int in, int out, const fs::path& from) {
    for (;;) {
        const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (copied > 0) continue;
        if (copied == 0) return {};
        if (errno == EINTR) continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) {
            return itemError(errno, quoted(from) + " couldn\u2019t be copied");
        }
        break;  // no kernel copy between these file systems: copy by hand
    }
    // On the heap, only while copying: a static or thread_local buffer would
    // cost every start, or every thread at its creation, a zeroed megabyte.
    constexpr std::size_t bufferSize = 1 << 20;
    const auto buffer = std::make_unique_for_overwrite<char[]>(bufferSize);
    for (;;) {
        const ssize_t count = ::read(in, buffer.get(), bufferSize);
        if (count < 0) {
            if (errno == EINTR) continue;
            return itemError(errno, quoted(from) + " couldn\u2019t be copied");
        }
        if (count == 0) return {};
        for (ssize_t written = 0; written < count;) {
            const ssize_t step = ::write(out, buffer.get() + written, static_cast<std::size_t>(count - written));
            if (step < 0) {
                if (errno == EINTR) continue;
                return itemError(errno, quoted(from) + " couldn\u2019t be copied");
            }
            written += step;
        }
    }
}

Result<void> flushPath(const fs::path& path, int flags) {
    const UniqueFd fd(::open(path.c_str(), flags | O_RDONLY | O_CLOEXEC));
    if (!fd.isValid() || ::fsync(fd.get()) != 0) return itemError(errno, quoted(path) + " couldn\u2019t be written");
    return {};
}

// Copies one item and what it holds; `to` must not exist. With `flush`,
// everything written reaches the disk before this returns. `created` says
// whether `to` was made here (and so may be removed after a failure).
Result<void> copyTree(const fs::path& from, const fs::path& to, bool flush, bool* created = nullptr) {
    struct stat info {};
    if (::lstat(from.c_str(), &info) != 0) return itemError(errno, quoted(from) + " couldn\u2019t be copied");
    const timespec times[2] = {info.st_atim, info.st_mtim};

    if (S_ISLNK(info.st_mode)) {
        std::string target(static_cast<std::size_t>(info.st_size) + 1, '\0');
        const ssize_t length = ::readlink(from.c_str(), target.data(), target.size());
        if (length < 0) return itemError(errno, quoted(from) + " couldn\u2019t be copied");
        target.resize(static_cast<std::size_t>(length));
        if (::symlink(target.c_str(), to.c_str()) != 0) return itemError(errno, quoted(from) + " couldn\u2019t be copied");
        if (created) *created = true;
        ::utimensat(AT_FDCWD, to.c_str(), times, AT_SYMLINK_NOFOLLOW);
        return {};
    }
    if (S_ISREG(info.st_mode)) {
        const UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
        if (!in.isValid()) return itemError(errno, quoted(from) + " couldn\u2019t be copied");
        UniqueFd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!out.isValid()) return itemError(errno, quoted(from) + " couldn\u2019t be copied");
        if (created) *created = true;
        if (auto copied = copyContents(in.get(), out.get(), from); !copied) return copied;
        ::fchmod(out.get(), info.st_mode & 07777);
        ::futimens(out.get(), times);
        if (flush && ::fsync(out.get()) != 0) return itemError(errno, quoted(from) + " couldn\u2019t be copied");
        if (const int closeError = out.close(); closeError != 0) {
            return itemError(closeError, quoted(from) + " couldn\u2019t be copied");
        }
        return {};
    }
    if (!S_ISDIR(info.st_mode)) {
        return Error{ErrorCode::unsupported, quoted(from) + " couldn\u2019t be copied because it is not a file or a folder.",
                     ENOTSUP};
    }
    if (::mkdir(to.c_str(), 0700) != 0) return itemError(errno, quoted(from) + " couldn\u2019t be copied");
    if (created) *created = true;
    std::error_code error;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(it->path());
    }
    if (error) return itemError(error.value(), quoted(from) + " couldn\u2019t be copied");
    for (const auto& entry : entries) {
        if (auto copied = copyTree(entry, to / entry.filename(), flush); !copied) return copied;
    }
    ::chmod(to.c_str(), info.st_mode & 07777);
    ::utimensat(AT_FDCWD, to.c_str(), times, 0);
    if (flush) return flushPath(to, O_DIRECTORY);
    return {};
}

bool somethingAt(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

Result<std::vector<fs::path>> contentsOfDirectory(const fs::path& folder) {
    DIR* stream = ::opendir(folder.c_str());
    if (!stream) return itemError(errno, "The folder " + quoted(folder) + " couldn\u2019t be opened");
    std::vector<fs::path> entries;
    errno = 0;
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || name == HiddenFlag::listName) continue;
        entries.push_back(folder / std::string(name));
    }
    const int readError = errno;
    ::closedir(stream);
    if (readError != 0) return itemError(readError, "The folder " + quoted(folder) + " couldn\u2019t be read");
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::vector<fs::path> shownItemsOfFolder(const fs::path& folder) {
    std::vector<fs::path> items;
    if (auto listed = contentsOfDirectory(folder)) {
        for (const auto& item : *listed) {
            if (!item.filename().string().starts_with('.') && !HiddenFlag::isHidden(item)) items.push_back(item);
        }
    }
    auto isFolder = [](const fs::path& path) {
        bool directory = false;
        return fileExists(path, &directory) && directory;
    };
    std::stable_sort(items.begin(), items.end(),
                     [&](const fs::path& a, const fs::path& b) { return isFolder(a) && !isFolder(b); });
    return items;
}

bool fileExists(const fs::path& path, bool* isDirectory) {
    struct stat info {};
    const bool found = !path.empty() && ::stat(path.c_str(), &info) == 0;
    if (isDirectory) *isDirectory = found && S_ISDIR(info.st_mode);
    return found;
}

std::optional<FileKind> kindOf(const fs::path& path) {
    struct stat info {};
    if (path.empty() || ::lstat(path.c_str(), &info) != 0) return std::nullopt;
    if (S_ISREG(info.st_mode)) return FileKind::regular;
    if (S_ISDIR(info.st_mode)) return FileKind::directory;
    if (S_ISLNK(info.st_mode)) return FileKind::symbolicLink;
    return FileKind::other;
}

bool isSameOrInside(const fs::path& inner, const fs::path& outer) {
    std::error_code error;
    const auto a = fs::weakly_canonical(inner, error);
    if (error) return false;
    const auto b = fs::weakly_canonical(outer, error);
    if (error) return false;
    auto ai = a.begin();
    for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai) {
        if (bi->empty()) continue;  // the "" of a trailing "/"
        if (ai == a.end() || *ai != *bi) return false;
    }
    return true;
}

Result<void> moveItem(const fs::path& from, const fs::path& to, HiddenMark mark) {
    if (kindOf(from) == FileKind::directory && isSameOrInside(to, from)) return intoItselfError(from, "moved");
    auto finish = [&]() -> Result<void> {
        if (mark == HiddenMark::carry)
            HiddenFlag::carry(from, to);
        else
            HiddenFlag::forget(from);
        return {};
    };
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return finish();
    const int renameError = errno;
    if (renameError == EEXIST || renameError == ENOTEMPTY) return clashError(from, to, "moved");
    if (renameError == EINVAL || renameError == ENOSYS) {
        // A file system without the no-replace rename: a hard link never
        // replaces either; a folder is checked just before.
        if (kindOf(from) != FileKind::directory) {
            if (::link(from.c_str(), to.c_str()) == 0) {
                ::unlink(from.c_str());
                return finish();
            }
            if (errno == EEXIST) return clashError(from, to, "moved");
            if (errno != EXDEV) return itemError(errno, quoted(from) + " couldn\u2019t be moved");
        } else {
            if (somethingAt(to)) return clashError(from, to, "moved");
            if (::rename(from.c_str(), to.c_str()) == 0) return finish();
            if (errno != EXDEV) return itemError(errno, quoted(from) + " couldn\u2019t be moved");
        }
    } else if (renameError != EXDEV) {
        return itemError(renameError, quoted(from) + " couldn\u2019t be moved");
    }
    // Another file system: the source goes only once its copy is on disk.
    if (somethingAt(to)) return clashError(from, to, "moved");
    bool created = false;
    if (auto copied = copyTree(from, to, true, &created); !copied) {
        if (created) (void)removeItem(to);
        return copied;
    }
    if (auto flushed = flushPath(to.parent_path(), O_DIRECTORY); !flushed) {
        (void)removeItem(to);
        return flushed;
    }
    if (mark == HiddenMark::carry) HiddenFlag::copy(from, to);
    HiddenFlag::forget(from);
    return removeItem(from);
}

Result<void> copyItem(const fs::path& from, const fs::path& to) {
    if (kindOf(from) == FileKind::directory && isSameOrInside(to, from)) return intoItselfError(from, "copied");
    if (somethingAt(to)) return clashError(from, to, "copied");
    bool created = false;
    if (auto copied = copyTree(from, to, false, &created); !copied) {
        if (created) (void)removeItem(to);
        return copied;
    }
    HiddenFlag::copy(from, to);
    return {};
}

Result<void> removeItem(const fs::path& path) {
    std::error_code error;
    fs::remove_all(path, error);
    if (error) return itemError(error.value(), quoted(path) + " couldn\u2019t be removed");
    return {};
}

}  // namespace tallowmere::platform::Files
