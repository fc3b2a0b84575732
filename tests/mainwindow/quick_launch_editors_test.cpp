#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/app_error.h"
#include "platform/base/format.h"
#include "mainwindow/program_main_window_fixture.h"
#include "mainwindow/quick_launch_editor_inputs.h"
#include "platform/base/url.h"
#include "platform/desktop/pasteboard.h"
#include "platform/system/paths.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/text_view.h"

namespace tallowmere::testing {
namespace {

using platform::Alert;
namespace ModalResponses = platform::ModalResponses;

class QuickLaunchEditorsTest : public ProgramMainWindowTest {
protected:
    static std::shared_ptr<platform::SegmentedControl> styleControl(const Alert& alert) {
        return findView<platform::SegmentedControl>(alert.accessoryView);
    }
    static std::shared_ptr<platform::TextView> textView(const Alert& alert) {
        return findView<platform::TextView>(alert.accessoryView);
    }
    // The texts of the dialog's labels, in order.
    static std::vector<std::string> labels(const Alert& alert) {
        std::vector<std::string> texts;
        for (const auto& view : alert.accessoryView->subviews()) {
            if (auto label = std::dynamic_pointer_cast<platform::Label>(view)) texts.push_back(label->stringValue());
        }
        return texts;
    }

    // Fills the add-website dialog and confirms it.
    void addWebsite(MainWindowController& c, std::string address, std::string name = {}) {
        alerts.answerWith([address, name](Alert& dialog) {
            auto fields = inputFields(dialog);
            fields.at(0)->setStringValue(address);
            fields.at(1)->setStringValue(name);
            return ModalResponses::alertFirstButton;
        });
        cardButton(c, "+" + std::string(L("网页")))->performClick();
    }
};

TEST_F(QuickLaunchEditorsTest, AddWebsiteTakesExistingAbsolutePathsAsFilesAndTheRestAsAddresses) {
    std::filesystem::create_directories(home() / "folder");
    std::ofstream(home() / "page.html") << "<p>";
    // A folder named like a relative address, where the program happens to run.
    const auto workingFolder = std::filesystem::current_path();
    std::filesystem::current_path(home());
    std::filesystem::create_directories(home() / "docs");
    struct Case {
        std::string address;
        std::optional<QuickLaunchKind> kind;  // none: refused
        std::string target;
        std::string status;
    } cases[] = {
        {"  ~/folder \n", QuickLaunchKind::file, (home() / "folder").string(), L("已添加本地文件或文件夹。")},
        {platform::Url::fileUrl((home() / "page.html").string()).string(), QuickLaunchKind::file,
         (home() / "page.html").string(), L("已添加本地文件或文件夹。")},
        {"docs", QuickLaunchKind::website, "https://docs", L("已添加快捷网页。")},
        {"example.com", QuickLaunchKind::website, "https://example.com", L("已添加快捷网页。")},
        {(home() / "missing").string(), std::nullopt, "", errorDescription(AppError::invalidWebsite)},
        {"   ", std::nullopt, "", errorDescription(AppError::invalidWebsite)},
    };
    storeQuickLaunchEntries({});
    auto& c = openMainWindow();
    for (const auto& sc : cases) {
        SCOPED_TRACE(sc.address);
        const auto count = store().entries().size();
        const auto alertsBefore = alerts.count();
        addWebsite(c, sc.address);
        EXPECT_EQ(c.statusText(), sc.status);
        if (!sc.kind) {
            EXPECT_EQ(store().entries().size(), count);
            EXPECT_EQ(alerts.count(), alertsBefore + 2) << "the dialog, then the store's alert";
            EXPECT_EQ(alerts.last().messageText, sc.status);
            continue;
        }
        ASSERT_EQ(store().entries().size(), count + 1);
        EXPECT_EQ(store().entries().back().kind, *sc.kind);
        EXPECT_EQ(store().entries().back().target, sc.target);
    }
    std::filesystem::current_path(workingFolder);
}

TEST_F(QuickLaunchEditorsTest, TheStyleControlOpensOnTheStoredStyleOrTheGlobe) {
    EXPECT_EQ(websiteIconStyleAtSegment(std::nullopt), WebsiteIconStyle::edge);
    EXPECT_EQ(websiteIconStyleAtSegment(-1), WebsiteIconStyle::edge);
    EXPECT_EQ(websiteIconStyleAtSegment(1), WebsiteIconStyle::chrome);
    EXPECT_EQ(websiteIconStyleAtSegment(7), WebsiteIconStyle::globe);

    storeQuickLaunchEntries({entry(QuickLaunchKind::website, "A", "https://a.example", "chrome"),
                             entry(QuickLaunchKind::website, "B", "https://b.example"),
                             entry(QuickLaunchKind::website, "C", "https://c.example", "Chrome")});
    auto& c = openMainWindow();
    std::vector<std::optional<int>> opened;
    auto record = [&](Alert& dialog) {
        opened.push_back(styleControl(dialog)->selectedSegment());
        return ModalResponses::alertFirstButton + 1;
    };
    alerts.answerWith(record);
    cardButton(c, "+" + std::string(L("网页")))->performClick();
    for (std::size_t icon = 0; icon < 3; ++icon) {
        alerts.answerWith(record);
        pressIcon(c, icon, 2);
    }
    EXPECT_EQ(opened, (std::vector<std::optional<int>>{3, 1, 3, 3}));

    // Saving with no segment chosen stores the first style.
    alerts.answerWith([](Alert& dialog) {
        auto control = styleControl(dialog);
        control->setSelected(false, *control->selectedSegment());
        return ModalResponses::alertFirstButton;
    });
    pressIcon(c, 1, 2);
    EXPECT_EQ(store().entries()[1].websiteIconStyle, "edge");
    EXPECT_EQ(c.statusText(), L("已更新快捷网页。"));
}

TEST_F(QuickLaunchEditorsTest, DialogsShowTheirTextsAndTheIconRowByLanguage) {
    struct Case {
        InterfaceLanguage::Value language;
        const char* iconRow;
    } cases[] = {{InterfaceLanguage::english, "Icon"},
                 {InterfaceLanguage::traditionalChineseHongKong, "图标"},
                 {InterfaceLanguage::simplifiedChinese, "图标"}};
    storeQuickLaunchEntries({entry(QuickLaunchKind::website, "A", "https://a.example", "chrome"),
                             entry(QuickLaunchKind::information, "B", "text")});
    auto& c = openMainWindow();
    for (const auto& sc : cases) {
        SCOPED_TRACE(sc.iconRow);
        InterfaceLanguage::setCurrent(sc.language);
        std::vector<std::vector<std::string>> seen;
        for (int dialog = 0; dialog < 4; ++dialog) {
            alerts.answerWith([&](Alert& shown) {
                seen.push_back(labels(shown));
                seen.back().push_back(shown.buttons().front().title);
                return ModalResponses::alertFirstButton + 1;
            });
        }
        c.addQuickWebsite();
        c.editQuickWebsite(store().entries()[0]);
        c.addQuickInformation();
        c.editQuickInformation(store().entries()[1]);
        ASSERT_EQ(seen.size(), 4u);
        EXPECT_EQ(seen[0], (std::vector<std::string>{L("网址或本地路径"), L("名称"), sc.iconRow, L("添加")}));
        EXPECT_EQ(seen[1], (std::vector<std::string>{L("网址"), L("名称"), sc.iconRow, L("保存快捷网页")}));
        EXPECT_EQ(seen[2], (std::vector<std::string>{L("标签名"), L("信息"), sc.iconRow, L("添加")}));
        EXPECT_EQ(seen[3], (std::vector<std::string>{L("标签名"), L("信息"), sc.iconRow, L("保存")}));
    }
}

TEST_F(QuickLaunchEditorsTest, InformationUpToAHundredCharactersIsStored) {
    storeQuickLaunchEntries({});
    auto& c = openMainWindow();
    const std::string hundred(100, 'x');
    for (const auto& text : {hundred + "y", hundred}) {
        alerts.answerWith([text](Alert& dialog) {
            textView(dialog)->setString(text);
            return ModalResponses::alertFirstButton;
        });
        cardButton(c, "+" + std::string(L("信息")))->performClick();
    }
    ASSERT_EQ(store().entries().size(), 1u);
    EXPECT_EQ(store().entries()[0].target, hundred);
    EXPECT_EQ(alerts.shown()[1].messageText, L("请输入不超过 100 字的信息内容。"));
    EXPECT_EQ(c.statusText(), L("已添加粘贴信息。"));
}

TEST_F(QuickLaunchEditorsTest, CommandVPastesIntoTheFocusedInputOnly) {
    storeQuickLaunchEntries({});
    auto& c = openMainWindow();
    platform::Pasteboard::general().clearContents();
    platform::Pasteboard::general().setString("pasted");
    const auto monitors = platform::EventMonitors::shared().localMonitorCount();

    alerts.answerWith([this](Alert& dialog) {
        auto fields = inputFields(dialog);
        EXPECT_EQ(dialog.window()->firstResponder(), fields[0]) << "the address has the keys at first";
        keyboard.press('v', platform::ModifierFlags{platform::ModifierFlags::command});
        dialog.window()->makeFirstResponder(fields[1]);
        keyboard.press('v', platform::ModifierFlags{platform::ModifierFlags::command | platform::ModifierFlags::shift});
        EXPECT_EQ(fields[0]->stringValue(), "pasted");
        EXPECT_EQ(fields[1]->stringValue(), "") << "Command+Shift+V is not a paste";
        return ModalResponses::alertFirstButton + 1;
    });
    cardButton(c, "+" + std::string(L("网页")))->performClick();

    alerts.answerWith([this](Alert& dialog) {
        auto text = textView(dialog);
        EXPECT_EQ(dialog.window()->firstResponder(), text) << "the text has the keys at first";
        keyboard.press('v', platform::ModifierFlags{platform::ModifierFlags::command});
        EXPECT_EQ(text->string(), "pasted");
        return ModalResponses::alertFirstButton;
    });
    cardButton(c, "+" + std::string(L("信息")))->performClick();
    ASSERT_EQ(store().entries().size(), 1u);
    EXPECT_EQ(store().entries()[0].target, "pasted");
    EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), monitors) << "the paste keys end with the dialog";
}

}  // namespace
}  // namespace tallowmere::testing
