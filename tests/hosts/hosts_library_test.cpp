#include "hosts/hosts_library.h"

#include <gtest/gtest.h>

#include <fstream>

#include "hosts_fixture.h"
#include "platform/base/iso8601.h"

namespace tallowmere::testing {
namespace {

namespace fs = std::filesystem;
using platform::Uuid;

constexpr const char* categoryID = "8E2A1C3B-0D4F-4A5B-9C6D-7E8F90A1B2C3";
constexpr const char* profileID = "1F2E3D4C-5B6A-4978-8695-A4B3C2D1E0F9";

std::string libraryJSON(const std::string& updatedAt, const std::string& activeLine = "") {
    return "{" + activeLine + R"("categories": [{"id": ")" + std::string(categoryID) +
           R"(", "name": "工作", "extra": 1, "profiles": [{"id": ")" + std::string(profileID) +
           R"(", "name": "测试", "content": "127.0.0.1 a\n")" + (updatedAt.empty() ? "" : ", \"updatedAt\": \"" + updatedAt + "\"") +
           "}]}]}";
}

class HostsLibraryTest : public HostsTest {
protected:
    std::vector<std::string> asideFiles() const {
        std::vector<std::string> aside;
        for (const auto& name : namesIn(supportFolder())) {
            if (name.starts_with("hosts-library.json.unreadable-")) aside.push_back(name);
        }
        return aside;
    }
};

TEST_F(HostsLibraryTest, LoadMatrix) {
    struct Case {
        const char* name;
        std::optional<std::string> stored;  // nothing: no file
        bool loads;                         // the stored library, not the default one
        bool keptAside;
    } cases[] = {
        {"no file", std::nullopt, false, false},
        {"whole seconds, no active profile", libraryJSON("2026-03-01T10:00:00Z"), true, false},
        {"lower-case ids and an offset", [] {
             std::string json = libraryJSON("2026-03-01T18:00:00+08:00");
             for (std::string_view id : {categoryID, profileID}) {
                 std::string lower(id);
                 for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                 json.replace(json.find(id), id.size(), lower);
             }
             return json;
         }(), true, false},
        {"fractional seconds", libraryJSON("2026-03-01T10:00:00.5Z"), false, true},
        {"missing updatedAt", libraryJSON(""), false, true},
        {"date past year 9999 in UTC", libraryJSON("9999-12-31T23:59:59-01:00"), false, true},
        {"active id that is no UUID", libraryJSON("2026-03-01T10:00:00Z", R"("activeProfileID": "x", )"), false, true},
        {"categories not a list", R"({"categories": {}})", false, true},
        {"not JSON", "{\"categories\": [", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(supportFolder());
        if (c.stored) write(libraryFile(), *c.stored);
        // A fresh process's editor.
        context().setShared(std::make_shared<HostsEditorController>());
        auto& editor = controller();
        editor.loadLibraryIfNeeded();

        if (c.loads) {
            EXPECT_TRUE(HostsLibrary::decode(*c.stored).ok()) << HostsLibrary::decode(*c.stored).error().message;
            ASSERT_EQ(editor.library.categories.size(), 1u);
            const auto& profile = editor.library.categories[0].profiles.at(0);
            EXPECT_EQ(profile.id, Uuid::fromString(profileID));
            EXPECT_EQ(profile.updatedAt, platform::Iso8601::parse("2026-03-01T10:00:00Z").value());
            EXPECT_FALSE(editor.library.activeProfileID);
            EXPECT_EQ(read(libraryFile()), *c.stored) << "a good library is not rewritten on load";
        } else {
            ASSERT_EQ(editor.library.categories.size(), 1u);
            EXPECT_EQ(editor.library.categories[0].name, "我的 Hosts");
            EXPECT_TRUE(editor.library.categories[0].profiles.empty());
            runUntilIdle();
            EXPECT_EQ(HostsLibrary::decode(read(libraryFile())).value(), editor.library) << "the default is written";
        }
        const auto aside = asideFiles();
        ASSERT_EQ(aside.size(), c.keptAside ? 1u : 0u);
        if (c.keptAside) {
            EXPECT_EQ(read(supportFolder() / aside[0]), *c.stored) << "the unreadable library is kept whole";
            EXPECT_NE(editor.statusLabel->stringValue().find(aside[0]), std::string::npos)
                << "the status line names where it went: " << editor.statusLabel->stringValue();
        }
        // Later reads use memory only.
        fs::remove(libraryFile());
        editor.loadLibraryIfNeeded();
        EXPECT_FALSE(fs::exists(libraryFile()));
    }
}

TEST_F(HostsLibraryTest, WritesSortedKeysUpperCaseIdsWholeSecondsAndActiveOnlyWhenSet) {
    write(libraryFile(), libraryJSON("2026-03-01T10:00:00Z"));
    auto& editor = controller();
    editor.loadLibraryIfNeeded();
    editor.library.categories[0].profiles[0].updatedAt =
        platform::Date::fromTimeIntervalSince1970(platform::Iso8601::parse("2026-03-01T10:00:00Z")->timeIntervalSince1970() + 0.75);
    ASSERT_TRUE(editor.persistLibrary().ok());
    const std::string withoutActive =
        "{\n"
        "  \"categories\" : [\n"
        "    {\n"
        "      \"id\" : \"8E2A1C3B-0D4F-4A5B-9C6D-7E8F90A1B2C3\",\n"
        "      \"name\" : \"工作\",\n"
        "      \"profiles\" : [\n"
        "        {\n"
        "          \"content\" : \"127.0.0.1 a\\n\",\n"
        "          \"id\" : \"1F2E3D4C-5B6A-4978-8695-A4B3C2D1E0F9\",\n"
        "          \"name\" : \"测试\",\n"
        "          \"updatedAt\" : \"2026-03-01T10:00:00Z\"\n"
        "        }\n"
        "      ]\n"
        "    }\n"
        "  ]\n"
        "}";
    EXPECT_EQ(read(libraryFile()), withoutActive);

    editor.library.activeProfileID = Uuid::fromString(profileID);
    ASSERT_TRUE(editor.persistLibrary().ok());
    EXPECT_TRUE(read(libraryFile()).starts_with(
        "{\n  \"activeProfileID\" : \"1F2E3D4C-5B6A-4978-8695-A4B3C2D1E0F9\",\n  \"categories\" : ["))
        << read(libraryFile());
}

TEST_F(HostsLibraryTest, UpdateProfileChangesTheFirstMatchAndReportsAFailedWrite) {
    const auto ids = loadProfiles({{"a", "1 a\n"}, {"b", "2 b\n"}});
    auto& editor = controller();
    auto& category = editor.library.categories[0];
    category.profiles[1].id = ids[0];  // two profiles with one id
    ASSERT_TRUE(editor.persistLibrary().ok());
    const std::string stored = read(libraryFile());

    EXPECT_TRUE(editor.updateProfile(category.id, Uuid::random(), "x y\n")) << "nothing to write";
    EXPECT_TRUE(editor.updateProfile(Uuid::random(), ids[0], "x y\n"));
    EXPECT_EQ(read(libraryFile()), stored) << "an unknown id writes nothing";

    advance(5);
    EXPECT_TRUE(editor.updateProfile(category.id, ids[0], "3 c\n"));
    EXPECT_EQ(category.profiles[0].content, "3 c\n");
    EXPECT_EQ(category.profiles[0].updatedAt, context().clock().now());
    EXPECT_EQ(category.profiles[1].content, "2 b\n") << "only the first profile with the id";
    EXPECT_EQ(HostsLibrary::decode(read(libraryFile())).value().categories[0].profiles[0].content, "3 c\n");

    // A folder where the file goes: the write fails, memory keeps the edit.
    fs::remove(libraryFile());
    fs::create_directories(libraryFile() / "blocker");
    EXPECT_FALSE(editor.updateProfile(category.id, ids[0], "4 d\n"));
    EXPECT_EQ(category.profiles[0].content, "4 d\n");
}

TEST_F(HostsLibraryTest, AnUnreadableLibraryThatCannotBeKeptAsideIsNeverOverwritten) {
    const std::string damaged = "{\"categories\": 7}";
    write(libraryFile(), damaged);
    // Every name keepAside could choose is taken.
    const std::string base = "hosts-library.json.unreadable-20261210T083000Z";
    for (int attempt = 1; attempt < 1000; ++attempt) {
        std::ofstream(supportFolder() / (attempt == 1 ? base : base + "-" + std::to_string(attempt)));
    }
    auto& editor = controller();
    editor.loadLibraryIfNeeded();

    EXPECT_EQ(editor.library.categories.at(0).name, "我的 Hosts");
    EXPECT_FALSE(editor.persistLibrary().ok());
    EXPECT_EQ(read(libraryFile()), damaged);
    EXPECT_EQ(statusColor(), platform::SystemColor::red);
}

}  // namespace
}  // namespace tallowmere::testing
