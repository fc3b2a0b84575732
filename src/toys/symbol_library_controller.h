#pragma once

namespace tallowmere {

namespace platform {
class MenuItem;
}

// The emoji and symbol library. One per process (`shared()`).
//
// For now the library does not open: it comes with the desk toys.
class SymbolLibraryController {
public:
    static SymbolLibraryController& shared();

    SymbolLibraryController() = default;
    SymbolLibraryController(const SymbolLibraryController&) = delete;
    SymbolLibraryController& operator=(const SymbolLibraryController&) = delete;

    // Opens the library in a window (not full screen).
    void showLibraryInWindow(platform::MenuItem& sender);
};

}  // namespace tallowmere
