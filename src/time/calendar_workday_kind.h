#pragma once

namespace tallowmere {

// The official kind of a day in the mainland-China holiday arrangement. A
// day with no official kind is an absent value, not a third case.
enum class CalendarWorkdayKind {
    rest,  // official holiday, badged "休"
    work,  // make-up workday on a weekend
};

}  // namespace tallowmere
