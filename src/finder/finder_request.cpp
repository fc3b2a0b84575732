#include "finder/finder_request.h"

#include <algorithm>

namespace tallowmere {

using platform::Url;
using platform::UrlQueryItem;

namespace {

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& list, std::string_view value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool isAcceptablePath(const std::string& path) {
    return path.starts_with('/') && path.find('\0') == std::string::npos;
}

// "." and ".." resolved as file URLs resolve them; ".." stops at the root.
std::filesystem::path standardized(const std::string& path, bool isDirectory) {
    return Url::fileUrl(path, isDirectory).standardized().fileSystemPath().value_or(path);
}

std::optional<Url> rebuilt(const Url& request, std::vector<UrlQueryItem> items) {
    Url url = request;
    url.setQueryItems(items);
    // What was built must read back as the same request, or it is none.
    auto again = Url::parse(url.string());
    if (!again || again->queryItems() != items) return std::nullopt;
    return again;
}

}  // namespace

std::optional<FinderRequest> FinderRequest::read(const Url& url) {
    if (url.scheme() != scheme) return std::nullopt;
    auto action = url.host();
    if (!action || !contains(actions, *action)) return std::nullopt;
    FinderRequest request;
    request.action = *action;
    bool haveDirectory = false;
    bool haveType = false;
    for (const auto& item : url.queryItems()) {
        if (item.name == "path") {
            if (item.value) request.paths.push_back(*item.value);
        } else if (item.name == "directory" && !haveDirectory) {
            haveDirectory = true;
            request.directory = item.value.value_or("");
        } else if (item.name == "type" && !haveType) {
            haveType = true;
            request.type = item.value;
        }
    }
    return request;
}

bool FinderRequest::actsOnSelection(std::string_view action) {
    return action != "create" && action != "terminal" && action != "copy" && action != "unhide-all";
}

bool FinderRequest::needsConfirmation(std::string_view action) {
    return action == "hide" || action == "unhide" || action == "unhide-all";
}

bool FinderRequest::isNewFileType(std::string_view type) {
    return contains(newFileTypes, type);
}

std::optional<FinderRequest::Paths> FinderRequest::checkedPaths() const {
    if (!isAcceptablePath(directory)) return std::nullopt;
    if (!std::all_of(paths.begin(), paths.end(), isAcceptablePath)) return std::nullopt;
    Paths checked;
    checked.directory = standardized(directory, true);
    for (const auto& path : paths) {
        auto item = standardized(path, false);
        if (std::find(checked.items.begin(), checked.items.end(), item) == checked.items.end())
            checked.items.push_back(std::move(item));
    }
    return checked;
}

std::optional<Url> FinderRequest::withSelection(const Url& request,
                                                const std::vector<std::filesystem::path>& selection) {
    if (selection.empty()) return std::nullopt;
    std::vector<UrlQueryItem> items;
    for (const auto& item : request.queryItems()) {
        if (item.name != "path" && item.name != "directory") items.push_back(item);
    }
    items.push_back({"directory", selection.front().parent_path().string()});
    for (const auto& path : selection) items.push_back({"path", path.string()});
    return rebuilt(request, std::move(items));
}

std::optional<Url> FinderRequest::withDirectory(const Url& request, const std::filesystem::path& folder) {
    std::vector<UrlQueryItem> items;
    for (const auto& item : request.queryItems()) {
        if (item.name != "directory") items.push_back(item);
    }
    items.push_back({"directory", folder.string()});
    return rebuilt(request, std::move(items));
}

std::string FinderRequest::newFileName(std::string_view type, int number) {
    std::string name = "新建文件";
    if (number > 0) name += " (" + std::to_string(number) + ")";
    return name + "." + std::string(type);
}

}  // namespace tallowmere
