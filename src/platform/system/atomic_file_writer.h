#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>

#include "platform/base/result.h"

namespace tallowmere::platform {

// Writes one file so that readers see either the old contents or the whole
// new contents, never a part, and never a moment where the file is more open
// than `mode`:
//
//   1. a temporary file is created in the destination's folder with
//      O_CREAT|O_EXCL and `mode` (the umask can only narrow it), then set to
//      exactly `mode`;
//   2. the bytes are written and flushed to the disk;
//   3. it is renamed over the destination and the folder is flushed.
//
// Any failure removes the temporary file and leaves the destination as it was.
// A process killed mid-write leaves its temporary file behind
// (".<name>.tmp-<16 hex digits>"); `removeLeftovers` clears them at the next
// start. The writer holds an flock on its temporary file for as long as it
// exists, so the clean-up never takes a file from a write under way.
class AtomicFileWriter {
public:
    enum class Existing {
        replace,  // an existing file is replaced in one step
        keep,     // an existing file stays and the write fails with alreadyExists
    };

    AtomicFileWriter(std::filesystem::path destination, mode_t mode,
                     Existing existing = Existing::replace)
        : destination_(std::move(destination)), mode_(mode), existing_(existing) {}

    const std::filesystem::path& destination() const { return destination_; }
    mode_t mode() const { return mode_; }

    Result<void> write(std::string_view bytes) const;

    // Removes the temporary files that writes to `destination` left beside it
    // when their process died: only names of the writer's own pattern, only
    // regular files, and only those no writer holds. Returns how many went.
    static std::size_t removeLeftovers(const std::filesystem::path& destination);

    // Fires right after the temporary file is created, before it is written
    // to or its mode is adjusted: the earliest moment another process could
    // open it. Tests look at the file here.
    std::function<void(const std::filesystem::path& temporary)> onTemporaryCreated;

private:
    std::filesystem::path destination_;
    mode_t mode_;
    Existing existing_;
};

}  // namespace tallowmere::platform
