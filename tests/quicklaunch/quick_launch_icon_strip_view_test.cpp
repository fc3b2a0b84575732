#include "quicklaunch/quick_launch_icon_strip_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "localization/interface_language.h"
#include "platform/desktop/event.h"
#include "platform/desktop/finder_window_layout.h"
#include "platform/ui/cursor.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::Event;
using platform::EventType;
using platform::Point;

class QuickLaunchIconStripTest : public testing::DesktopTest {
protected:
    QuickLaunchIconStripTest() { InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese); }

    static std::vector<QuickLaunchEntry> entries(int count) {
        std::vector<QuickLaunchEntry> list;
        for (int i = 0; i < count; ++i) {
            list.push_back({platform::Uuid::random(), QuickLaunchKind::information, "n" + std::to_string(i), "t",
                            std::nullopt, std::nullopt, std::nullopt});
        }
        return list;
    }
    // The strip is the root view, so window coordinates are its own.
    std::shared_ptr<QuickLaunchIconStripView> strip = QuickLaunchIconStripView::make({{0, 0}, {460, 78}});

    // A press on an item, moved by (dx, dy), released there.
    static void press(QuickLaunchIconItemView& item, double dx, double dy, int clickCount = 1) {
        const auto start = item.convertToScreen(Point{40, 36});
        const platform::ScreenPoint end{start.x + dx, start.y + dy};
        item.mouseDown(Event::mouse(EventType::leftMouseDown, start, clickCount));
        item.mouseDragged(Event::mouse(EventType::leftMouseDragged, end, clickCount));
        item.mouseUp(Event::mouse(EventType::leftMouseUp, end, clickCount));
    }
};

TEST_F(QuickLaunchIconStripTest, HeightGrowsByRowsOfFive) {
    struct Case {
        int entries;
        double height;
        std::size_t rows;
    } cases[] = {{0, 78, 1}, {1, 88, 1}, {5, 88, 1}, {6, 166, 2}, {11, 244, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entries);
        strip->update(entries(c.entries));
        EXPECT_EQ(strip->height(), c.height);
        EXPECT_EQ(strip->stack()->subviews().size(), c.rows);
        EXPECT_EQ(strip->items().size(), static_cast<std::size_t>(c.entries));
    }
}

TEST_F(QuickLaunchIconStripTest, IconsFilledBeforeTheWidthIsKnownAreCentredOnceItIs) {
    const auto list = entries(7);
    auto early = QuickLaunchIconStripView::make({{0, 0}, {0, 78}});
    early->update(list);
    early->setFrameSize({460, early->frame().size.height});
    strip->update(list);
    ASSERT_EQ(early->items().size(), strip->items().size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(early->items()[i]->convert(early->items()[i]->bounds(), early.get()),
                  strip->items()[i]->convert(strip->items()[i]->bounds(), strip.get()));
    }
}

TEST_F(QuickLaunchIconStripTest, SelectionSurvivesARebuildWhileItsEntryIsThere) {
    auto list = entries(3);
    strip->update(list);
    strip->setSelected(list[1].id);
    strip->update(list);
    EXPECT_TRUE(strip->items()[1]->isSelected());
    EXPECT_FALSE(strip->items()[0]->isSelected());
    list.erase(list.begin() + 1);
    strip->update(list);
    for (const auto& item : strip->items()) EXPECT_FALSE(item->isSelected());
    EXPECT_TRUE(strip->selectedID().has_value()) << "the old id is kept";
}

