#include <gtest/gtest.h>

#include "finder/finder_request.h"
#include "finderextension/finder_extension_test.h"
#include "platform/desktop/pasteboard.h"
#include "platform/system/bundle.h"
#include "platform/system/paths.h"
#include "platform/system/system_log.h"

namespace tallowmere::testing {
namespace {

using platform::Url;

class TallowbyFinderSyncTest : public FinderExtensionTest {
protected:
    // What choosing the item does: "sends" a request to the program,
    // "copies" to the pasteboard, "nothing", or "—" for an item without action.
    std::string effectOf(platform::MenuItem& menuItem) {
        if (!menuItem.action) return "—";
        const auto requests = desktop.workspace().openRequests().size();
        const int changes = platform::Pasteboard::general().changeCount();
        menuItem.action(menuItem);
        if (desktop.workspace().openRequests().size() > requests) return "sends";
        if (platform::Pasteboard::general().changeCount() != changes) return "copies";
        return "nothing";
    }

    const Path work = makeFolder(platform::Paths::home() / "工作 区");
    const Path file = makeFile(work / "a.txt", "a");
    const Path folder = makeFolder(work / "sub");
    const Path other = makeFile(work / "b.md", "b");
};

TEST_F(TallowbyFinderSyncTest, EveryItemOfTheMenuInOrder) {
    auto menu = menuFor(Kind::contextualMenuForItems, {file}, work);
    struct Row {
        std::string title;
        bool enabled;
        std::string effect;
        std::string payload;
    };
    const std::string dir = "directory=" + work.string();
    const std::string paths = " paths=" + file.string();
    const std::vector<Row> expected = {
        {"新建文件", true, "—", ""},
        {"文本文档 (.txt)", true, "sends", "action=create " + dir + " type=txt"},
        {"Markdown (.md)", true, "sends", "action=create " + dir + " type=md"},
        {"复制路径", true, "copies", "[" + file.string() + "]"},
        {"在终端打开", true, "sends", "action=terminal " + dir},
        {"—", false, "—", ""},
        {"隐藏文件", true, "sends", "action=hide " + dir + paths},
        {"取消隐藏文件", true, "sends", "action=unhide " + dir + paths},
        {"隔空投送", true, "sends", "action=airdrop " + dir + paths},
        {"取消隐藏全部文件", true, "sends", "action=unhide-all " + dir},
        {"—", false, "—", ""},
        {"解散文件夹", true, "sends", "action=dissolve " + dir + paths},
        {"复制到", true, "sends", "action=copy-to " + dir + paths},
        {"移动到", true, "sends", "action=move-to " + dir + paths},
        {"哈希值", true, "—", ""},
        {"MD5", true, "sends", "action=hash-md5 " + dir + paths},
        {"SHA-1", true, "sends", "action=hash-sha1 " + dir + paths},
        {"SHA-256", true, "sends", "action=hash-sha256 " + dir + paths},
    };
    std::vector<std::shared_ptr<platform::MenuItem>> items;
    for (const auto& entry : menu->items()) {
        items.push_back(entry);
        if (entry->submenu()) items.insert(items.end(), entry->submenu()->items().begin(), entry->submenu()->items().end());
    }
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto& entry = *items[i];
        SCOPED_TRACE(expected[i].title);
        EXPECT_EQ(entry.isSeparatorItem() ? "—" : entry.title(), expected[i].title);
        if (entry.isSeparatorItem()) continue;
        EXPECT_EQ(entry.isEnabled(), expected[i].enabled);
        EXPECT_EQ(payloadText(entry), expected[i].payload);
        EXPECT_EQ(effectOf(entry), expected[i].effect);
        EXPECT_TRUE(entry.keyEquivalent().empty());
    }
    EXPECT_EQ(menu->title(), "塔洛梅");
    EXPECT_FALSE(menu->autoenablesItems);
    EXPECT_FALSE(item(*menu, "新建文件")->submenu()->autoenablesItems);
    EXPECT_TRUE(item(*menu, "哈希值")->submenu()->autoenablesItems);
    EXPECT_EQ(item(*menu, "哈希值")->submenu()->title(), "哈希值");
    // Symbols, described by their titles from the hiding items on.
    EXPECT_EQ(item(*menu, "在终端打开")->image()->accessibilityDescription(), "");
    EXPECT_EQ(item(*menu, "隔空投送")->image()->accessibilityDescription(), "隔空投送");
    EXPECT_EQ(item(*menu, "哈希值")->image()->accessibilityDescription(), "哈希值");
    EXPECT_FALSE(item(*menu, "SHA-1")->image());
}

TEST_F(TallowbyFinderSyncTest, MenusOfEveryKindForNoneOneAndSeveralItems) {
    struct Row {
        std::string title;
        bool enabled;
        std::string effect;
        std::string payload;
    };
    const std::string dir = work.string();
    const std::string both = file.string() + "|" + other.string();
    struct Case {
        const char* name;
        Kind kind;
        std::vector<Path> selected;
        std::optional<Path> targeted;
        std::vector<Row> rows;
        bool hint;  // the closing "请先打开一个实际文件夹"
    } cases[] = {
        {"items, one folder", Kind::contextualMenuForItems, {folder}, work,
         {{"文本文档 (.txt)", true, "sends", "action=create directory=" + folder.string() + " type=txt"},
          {"复制路径", true, "copies", "[" + folder.string() + "]"},
          {"SHA-256", true, "sends", "action=hash-sha256 directory=" + folder.string() + " paths=" + folder.string()}},
         false},
        {"items, two files", Kind::contextualMenuForItems, {file, other}, work,
         {{"在终端打开", true, "sends", "action=terminal directory=" + dir},
          {"复制路径", true, "copies", "[" + file.string() + ", " + other.string() + "]"},
          {"隐藏文件", true, "sends", "action=hide directory=" + dir + " paths=" + both}},
         false},
        {"items, none and no target", Kind::contextualMenuForItems, {}, std::nullopt,
         {{"文本文档 (.txt)", false, "sends", "action=create directory= type=txt"},
          {"复制路径", false, "nothing", "[]"},
          {"MD5", false, "sends", "action=hash-md5 directory= paths="}},
         true},
        {"background, nothing selected", Kind::contextualMenuForContainer, {}, work,
         {{"在终端打开", true, "sends", "action=terminal directory=" + dir},
          {"复制路径", true, "copies", "[" + dir + "]"},
          {"隐藏文件", true, "sends", "action=hide directory=" + dir + " paths=" + dir}},
         false},
        {"background, one selected", Kind::contextualMenuForContainer, {file}, work,
         {{"复制路径", true, "copies", "[" + file.string() + "]"},
          {"SHA-1", true, "sends", "action=hash-sha1 directory=" + dir + " paths=" + file.string()}},
         false},
        {"background, two selected", Kind::contextualMenuForContainer, {file, other}, work,
         {{"移动到", true, "sends", "action=move-to directory=" + dir + " paths=" + both}}, false},
        {"background of nothing", Kind::contextualMenuForContainer, {}, std::nullopt,
         {{"在终端打开", false, "sends", "action=terminal directory="},
          {"取消隐藏全部文件", false, "sends", "action=unhide-all directory="},
          {"解散文件夹", false, "sends", "action=dissolve directory= paths="}},
         true},
        {"sidebar entry", Kind::contextualMenuForSidebar, {}, folder,
         {{"Markdown (.md)", true, "sends", "action=create directory=" + folder.string() + " type=md"},
          {"复制路径", true, "copies", "[" + folder.string() + "]"}},
         false},
        {"sidebar, one selected", Kind::contextualMenuForSidebar, {file}, folder,
         {{"隔空投送", true, "sends", "action=airdrop directory=" + folder.string() + " paths=" + file.string()}}, false},
        {"sidebar, two selected", Kind::contextualMenuForSidebar, {file, other}, folder,
         {{"复制到", true, "sends", "action=copy-to directory=" + folder.string() + " paths=" + both}}, false},
        {"sidebar of nothing", Kind::contextualMenuForSidebar, {}, std::nullopt,
         {{"复制路径", false, "nothing", "[]"}}, true},
        {"toolbar, nothing selected", Kind::toolbarItemMenu, {}, work,
         {{"复制路径", true, "sends", "action=copy directory="},
          {"隐藏文件", true, "sends", "action=hide directory=" + dir + " paths="},
          {"在终端打开", true, "sends", "action=terminal directory=" + dir}},
         false},
        {"toolbar, no folder either", Kind::toolbarItemMenu, {}, std::nullopt,
         {{"文本文档 (.txt)", true, "sends", "action=create directory= type=txt"},
          {"复制路径", true, "sends", "action=copy directory="}},
         false},
        {"toolbar, one selected", Kind::toolbarItemMenu, {file}, work,
         {{"复制路径", true, "copies", "[" + file.string() + "]"},
          {"MD5", true, "sends", "action=hash-md5 directory=" + dir + " paths=" + file.string()}},
         false},
        {"toolbar, two selected", Kind::toolbarItemMenu, {file, other}, work,
         {{"复制路径", true, "copies", "[" + file.string() + ", " + other.string() + "]"},
          {"SHA-256", true, "sends", "action=hash-sha256 directory=" + dir + " paths=" + both}},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto menu = menuFor(c.kind, c.selected, c.targeted);
        for (const auto& row : c.rows) {
            SCOPED_TRACE(row.title);
            auto entry = item(*menu, row.title);
            ASSERT_TRUE(entry);
            EXPECT_EQ(entry->isEnabled(), row.enabled);
            EXPECT_EQ(payloadText(*entry), row.payload);
            EXPECT_EQ(effectOf(*entry), row.effect);
        }
        // Every item is always there; only the closing hint comes and goes.
        const auto& items = menu->items();
        EXPECT_EQ(items.size(), c.hint ? 15u : 13u);
        EXPECT_EQ(items.back()->title() == "请先打开一个实际文件夹", c.hint);
        if (c.hint) {
            EXPECT_FALSE(items.back()->isEnabled());
        }
    }
}

TEST_F(TallowbyFinderSyncTest, ASelectedItemThatIsGoneLeavesTheWindowsFolder) {
    auto menu = menuFor(Kind::contextualMenuForItems, {work / "gone.txt"}, work);
    EXPECT_EQ(payloadText(*item(*menu, "在终端打开")), "action=terminal directory=" + work.string());
}

TEST_F(TallowbyFinderSyncTest, TheRegistryKeepsTheNewest512) {
    for (int i = 0; i < 600; ++i) sync.registerPayload(std::vector<std::string>{"/p" + std::to_string(i)});
    ASSERT_EQ(sync.menuPayloads().size(), 512u);
    EXPECT_EQ(sync.menuPayloads().begin()->first, 89);
    EXPECT_EQ(sync.menuPayloads().rbegin()->first, 600);
    EXPECT_EQ(sync.nextPayloadTag(), 601);

    // Items whose payloads were forgotten do nothing.
    auto stale = platform::MenuItem::make("stale");
    for (const std::int64_t tag : {std::int64_t{88}, std::int64_t{0}, std::int64_t{601}}) {
        stale->setTag(tag);
        const int changes = platform::Pasteboard::general().changeCount();
        sync.copyPaths(*stale);
        sync.sendRequest(*stale);
        EXPECT_EQ(platform::Pasteboard::general().changeCount(), changes);
        EXPECT_TRUE(desktop.workspace().openRequests().empty());
    }
    // One menu registers fourteen payloads, fifteen for the toolbar's copy.
    menuFor(Kind::contextualMenuForItems, {file}, work);
    EXPECT_EQ(sync.nextPayloadTag(), 615);
    menuFor(Kind::toolbarItemMenu, {}, work);
    EXPECT_EQ(sync.nextPayloadTag(), 630);
    EXPECT_EQ(sync.menuPayloads().size(), 512u);
}

TEST_F(TallowbyFinderSyncTest, PayloadsOfTheWrongShapeDoNothing) {
    auto entry = platform::MenuItem::make("x");
    struct Case {
        const char* name;
        TallowbyFinderSync::Payload payload;
    } cases[] = {
        {"list to send", std::vector<std::string>{"/a"}},
        {"empty request", std::map<std::string, std::string>{}},
        {"no action", std::map<std::string, std::string>{{"directory", "/a"}}},
        {"no directory", std::map<std::string, std::string>{{"action", "terminal"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        entry->setTag(sync.registerPayload(c.payload));
        sync.sendRequest(*entry);
        EXPECT_TRUE(desktop.workspace().openRequests().empty());
    }
    entry->setTag(sync.registerPayload(std::map<std::string, std::string>{{"action", "copy"}, {"directory", ""}}));
    const int changes = platform::Pasteboard::general().changeCount();
    sync.copyPaths(*entry);
    entry->setTag(sync.registerPayload(std::vector<std::string>{}));
    sync.copyPaths(*entry);
    EXPECT_EQ(platform::Pasteboard::general().changeCount(), changes);
}

TEST_F(TallowbyFinderSyncTest, CopiedPathsAreOnePerLine) {
    auto menu = menuFor(Kind::contextualMenuForItems, {file, folder}, work);
    auto copy = item(*menu, "复制路径");
    copy->action(*copy);
    EXPECT_EQ(platform::Pasteboard::general().string(), file.string() + "\n" + folder.string());
}

TEST_F(TallowbyFinderSyncTest, RequestsReachTheProgramThreeLevelsUp) {
    auto menu = menuFor(Kind::contextualMenuForContainer, {}, work);
    auto terminal = item(*menu, "在终端打开");
    terminal->action(*terminal);
    ASSERT_EQ(desktop.workspace().openRequests().size(), 1u);
    const auto& request = desktop.workspace().openRequests().front();
    EXPECT_EQ(request.bundlePath, programBundle);
    EXPECT_FALSE(request.configuration.activates);
    EXPECT_FALSE(request.configuration.addsToRecentItems);
    EXPECT_EQ(request.configuration.arguments, std::vector<std::string>{"--finder-action"});
    ASSERT_EQ(request.urls.size(), 1u);
    auto url = Url::parse(request.urls.front());
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme(), "tallowmere-finder");
    EXPECT_EQ(url->host(), "terminal");
    EXPECT_EQ(url->queryItems(), (std::vector<platform::UrlQueryItem>{{"directory", work.string()}}));
    EXPECT_FALSE(url->fragment());
    EXPECT_FALSE(url->port());
    EXPECT_EQ(url->path(), "");
    runUntilIdle();
    EXPECT_TRUE(desktop.workspace().recentItems().empty());
}

TEST_F(TallowbyFinderSyncTest, AProgramThatCannotBeFoundIsLogged) {
    sync.setBundleURL(Url::fileUrl("/Applications/Gone.app/Contents/PlugIns/TallowbyFinderExtension.appex", true));
    auto menu = menuFor(Kind::contextualMenuForContainer, {}, work);
    auto terminal = item(*menu, "在终端打开");
    terminal->action(*terminal);
    runUntilIdle();
    const auto lines = platform::SystemLog::shared().lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("/Applications/Gone.app"), std::string::npos) << lines.back();
    EXPECT_TRUE(desktop.currentApplication().openedURLs().empty());
}

TEST_F(TallowbyFinderSyncTest, RequestPathsDecodeToTheSameList) {
    const std::vector<std::string> paths = {
        "/Users/我/My Folder/a b.txt", "/tmp/100% sure+fast.md", "/tmp/#hash&x=y?.txt", "/tmp/中文/报告 (1).docx",
        "/tmp/line\nbreak",
    };
    std::string joinedPaths;
    for (const auto& path : paths) joinedPaths += path + TallowbyFinderSync::pathSeparator;
    // An empty piece in the middle and one at the end are left out.
    joinedPaths.insert(0, 1, TallowbyFinderSync::pathSeparator);
    const auto url = TallowbyFinderSync::requestURL(
        {{"action", "hash-md5"}, {"directory", "/tmp/a b#c"}, {"paths", joinedPaths}});
    ASSERT_TRUE(url);
    const auto text = url->string();
    EXPECT_EQ(text.find(' '), std::string::npos) << text;
    EXPECT_EQ(text.find('\n'), std::string::npos) << text;
    const auto reread = Url::parse(text);
    ASSERT_TRUE(reread) << text;
    const auto request = FinderRequest::read(*reread);
    ASSERT_TRUE(request) << text;
    EXPECT_EQ(request->action, "hash-md5");
    EXPECT_EQ(request->directory, "/tmp/a b#c");
    EXPECT_EQ(request->paths, paths);
    EXPECT_FALSE(request->type);

    const auto create = TallowbyFinderSync::requestURL({{"action", "create"}, {"directory", "/a"}, {"type", "md"}});
    ASSERT_TRUE(create);
    EXPECT_EQ(create->string(), "tallowmere-finder://create?directory=/a&type=md");
}

TEST_F(TallowbyFinderSyncTest, ASelectionThatWouldComeApartIsNotSent) {
    // A name holding the separator would read back as two paths, the second
    // one chosen by whoever named the file.
    const Path smuggler = makeFile(work / "a\x1f/etc/passwd");
    auto menu = menuFor(Kind::contextualMenuForItems, {smuggler}, work);
    for (const char* title : {"隐藏文件", "隔空投送", "解散文件夹", "复制到", "移动到", "哈希值", "SHA-256"}) {
        SCOPED_TRACE(title);
        EXPECT_FALSE(item(*menu, title)->isEnabled());
    }
    EXPECT_TRUE(item(*menu, "复制路径")->isEnabled());
    EXPECT_TRUE(item(*menu, "在终端打开")->isEnabled());
}

TEST_F(TallowbyFinderSyncTest, ToolbarButton) {
    EXPECT_EQ(sync.toolbarItemName(), "塔洛梅");
    EXPECT_EQ(sync.toolbarItemToolTip(), "在当前文件夹新建文件、复制路径或打开终端");
    const auto image = sync.toolbarItemImage();
    EXPECT_EQ(image.size(), (platform::Size{24, 24}));
    EXPECT_TRUE(image.isTemplate());
    // The outline's strokes are drawn; its light paper is not.
    auto pixels = image.render(2);
    ASSERT_TRUE(pixels);
    int opaque = 0, clear = 0;
    for (int y = 0; y < pixels->pixelsHigh(); ++y) {
        for (int x = 0; x < pixels->pixelsWide(); ++x) {
            const auto alpha = pixels->pixel(x, y).alpha;
            opaque += alpha > 200;
            clear += alpha < 20;
        }
    }
    EXPECT_GT(opaque, 20);
    EXPECT_GT(clear, 48 * 48 / 2);
    // The inset border stays clear.
    EXPECT_EQ(pixels->pixel(0, 0).alpha, 0);
    EXPECT_EQ(pixels->pixel(47, 23).alpha, 0);

    platform::Bundle::main().setResource("StatusOutline", "png", std::nullopt);
    const auto fallback = sync.toolbarItemImage();
    EXPECT_EQ(fallback.accessibilityDescription(), "塔洛梅");
    EXPECT_TRUE(fallback.isTemplate());
    platform::Bundle::main().setResource("StatusOutline", "png", std::string("not a picture"));
    EXPECT_EQ(sync.toolbarItemImage().accessibilityDescription(), "塔洛梅");
}

}  // namespace
}  // namespace tallowmere::testing
