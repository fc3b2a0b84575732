#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tallowmere::testing {

// Sets TZ for the life of the object and puts the previous value back, so
// a test can run the calendar in a zone of its choosing.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const std::string& identifier) {
        if (const char* previous = std::getenv("TZ")) previous_ = previous;
        ::setenv("TZ", identifier.c_str(), 1);
    }
    ~ScopedTimeZone() {
        if (previous_) {
            ::setenv("TZ", previous_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> previous_;
};

}  // namespace tallowmere::testing
