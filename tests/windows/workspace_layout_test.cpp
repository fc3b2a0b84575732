#include "windows/workspace_layout.h"

#include <gtest/gtest.h>

#include "platform/base/iso8601.h"

namespace tallowmere {
namespace {

// One layout as another program might have written it; `window` is the
// members of its one window record.
std::string layoutFile(const std::string& window, const std::string& createdAt = "2026-01-31T08:15:00Z") {
    return R"([{"createdAt":")" + createdAt + R"(","id":"6f1c3a8e-2b4d-4e5f-9a0b-1c2d3e4f5a6b","name":"Desk",)" +
           R"("windows":[{)" + window + "}]}]";
}

const std::string requiredMembers =
    R"("appName":"Editor","bundleIdentifier":"com.example.editor","title":"Notes","windowIndex":2,)"
    R"("frame":{"x":10,"y":34.5,"width":800,"height":600},"minimized":false)";

TEST(WorkspaceLayoutCodingTest, ReadsEveryMemberAndLeavesAbsentOptionalsOutOnWriting) {
    auto decoded = WorkspaceLayoutCoding::decode(layoutFile(
        requiredMembers + R"(,"zIndex":null,"somethingNew":[1,2],"screenFrame":{"x":0,"y":24,"width":1440,"height":876})"));
    ASSERT_TRUE(decoded.ok()) << decoded.error().message;
    ASSERT_EQ(decoded->size(), 1u);
    const WorkspaceLayout& layout = decoded->front();
    EXPECT_EQ(layout.id.uuidString(), "6F1C3A8E-2B4D-4E5F-9A0B-1C2D3E4F5A6B");
    EXPECT_EQ(platform::Iso8601::format(layout.createdAt), "2026-01-31T08:15:00Z");
    ASSERT_EQ(layout.windows.size(), 1u);
    const WindowSnapshot& window = layout.windows.front();
    EXPECT_EQ(window.windowIndex, 2);
    EXPECT_EQ(window.frame, (StoredRect{10, 34.5, 800, 600}));
    EXPECT_FALSE(window.documentURL);
    EXPECT_FALSE(window.zIndex) << "null reads as absent";
    EXPECT_FALSE(window.screenIdentifier);
    EXPECT_EQ(window.screenFrame, (StoredRect{0, 24, 1440, 876}));

    auto written = WorkspaceLayoutCoding::encode(*decoded);
    ASSERT_TRUE(written.ok());
    for (const char* gone : {"zIndex", "documentURL", "screenIdentifier", "somethingNew", "null"}) {
        EXPECT_EQ(written->find(gone), std::string::npos) << gone << " in\n" << *written;
    }
    auto again = WorkspaceLayoutCoding::decode(*written);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(*again, *decoded);
}

TEST(WorkspaceLayoutCodingTest, AnyBadMemberMakesTheWholeFileUnreadable) {
    struct Case {
        const char* what;
        std::string file;
        bool readable;
    } cases[] = {
        {"whole-second date", layoutFile(requiredMembers), true},
        {"offset date", layoutFile(requiredMembers, "2026-01-31T16:15:00+08:00"), true},
        {"negative window index is kept", layoutFile(R"("appName":"E","bundleIdentifier":"e","title":"",)"
                                                     R"("windowIndex":-3,"frame":{"x":0,"y":0,"width":1,"height":1},)"
                                                     R"("minimized":true)"),
         true},
        {"fractional second", layoutFile(requiredMembers, "2026-01-31T08:15:00.5Z"), false},
        {"date without zone", layoutFile(requiredMembers, "2026-01-31T08:15:00"), false},
        {"missing title", layoutFile(R"("appName":"E","bundleIdentifier":"e","windowIndex":0,)"
                                     R"("frame":{"x":0,"y":0,"width":1,"height":1},"minimized":false)"),
         false},
        {"frame without height", layoutFile(R"("appName":"E","bundleIdentifier":"e","title":"","windowIndex":0,)"
                                            R"("frame":{"x":0,"y":0,"width":1},"minimized":false)"),
         false},
        {"minimised as a number", layoutFile(R"("appName":"E","bundleIdentifier":"e","title":"","windowIndex":0,)"
                                             R"("frame":{"x":0,"y":0,"width":1,"height":1},"minimized":0)"),
         false},
        {"fractional window index", layoutFile(R"("appName":"E","bundleIdentifier":"e","title":"",)"
                                               R"("windowIndex":1.5,"frame":{"x":0,"y":0,"width":1,"height":1},)"
                                               R"("minimized":false)"),
         false},
        {"screen number beyond 32 bits", layoutFile(requiredMembers + R"(,"screenIdentifier":4294967296)"), false},
        {"screen number negative", layoutFile(requiredMembers + R"(,"screenIdentifier":-1)"), false},
        {"number too large for a double", layoutFile(R"("appName":"E","bundleIdentifier":"e","title":"",)"
                                                     R"("windowIndex":0,"frame":{"x":1e999,"y":0,"width":1,)"
                                                     R"("height":1},"minimized":false)"),
         false},
        {"document URL not text", layoutFile(requiredMembers + R"(,"documentURL":5)"), false},
        {"id not a UUID", R"([{"createdAt":"2026-01-31T08:15:00Z","id":"desk","name":"D","windows":[]}])", false},
        {"an object, not a list", R"({"layouts":[]})", false},
        {"truncated", layoutFile(requiredMembers).substr(0, 40), false},
        {"empty list", "[]", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto decoded = WorkspaceLayoutCoding::decode(c.file);
        EXPECT_EQ(decoded.ok(), c.readable) << (decoded.ok() ? "" : decoded.error().message);
    }
}

TEST(WorkspaceLayoutCodingTest, WritesSortedKeysWholeSecondsAndUpperCaseIds) {
    WindowSnapshot window{"com.example.editor", "Editor", "Notes", "file:///tmp/a%20b.txt", 0,
                          {1, 2, 3, 4},         true,     7,       2,
                          StoredRect{0, 24, 1440, 876}};
    WorkspaceLayout layout{*platform::Uuid::fromString("6f1c3a8e-2b4d-4e5f-9a0b-1c2d3e4f5a6b"), "Desk",
                           platform::Date::fromTimeIntervalSince1970(1769847300.75), {window}};
    auto written = WorkspaceLayoutCoding::encode({layout});
    ASSERT_TRUE(written.ok());
    EXPECT_NE(written->find("\"createdAt\" : \"2026-01-31T08:15:00Z\""), std::string::npos) << *written;
    EXPECT_NE(written->find("\"6F1C3A8E-2B4D-4E5F-9A0B-1C2D3E4F5A6B\""), std::string::npos);
    const std::vector<std::string> order = {"appName", "bundleIdentifier", "documentURL", "frame",
                                            "height",  "width",            "x",           "y",
                                            "minimized", "screenFrame",    "screenIdentifier", "title",
                                            "windowIndex", "zIndex"};
    std::size_t at = written->find("\"windows\"");
    for (const auto& key : order) {
        const std::size_t next = written->find("\"" + key + "\"", at);
        ASSERT_NE(next, std::string::npos) << key << " missing or out of order in\n" << *written;
        at = next;
    }
    EXPECT_EQ(WorkspaceLayoutCoding::encode({}).value(), "[]");
}

}  // namespace
}  // namespace tallowmere
