#include "platform/system/hidden_flag.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

#include "platform/system/files.h"
#include "platform/system/system_error.h"

namespace tallowmere::platform::HiddenFlag {

namespace {

namespace fs = std::filesystem;

// One read-modify-write of a folder's list at a time in this process.
std::mutex& listMutex() {
    static std::mutex mutex;
    return mutex;
}

fs::path listOf(const fs::path& item) {
    return item.parent_path() / listName;
}

std::vector<std::string> readNames(const fs::path& list) {
    std::vector<std::string> names;
    auto text = Files::readText(list);
    if (!text) return names;
    std::size_t start = 0;
    while (start < text->size()) {
        auto end = text->find('\n', start);
        if (end == std::string::npos) end = text->size();
        names.push_back(text->substr(start, end - start));
        start = end + 1;
    }
    return names;
}

Result<void> writeNames(const fs::path& list, const std::vector<std::string>& names) {
    const bool empty = std::all_of(names.begin(), names.end(), [](const auto& n) { return n.empty(); });
    if (empty) {
        if (::unlink(list.c_str()) != 0 && errno != ENOENT) return systemError(errno, list.string());
        return {};
    }
    std::string text;
    for (const auto& name : names) text += name + "\n";
    return Files::writeAtomically(list, text);
}

Result<void> setMarkLocked(const fs::path& item, bool hidden) {
    const std::string name = item.filename().string();
    const auto list = listOf(item);
    auto names = readNames(list);
    const auto found = std::find(names.begin(), names.end(), name);
    if (hidden == (found != names.end())) return {};
    if (hidden) {
        if (name.find('\n') != std::string::npos) return systemError(EINVAL, item.string());
        names.push_back(name);
    } else {
        names.erase(std::remove(names.begin(), names.end(), name), names.end());
    }
    return writeNames(list, names);
}

bool isMarkedLocked(const fs::path& item) {
    const auto names = readNames(listOf(item));
    return std::find(names.begin(), names.end(), item.filename().string()) != names.end();
}

}  // namespace

bool isHidden(const fs::path& item) {
    std::lock_guard lock(listMutex());
    return isMarkedLocked(item);
}

Result<void> setHidden(const fs::path& item, bool hidden) {
    const std::string name = item.filename().string();
    if (name.empty() || name == "." || name == ".." || name == listName) return systemError(EINVAL, item.string());
    if (name.find('\n') != std::string::npos) return systemError(EINVAL, item.string());
    struct stat info {};
    if (::lstat(item.c_str(), &info) != 0) return systemError(errno, item.string());
    std::lock_guard lock(listMutex());
    return setMarkLocked(item, hidden);
}

void carry(const fs::path& from, const fs::path& to) {
    std::lock_guard lock(listMutex());
    if (!isMarkedLocked(from)) return;
    (void)setMarkLocked(from, false);
    (void)setMarkLocked(to, true);
}

void copy(const fs::path& from, const fs::path& to) {
    std::lock_guard lock(listMutex());
    if (isMarkedLocked(from)) (void)setMarkLocked(to, true);
}

void forget(const fs::path& item) {
    std::lock_guard lock(listMutex());
    if (isMarkedLocked(item)) (void)setMarkLocked(item, false);
}

}  // namespace tallowmere::platform::HiddenFlag
