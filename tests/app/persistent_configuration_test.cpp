#include "app/persistent_configuration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/base/property_list.h"
#include "platform/runtime/app_context.h"
#include "platform/system/files.h"
#include "platform/system/system_log.h"
#include "platform/system/user_defaults.h"
#include "app/file_mode.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using testing::modeOf;
using platform::Data;
using platform::PropertyValue;

class PersistentConfigurationTest : public testing::TallowmereTest {
protected:
    ~PersistentConfigurationTest() override { ::umask(savedUmask_); }

    PersistentConfiguration& mirror() { return PersistentConfiguration::shared(); }
    platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
    fs::path fileURL() const {
        return home() / "Library/Application Support/com.quenlow.tallowmere/configuration.plist";
    }

    // Puts a configuration file in place, as an earlier run would have left it.
    void storeFile(PropertyValue::Dictionary root) {
        auto bytes = platform::PropertyList::write(PropertyValue(std::move(root)));
        ASSERT_TRUE(bytes.ok());
        storeBytes(std::string(bytes->begin(), bytes->end()));
    }
    void storeBytes(const std::string& bytes) {
        fs::create_directories(fileURL().parent_path());
        ASSERT_TRUE(platform::Files::writeAtomically(fileURL(), bytes, 0600).ok());
    }

    // The file's root dictionary as written.
    PropertyValue::Dictionary stored() const {
        auto bytes = platform::Files::read(fileURL());
        if (!bytes) return {};
        auto root = platform::PropertyList::read(std::span<const std::uint8_t>(*bytes));
        if (!root || !root->asDictionary()) return {};
        return *root->asDictionary();
    }
    PropertyValue::Dictionary storedPreferences() const {
        auto root = stored();
        auto found = root.find("preferences");
        if (found == root.end() || !found->second.asDictionary()) return {};
        return *found->second.asDictionary();
    }

    // Counts the mirror's writes from here on.
    int& countWrites() {
        mirror().onTemporaryFileCreated = [this](const fs::path&) { ++writes_; };
        return writes_;
    }

    // The next run of the program in the same home folder.
    template <typename Run>
    void inNextRun(Run run) {
        platform::AppContext next({.deterministic = true});
        run();
    }

private:
    int writes_ = 0;
    mode_t savedUmask_ = ::umask(022);
};

TEST_F(PersistentConfigurationTest, FirstStartWritesTheDomainWithExactlyTheFourKeys) {
    ::umask(0);  // a wide-open umask must not expose the user's settings
    defaults().set("themeMode", "light");
    mirror().activate();

    ASSERT_TRUE(fs::exists(fileURL()));
    EXPECT_EQ(modeOf(fileURL()), 0600u);
    const std::string text = platform::Files::readText(fileURL()).valueOr(std::string());
    EXPECT_TRUE(text.starts_with("<?xml") && text.find("<plist version=\"1.0\">") != std::string::npos)
        << "an XML property list, readable by people and by older tools";
    auto root = stored();
    std::set<std::string> keys;
    for (const auto& [key, value] : root) keys.insert(key);
    EXPECT_EQ(keys, (std::set<std::string>{"schemaVersion", "bundleIdentifier", "updatedAt", "preferences"}));
    EXPECT_EQ(root["schemaVersion"], PropertyValue(1));
    EXPECT_EQ(root["bundleIdentifier"], PropertyValue("com.quenlow.tallowmere"));
    EXPECT_EQ(root["updatedAt"].asDate()->timeIntervalSince1970(),
              clock().now().timeIntervalSince1970());
    EXPECT_EQ(storedPreferences(), (PropertyValue::Dictionary{{"themeMode", "light"}}));
}

TEST_F(PersistentConfigurationTest, TheFileIsNeverMoreOpenThanTheOwnerEvenWhileBeingWritten) {
    ::umask(0);
    std::vector<mode_t> modesAtCreation;
    mirror().onTemporaryFileCreated = [&](const fs::path& temporary) {
        modesAtCreation.push_back(modeOf(temporary));
    };
    mirror().activate();
    defaults().set("calendarEnabled", false);

    ASSERT_EQ(modesAtCreation.size(), 2u);
    for (mode_t mode : modesAtCreation) EXPECT_EQ(mode, 0600u);
    EXPECT_EQ(modeOf(fileURL()), 0600u);
}