TEST_F(QuickLaunchIconStripTest, AShortMoveIsAClickAndALongerOneADrag) {
    const auto list = entries(3);
    strip->update(list);
    std::vector<std::string> reports;
    strip->onSelect = [&](const platform::Uuid&) { reports.push_back("select"); };
    strip->onDoubleClick = [&](const platform::Uuid&) { reports.push_back("double"); };
    strip->onMove = [&](const platform::Uuid&, int to) { reports.push_back("move " + std::to_string(to)); };
    struct Case {
        const char* name;
        double dx, dy;
        std::vector<std::string> reports;
    } cases[] = {
        {"still", 0, 0, {"select"}},
        {"exactly 4 points", 4, 0, {"select"}},
        {"exactly 4 points down", 0, -4, {"select"}},
        {"4.1 points, released right of the centre", 4.1, 0, {"move 1"}},
        {"3 points each way is 4.24 straight", 3, 3, {"move 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reports.clear();
        press(*strip->items()[0], c.dx, c.dy);
        EXPECT_EQ(reports, c.reports);
    }

    // The hand closes on the icon while it is dragged, the arrow comes back at the release.
    auto& item = *strip->items()[1];
    const auto start = item.convertToScreen(Point{40, 36});
    item.mouseDown(Event::mouse(EventType::leftMouseDown, start, 1));
    item.mouseDragged(Event::mouse(EventType::leftMouseDragged, {start.x + 2, start.y}, 1));
    EXPECT_EQ(platform::Cursor::shared().current(), platform::Cursor::Shape::arrow) << "not yet a drag";
    item.mouseDragged(Event::mouse(EventType::leftMouseDragged, {start.x + 30, start.y}, 1));
    EXPECT_EQ(platform::Cursor::shared().current(), platform::Cursor::Shape::closedHand);
    item.mouseUp(Event::mouse(EventType::leftMouseUp, {start.x + 30, start.y}, 1));
    EXPECT_EQ(platform::Cursor::shared().current(), platform::Cursor::Shape::arrow);

    reports.clear();
    press(*strip->items()[2], 0, 0, 1);
    press(*strip->items()[2], 0, 0, 2);
    EXPECT_EQ(reports, (std::vector<std::string>{"select", "double"}));
    EXPECT_TRUE(strip->items()[2]->isSelected());
    EXPECT_EQ(strip->selectedID(), list[2].id);
}

TEST_F(QuickLaunchIconStripTest, ADropGoesBeforeTheIconRightOfThePointer) {
    strip->update(entries(7));
    auto centre = [&](int i) {
        const auto& item = strip->items()[static_cast<std::size_t>(i)];
        return item->convertToWindow(Point{40, 36});
    };
    struct Case {
        const char* name;
        Point point;
        int index;
    } cases[] = {
        {"left half of the first icon", {centre(0).x - 10, centre(0).y}, 0},
        {"right half of the first icon", {centre(0).x + 10, centre(0).y}, 1},
        {"left of the second row's second icon", {centre(6).x - 1, centre(6).y}, 6},
        {"past the first row's end", {centre(4).x + 60, centre(4).y}, 6},
        {"past the last row's end", {centre(6).x + 100, centre(6).y}, 6},
        {"above the first row: the nearest row", {centre(2).x - 5, centre(2).y + 60}, 2},
        {"below the last row: the nearest row", {centre(5).x - 5, centre(5).y - 60}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(strip->destinationIndex(c.point), c.index);
    }
    strip->update(entries(1));
    EXPECT_EQ(strip->destinationIndex({400, 5}), 0) << "one entry always goes to 0";
}

// The strip in a window of the program, and Finder beside it on a folder
// of three items: a person drags them across.
class StripDropTest : public QuickLaunchIconStripTest {
protected:
    StripDropTest() {
        folder = home() / "Drops";
        std::filesystem::create_directories(folder / "Tools");
        std::ofstream(folder / "a.txt") << "a";
        std::ofstream(folder / "b.md") << "b";
        finderWindow = setup.addFrontWindow(
            {.bundleIdentifier = platform::Desktop::finderBundleIdentifier, .name = "Finder"},
            {.frame = {40, 100, 560, 300}, .document = folder.string()});
        window = platform::Window::make(platform::ScreenRect{700, 300, 460, 78}, platform::WindowStyleMask::titled);
        window->setContentView(platform::View::make({{0, 0}, {460, 78}}));
        window->contentView()->addSubview(strip);
        window->orderFront();
        strip->onImportFiles = [this](const std::vector<std::string>& urls) { imports.push_back(urls); };
    }

    // The middle of the Finder row that lists `name`.
    platform::ScreenPoint row(const std::string& name) const {
        const auto layout = platform::FinderWindowLayout::of(*finderWindow);
        if (!layout) {
            ADD_FAILURE() << "Finder shows no folder";
            return {};
        }
        const auto& items = layout->items();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].filename() == name) {
                const auto frame = desktop.screens().toScreen(layout->itemRowFrame(i));
                return {frame.midX(), frame.midY()};
            }
        }
        ADD_FAILURE() << name << " is not listed";
        return {};
    }
    platform::ScreenPoint overStrip() const { return strip->convertToScreen(strip->bounds().center()); }
    static std::string url(const std::filesystem::path& path, bool folder = false) {
        return "file://" + path.string() + (folder ? "/" : "");
    }

    std::filesystem::path folder;
    std::shared_ptr<platform::SimulatedWindow> finderWindow;
    std::shared_ptr<platform::Window> window;
    std::vector<std::vector<std::string>> imports;
};

