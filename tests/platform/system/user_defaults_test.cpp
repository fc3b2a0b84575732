#include "platform/system/user_defaults.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/property_list.h"
#include "platform/runtime/app_context.h"
#include "platform/system/files.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

namespace fs = std::filesystem;

class UserDefaultsTest : public testing::TallowmereTest {
protected:
    UserDefaults& defaults() { return UserDefaults::standard(); }
    fs::path preferencesFile() const {
        return home() / "Library/Preferences/com.quenlow.tallowmere.plist";
    }

    // The domain as a new run of the program would find it, once this turn's
    // changes have been written.
    template <typename Check>
    void inFreshContext(Check check) {
        runUntilIdle();
        AppContext fresh({.deterministic = true});
        check(UserDefaults::standard());
    }
};

TEST_F(UserDefaultsTest, TypedReadsFollowTheMacRules) {
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    struct Case {
        const char* name;
        std::optional<PropertyValue> stored;
        bool boolean;
        std::int64_t integer;
        double real;
        std::optional<std::string> string;
    } cases[] = {
        {"absent", std::nullopt, false, 0, 0, std::nullopt},
        {"true", true, true, 1, 1, "1"},
        {"false", false, false, 0, 0, "0"},
        {"1", 1, true, 1, 1, "1"},
        {"0", 0, false, 0, 0, "0"},
        {"42", 42, true, 42, 42, "42"},
        {"3.9", 3.9, true, 3, 3.9, "3.9"},
        {"-2.7", -2.7, true, -2, -2.7, "-2.7"},
        {"0.5", 0.5, true, 0, 0.5, "0.5"},
        {"0.0", 0.0, false, 0, 0, "0"},
        {"1e30", 1e30, true, max, 1e30, "1e+30"},
        {"\"YES\"", "YES", true, 0, 0, "YES"},
        {"\"yes\"", "yes", true, 0, 0, "yes"},
        {"\"true\"", "true", true, 0, 0, "true"},
        {"\"1\"", "1", true, 1, 1, "1"},
        {"\"NO\"", "NO", false, 0, 0, "NO"},
        {"\"false\"", "false", false, 0, 0, "false"},
        {"\"0\"", "0", false, 0, 0, "0"},
        {"\"\"", "", false, 0, 0, ""},
        {"\" 12 items\"", " 12 items", true, 12, 12, " 12 items"},
        {"\"3.75\"", "3.75", true, 3, 3.75, "3.75"},
        {"\"-0005\"", "-0005", true, -5, -5, "-0005"},
        {"\"1e3\"", "1e3", true, 1, 1000, "1e3"},
        {"\"inf\"", "inf", false, 0, 0, "inf"},
        {"\"99999999999999999999\"", "99999999999999999999", true, max, 1e20,
         "99999999999999999999"},
        {"data", PropertyValue(Data{1}), false, 0, 0, std::nullopt},
        {"array", PropertyValue(PropertyValue::Array{1}), false, 0, 0, std::nullopt},
        {"date", PropertyValue(clock().now()), false, 0, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.stored)
            defaults().set("value", *c.stored);
        else
            defaults().removeObject("value");
        EXPECT_EQ(defaults().boolean("value"), c.boolean);
        EXPECT_EQ(defaults().integer("value"), c.integer);
        EXPECT_DOUBLE_EQ(defaults().real("value"), c.real);
        EXPECT_EQ(defaults().string("value"), c.string);
        EXPECT_EQ(defaults().object("value"), c.stored);
    }
}

TEST_F(UserDefaultsTest, ContainersReadOnlyAsTheirOwnShape) {
    const PropertyValue::Dictionary window{{"x", 10}, {"width", 800.5}};
    defaults().set("names", PropertyValue::Array{"Chrome", "Google"});
    defaults().set("mixed", PropertyValue::Array{"Chrome", 1});
    defaults().set("window", window);
    defaults().set("blob", Data{0, 255});

    EXPECT_EQ(defaults().stringArray("names"), (std::vector<std::string>{"Chrome", "Google"}));
    EXPECT_EQ(defaults().stringArray("mixed"), std::nullopt)
        << "one non-text element spoils the list";
    EXPECT_EQ(defaults().array("mixed")->size(), 2u);
    EXPECT_EQ(defaults().dictionary("window"), window);
    EXPECT_EQ(defaults().data("blob"), (Data{0, 255}));

    EXPECT_EQ(defaults().array("window"), std::nullopt);
    EXPECT_EQ(defaults().dictionary("names"), std::nullopt);
    EXPECT_EQ(defaults().data("names"), std::nullopt);
    EXPECT_EQ(defaults().string("window"), std::nullopt);
}

TEST_F(UserDefaultsTest, RegisteredDefaultsFillGapsButAreNeverStored) {
    defaults().registerDefaults({{"calendarEnabled", true}, {"themeMode", "system"}});
    EXPECT_TRUE(defaults().boolean("calendarEnabled"));
    defaults().set("calendarEnabled", false);
    EXPECT_FALSE(defaults().boolean("calendarEnabled"));

    const PropertyValue::Dictionary everything{{"calendarEnabled", false}, {"themeMode", "system"}};
    EXPECT_EQ(defaults().dictionaryRepresentation(), everything);
    const PropertyValue::Dictionary stored{{"calendarEnabled", false}};
    EXPECT_EQ(defaults().persistentDomain("com.quenlow.tallowmere"), stored);
    EXPECT_EQ(defaults().persistentDomain("com.apple.screensaver"), std::nullopt);

    inFreshContext([&](UserDefaults& fresh) {
        EXPECT_EQ(fresh.object("themeMode"), std::nullopt);
        EXPECT_EQ(fresh.persistentDomain("com.quenlow.tallowmere"), stored);
    });
}

