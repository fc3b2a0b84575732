#include "finder/finder_request.h"

#include <gtest/gtest.h>

namespace tallowmere {
namespace {

using platform::Url;

std::optional<FinderRequest> readText(const std::string& text) {
    auto url = Url::parse(text);
    return url ? FinderRequest::read(*url) : std::nullopt;
}

TEST(FinderRequestTest, ReadsOnlyKnownActionsOfItsScheme) {
    struct Case {
        const char* url;
        bool isRequest;
    } cases[] = {
        {"tallowmere-finder://copy?directory=/a", true},
        {"tallowmere-finder://hash-sha256?path=/a/b", true},
        {"tallowmere-finder://unhide-all", true},
        {"Tallowmere-Finder://copy?directory=/a", false},  // scheme compared exactly
        {"tallowmere-finder://COPY?directory=/a", false},  // action compared exactly
        {"tallowmere-finder://rename?directory=/a", false},
        {"tallowmere-finder:copy?directory=/a", false},  // no host
        {"tallowmere://copy?directory=/a", false},
        {"file:///copy", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(readText(c.url).has_value(), c.isRequest);
    }
}

TEST(FinderRequestTest, KeepsPathsInOrderAndTheFirstDirectory) {
    auto request = readText(
        "tallowmere-finder://hide?path=/a/1&directory=/d1&path&path=&path=/a/%E6%96%87%20x&directory=/d2&type=md");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->directory, "/d1");
    // A path item without a value is dropped; an empty one stays and fails the checks later.
    EXPECT_EQ(request->paths, (std::vector<std::string>{"/a/1", "", "/a/文 x"}));
    EXPECT_EQ(request->type, "md");

    auto bare = readText("tallowmere-finder://copy?directory");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->directory, "");
}

TEST(FinderRequestTest, RefusesPathsThatAreNotAbsoluteOrHoldNul) {
    struct Case {
        const char* name;
        std::string directory;
        std::vector<std::string> paths;
    } cases[] = {
        {"relativeDirectory", "Documents", {}},
        {"emptyPath", "/a", {"/a/b", ""}},
        {"relativePath", "/a", {"b"}},
        {"nulInDirectory", std::string("/a\0b", 4), {}},
        {"nulInPath", "/a", {std::string("/a/b\0c", 6)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FinderRequest request{"hide", c.directory, c.paths, {}};
        EXPECT_FALSE(request.checkedPaths());
    }
}

TEST(FinderRequestTest, StandardizesAndDropsDuplicateItems) {
    FinderRequest request{"hide", "/a/./b/../c/", {"/a/x/./f", "/a/x/f", "/a/y/../x/f", "/a/g", "/../../a/g"}, {}};
    auto paths = request.checkedPaths();
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths->directory, "/a/c");
    EXPECT_EQ(paths->items, (std::vector<std::filesystem::path>{"/a/x/f", "/a/g"}));
}

TEST(FinderRequestTest, RebuildsWithSelectionOrFolder) {
    auto request = *Url::parse("tallowmere-finder://hide?type=md&directory=&path=/old&x=1");
    auto withSelection = FinderRequest::withSelection(request, {"/Users/a/My Folder/1&2.txt", "/Users/b/c"});
    ASSERT_TRUE(withSelection);
    auto reread = FinderRequest::read(*withSelection);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->directory, "/Users/a/My Folder");
    EXPECT_EQ(reread->paths, (std::vector<std::string>{"/Users/a/My Folder/1&2.txt", "/Users/b/c"}));
    EXPECT_EQ(reread->type, "md");
    EXPECT_EQ(withSelection->queryItems().front().name, "type");

    auto withFolder = FinderRequest::withDirectory(request, "/Users/a/#new");
    ASSERT_TRUE(withFolder);
    const auto items = withFolder->queryItems();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items.back(), (platform::UrlQueryItem{"directory", "/Users/a/#new"}));
    EXPECT_EQ(items[1], (platform::UrlQueryItem{"path", "/old"}));
}

TEST(FinderRequestTest, NumbersNewFileNames) {
    EXPECT_EQ(FinderRequest::newFileName("txt", 0), "新建文件.txt");
    EXPECT_EQ(FinderRequest::newFileName("md", 1), "新建文件 (1).md");
    EXPECT_EQ(FinderRequest::newFileName("txt", 9999), "新建文件 (9999).txt");
}

}  // namespace
}  // namespace tallowmere
