#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/app_error.h"
#include "platform/base/text.h"
#include "quicklaunch/quick_launch_store_fixture.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using platform::Uuid;
using Names = std::vector<std::string>;

std::string repeated(const std::string& character, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += character;
    return text;
}

class QuickLaunchStoreEditsTest : public testing::QuickLaunchStoreTest {
protected:
    // A refused edit answers with the error's sentence and leaves the list,
    // the file and the mirror as they were.
    template <typename Edit>
    void expectRefused(AppError error, Edit edit) {
        const auto entries = store().entries();
        const auto file = fileText();
        const auto mirror = mirrorText();
        platform::Result<void> result = edit();
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().message, errorDescription(error));
        EXPECT_EQ(store().entries(), entries);
        EXPECT_EQ(fileText(), file);
        EXPECT_EQ(mirrorText(), mirror);
    }

    const QuickLaunchEntry& last() { return store().entries().back(); }
    Uuid idOf(const std::string& name) {
        for (const auto& entry : store().entries()) {
            if (entry.name == name) return entry.id;
        }
        ADD_FAILURE() << "no entry named " << name;
        return {};
    }
    // The list as the next start of the program reads it back.
    Names storedNames() {
        auto decoded = QuickLaunchEntryCoding::decode(fileText().value_or(""));
        Names result;
        if (decoded) {
            for (const auto& entry : *decoded) result.push_back(entry.name);
        }
        return result;
    }
};

TEST_F(QuickLaunchStoreEditsTest, WebsiteAddressesNeedHttpOrHttpsAndAHostAndAreStoredAsTyped) {
    struct Case {
        const char* typed;
        bool accepted;
        const char* target;
        const char* name;  // the default name: the host
    } cases[] = {
        {"example.com", true, "https://example.com", "example.com"},
        {"  HTTP://A.B  ", true, "HTTP://A.B", "A.B"},
        {"https://例子.中国/路径", true, "https://例子.中国/路径", "例子.中国"},
        {"http://localhost:8080/a?b=c", true, "http://localhost:8080/a?b=c", "localhost"},
        {"ftp://x", false, "", ""},
        {"https://", false, "", ""},
        {"", false, "", ""},
        {"exa mple.com", false, "", ""},
        {"https://a.com/b c", false, "", ""},
        {"https://a.com/\u3000b", false, "", ""},
        {"javascript:alert(1)", false, "", ""},
        {"file:///etc/hosts", false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        if (!c.accepted) {
            expectRefused(AppError::invalidWebsite,
                          [&] { return store().addWebsite(c.typed, "", WebsiteIconStyle::globe, std::nullopt); });
            continue;
        }
        ASSERT_TRUE(store().addWebsite(c.typed, "", WebsiteIconStyle::chrome, std::nullopt).ok());
        EXPECT_EQ(last().kind, QuickLaunchKind::website);
        EXPECT_EQ(last().target, c.target);
        EXPECT_EQ(last().name, c.name);
        EXPECT_EQ(last().websiteIconStyle, "chrome");
        EXPECT_EQ(storedNames().back(), c.name);
    }
}

TEST_F(QuickLaunchStoreEditsTest, InformationIsTrimmedAndAtMostOneHundredCharactersAsPeopleCountThem) {
    struct Case {
        const char* what;
        std::string text;
        bool accepted;
    } cases[] = {
        {"100 characters", repeated("字", 100), true},
        {"101 characters", repeated("字", 101), false},
        {"100 emoji of two scalars each", repeated("👍🏽", 100), true},
        {"100 after trimming", "  \n" + repeated("a", 100) + " \t", true},
        {"spaces only", "   \n ", false},
        {"empty", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.accepted) {
            expectRefused(AppError::invalidQuickInformation,
                          [&] { return store().addInformation(c.text, "", std::nullopt); });
            continue;
        }
        ASSERT_TRUE(store().addInformation(c.text, "  ", std::nullopt).ok());
        EXPECT_EQ(last().target, platform::Text::trimmingWhitespaceAndNewlines(c.text));
        EXPECT_EQ(last().name, "信息");
    }
}

TEST_F(QuickLaunchStoreEditsTest, EmojiKeepsOnlyTheFirstCharacterOfTheTrimmedText) {
    struct Case {
        std::optional<std::string_view> typed;
        std::optional<std::string> stored;
    } cases[] = {
        {"  👍🏽a", "👍🏽"},
        {"🇨🇳🇯🇵", "🇨🇳"},
        {"   ", std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed.value_or("(none)")));
        ASSERT_TRUE(store().addInformation("text", "n", c.typed).ok());
        EXPECT_EQ(last().websiteEmoji, c.stored);
        ASSERT_TRUE(store().addWebsite("a.b", "n", WebsiteIconStyle::globe, c.typed).ok());
        EXPECT_EQ(last().websiteEmoji, c.stored);
    }
}

