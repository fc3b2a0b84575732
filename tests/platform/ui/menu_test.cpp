#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/menu.h"
#include "platform/ui/menu_tracker.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

// Rebuilds its menu each time it is about to open, as the status menu does.
class RebuildingDelegate final : public MenuDelegate {
public:
    void menuNeedsUpdate(Menu& menu) override {
        events.push_back("update");
        menu.removeAllItems();
        ++generation;
        auto item = menu.addItem("Generation " + std::to_string(generation), [this](MenuItem&) { chosen.push_back("generation"); });
        auto layouts = Menu::make("Layouts");
        for (const char* id : {"A1", "B2"}) {
            auto layout = layouts->addItem(std::string("Layout ") + id, [this](MenuItem& sender) {
                if (const auto* text = sender.representedObjectAs<std::string>()) chosen.push_back(*text);
            });
            layout->setRepresentedObject(std::string(id));
        }
        menu.addItem("Restore")->setSubmenu(layouts);
        menu.addSeparator();
        auto disabled = menu.addItem("No saved layouts", [this](MenuItem&) { chosen.push_back("disabled"); });
        disabled->setEnabled(false);
        menu.addItem("Header without action");
    }
    void menuWillOpen(Menu&) override { events.push_back("willOpen"); }
    void menuDidClose(Menu&) override { events.push_back("didClose"); }

    int generation = 0;
    std::vector<std::string> events;
    std::vector<std::string> chosen;
};

class MenuTest : public testing::DesktopTest {
protected:
    void SetUp() override {
        menu = Menu::make("Status");
        delegate = std::make_shared<RebuildingDelegate>();
        menu->setDelegate(delegate);
    }
    void open() { menu->popUp(nullptr, ScreenPoint{400, 800}); }

    std::shared_ptr<Menu> menu;
    std::shared_ptr<RebuildingDelegate> delegate;
};

TEST_F(MenuTest, ChoosingAnItemRunsItsActionWithItsRepresentedObject) {
    open();
    ASSERT_TRUE(menus.choose("Layout B2"));
    EXPECT_EQ(delegate->chosen, (std::vector<std::string>{"B2"}));
    EXPECT_FALSE(menus.isOpen());
}

TEST_F(MenuTest, MenuIsRebuiltBeforeEachOpeningAndClosesBeforeTheActionRuns) {
    open();
    EXPECT_EQ(menus.itemTitles().front(), "Generation 1");
    menu->itemWithTitle("Generation 1")->action = [this](MenuItem&) {
        delegate->events.push_back(menu->isOpen() ? "action while open" : "action");
    };
    menus.choose("Generation 1");
    open();
    EXPECT_EQ(menus.itemTitles().front(), "Generation 2");
    EXPECT_EQ(delegate->events,
              (std::vector<std::string>{"update", "willOpen", "didClose", "action", "update", "willOpen"}));
}

TEST_F(MenuTest, ItemsThatCannotBeChosenDoNothing) {
    open();
    const auto disabled = menus.find("No saved layouts");
    const auto header = menus.find("Header without action");
    ASSERT_TRUE(disabled && header);
    EXPECT_FALSE(disabled->canBeChosen());
    EXPECT_FALSE(header->canBeChosen()) << "an item without action shows enabled in an auto-enabling menu";
    EXPECT_FALSE(MenuTracker::shared().choose(disabled));
    EXPECT_TRUE(menus.isOpen());
    EXPECT_TRUE(delegate->chosen.empty());

    menu->autoenablesItems = false;
    EXPECT_TRUE(header->canBeChosen());
}

TEST_F(MenuTest, ClickOutsideOrEscapeClosesWithoutChoosing) {
    open();
    menuBar.clickAt({100, 100});
    EXPECT_FALSE(menus.isOpen());
    open();
    menus.dismiss();
    EXPECT_FALSE(menus.isOpen());
    EXPECT_TRUE(delegate->chosen.empty());
    EXPECT_EQ(std::count(delegate->events.begin(), delegate->events.end(), "didClose"), 2);
}

