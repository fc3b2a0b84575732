#include "app/instance_request.h"

#include <gtest/gtest.h>

#include <string>

namespace tallowmere {
namespace {

TEST(InstanceRequestTest, LaunchURLsTravelWhole) {
    const auto request = InstanceRequest::fromLaunchArguments(
        {"--finder-action", "tallowmere-finder://copy?directory=/Users/a/My Folder&path=/Users/a/文件.txt",
         "-psn_0_4711", "tallowmere-finder://terminal?directory=/tmp"});
    ASSERT_EQ(request.urls.size(), 2u);
    EXPECT_EQ(request.urls[0], "tallowmere-finder://copy?directory=/Users/a/My Folder&path=/Users/a/文件.txt");

    InstanceRequest snapshot;
    snapshot.snapshotPath = "/home/me/Pictures/屏幕 1.png";
    for (const InstanceRequest& sent : {request, InstanceRequest{}, snapshot}) {
        auto received = InstanceRequest::decode(sent.encoded());
        ASSERT_TRUE(received.ok()) << received.error().message;
        EXPECT_EQ(*received, sent);
    }
}

TEST(InstanceRequestTest, MalformedOrHostileMessagesAreRefused) {
    const std::string url = "tallowmere-finder://copy?directory=/tmp";
    struct Case {
        const char* name;
        std::string message;
    } cases[] = {
        {"empty", ""},
        {"no header", url + "\n"},
        {"another version", "tallowmere-open/2 1\n" + url + "\n"},
        {"count not a number", "tallowmere-open/1 one\n" + url + "\n"},
        {"signed count", "tallowmere-open/1 +1\n" + url + "\n"},
        {"count with a space", "tallowmere-open/1  1\n" + url + "\n"},
        {"count beyond the limit", "tallowmere-open/1 4097\n"},
        {"count overflowing", "tallowmere-open/1 99999999999999999999999\n"},
        {"header cut off", "tallowmere-open/1 1"},
        {"fewer URLs than counted (cut off)", "tallowmere-open/1 2\n" + url + "\n"},
        {"more URLs than counted", "tallowmere-open/1 1\n" + url + "\n" + url + "\n"},
        {"last line without its end", "tallowmere-open/1 1\n" + url},
        {"empty URL", "tallowmere-open/1 1\n\n"},
        {"carriage return", "tallowmere-open/1 1\n" + url + "\r\n"},
        {"NUL byte", "tallowmere-open/1 1\n" + url + std::string(1, '\0') + "x\n"},
        {"escape sequence", "tallowmere-open/1 1\n" + url + "\x1b[2J\n"},
        {"not UTF-8", "tallowmere-open/1 1\n" + url + "\xc3\x28\n"},
        {"not a URL", "tallowmere-open/1 1\n/Users/a/file.txt\n"},
        {"over the size limit", "tallowmere-open/1 1\nx:" + std::string(InstanceRequest::maximumBytes, 'a') + "\n"},
        {"snapshot without a path", "tallowmere-snapshot/1\n"},
        {"snapshot to a relative path", "tallowmere-snapshot/1\nshot.png\n"},
        {"snapshot path without its line end", "tallowmere-snapshot/1\n/tmp/shot.png"},
        {"snapshot to two paths", "tallowmere-snapshot/1\n/tmp/a.png\n/tmp/b.png\n"},
        {"snapshot path with an escape sequence", "tallowmere-snapshot/1\n/tmp/\x1b[2J.png\n"},
        {"snapshot path too long", "tallowmere-snapshot/1\n/" + std::string(InstanceRequest::maximumPathBytes, 'a') + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto decoded = InstanceRequest::decode(c.message);
        ASSERT_FALSE(decoded.ok());
        EXPECT_FALSE(decoded.error().message.empty());
    }
}

}  // namespace
}  // namespace tallowmere