TEST_F(QuickLaunchStoreEditsTest, UpdatesRewriteOnlyTheirOwnKindAndKeepTheIdentity) {
    ASSERT_TRUE(store().addWebsite("a.example", "Site", WebsiteIconStyle::edge, "🙂").ok());
    const QuickLaunchEntry site = last();
    ASSERT_TRUE(store().addInformation("note", "Note", std::nullopt).ok());
    const QuickLaunchEntry note = last();

    expectRefused(AppError::invalidWebsite,
                  [&] { return store().updateWebsite(note.id, "b.example", "", WebsiteIconStyle::globe, {}); });
    expectRefused(AppError::invalidWebsite,
                  [&] { return store().updateWebsite(Uuid::random(), "b.example", "", WebsiteIconStyle::globe, {}); });
    expectRefused(AppError::invalidWebsite,
                  [&] { return store().updateWebsite(site.id, "ftp://b", "", WebsiteIconStyle::globe, {}); });
    expectRefused(AppError::invalidQuickInformation,
                  [&] { return store().updateInformation(site.id, "text", "", {}); });
    expectRefused(AppError::invalidQuickInformation,
                  [&] { return store().updateInformation(note.id, " ", "", {}); });

    ASSERT_TRUE(store().updateWebsite(site.id, "b.example/x", "", WebsiteIconStyle::firefox, std::nullopt).ok());
    const QuickLaunchEntry& updated = store().entries().at(3);
    EXPECT_EQ(updated.id, site.id);
    EXPECT_EQ(updated.kind, QuickLaunchKind::website);
    EXPECT_EQ(updated.target, "https://b.example/x");
    EXPECT_EQ(updated.name, "b.example");
    EXPECT_EQ(updated.websiteIconStyle, "firefox");
    EXPECT_EQ(updated.websiteEmoji, std::nullopt);

    ASSERT_TRUE(store().updateInformation(note.id, " new text ", " Renamed ", "✅x").ok());
    EXPECT_EQ(last().id, note.id);
    EXPECT_EQ(last().target, "new text");
    EXPECT_EQ(last().name, "Renamed");
    EXPECT_EQ(last().websiteEmoji, "✅");
    EXPECT_EQ(storedNames(), (Names{"Chrome", "Google", "我是塔洛梅", "b.example", "Renamed"}));
}

TEST_F(QuickLaunchStoreEditsTest, FilesAreExistingItemsNamedByAbsolutePaths) {
    std::ofstream(home() / "notes.txt") << "x";
    fs::create_directories(home() / "Projects");
    struct Case {
        std::string typed;
        bool accepted;
        std::string target;
        std::string name;
    } cases[] = {
        {"  ~/notes.txt ", true, (home() / "notes.txt").string(), "notes.txt"},
        {(home() / "Projects/").string(), true, (home() / "Projects/").string(), "Projects"},
        {"~", true, home().string(), home().filename().string()},
        {"notes.txt", false, "", ""},
        {".", false, "", ""},  // exists, but relative to whatever folder is current
        {"~/missing.txt", false, "", ""},
        {"   ", false, "", ""},
        {(home() / "notes.txt").string() + std::string("\0.png", 5), false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        if (!c.accepted) {
            expectRefused(AppError::invalidQuickFilePath, [&] { return store().addFile(c.typed, ""); });
            continue;
        }
        ASSERT_TRUE(store().addFile(c.typed, "").ok());
        EXPECT_EQ(last().kind, QuickLaunchKind::file);
        EXPECT_EQ(last().target, c.target);
        EXPECT_EQ(last().name, c.name);
    }
    ASSERT_TRUE(store().addFile("~/notes.txt", " My notes ").ok());
    EXPECT_EQ(last().name, "My notes");
}

TEST_F(QuickLaunchStoreEditsTest, ApplicationsAreAppBundlesWithTheirIdentifierWhenTheyHaveOne) {
    const fs::path bundle = home() / "Applications/Editor.app";
    fs::create_directories(bundle / "Contents");
    std::ofstream(bundle / "Contents/Info.plist") << R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>CFBundleIdentifier</key><string>com.example.editor</string>
<key>CFBundleName</key><string>Editor Pro</string></dict></plist>)";

    ASSERT_TRUE(store().addApplication(bundle.string() + "/", "").ok());
    EXPECT_EQ(last().kind, QuickLaunchKind::application);
    EXPECT_EQ(last().target, bundle.string());
    EXPECT_EQ(last().name, "Editor Pro");
    EXPECT_EQ(last().bundleIdentifier, "com.example.editor");

    ASSERT_TRUE(store().addApplication("/Applications/Gone.APP", " Mine ").ok());
    EXPECT_EQ(last().name, "Mine");
    EXPECT_EQ(last().bundleIdentifier, std::nullopt);

    for (const char* path : {"/Applications/Notes.txt", "/Applications/app", "Relative.app"}) {
        SCOPED_TRACE(path);
        expectRefused(AppError::invalidApplication, [&] { return store().addApplication(path, ""); });
    }
}