TEST_F(MenuTest, AClickOnAPopUpLeavesItsMenuOpenForTheNextClickAndADragChoosesWhereItEnds) {
    auto window = Window::make(ScreenRect{200, 300, 400, 200}, WindowStyleMask::titled);
    window->setContentView(View::make({0, 0, 400, 200}));
    auto popUp = PopUpButton::make();
    popUp->addItems({"System", "Light", "Dark"});
    popUp->setFrame({20, 150, 120, 22});
    std::vector<std::string> chosen;
    popUp->onAction = [&](Control& sender) { chosen.push_back(static_cast<PopUpButton&>(sender).titleOfSelectedItem()); };
    window->contentView()->addSubview(popUp);
    window->makeKeyAndOrderFront();
    const ScreenPoint button = popUp->convertToScreen(popUp->bounds().center());
    const auto rowCentre = [&](std::size_t index) {
        const auto* layout = MenuTracker::shared().layoutOf(*popUp->menu());
        const auto* row = layout ? layout->rowOf(*popUp->item(index)) : nullptr;
        return row ? row->frame.center() : ScreenPoint{};
    };

    // The menu opens over the button, its first row under the pointer: the
    // release of that click chooses nothing.
    mouse.click(button);
    ASSERT_TRUE(menus.isOpen());
    mouse.click(rowCentre(2));
    EXPECT_EQ(chosen, (std::vector<std::string>{"Dark"}));

    mouse.moveTo(button);
    mouse.press();
    mouse.moveTo(rowCentre(1), 4);
    mouse.release();
    EXPECT_EQ(chosen, (std::vector<std::string>{"Dark", "Light"}));

    // Back on the row it began on, a drag chooses that row.
    mouse.moveTo(button);
    mouse.press();
    mouse.moveTo(rowCentre(2), 4);
    mouse.moveTo(button, 4);
    mouse.release();
    EXPECT_FALSE(menus.isOpen());
    EXPECT_EQ(chosen, (std::vector<std::string>{"Dark", "Light", "System"}));
}

TEST_F(MenuTest, OpenMenuStaysOnItsScreen) {
    menu->popUp(nullptr, ScreenPoint{1430, 20});
    const auto* layout = MenuTracker::shared().layoutOf(*menu);
    ASSERT_NE(layout, nullptr);
    EXPECT_LE(layout->frame.maxX(), 1440);
    EXPECT_GE(layout->frame.minY(), 0);
}

TEST_F(MenuTest, OpeningIsTracedWithTheItems) {
    open();
    const auto& lines = uiTrace();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "menu opened \"Status\": Generation 1 | Restore ▸ | — | No saved layouts (disabled) | "
                        "Header without action (disabled)"),
              lines.end());
}

TEST_F(MenuTest, KeyEquivalentChoosesTheItem) {
    auto quitMenu = Menu::make();
    int quits = 0;
    quitMenu->addItem("Save", [&](MenuItem&) {}, "s");
    quitMenu->addItem("Quit", [&](MenuItem&) { ++quits; }, "q");
    EXPECT_FALSE(quitMenu->performKeyEquivalent(Event::key(EventType::keyDown, KeyCode::a, "q")));
    EXPECT_TRUE(quitMenu->performKeyEquivalent(
        Event::key(EventType::keyDown, KeyCode::a, "q", ModifierFlags{ModifierFlags::command})));
    EXPECT_EQ(quits, 1);
}

TEST_F(MenuTest, AnItemBelongsToOneMenu) {
    auto item = MenuItem::make("Moved");
    auto first = Menu::make(), second = Menu::make();
    first->addItem(item);
    second->addItem(item);
    EXPECT_EQ(first->numberOfItems(), 0u);
    EXPECT_EQ(item->menu(), second);
}

}  // namespace
}  // namespace tallowmere::platform
