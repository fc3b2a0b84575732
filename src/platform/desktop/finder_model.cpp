#include "platform/desktop/finder_model.h"

#include <sys/stat.h>

namespace tallowmere::platform {

namespace {

// `POSIX path of (x as alias)`: the path, a folder's ending in "/"; nothing
// when the item is gone.
std::optional<std::string> aliasPath(const std::filesystem::path& item) {
    struct stat info {};
    if (::stat(item.c_str(), &info) != 0) return std::nullopt;
    std::string path = item.lexically_normal().string();
    if (S_ISDIR(info.st_mode) && (path.empty() || path.back() != '/')) path += '/';
    return path;
}

}  // namespace

FinderModel::FinderModel(std::filesystem::path desktopFolder) : desktopFolder_(std::move(desktopFolder)) {}

void FinderModel::setFrontWindowTarget(std::optional<std::filesystem::path> folder) {
    std::lock_guard lock(mutex_);
    frontWindowTarget_ = std::move(folder);
}

std::optional<std::filesystem::path> FinderModel::frontWindowTarget() const {
    std::lock_guard lock(mutex_);
    return frontWindowTarget_;
}

void FinderModel::setDesktopFolder(std::filesystem::path folder) {
    std::lock_guard lock(mutex_);
    desktopFolder_ = std::move(folder);
}

std::filesystem::path FinderModel::desktopFolder() const {
    std::lock_guard lock(mutex_);
    return desktopFolder_;
}

void FinderModel::setSelection(std::vector<std::filesystem::path> items) {
    std::lock_guard lock(mutex_);
    selection_ = std::move(items);
}

std::vector<std::filesystem::path> FinderModel::selection() const {
    std::lock_guard lock(mutex_);
    return selection_;
}

void FinderModel::setAutomationAllowed(bool allowed) {
    std::lock_guard lock(mutex_);
    automationAllowed_ = allowed;
}

bool FinderModel::isAutomationAllowed() const {
    std::lock_guard lock(mutex_);
    return automationAllowed_;
}

void FinderModel::setResponding(bool responding) {
    std::lock_guard lock(mutex_);
    responding_ = responding;
}

bool FinderModel::isResponding() const {
    std::lock_guard lock(mutex_);
    return responding_;
}

std::optional<FinderModel::ScriptError> FinderModel::refusal() const {
    if (!automationAllowed_) return ScriptError{notAuthorized, "Not authorized to send Apple events to Finder."};
    if (!responding_) return ScriptError{timedOut, "Finder got an error: AppleEvent timed out."};
    return std::nullopt;
}

FinderModel::SelectionAnswer FinderModel::selectionPaths() const {
    std::lock_guard lock(mutex_);
    if (auto refused = refusal()) return {refused, {}};
    SelectionAnswer answer;
    for (const auto& item : selection_) {
        auto path = aliasPath(item);
        if (!path) {
            return {ScriptError{fileNotFound, "Finder got an error: File " + item.string() + " wasn\u2019t found."}, {}};
        }
        answer.paths.push_back(std::move(*path));
    }
    return answer;
}

FinderModel::FolderAnswer FinderModel::frontFolderPath() const {
    std::lock_guard lock(mutex_);
    if (auto refused = refusal()) return {refused, {}};
    const auto& folder = frontWindowTarget_ ? *frontWindowTarget_ : desktopFolder_;
    auto path = aliasPath(folder);
    if (!path) return {ScriptError{fileNotFound, "Finder got an error: File " + folder.string() + " wasn\u2019t found."}, {}};
    return {std::nullopt, std::move(*path)};
}

void FinderModel::acceptScript(std::string source, Query query) {
    std::lock_guard lock(mutex_);
    for (auto& [text, known] : scripts_) {
        if (text == source) {
            known = query;
            return;
        }
    }
    scripts_.emplace_back(std::move(source), query);
}

std::optional<AppleScriptOutcome> FinderModel::answer(const std::string& source) const {
    std::optional<Query> query;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [text, known] : scripts_) {
            if (text == source) query = known;
        }
    }
    if (!query) return std::nullopt;
    auto asError = [](const ScriptError& error) {
        return AppleScriptOutcome{std::nullopt, AppleScriptError{error.number, error.message}};
    };
    if (*query == Query::selectionPaths) {
        auto read = selectionPaths();
        if (read.error) return asError(*read.error);
        std::vector<AppleEventDescriptor> items;
        for (auto& path : read.paths) items.push_back(AppleEventDescriptor::text(std::move(path)));
        return AppleScriptOutcome{AppleEventDescriptor::list(std::move(items)), std::nullopt};
    }
    auto read = frontFolderPath();
    if (read.error) return asError(*read.error);
    return AppleScriptOutcome{AppleEventDescriptor::text(std::move(read.path)), std::nullopt};
}

}  // namespace tallowmere::platform