TEST_F(StripDropTest, FilesDraggedFromFinderTintTheStripAndComeInOneCall) {
    desktop.finder().setSelection({folder / "a.txt", folder / "b.md"});
    mouse.moveTo(row("b.md"));
    mouse.press();
    mouse.moveTo(overStrip(), 6);
    EXPECT_TRUE(strip->isDropHighlighted());
    // Written for a person to look at: renderings/quicklaunch/strip_drop.png,
    // two files of Finder's held over the tinted strip.
    const auto renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "quicklaunch";
    std::filesystem::create_directories(renderings);
    ASSERT_TRUE(platform::ScreenSnapshot::writePng(renderings / "strip_drop.png"));
    mouse.moveTo({600, 600}, 3);
    EXPECT_FALSE(strip->isDropHighlighted()) << "the tint goes when the drag leaves";
    mouse.moveTo(overStrip(), 3);
    EXPECT_TRUE(strip->isDropHighlighted());
    mouse.release();
    EXPECT_FALSE(strip->isDropHighlighted());
    EXPECT_EQ(imports, (std::vector<std::vector<std::string>>{{url(folder / "a.txt"), url(folder / "b.md")}}));
    EXPECT_EQ(desktop.lastDropOperation(), platform::DragOperation::copy);

    // A press on an unselected item drags that item alone; Escape gives it up.
    imports.clear();
    mouse.moveTo(row("Tools"));
    mouse.press();
    EXPECT_EQ(desktop.finder().selection(), (std::vector<std::filesystem::path>{folder / "Tools"}));
    mouse.moveTo(overStrip(), 6);
    EXPECT_TRUE(strip->isDropHighlighted());
    keyboard.press(platform::KeyCode::escape);
    EXPECT_FALSE(strip->isDropHighlighted());
    mouse.release();
    EXPECT_TRUE(imports.empty());
    EXPECT_EQ(desktop.lastDropOperation(), platform::DragOperation::none);

    mouse.drag(row("Tools"), overStrip(), 6);
    EXPECT_EQ(imports, (std::vector<std::vector<std::string>>{{url(folder / "Tools", true)}})) << "a folder's URL ends in /";
}

TEST_F(StripDropTest, ADragWithoutFileURLsShowsNoTintAndCannotDrop) {
    mouse.moveTo({600, 700});
    mouse.press();
    auto text = std::make_shared<platform::Pasteboard>();
    text->clearContents();
    text->setString("https://example.com");
    text->setString("https://example.com", platform::PasteboardType::url);
    ASSERT_TRUE(desktop.beginDragging(text));
    mouse.moveTo(overStrip(), 4);
    EXPECT_FALSE(strip->isDropHighlighted());
    mouse.release();
    EXPECT_TRUE(imports.empty());
    EXPECT_EQ(desktop.lastDropOperation(), platform::DragOperation::none);
    EXPECT_FALSE(desktop.beginDragging(text)) << "no press, no drag";

    // A press that stays within a click's reach of a selected Finder item is
    // a click, which leaves that item alone selected.
    desktop.finder().setSelection({folder / "a.txt", folder / "b.md"});
    mouse.drag(row("a.txt"), {row("a.txt").x + 3, row("a.txt").y}, 2);
    EXPECT_FALSE(desktop.isDragging());
    EXPECT_EQ(desktop.lastDropOperation(), platform::DragOperation::none);
    EXPECT_EQ(desktop.finder().selection(), (std::vector<std::filesystem::path>{folder / "a.txt"}));
}

}  // namespace
}  // namespace tallowmere
