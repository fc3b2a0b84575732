#pragma once

#include <memory>

namespace tallowmere {

namespace platform {
class MenuItem;
}

// Re-applies the user's chosen keyboard input source when applications
// switch. One per process (`shared()`); started first thing at start-up.
//
// For now there is no source to choose, so starting only marks it started
// and the menu offers only following the system; reading the sources,
// watching activations and applying the chosen one come with the
// input-source feature.
class DefaultInputSourceController {
public:
    static DefaultInputSourceController& shared();

    DefaultInputSourceController() = default;
    DefaultInputSourceController(const DefaultInputSourceController&) = delete;
    DefaultInputSourceController& operator=(const DefaultInputSourceController&) = delete;

    void start() { started_ = true; }
    bool isStarted() const { return started_; }
    // A new "默认输入法 · ..." item with its submenu.
    std::shared_ptr<platform::MenuItem> makeMenuItem();

private:
    bool started_ = false;
};

}  // namespace tallowmere