TEST_F(UserDefaultsTest, DidChangeIsPostedAfterEachChangeOfTheStoredDomain) {
    std::vector<std::optional<std::string>> seen;  // the value observers read
    context().notificationCenter().addObserver(
        UserDefaults::didChangeNotification, &defaults(),
        [&](const Notification&) { seen.push_back(defaults().string("theme")); });

    defaults().set("theme", "dark");
    defaults().set("theme", "dark");  // no change: no notification
    defaults().removeObject("theme");
    defaults().removeObject("theme");
    defaults().registerDefaults({{"theme", "light"}});
    defaults().setPersistentDomain({{"theme", "system"}}, "com.quenlow.tallowmere");
    defaults().set("bad", std::string("nul\0inside", 10));  // cannot be stored: refused

    const std::vector<std::optional<std::string>> expected{"dark", std::nullopt, "system"};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(defaults().object("bad"), std::nullopt);
}

TEST_F(UserDefaultsTest, ValuesSurviveIntoAFreshContextInAPrivateFile) {
    const Date when = clock().now().addingTimeInterval(0.25);
    const PropertyValue::Dictionary values{
        {"interfaceLanguage", "zh-Hant-TW"},
        {"displayAwakeSelectedMinutes", 30},
        {"opacity", 0.75},
        {"networkTrafficEnabled", true},
        {"displayAwakeUntil", when},
        {"quickLaunchData", Data{'[', ']'}},
        {"menuBarWebSites", PropertyValue::Array{"https://example.com/"}},
        {"window", PropertyValue::Dictionary{{"x", 1}}},
    };
    int writes = 0;
    defaults().onTemporaryFileCreated = [&](const fs::path&) { ++writes; };
    for (const auto& [key, value] : values) defaults().set(key, value);
    EXPECT_EQ(defaults().persistentDomain("com.quenlow.tallowmere"), values);

    // Written off the changing thread once the turn is over: all the changes in one write, owner-only.
    EXPECT_EQ(writes, 0);
    runUntilIdle();
    EXPECT_EQ(writes, 1);
    struct stat info {};
    ASSERT_EQ(::stat(preferencesFile().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    auto onDisk = PropertyList::read(Files::read(preferencesFile()).valueOr(Data{}));
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(*onDisk, PropertyValue(values));

    inFreshContext([&](UserDefaults& fresh) {
        EXPECT_EQ(fresh.persistentDomain("com.quenlow.tallowmere"), values);
        EXPECT_EQ(fresh.string("interfaceLanguage"), "zh-Hant-TW");
    });
}

TEST_F(UserDefaultsTest, ARunEndingBeforeItsNextTurnStillWritesItsLastChanges) {
    {
        AppContext run({.deterministic = true});
        UserDefaults::standard().set("themeMode", "dark");
    }
    AppContext next({.deterministic = true});
    EXPECT_EQ(UserDefaults::standard().string("themeMode"), "dark");
}

TEST_F(UserDefaultsTest, UnreadablePreferencesAreKeptAsideNeverOverwritten) {
    const Data list = PropertyList::write(PropertyValue::Array{1}).value();
    struct Case {
        const char* name;
        std::string contents;
    } cases[] = {
        {"not a property list", "settings, but not as we know them"},
        {"a list, not a dictionary", std::string(list.begin(), list.end())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(preferencesFile().parent_path());
        ASSERT_TRUE(Files::createDirectories(preferencesFile().parent_path()));
        ASSERT_TRUE(Files::writeAtomically(preferencesFile(), c.contents));

        inFreshContext([&](UserDefaults& fresh) {
            EXPECT_EQ(fresh.persistentDomain("com.quenlow.tallowmere"), std::nullopt);
            fresh.set("themeMode", "dark");
        });
        const fs::path aside = preferencesFile().string() + ".unreadable-20261210T083000Z";
        EXPECT_EQ(Files::readText(aside).valueOr(std::string("<gone>")), c.contents);
        inFreshContext([&](UserDefaults& fresh) { EXPECT_EQ(fresh.string("themeMode"), "dark"); });
    }
}

TEST_F(UserDefaultsTest, FailedWriteKeepsTheChangeAndSynchronizeRetries) {
    // A file where the folder should be: every write fails.
    ASSERT_TRUE(Files::createDirectories(home() / "Library"));
    ASSERT_TRUE(Files::writeAtomically(home() / "Library/Preferences", std::string_view("")));
    defaults().set("themeMode", "dark");
    EXPECT_EQ(defaults().string("themeMode"), "dark");
    EXPECT_FALSE(defaults().synchronize());

    fs::remove(home() / "Library/Preferences");
    EXPECT_TRUE(defaults().synchronize());
    inFreshContext([&](UserDefaults& fresh) { EXPECT_EQ(fresh.string("themeMode"), "dark"); });
}

}  // namespace
}  // namespace tallowmere::platform
