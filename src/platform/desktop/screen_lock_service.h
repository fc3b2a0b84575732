#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

// The system's immediate screen lock, on the simulated desktop: it locks
// the simulated screen, never the machine's own. A scene or a test can make
// it unavailable (the entry point cannot be loaded) or make the next lock
// fail with a status of its choosing.
//
// While locked, the desktop takes every event for the sign-in screen: the
// person signs in again by clicking its password field or pressing Return.
class ScreenLockService {
public:
    using LockFunction = std::function<std::int32_t()>;

    // Posted on the context's notification centre (object: this).
    static constexpr const char* didLockNotification = "ScreenLockServiceDidLock";
    static constexpr const char* didUnlockNotification = "ScreenLockServiceDidUnlock";

    static ScreenLockService& shared();

    // Whether the lock's entry point can be loaded at all.
    bool isAvailable = true;
    // What the next lock returns: 0 locks, anything else fails.
    std::int32_t nextStatus = 0;

    // The entry point, looked up afresh; absent while unavailable.
    std::optional<LockFunction> lockFunction();

    bool isLocked() const { return locked_; }
    int lockCount() const { return lockCount_; }
    // The person signs in again.
    void unlock();

    // The sign-in screen's password field on a screen of `screenFrame`
    // (centred, below the middle): drawn there, clicked there.
    static ScreenRect signInFieldFrame(ScreenRect screenFrame);

private:
    void lock();

    bool locked_ = false;
    int lockCount_ = 0;
};

}  // namespace tallowmere::platform
