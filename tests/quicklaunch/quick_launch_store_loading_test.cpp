#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/system/files.h"
#include "support/command_run.h"
#include "quicklaunch/quick_launch_store_fixture.h"
#include "support/desktop/desktop_driver.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const Names defaultNames = {"Chrome", "Google", "我是塔洛梅"};

const std::string listA = R"([{"id":"0A9F1C52-6E3B-4C1D-9A77-2B8E5F4D3C21","kind":"website","name":"A","target":"https:\/\/a.example\/"}])";
const std::string listB = R"([
  {"id":"1B2C3D4E-5F60-4718-8293-A4B5C6D7E8F9","kind":"information","name":"B1","target":"text","future":1},
  {"id":"9f8e7d6c-5b4a-4392-8170-6f5e4d3c2b1a","kind":"newFile","name":"B2","target":"","websiteEmoji":null}
])";
const std::string unknownKind = R"([{"id":"0A9F1C52-6E3B-4C1D-9A77-2B8E5F4D3C21","kind":"folder","name":"X","target":"\/x"}])";
const std::string missingTarget = R"([{"id":"0A9F1C52-6E3B-4C1D-9A77-2B8E5F4D3C21","kind":"file","name":"X"}])";
const std::string malformed = R"([{"id":)";

class QuickLaunchStoreLoadingTest : public testing::QuickLaunchStoreTest {};

TEST_F(QuickLaunchStoreLoadingTest, TakesTheMirrorThenTheFileElseKeepsBadBytesAsideAndWritesDefaults) {
    struct Case {
        const char* what;
        std::optional<std::string> mirror;
        std::optional<std::string> file;
        Names expected;
        std::vector<std::string> keptAside;
        std::optional<std::string> fileAfter;  // the file's bytes, when not the defaults'
        bool mirrorKeepsItsOwn = false;        // else it holds the file's bytes
    } cases[] = {
        {"fresh user", std::nullopt, std::nullopt, defaultNames, {}, std::nullopt},
        {"list only in the file", std::nullopt, listB, {"B1", "B2"}, {}, listB},
        {"mirror wins over the file", listA, listB, {"A"}, {}, listB, true},
        {"malformed mirror, good file", malformed, listB, {"B1", "B2"}, {}, listB},
        {"unknown kind in the file", std::nullopt, unknownKind, defaultNames, {unknownKind}, std::nullopt},
        {"missing key in the file", std::nullopt, missingTarget, defaultNames, {missingTarget}, std::nullopt},
        {"unknown kind in the mirror, no file", unknownKind, std::nullopt, defaultNames, {unknownKind}, std::nullopt},
        {"both undecodable: the file is kept", malformed, missingTarget, defaultNames, {missingTarget}, std::nullopt},
        {"an empty file", std::nullopt, "", defaultNames, {""}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(home() / "Library");
        platform::AppContext run({.deterministic = true});  // the next start of the program
        PersistentConfiguration::shared().activate();
        if (c.mirror) storeMirror(*c.mirror);
        if (c.file) storeFile(*c.file);

        QuickLaunchStore store;
        run.mainQueue().runUntilIdle();
        Names loaded;
        for (const auto& entry : store.entries()) loaded.push_back(entry.name);
        EXPECT_EQ(loaded, c.expected);
        EXPECT_EQ(keptAside(), c.keptAside);
        ASSERT_TRUE(fileText().has_value());
        if (c.fileAfter) {
            EXPECT_EQ(*fileText(), *c.fileAfter);
        }
        EXPECT_EQ(mirrorText(), c.mirrorKeepsItsOwn ? c.mirror : fileText());
    }
}

TEST_F(QuickLaunchStoreLoadingTest, TheMirrorsOwnListIsNotWrittenBackAtEveryStart) {
    storeMirror(listA);
    int mirrorWrites = 0;
    PersistentConfiguration::shared().onTemporaryFileCreated = [&](const fs::path&) { ++mirrorWrites; };
    EXPECT_EQ(names(), Names{"A"});
    EXPECT_EQ(mirrorWrites, 0) << "a flushed write of unchanged bytes slows every start";
}

TEST_F(QuickLaunchStoreLoadingTest, DefaultsPointAtTheInstalledChromeOrItsUsualPlace) {
    EXPECT_EQ(store().entries().at(0).target, "/Applications/Google Chrome.app");

    fs::remove_all(home() / "Library");
    platform::AppContext run({.deterministic = true});
    PersistentConfiguration::shared().activate();
    testing::DesktopDriver(platform::Desktop::shared())
        .addApplication({.bundleIdentifier = "com.google.Chrome", .name = "Chrome Beta",
                         .bundlePath = "/Applications/Chrome Beta.app", .running = false});
    QuickLaunchStore store;
    const auto& entries = store.entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].kind, QuickLaunchKind::application);
    EXPECT_EQ(entries[0].target, "/Applications/Chrome Beta.app");
    EXPECT_EQ(entries[0].bundleIdentifier, "com.google.Chrome");
    EXPECT_EQ(entries[1].kind, QuickLaunchKind::website);
    EXPECT_EQ(entries[1].target, "https://www.google.com/");
    EXPECT_EQ(entries[1].websiteIconStyle, "globe");
    EXPECT_EQ(entries[2].kind, QuickLaunchKind::information);
    EXPECT_EQ(entries[2].target, "我是塔洛梅");
    EXPECT_NE(entries[0].id, entries[1].id);
}

