#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "platform/runtime/serial_queue.h"

namespace tallowmere {

// Reads the items selected in Finder, away from the main thread, for a
// request that needs items and brought none. One per process (`shared()`).
class FinderSelectionReader {
public:
    using Completion = std::function<void(std::vector<std::filesystem::path> selection)>;

    static FinderSelectionReader& shared();
    FinderSelectionReader();
    FinderSelectionReader(const FinderSelectionReader&) = delete;
    FinderSelectionReader& operator=(const FinderSelectionReader&) = delete;

    // The selection in Finder's order, on the main thread, always exactly
    // once. When Finder refused or nothing is selected the person has been
    // told why and the list is empty.
    void read(Completion completion);

private:
    platform::SerialQueue queue_{"com.quenlow.tallowmere.finder-selection"};
};

}  // namespace tallowmere
