#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/runtime/serial_queue.h"

namespace tallowmere {

// Finds the folder new files go into: the folder of Finder's front window,
// or the desktop when no Finder window is open; when Finder cannot say (no
// Automation permission, no answer within 5 seconds, a folder that is
// gone), the person picks one in a folder panel. One per process
// (`shared()`).
class FinderDestinationResolver {
public:
    using Completion = std::function<void(std::optional<std::filesystem::path> folder)>;

    static FinderDestinationResolver& shared();
    FinderDestinationResolver();
    FinderDestinationResolver(const FinderDestinationResolver&) = delete;
    FinderDestinationResolver& operator=(const FinderDestinationResolver&) = delete;

    // The folder, or none when the person cancels the panel; on the main
    // thread. A call while another is under way is dropped: its completion
    // never runs.
    void resolve(Completion completion);

    bool isResolving() const { return isResolving_; }

private:
    void chooseInPanel(Completion completion);

    platform::SerialQueue queue_{"com.quenlow.tallowmere.finder-destination"};
    bool isResolving_ = false;
};

}  // namespace tallowmere
