#include "platform/desktop/calendar_database.h"

#include <gtest/gtest.h>

#include "platform/base/iso8601.h"
#include "platform/desktop/event_store.h"
#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::CalendarAuthorizationStatus;
using platform::Date;

Date at(const char* text) { return platform::Iso8601::parse(text).value(); }

TEST(CalendarDatabaseTest, EventsOverlappingASpan) {
    platform::CalendarDatabase database;
    database.addEvent({.title = "a", .startDate = at("2026-10-01T09:00:00Z"), .endDate = at("2026-10-01T10:00:00Z")});
    database.addEvent({.title = "instant", .startDate = at("2026-10-02T00:00:00Z"), .endDate = at("2026-10-02T00:00:00Z")});
    database.addEvent({.title = "days", .startDate = at("2026-09-30T00:00:00Z"), .endDate = at("2026-10-03T00:00:00Z")});
    database.addEvent({.title = "backwards", .startDate = at("2026-10-05T12:00:00Z"), .endDate = at("2026-10-05T11:00:00Z")});
    auto titles = [&](const char* from, const char* to) {
        std::vector<std::string> found;
        for (const auto& event : database.events(at(from), at(to))) found.push_back(event.title.value_or("?"));
        return found;
    };
    struct Case {
        const char* from;
        const char* to;
        std::vector<std::string> titles;
    } cases[] = {
        {"2026-10-01T00:00:00Z", "2026-10-02T00:00:00Z", {"a", "days"}},
        {"2026-10-02T00:00:00Z", "2026-10-03T00:00:00Z", {"instant", "days"}},  // the end is not part of the span
        {"2026-10-01T10:00:00Z", "2026-10-01T11:00:00Z", {"days"}},             // nor an event's end
        {"2026-10-03T00:00:00Z", "2026-10-04T00:00:00Z", {}},
        {"2026-10-05T00:00:00Z", "2026-10-06T00:00:00Z", {"backwards"}},  // kept as an instant at its start
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        EXPECT_EQ(titles(c.from, c.to), c.titles);
    }
    EXPECT_EQ(database.calendars().size(), 1u) << "events without a calendar go to the default one";
}

class EventStoreTest : public SimulatedDesktopTest {};

TEST_F(EventStoreTest, ThePromptDecidesOnceAndOnlyFullAccessReads) {
    auto& calendars = desktop.calendars();
    calendars.addEvent({.title = "周会", .startDate = at("2026-10-01T09:00:00Z"), .endDate = at("2026-10-01T10:00:00Z")});
    platform::EventStore store;
    EXPECT_TRUE(store.events(at("2026-10-01T00:00:00Z"), at("2026-10-02T00:00:00Z")).empty());

    std::vector<std::string> asked;
    calendars.ask = [&](const std::string& requester) {
        asked.push_back(requester);
        return true;
    };
    std::optional<bool> granted;
    store.requestFullAccessToEvents([&](bool answer) { granted = answer; });
    EXPECT_EQ(granted, true);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(store.authorizationStatus(), CalendarAuthorizationStatus::fullAccess);
    EXPECT_EQ(store.events(at("2026-10-01T00:00:00Z"), at("2026-10-02T00:00:00Z")).size(), 1u);

    // Decided states are not asked again; each answers with what it allows.
    for (auto status : {CalendarAuthorizationStatus::denied, CalendarAuthorizationStatus::restricted,
                        CalendarAuthorizationStatus::writeOnly, CalendarAuthorizationStatus::fullAccess}) {
        SCOPED_TRACE(std::string(platform::rawValue(status)));
        calendars.setAuthorizationStatus(status);
        store.requestFullAccessToEvents([&](bool answer) { granted = answer; });
        EXPECT_EQ(granted, status == CalendarAuthorizationStatus::fullAccess);
        EXPECT_EQ(store.events(at("2026-10-01T00:00:00Z"), at("2026-10-02T00:00:00Z")).empty(),
                  status != CalendarAuthorizationStatus::fullAccess);
    }
    EXPECT_EQ(asked.size(), 1u);

    // With nobody to ask, the answer is no.
    calendars.setAuthorizationStatus(CalendarAuthorizationStatus::notDetermined);
    calendars.ask = nullptr;
    store.requestFullAccessToEvents([&](bool answer) { granted = answer; });
    EXPECT_EQ(granted, false);
    EXPECT_EQ(store.authorizationStatus(), CalendarAuthorizationStatus::denied);
}

}  // namespace
}  // namespace tallowmere::testing
