#include "selection/selvane_exclusions.h"

#include <gtest/gtest.h>

#include "platform/runtime/app_context.h"
#include "platform/runtime/notification_center.h"
#include "platform/system/user_defaults.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using Entry = SelvaneExclusions::Entry;
using Entries = std::vector<Entry>;
using platform::PropertyValue;

class SelvaneExclusionsTest : public testing::SimulatedDesktopTest {
protected:
    void SetUp() override {
        token = platform::AppContext::current().notificationCenter().addObserver(
            std::string(SelvaneExclusions::changed), nullptr, [this](const auto&) { ++notifications; });
    }
    void TearDown() override { platform::AppContext::current().notificationCenter().removeObserver(token); }
    std::optional<PropertyValue> stored() const { return platform::UserDefaults::standard().object(SelvaneExclusions::key); }

    int notifications = 0;
    platform::ObserverToken token;
};

TEST_F(SelvaneExclusionsTest, AddAndRemoveRewriteTheListAndAlwaysNotify) {
    SelvaneExclusions::add("com.example.app10", "App 10");
    SelvaneExclusions::add("com.example.app2", "Old");
    SelvaneExclusions::add("com.example.app2", "App 2");
    EXPECT_EQ(notifications, 3);
    EXPECT_EQ(SelvaneExclusions::entries(), (Entries{{"com.example.app2", "App 2"}, {"com.example.app10", "App 10"}}))
        << "renamed in place, and 2 before 10";

    SelvaneExclusions::remove("com.example.missing");
    EXPECT_EQ(notifications, 4) << "removing what is not listed still tells the listeners";
    EXPECT_EQ(SelvaneExclusions::entries().size(), 2u);
    SelvaneExclusions::remove("com.example.app10");
    EXPECT_EQ(SelvaneExclusions::entries(), (Entries{{"com.example.app2", "App 2"}}));
    EXPECT_EQ(stored(), PropertyValue(PropertyValue::Dictionary{{"com.example.app2", "App 2"}}));
}

TEST_F(SelvaneExclusionsTest, ContainsComparesIdentifiersExactly) {
    SelvaneExclusions::add("com.example.Editor", "Editor");
    struct Case {
        std::optional<std::string> id;
        bool contained;
    } cases[] = {{std::nullopt, false}, {"com.example.Editor", true}, {"com.example.editor", false}, {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id.value_or("(none)"));
        EXPECT_EQ(SelvaneExclusions::contains(c.id), c.contained);
    }
}

TEST_F(SelvaneExclusionsTest, StoredValuesOfTheWrongKind) {
    struct Case {
        const char* name;
        PropertyValue value;
        Entries entries;
        PropertyValue::Dictionary afterAdd;
    } cases[] = {
        {"not a dictionary", PropertyValue(PropertyValue::Array{PropertyValue("com.example.a")}), {},
         {{"com.example.new", "New"}}},
        {"one bad name among good pairs",
         PropertyValue(PropertyValue::Dictionary{{"com.example.a", "A"}, {"com.example.bad", 7}}),
         {{"com.example.a", "A"}},
         {{"com.example.a", "A"}, {"com.example.new", "New"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::UserDefaults::standard().set(SelvaneExclusions::key, c.value);
        EXPECT_EQ(SelvaneExclusions::entries(), c.entries);
        EXPECT_FALSE(SelvaneExclusions::contains("com.example.bad"));
        EXPECT_EQ(stored(), c.value) << "a read rewrites nothing";
        SelvaneExclusions::add("com.example.new", "New");
        EXPECT_EQ(stored(), PropertyValue(c.afterAdd));
    }
}

}  // namespace
}  // namespace tallowmere