TEST_F(QuickLaunchStoreEditsTest, MoveClampsTheDestinationIntoTheListWithoutTheEntry) {
    struct Case {
        int destination;
        Names expected;
    } cases[] = {
        {3, {"B", "C", "D", "A"}},
        {1, {"B", "A", "C", "D"}},
        {0, {"A", "B", "C", "D"}},
        {-5, {"A", "B", "C", "D"}},
        {99, {"B", "C", "D", "A"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.destination);
        for (const auto& entry : std::vector(store().entries())) ASSERT_TRUE(store().deleteEntry(entry.id).ok());
        for (const char* name : {"A", "B", "C", "D"}) ASSERT_TRUE(store().addInformation(name, name, {}).ok());
        ASSERT_TRUE(store().move(idOf("A"), c.destination).ok());
        EXPECT_EQ(names(), c.expected);
        EXPECT_EQ(storedNames(), c.expected);
    }
    const auto file = fileText();
    ASSERT_TRUE(store().move(Uuid::random(), 0).ok());
    EXPECT_EQ(fileText(), file);
}

TEST_F(QuickLaunchStoreEditsTest, RenameIgnoresBlankNamesAndUnknownIdsWithoutWriting) {
    const Uuid chrome = store().entries().at(0).id;
    fs::remove(file());
    for (auto [id, name] : {std::pair{chrome, "  \n"}, std::pair{Uuid::random(), "Name"}}) {
        EXPECT_TRUE(store().rename(id, name).ok());
        EXPECT_EQ(names(), (Names{"Chrome", "Google", "我是塔洛梅"}));
        EXPECT_FALSE(fs::exists(file())) << "nothing was written";
    }
    ASSERT_TRUE(store().rename(chrome, " Browser ").ok());
    EXPECT_EQ(storedNames(), (Names{"Browser", "Google", "我是塔洛梅"}));
}

TEST_F(QuickLaunchStoreEditsTest, DeleteRemovesEveryEntryWithTheIdAndWritesEvenWhenNoneMatched) {
    storeMirror(R"([
      {"id":"0A9F1C52-6E3B-4C1D-9A77-2B8E5F4D3C21","kind":"newFile","name":"twin 1","target":""},
      {"id":"0a9f1c52-6e3b-4c1d-9a77-2b8e5f4d3c21","kind":"newFile","name":"twin 2","target":""},
      {"id":"1B2C3D4E-5F60-4718-8293-A4B5C6D7E8F9","kind":"newFile","name":"other","target":""}])");
    ASSERT_EQ(names().size(), 3u);
    fs::remove(file());
    ASSERT_TRUE(store().deleteEntry(Uuid::random()).ok());
    EXPECT_EQ(storedNames(), (Names{"twin 1", "twin 2", "other"})) << "the file is written again";

    ASSERT_TRUE(store().deleteEntry(*Uuid::fromString("0A9F1C52-6E3B-4C1D-9A77-2B8E5F4D3C21")).ok());
    EXPECT_EQ(storedNames(), (Names{"other"}));
    EXPECT_EQ(mirrorText(), fileText());
}

}  // namespace
}  // namespace tallowmere
