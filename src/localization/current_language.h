#pragma once

#include <atomic>
#include <cstdint>

#include "localization/interface_language.h"

namespace tallowmere {

namespace platform {
class Locale;
class UserDefaults;
}  // namespace platform

// The language in force in the current context, kept where every lookup reads
// it without a lock. It is worked out again (the stored choice, else the
// system's list) only after the preferences or the system's language list
// changed, which their change counts tell; so a change is seen by the very
// next lookup on any thread, as if the language were read afresh each time.
class CurrentLanguage {
public:
    // This context's instance. After a thread's first call in a context it
    // takes no lock.
    static CurrentLanguage& forCurrentContext();

    CurrentLanguage();
    CurrentLanguage(const CurrentLanguage&) = delete;
    CurrentLanguage& operator=(const CurrentLanguage&) = delete;

    InterfaceLanguage language();

private:
    std::uint64_t sourceStamp() const;
    InterfaceLanguage workOut() const;

    // Held for the context's life: both are made before this and outlive it.
    platform::UserDefaults& defaults_;
    platform::Locale& locale_;
    // The stamp of the sources the language was worked out from, shifted
    // left by eight, with the language in the low byte; `unknown` before the
    // first answer.
    static constexpr std::uint64_t unknown = ~std::uint64_t{0};
    std::atomic<std::uint64_t> answer_{unknown};
};

}  // namespace tallowmere
