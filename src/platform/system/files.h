#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/data.h"
#include "platform/base/date.h"
#include "platform/base/result.h"

namespace tallowmere::platform {

// The file operations the program's own files need. Failures are values:
// a missing file is ErrorCode::notFound, a name already taken
// ErrorCode::alreadyExists, anything else its own code (system_error.h).
namespace Files {

// Files the program writes for the user: readable by others, as on a Mac.
constexpr mode_t defaultFileMode = 0644;
constexpr mode_t defaultFolderMode = 0755;

// The whole file. A missing file is notFound, so callers can tell "nothing
// stored yet" from "stored but unreadable".
Result<Data> read(const std::filesystem::path& path);
Result<std::string> readText(const std::filesystem::path& path);

// Replaces the file in one step with exactly `mode` (see AtomicFileWriter).
Result<void> writeAtomically(const std::filesystem::path& path, std::string_view bytes,
                             mode_t mode = defaultFileMode);
Result<void> writeAtomically(const std::filesystem::path& path, const Data& bytes,
                             mode_t mode = defaultFileMode);

// Creates the file only if nothing has the name yet (alreadyExists
// otherwise); the file appears whole, as with writeAtomically.
Result<void> createExclusively(const std::filesystem::path& path, std::string_view bytes,
                               mode_t mode = defaultFileMode);
Result<void> createExclusively(const std::filesystem::path& path, const Data& bytes,
                               mode_t mode = defaultFileMode);

// Creates an empty file only if nothing has the name yet (alreadyExists
// otherwise), with exactly `mode`.
Result<void> createEmptyExclusively(const std::filesystem::path& path, mode_t mode = defaultFileMode);

// Creates the folder and any missing parents, each with exactly `mode`.
// Folders that exist already are left as they are.
Result<void> createDirectories(const std::filesystem::path& path, mode_t mode = defaultFolderMode);

// Renames a stored file that could not be read to
// "<name>.unreadable-<yyyyMMddTHHmmssZ>" beside it (with "-2", "-3" ... when
// that name is taken), so that a fresh file can be written without losing
// the old one. Returns the new path.
Result<std::filesystem::path> keepAside(const std::filesystem::path& path, Date now);

// Items of folders, as a file manager acts on them. The hidden mark of an
// item (its name in the folder's ".hidden", see HiddenFlag) travels with it
// when it is moved or copied; ".hidden" itself is bookkeeping, not an item.

// The folder's direct entries, hidden ones included, ".hidden" left out,
// sorted by name; subfolders are not entered.
Result<std::vector<std::filesystem::path>> contentsOfDirectory(const std::filesystem::path& folder);
// The entries a file viewer shows: dot files and what the folder's list
// hides left out, folders first, each group by name. Empty when the folder
// cannot be read.
std::vector<std::filesystem::path> shownItemsOfFolder(const std::filesystem::path& folder);

// Whether something is at `path`, following symbolic links; `isDirectory`
// tells whether it is a folder.
bool fileExists(const std::filesystem::path& path, bool* isDirectory = nullptr);

// What is at `path` itself (a link is not followed); nothing when nothing is.
enum class FileKind { regular, directory, symbolicLink, other };
std::optional<FileKind> kindOf(const std::filesystem::path& path);

// Whether `inner` is `outer` or lies inside it, after resolving links and
// "." and "..".
bool isSameOrInside(const std::filesystem::path& inner, const std::filesystem::path& outer);

enum class HiddenMark { carry, drop };

// Moves an item to `to`, never replacing anything there (alreadyExists).
// Across file systems it is copied, flushed, and only then is the source
// removed; a copy that fails leaves the source as it was and no partial
// item behind. A folder is never moved into itself.
Result<void> moveItem(const std::filesystem::path& from, const std::filesystem::path& to,
                      HiddenMark mark = HiddenMark::carry);

// Copies an item (a folder with everything in it) to `to`, which must not
// exist; links are copied as links, modes and modification times kept. A
// folder is never copied into itself. A copy that fails leaves nothing at
// `to`.
Result<void> copyItem(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes an item and everything in it.
Result<void> removeItem(const std::filesystem::path& path);

}  // namespace Files

}  // namespace tallowmere::platform
