#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/url.h"

namespace tallowmere {

// One request from the Finder extension, read from its URL
// ("tallowmere-finder://<action>?directory=...&path=...&type=..."), and the
// checks every request passes before anything acts on a file.
struct FinderRequest {
    static constexpr std::string_view scheme = "tallowmere-finder";
    static constexpr std::array<std::string_view, 13> actions = {
        "create",   "terminal", "copy",    "hide",     "unhide",    "unhide-all",  "airdrop",
        "dissolve", "copy-to",  "move-to", "hash-md5", "hash-sha1", "hash-sha256",
    };
    static constexpr std::array<std::string_view, 2> newFileTypes = {"txt", "md"};

    std::string action;
    std::string directory;           // empty when the request has none
    std::vector<std::string> paths;  // in the request's order
    std::optional<std::string> type;

    // None when the URL is no request: another scheme, no host, or an
    // action outside the list.
    static std::optional<FinderRequest> read(const platform::Url& url);

    // Every action but "create", "terminal", "copy" and "unhide-all".
    static bool actsOnSelection(std::string_view action);
    static bool needsConfirmation(std::string_view action);
    static bool isNewFileType(std::string_view type);

    // The paths as they will be acted on: "." and ".." resolved, duplicate
    // items dropped (the first kept). None when the directory or a path is
    // not absolute or holds a NUL.
    struct Paths {
        std::filesystem::path directory;
        std::vector<std::filesystem::path> items;
    };
    std::optional<Paths> checkedPaths() const;

    // The request again with the items a Finder selection gave: its other
    // query items kept in order, then the first item's folder as
    // "directory", then one "path" per item.
    static std::optional<platform::Url> withSelection(const platform::Url& request,
                                                      const std::vector<std::filesystem::path>& selection);
    // The request again with "directory" replaced by `folder` at the end.
    static std::optional<platform::Url> withDirectory(const platform::Url& request, const std::filesystem::path& folder);

    // "新建文件.txt", then "新建文件 (1).txt", "新建文件 (2).txt" ...
    static std::string newFileName(std::string_view type, int number);
};

}  // namespace tallowmere
