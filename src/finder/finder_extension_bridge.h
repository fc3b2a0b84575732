#pragma once

#include <array>
#include <string_view>

namespace tallowmere {

namespace platform {
class Url;
}

// The program's receiver of the requests the Finder extension sends as
// "tallowmere-finder://<action>?directory=...&path=..." URLs. One per
// process (`shared()`), made on first use.
//
// For now it accepts or ignores a request; carrying the accepted ones out
// (new files, paths, Terminal, hidden flags ...) comes with the Finder
// integration.
class FinderExtensionBridge {
public:
    static constexpr std::string_view scheme = "tallowmere-finder";
    static constexpr std::array<std::string_view, 13> actions = {
        "create",   "terminal", "copy",     "hide",     "unhide",    "unhide-all",  "airdrop",
        "dissolve", "copy-to",  "move-to",  "hash-md5", "hash-sha1", "hash-sha256",
    };

    static FinderExtensionBridge& shared();

    FinderExtensionBridge() = default;
    FinderExtensionBridge(const FinderExtensionBridge&) = delete;
    FinderExtensionBridge& operator=(const FinderExtensionBridge&) = delete;

    // Takes one request. A URL of another scheme, without a host, or whose
    // host is none of the actions is ignored without a word.
    void handle(const platform::Url& url);

    // Whether a request with a known action has arrived in this run; never
    // goes back to false.
    bool hasHandledRequest() const { return hasHandledRequest_; }

private:
    bool hasHandledRequest_ = false;
};

}  // namespace tallowmere
