#pragma once

#include <compare>

namespace tallowmere::platform {

// A point in wall-clock time, held as seconds since 1970-01-01T00:00:00Z.
// The Mac's reference date (2001-01-01) is offered too because stored values
// and binary property lists count from it.
class Date {
public:
    static constexpr double referenceDateOffset = 978307200.0;  // 2001-01-01 in Unix time

    constexpr Date() = default;
    static constexpr Date fromTimeIntervalSince1970(double seconds) { return Date(seconds); }
    static constexpr Date fromTimeIntervalSinceReferenceDate(double seconds) {
        return Date(seconds + referenceDateOffset);
    }

    constexpr double timeIntervalSince1970() const { return seconds_; }
    constexpr double timeIntervalSinceReferenceDate() const { return seconds_ - referenceDateOffset; }
    constexpr double timeIntervalSince(Date other) const { return seconds_ - other.seconds_; }
    constexpr Date addingTimeInterval(double seconds) const { return Date(seconds_ + seconds); }

    constexpr auto operator<=>(const Date&) const = default;

private:
    constexpr explicit Date(double seconds) : seconds_(seconds) {}
    double seconds_ = 0;
};

}  // namespace tallowmere::platform