TEST_F(PersistentConfigurationTest, StoredSettingsReplaceLiveOnesExceptALiveLongPressChoice) {
    const PropertyValue::Dictionary storedLongPress{
        {"longPressDestination", "quickLaunch"},
        {"quickLaunchLongPressEnabled", true},
        {"selvaneLongPressEnabled", false},
    };
    struct Case {
        const char* name;
        PropertyValue::Dictionary live;
        PropertyValue::Dictionary expected;
    } cases[] = {
        {"nothing live: the file's settings come back",
         {},
         {{"themeMode", "dark"}, {"longPressDestination", "quickLaunch"},
          {"quickLaunchLongPressEnabled", true}, {"selvaneLongPressEnabled", false}}},
        {"a live theme is replaced by the stored one",
         {{"themeMode", "light"}},
         {{"themeMode", "dark"}, {"longPressDestination", "quickLaunch"},
          {"quickLaunchLongPressEnabled", true}, {"selvaneLongPressEnabled", false}}},
        {"one live long-press key keeps all three from the file",
         {{"longPressDestination", "selvane"}},
         {{"themeMode", "dark"}, {"longPressDestination", "selvane"}}},
        {"an older key alone is live too",
         {{"selvaneLongPressEnabled", true}},
         {{"themeMode", "dark"}, {"selvaneLongPressEnabled", true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::AppContext run({.deterministic = true});
        fs::remove(home() / "Library/Preferences/com.quenlow.tallowmere.plist");
        defaults().setPersistentDomain(c.live, "com.quenlow.tallowmere");
        PropertyValue::Dictionary preferences = storedLongPress;
        preferences.emplace("themeMode", "dark");
        storeFile({{"schemaVersion", 1}, {"preferences", preferences}});

        mirror().activate();

        EXPECT_EQ(defaults().persistentDomain("com.quenlow.tallowmere").value_or(PropertyValue::Dictionary{}),
                  c.expected);
        EXPECT_EQ(storedPreferences(), c.expected);
    }
}

TEST_F(PersistentConfigurationTest, QuickLaunchDataComesBackWithoutPreferencesAndIsWrittenOnHandOver) {
    const Data blob{0x5b, 0x7b, 0x7d, 0x5d};
    storeFile({{"quickLaunchData", blob}});
    defaults().set("themeMode", "light");
    int changes = 0;
    context().notificationCenter().addObserver(platform::UserDefaults::didChangeNotification, nullptr,
                                               [&](const platform::Notification&) { ++changes; });

    mirror().activate();

    EXPECT_EQ(mirror().quickLaunchData(), blob);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(stored()["quickLaunchData"], PropertyValue(blob));

    const Data replaced{0x5b, 0x5d};
    mirror().setQuickLaunchData(replaced);
    EXPECT_EQ(stored()["quickLaunchData"], PropertyValue(replaced));
}

TEST_F(PersistentConfigurationTest, WronglyShapedEntriesAreSkipped) {
    storeFile({{"preferences", "not a dictionary"}, {"quickLaunchData", "not bytes"}});
    defaults().set("themeMode", "light");

    mirror().activate();

    EXPECT_EQ(mirror().quickLaunchData(), std::nullopt);
    EXPECT_EQ(storedPreferences(), (PropertyValue::Dictionary{{"themeMode", "light"}}));
    EXPECT_FALSE(stored().contains("quickLaunchData"));
}

TEST_F(PersistentConfigurationTest, AnUnreadableFileIsKeptAsideBeforeAFreshOneIsWritten) {
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"not a property list", "{\"themeMode\": \"dark\"}"},
        {"an array at the root",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><array/></plist>\n"},
        {"cut off", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>pre"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::AppContext run({.deterministic = true});
        fs::remove_all(fileURL().parent_path());
        storeBytes(c.bytes);
        defaults().set("themeMode", "light");

        mirror().activate();

        EXPECT_EQ(defaults().string("themeMode"), "light");
        EXPECT_EQ(storedPreferences(), (PropertyValue::Dictionary{{"themeMode", "light"}}));
        std::vector<std::string> kept;
        for (const auto& entry : fs::directory_iterator(fileURL().parent_path())) {
            if (entry.path().filename().string().starts_with("configuration.plist.unreadable-"))
                kept.push_back(platform::Files::readText(entry.path()).valueOr(std::string()));
        }
        EXPECT_EQ(kept, std::vector<std::string>{c.bytes});
    }
}

TEST_F(PersistentConfigurationTest, EveryChangeOfTheDomainRewritesTheFileAndASecondActivateDoesNothing) {
    mirror().activate();
    int& writes = countWrites();
    const std::size_t observers = context().notificationCenter().observerCount();

    mirror().activate();
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(context().notificationCenter().observerCount(), observers);

    defaults().set("networkTrafficEnabled", true);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(storedPreferences()["networkTrafficEnabled"], PropertyValue(true));
    defaults().removeObject("networkTrafficEnabled");
    EXPECT_EQ(writes, 2);
    EXPECT_FALSE(storedPreferences().contains("networkTrafficEnabled"));
    defaults().removeObject("networkTrafficEnabled");  // no change, no notification
    EXPECT_EQ(writes, 2);
}

TEST_F(PersistentConfigurationTest, ABurstOfChangesIsMirroredOneByOneAndTheDomainWrittenOnce) {
    mirror().activate();
    int domainWrites = 0;
    defaults().onTemporaryFileCreated = [&](const fs::path&) { ++domainWrites; };
    runUntilIdle();
    domainWrites = 0;

    for (int value = 0; value < 1000; ++value) {
        defaults().set("displayAwakeSelectedMinutes", value);
        ASSERT_EQ(storedPreferences()["displayAwakeSelectedMinutes"], PropertyValue(value))
            << "the mirror must hold a change as soon as it is made";
    }
    EXPECT_EQ(domainWrites, 0) << "the domain is written off the changing thread";
    runUntilIdle();
    EXPECT_EQ(domainWrites, 1);

    auto domainFile = platform::PropertyList::read(platform::Files::read(defaults().filePath()).valueOr(Data{}));
    ASSERT_TRUE(domainFile && domainFile->asDictionary());
    EXPECT_EQ(*domainFile->find("displayAwakeSelectedMinutes"), PropertyValue(999));
    EXPECT_EQ(storedPreferences()["displayAwakeSelectedMinutes"], PropertyValue(999));
}

TEST_F(PersistentConfigurationTest, StartClearsWhatCrashedWritesLeftInBothFolders) {
    const std::vector<fs::path> leftovers{
        fileURL().parent_path() / ".configuration.plist.tmp-00112233445566aa",
        defaults().filePath().parent_path() / ".com.quenlow.tallowmere.plist.tmp-00112233445566bb",
    };
    for (const fs::path& leftover : leftovers) {
        fs::create_directories(leftover.parent_path());
        ASSERT_TRUE(platform::Files::writeAtomically(leftover, std::string_view("<?xml half"), 0600));
    }
    inNextRun([&] {
        PersistentConfiguration::shared().activate();
        for (const fs::path& leftover : leftovers) EXPECT_FALSE(fs::exists(leftover)) << leftover;
    });
}

TEST_F(PersistentConfigurationTest, AChangeOnAnotherThreadIsWrittenFromTheMainQueue) {
    mirror().activate();
    int& writes = countWrites();

    std::thread([this] { defaults().set("calendarEnabled", false); }).join();
    EXPECT_EQ(writes, 0);
    runUntilIdle();
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(storedPreferences()["calendarEnabled"], PropertyValue(false));
}

TEST_F(PersistentConfigurationTest, KeepDisplayAwakeSurvivesTheStopSequenceAndComesBackNextRun) {
    mirror().activate();
    const PropertyValue until = clock().now().addingTimeInterval(3600);
    defaults().set("displayAwakeUntil", until);
    defaults().set("displayAwakeSelectedMinutes", 60);
    defaults().set("scheduledShutdownDate", clock().now().addingTimeInterval(600));

    // The stop sequence: the final write, then keep-display-awake and the
    // scheduled shutdown clear their keys from the live domain.
    mirror().finalize();
    int& writes = countWrites();
    defaults().removeObject("displayAwakeUntil");
    defaults().removeObject("displayAwakeSelectedMinutes");
    defaults().removeObject("scheduledShutdownDate");
    mirror().persistNow();
    mirror().setQuickLaunchData({0x01});
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(mirror().state(), PersistentConfiguration::State::finished);

    inNextRun([&] {
        PersistentConfiguration::shared().activate();
        EXPECT_EQ(platform::UserDefaults::standard().object("displayAwakeUntil"), until);
        EXPECT_EQ(platform::UserDefaults::standard().integer("displayAwakeSelectedMinutes"), 60);
    });
}

TEST_F(PersistentConfigurationTest, FinalizeBeforeActivateLeavesTheStoredFileAlone) {
    storeFile({{"preferences", PropertyValue::Dictionary{{"themeMode", "dark"}}}});
    mirror().finalize();
    mirror().activate();

    EXPECT_EQ(storedPreferences(), (PropertyValue::Dictionary{{"themeMode", "dark"}}));
    EXPECT_EQ(defaults().string("themeMode"), std::nullopt);
}

TEST_F(PersistentConfigurationTest, AFailedWriteIsLoggedOnceAndTriedAgainWithTheNextChange) {
    mirror().activate();
    // Something has taken the file's name: the atomic rename cannot replace it.
    fs::remove(fileURL());
    fs::create_directories(fileURL() / "in-the-way");

    defaults().set("themeMode", "dark");

    auto lines = platform::SystemLog::shared().lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("Unable to persist configuration: ")) << lines[0];
    EXPECT_GT(lines[0].size(), std::string("Unable to persist configuration: ").size());

    fs::remove_all(fileURL());
    defaults().set("themeMode", "light");
    EXPECT_EQ(storedPreferences()["themeMode"], PropertyValue("light"));
    EXPECT_EQ(platform::SystemLog::shared().lines().size(), 1u);
}

}  // namespace
}  // namespace tallowmere
