#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

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

// Creates the folder and any missing parents, each with exactly `mode`.
// Folders that exist already are left as they are.
Result<void> createDirectories(const std::filesystem::path& path, mode_t mode = defaultFolderMode);

// Renames a stored file that could not be read to
// "<name>.unreadable-<yyyyMMddTHHmmssZ>" beside it (with "-2", "-3" ... when
// that name is taken), so that a fresh file can be written without losing
// the old one. Returns the new path.
Result<std::filesystem::path> keepAside(const std::filesystem::path& path, Date now);

}  // namespace Files

}  // namespace tallowmere::platform