// The stored form as other readers see it: python3's json for the file and
// plistlib for the configuration mirror.
TEST_F(QuickLaunchStoreLoadingTest, WrittenListReadsBackWithExactKeysEscapedSlashesAndTheSameBytesInTheMirror) {
    ASSERT_TRUE(store().addWebsite("https://a.example/x", "", WebsiteIconStyle::edge, "  😀").ok());
    const auto run = testing::runPython(R"(
import json, plistlib, re, sys
raw = open(sys.argv[1], "rb").read()
text = raw.decode("utf-8")
entries = json.loads(text)
assert [sorted(e) for e in entries] == [
    ["bundleIdentifier", "id", "kind", "name", "target"],
    ["id", "kind", "name", "target", "websiteIconStyle"],
    ["id", "kind", "name", "target"],
    ["id", "kind", "name", "target", "websiteEmoji", "websiteIconStyle"]], entries
for e in entries:
    assert re.fullmatch(r"[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}", e["id"]), e
assert entries[3] == {"id": entries[3]["id"], "kind": "website", "name": "a.example",
                      "target": "https://a.example/x", "websiteIconStyle": "edge", "websiteEmoji": "😀"}
assert '"target" : "https:\\/\\/a.example\\/x"' in text, text
assert "/" not in text.replace("\\/", ""), "every slash is escaped"
assert text.startswith("[\n  {\n    \"bundleIdentifier\" : "), text[:40]
mirror = plistlib.load(open(sys.argv[2], "rb"))["quickLaunchData"]
assert mirror == raw, "the mirror holds the same bytes"
print("ok")
)", "'" + file().string() + "' '" +
        (home() / "Library/Application Support/com.quenlow.tallowmere/configuration.plist").string() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "ok\n");
}

TEST_F(QuickLaunchStoreLoadingTest, AFreshUsersDefaultsAreWrittenRightAfterTheStartNotDuringIt) {
    int mirrorWrites = 0;
    PersistentConfiguration::shared().onTemporaryFileCreated = [&](const fs::path&) { ++mirrorWrites; };
    EXPECT_EQ(names(), defaultNames);
    EXPECT_EQ(mirrorWrites, 0) << "the start waited for the defaults' flushed writes";
    EXPECT_FALSE(fileText().has_value());
    runUntilIdle();
    EXPECT_EQ(mirrorWrites, 1);
    ASSERT_TRUE(fileText().has_value());
    EXPECT_EQ(mirrorText(), fileText());

    // An edit before that turn writes the list itself; the defaults' write is dropped.
    fs::remove_all(home() / "Library");
    platform::AppContext next({.deterministic = true});
    PersistentConfiguration::shared().activate();
    QuickLaunchStore fresh;
    ASSERT_TRUE(fresh.addInformation("note", "", std::nullopt).ok());
    const auto written = fileText();
    fs::remove(file());
    next.mainQueue().runUntilIdle();
    EXPECT_FALSE(fileText().has_value()) << "the defaults were written again after the edit";
    ASSERT_TRUE(written.has_value());
    EXPECT_NE(written->find("note"), std::string::npos);
}

TEST_F(QuickLaunchStoreLoadingTest, AFailedWriteKeepsTheEditInMemoryAndTheMirrorAsItWas) {
    store();
    runUntilIdle();
    const auto before = mirrorText();
    ASSERT_TRUE(before.has_value());
    fs::remove(file());
    fs::create_directory(file());  // nothing can be written in its place now

    auto added = store().addInformation("kept", "", std::nullopt);
    ASSERT_FALSE(added.ok()) << "the caller must learn that the list was not saved";
    EXPECT_EQ(names().back(), "信息");
    EXPECT_EQ(mirrorText(), before);
}

TEST_F(QuickLaunchStoreLoadingTest, AnUnreadableListThatCannotBeKeptAsideIsNeverWrittenOver) {
    // Every name a kept copy could take is taken already.
    storeFile("taken");
    auto kept = platform::Files::keepAside(file(), clock().now());
    ASSERT_TRUE(kept.ok());
    for (int attempt = 2; attempt < 1000; ++attempt) {
        std::ofstream(kept->string() + "-" + std::to_string(attempt)) << "taken";
    }
    storeFile(unknownKind);

    EXPECT_EQ(names(), defaultNames) << "the store still works for this run";
    EXPECT_EQ(fileText(), unknownKind);
    EXPECT_EQ(mirrorText(), std::nullopt);
    auto added = store().addInformation("note", "", std::nullopt);
    EXPECT_FALSE(added.ok()) << "the user learns that edits are not saved";
    EXPECT_EQ(names().size(), 4u);
    EXPECT_EQ(fileText(), unknownKind);
    EXPECT_EQ(mirrorText(), std::nullopt);
}

}  // namespace
}  // namespace tallowmere
