// Pictures a person can look at, written under the build folder:
//   renderings/hosts/hosts_editor_profile.png     a profile selected, the active one checked, unsaved edits
//   renderings/hosts/hosts_quick_menu.png          the quick menu opened on the screen
#include <gtest/gtest.h>

#include <filesystem>

#include "hosts_fixture.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/ui/menu.h"
#include "platform/ui/outline_view.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/text_view.h"
#include "platform/ui/window.h"
#include "platform/ui/window_controller.h"

namespace tallowmere::testing {
namespace {

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "hosts";

class HostsEditorRenderingTest : public HostsTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(renderings);
        // Measured with the fonts that draw it, as in the program.
        context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
        setSystemHosts("127.0.0.1 localhost\n::1 localhost\n");
        ids_ = loadProfiles({{"开发环境", "127.0.0.1 localhost\n10.0.0.12 api.dev.local\n10.0.0.13 web.dev.local\n"},
                             {"测试环境", "127.0.0.1 localhost\n10.1.0.20 api.test.local\n"}});
        controller().library.activeProfileID = ids_[1];
        controller().library.categories.push_back({platform::Uuid::random(), "办公室", {}});
        ASSERT_TRUE(controller().persistLibrary().ok());
    }

    void write(const char* name) {
        const auto file = renderings / name;
        ASSERT_TRUE(platform::ScreenSnapshot::writePng(file).ok());
        EXPECT_GT(std::filesystem::file_size(file), 10000u) << "a picture with content";
    }

    std::vector<platform::Uuid> ids_;
};

TEST_F(HostsEditorRenderingTest, WritesTheEditorWithAnEditedProfile) {
    controller().show();
    controller().rebuildSidebar("profile-" + ids_[0].uuidString());
    auto& editor = *controller().textView;
    controller().windowController->window()->makeFirstResponder(controller().textView);
    editor.setSelectedRange({editor.string().size(), 0});
    editor.insertText("10.0.0.14 admin.dev.local\n");
    runUntilIdle();
    ASSERT_EQ(status(), "有未保存的更改");
    write("hosts_editor_profile.png");
}

TEST_F(HostsEditorRenderingTest, WritesTheOpenedQuickMenu) {
    auto menu = controller().makeQuickSelectionMenu();
    menu->popUp(nullptr, platform::ScreenPoint{500, 800});
    ASSERT_TRUE(menu->isOpen());
    // The pointer rests on the first category, which opens its profiles.
    mouse.moveTo(platform::ScreenPoint{530, 788});
    clock().advance(1);
    runUntilIdle();
    ASSERT_TRUE(menu->items()[0]->submenu()->isOpen());
    write("hosts_quick_menu.png");
    menu->cancelTracking();
}

}  // namespace
}  // namespace tallowmere::testing
