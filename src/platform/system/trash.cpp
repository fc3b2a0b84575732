#include "platform/system/trash.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/base/percent_codec.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/system_error.h"
#include "platform/system/unique_fd.h"

namespace tallowmere::platform::Trash {

namespace {

namespace fs = std::filesystem;

// Local time without a zone, as the info file's readers expect.
std::string deletionDateText(Date date) {
    const auto seconds = static_cast<std::time_t>(date.timeIntervalSince1970());
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

std::string infoText(const fs::path& original, Date date) {
    return "[Trash Info]\nPath=" + PercentCodec::encode(original.string(), UrlComponent::path) +
           "\nDeletionDate=" + deletionDateText(date) + "\n";
}

Result<void> writeAll(int fd, const std::string& text) {
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t step = ::write(fd, text.data() + written, text.size() - written);
        if (step < 0) {
            if (errno == EINTR) continue;
            return systemError(errno, "The Trash couldn\u2019t be written");
        }
        written += static_cast<std::size_t>(step);
    }
    return {};
}

}  // namespace

fs::path folder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/') return fs::path(dataHome) / "Trash";
    return Paths::home() / ".local" / "share" / "Trash";
}

Result<fs::path> moveToTrash(const fs::path& item, Date deletionDate) {
    auto absolute = item.lexically_normal();
    while (absolute.has_filename() == false && absolute != absolute.root_path()) absolute = absolute.parent_path();
    if (!absolute.is_absolute() || absolute == absolute.root_path() || !Files::kindOf(absolute)) {
        return systemError(ENOENT, "\u201C" + item.filename().string() + "\u201D couldn\u2019t be moved to the Trash");
    }
    const fs::path trash = folder();
    if (auto made = Files::createDirectories(trash / "files", 0700); !made) return made.error();
    if (auto made = Files::createDirectories(trash / "info", 0700); !made) return made.error();

    const std::string base = absolute.filename().string();
    const std::string info = infoText(absolute, deletionDate);
    for (int attempt = 1; attempt < 10000; ++attempt) {
        const std::string name = attempt == 1 ? base : base + "." + std::to_string(attempt);
        const fs::path infoFile = trash / "info" / (name + ".trashinfo");
        UniqueFd fd(::open(infoFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!fd.isValid()) {
            if (errno == EEXIST) continue;
            return systemError(errno, "The Trash couldn\u2019t be written");
        }
        auto written = writeAll(fd.get(), info);
        if (written && ::fsync(fd.get()) != 0) written = systemError(errno, "The Trash couldn\u2019t be written");
        if (const int closeError = fd.close(); written && closeError != 0) {
            written = systemError(closeError, "The Trash couldn\u2019t be written");
        }
        if (!written) {
            ::unlink(infoFile.c_str());
            return written.error();
        }
        const fs::path target = trash / "files" / name;
        auto moved = Files::moveItem(absolute, target, Files::HiddenMark::drop);
        if (moved) return target;
        ::unlink(infoFile.c_str());
        // An item left in files/ without its info: try the next name.
        if (moved.error().code == ErrorCode::alreadyExists) continue;
        return Error{moved.error().code,
                     "\u201C" + base + "\u201D couldn\u2019t be moved to the Trash. " + moved.error().message,
                     moved.error().systemCode};
    }
    return systemError(EEXIST, "\u201C" + base + "\u201D couldn\u2019t be moved to the Trash");
}

}  // namespace tallowmere::platform::Trash
