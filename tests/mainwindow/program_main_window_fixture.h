#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_delegate_fixture.h"
#include "mainwindow/main_window_controller.h"
#include "platform/desktop/event.h"
#include "platform/system/files.h"
#include "platform/ui/button.h"
#include "platform/ui/text_field.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "quicklaunch/paste_enabled_text_field.h"
#include "quicklaunch/quick_launch_entry.h"
#include "quicklaunch/quick_launch_store.h"

namespace tallowmere::testing {

// The whole program in a temporary home, started for a Finder request (so
// no window opens by itself); the person then opens the main window from
// the status menu. The real stores keep their files in that home.
class ProgramMainWindowTest : public AppDelegateTest {
protected:
    // Lays out `entries` as the stored quick-launch list before the program starts.
    void storeQuickLaunchEntries(const std::vector<QuickLaunchEntry>& entries) {
        const auto folder = home() / "Library/Application Support/Perrowgate";
        std::filesystem::create_directories(folder);
        auto json = QuickLaunchEntryCoding::encode(entries);
        ASSERT_TRUE(json.ok());
        ASSERT_TRUE(platform::Files::writeAtomically(folder / "quick-launch.json", *json).ok());
    }

    MainWindowController& openMainWindow() {
        if (!delegate_) {
            launch({"--finder-action"});
            runUntilIdle();
        }
        menuBar.click(*delegate().statusItem());
        EXPECT_TRUE(menus.choose(L("打开主界面")));
        auto& controller = *delegate().mainWindowController();
        controller.window()->contentView()->layoutSubtreeIfNeeded();
        return controller;
    }

    QuickLaunchStore& store() { return *delegate().quickLaunchStore(); }

    // The names in the list as written to disk.
    std::vector<std::string> storedNames() {
        std::vector<std::string> names;
        auto text = platform::Files::readText(store().fileURL());
        if (!text) return names;
        auto entries = QuickLaunchEntryCoding::decode(*text);
        if (!entries) return names;
        for (const auto& entry : *entries) names.push_back(entry.name);
        return names;
    }

    static QuickLaunchEntry entry(QuickLaunchKind kind, std::string name, std::string target,
                                  std::optional<std::string> style = std::nullopt) {
        return {platform::Uuid::random(), kind, std::move(name), std::move(target), std::nullopt, std::move(style),
                std::nullopt};
    }

    // The first view of type T under `root`, `root` included.
    template <typename T>
    static std::shared_ptr<T> findView(const std::shared_ptr<platform::View>& root) {
        if (auto found = std::dynamic_pointer_cast<T>(root)) return found;
        for (const auto& child : root->subviews()) {
            if (auto found = findView<T>(child)) return found;
        }
        return nullptr;
    }

    // The first button under `root` with this title.
    static std::shared_ptr<platform::Button> findButton(const std::shared_ptr<platform::View>& root,
                                                        const std::string& title) {
        if (auto button = std::dynamic_pointer_cast<platform::Button>(root); button && button->title() == title) {
            return button;
        }
        for (const auto& child : root->subviews()) {
            if (auto found = findButton(child, title)) return found;
        }
        return nullptr;
    }
    std::shared_ptr<platform::Button> cardButton(MainWindowController& controller, const std::string& title) {
        auto button = findButton(controller.window()->contentView(), title);
        EXPECT_TRUE(button) << "no button " << title;
        return button;
    }

    // The editable one-line inputs of a dialog, in the order they were added.
    static std::vector<std::shared_ptr<PasteEnabledTextField>> inputFields(const platform::Alert& alert) {
        std::vector<std::shared_ptr<PasteEnabledTextField>> fields;
        for (const auto& view : alert.accessoryView->subviews()) {
            if (auto field = std::dynamic_pointer_cast<PasteEnabledTextField>(view)) fields.push_back(field);
        }
        return fields;
    }

    // A click on the strip's icon at `index` (clickCount 2: a double click),
    // moved by `dx` before the release (a drag).
    static void pressIcon(MainWindowController& controller, std::size_t index, int clickCount = 1, double dx = 0) {
        auto& item = *controller.quickLaunchIconStrip->items().at(index);
        const auto start = item.convertToScreen(platform::Point{40, 36});
        const platform::ScreenPoint end{start.x + dx, start.y};
        item.mouseDown(platform::Event::mouse(platform::EventType::leftMouseDown, start, clickCount));
        if (dx != 0) item.mouseDragged(platform::Event::mouse(platform::EventType::leftMouseDragged, end, clickCount));
        item.mouseUp(platform::Event::mouse(platform::EventType::leftMouseUp, end, clickCount));
    }
};

}  // namespace tallowmere::testing
