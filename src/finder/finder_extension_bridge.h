#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "finder/finder_request.h"

namespace tallowmere {

namespace platform {
class Url;
}

// The program's receiver of the requests the Finder extension sends as
// "tallowmere-finder://<action>?directory=...&path=...&type=..." URLs. It
// checks each request, asks Finder for a missing selection or folder (one
// asynchronous hop, after which the request comes back whole), checks
// every path, copies paths, opens Terminal and makes new files itself,
// confirms hidden-flag changes, and hands the rest to FinderFileOperations.
// Every failure the person should know of ends in one alert. Main thread
// only. One per process (`shared()`).
class FinderExtensionBridge {
public:
    static constexpr std::string_view scheme = FinderRequest::scheme;
    static constexpr auto actions = FinderRequest::actions;

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

    // Asks the person to confirm a hidden-flag change, naming its targets
    // (at most 20, then how many more); true to go on.
    bool confirmMetadataChange(std::string_view action, const std::filesystem::path& directory,
                               const std::vector<std::filesystem::path>& paths);
    // The bridge's error alert.
    void showError(const std::string& message);

private:
    void selectionArrived(const platform::Url& request, const std::string& action,
                          const std::vector<std::filesystem::path>& selection);
    void copyPaths(const FinderRequest::Paths& paths);
    void openInTerminal(const std::filesystem::path& directory);
    void createNewFile(const std::filesystem::path& directory, const std::string& type);

    bool hasHandledRequest_ = false;
};

}  // namespace tallowmere
