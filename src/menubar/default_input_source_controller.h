#pragma once

namespace tallowmere {

// Re-applies the user's chosen keyboard input source when applications
// switch. One per process (`shared()`); started first thing at start-up.
//
// For now there is no source to choose, so starting only marks it started;
// watching activations and applying the source come with the input-source
// feature.
class DefaultInputSourceController {
public:
    static DefaultInputSourceController& shared();

    DefaultInputSourceController() = default;
    DefaultInputSourceController(const DefaultInputSourceController&) = delete;
    DefaultInputSourceController& operator=(const DefaultInputSourceController&) = delete;

    void start() { started_ = true; }
    bool isStarted() const { return started_; }

private:
    bool started_ = false;
};

}  // namespace tallowmere
