#include "selection/selvane_exclusions_window_controller.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/base/property_list.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using Names = std::vector<std::string>;

class SelvaneExclusionsWindowTest : public testing::DesktopTest {
protected:
    SelvaneExclusionsView& list() { return *SelvaneExclusionsWindowController::shared().exclusionsView(); }
    Names listed() {
        Names names;
        for (const auto& entry : list().entries()) names.push_back(entry.name);
        return names;
    }
    void pressAdd() { list().addButton()->performClick(); }
};

TEST_F(SelvaneExclusionsWindowTest, TheWindowFollowsTheStore) {
    auto& controller = SelvaneExclusionsWindowController::shared();
    controller.open();
    auto window = controller.window();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->title(), "Selvane · 排除应用");
    EXPECT_EQ(window->contentRectForFrameRect(window->frame()).size, (platform::Size{460, 360}));
    EXPECT_FALSE(list().emptyLabel()->isHidden()) << "an empty list says so";

    SelvaneExclusions::add("com.example.b", "App 10");
    SelvaneExclusions::add("com.example.a", "App 2");
    EXPECT_TRUE(list().emptyLabel()->isHidden()) << "the first add hides the empty text in the open window";
    EXPECT_EQ(listed(), (Names{"App 2", "App 10"}));
    EXPECT_EQ(list().table()->numberOfRows(), 2u);

    auto remove = std::dynamic_pointer_cast<platform::Button>(
        list().table()->viewForRow(platform::TableColumn("remove", 48), 0));
    ASSERT_TRUE(remove);
    EXPECT_EQ(remove->title(), "移除");
    remove->performClick();
    EXPECT_EQ(listed(), (Names{"App 10"}));

    window->performClose();
    controller.open();
    EXPECT_EQ(controller.window(), window) << "reopening shows the same window";
}

TEST_F(SelvaneExclusionsWindowTest, ChosenApplicationsAreAddedByTheirIdentifier) {
    // One bundle on disk with its Info.plist, one only installed on the desktop, one without an identifier.
    const auto onDisk = home() / "Apps" / "Writer.app";
    std::filesystem::create_directories(onDisk / "Contents");
    platform::PropertyValue::Dictionary info{{"CFBundleIdentifier", platform::PropertyValue("com.example.writer")}};
    const auto plist = platform::PropertyList::write(platform::PropertyValue(info));
    ASSERT_TRUE(plist.ok());
    std::ofstream(onDisk / "Contents" / "Info.plist", std::ios::binary)
        .write(reinterpret_cast<const char*>(plist->data()), static_cast<std::streamsize>(plist->size()));
    setup.addApplication({.bundleIdentifier = "com.example.painter", .name = "Painter", .bundlePath = "/Applications/Painter.app"});
    const auto noIdentifier = home() / "Apps" / "Broken.app";
    std::filesystem::create_directories(noIdentifier / "Contents");

    auto& controller = SelvaneExclusionsWindowController::shared();
    controller.open();
    panels.choose({onDisk, "/Applications/Painter.app", noIdentifier});
    pressAdd();
    EXPECT_TRUE(SelvaneExclusions::isChoosingApplication());
    pressAdd();  // a second press while the sheet is up
    runUntilIdle();
    EXPECT_FALSE(SelvaneExclusions::isChoosingApplication());
    ASSERT_EQ(panels.shown().size(), 1u) << "one chooser, however often the button is pressed";
    EXPECT_EQ(panels.shown()[0].title, "选择要排除的应用");
    EXPECT_EQ(listed(), (Names{"Painter", "Writer"}));
    EXPECT_TRUE(SelvaneExclusions::contains(std::string("com.example.writer")));

    panels.cancelNextOpen();
    pressAdd();
    runUntilIdle();
    EXPECT_FALSE(SelvaneExclusions::isChoosingApplication()) << "cancelling clears the flag";
    EXPECT_EQ(listed(), (Names{"Painter", "Writer"}));
}

TEST_F(SelvaneExclusionsWindowTest, NoChooserWithoutAWindow) {
    auto loose = SelvaneExclusionsView::make();
    loose->addApplications();
    runUntilIdle();
    EXPECT_TRUE(panels.shown().empty());
    EXPECT_FALSE(SelvaneExclusions::isChoosingApplication());
}

}  // namespace
}  // namespace tallowmere
