#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace tallowmere {

// Finds the folder new files go into. One per process (`shared()`).
//
// For now it cannot ask Finder for its front folder, so it always lets the
// person pick one; the Finder query (with its time-out) comes with the
// Finder integration.
class FinderDestinationResolver {
public:
    using Completion = std::function<void(std::optional<std::filesystem::path> folder)>;

    static FinderDestinationResolver& shared();

    FinderDestinationResolver() = default;
    FinderDestinationResolver(const FinderDestinationResolver&) = delete;
    FinderDestinationResolver& operator=(const FinderDestinationResolver&) = delete;

    // The folder, or none when the person cancels; on the main thread. A
    // request while another is still open is ignored.
    void resolve(Completion completion);

private:
    bool isResolving_ = false;
};

}  // namespace tallowmere
