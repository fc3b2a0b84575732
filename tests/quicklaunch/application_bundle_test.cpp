#include "quicklaunch/application_bundle.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

#include "platform/system/locale.h"
#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;

std::string infoPlist(const std::string& entries) {
    return R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><dict>)" + entries + "</dict></plist>";
}

std::string utf16LittleEndianWithMark(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

class ApplicationBundleTest : public testing::SimulatedDesktopTest {
protected:
    const fs::path bundle = home() / "Applications/Editor.app";

    void write(const fs::path& relative, const std::string& bytes) {
        fs::create_directories((bundle / relative).parent_path());
        std::ofstream(bundle / relative, std::ios::binary) << bytes;
    }
    void strings(const std::string& localization, const std::string& bytes) {
        write("Contents/Resources/" + localization + ".lproj/InfoPlist.strings", bytes);
    }
};

TEST_F(ApplicationBundleTest, PreferredNameTakesChineseThenRunningThenListsThenTheFolderName) {
    platform::Locale::shared().setPreferredLanguages({"fr-FR", "en-US"});
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::string expected;
    } cases[] = {  // in order: from the running case on, the editor runs
        {"nothing on disk or installed", [] {}, "Editor"},
        {"a folder without lists", [&] { fs::create_directories(bundle); }, "Editor"},
        {"the information list's name",
         [&] { write("Contents/Info.plist", infoPlist("<key>CFBundleName</key><string>Ed</string>")); }, "Ed"},
        {"its display name first",
         [&] {
             write("Contents/Info.plist", infoPlist("<key>CFBundleName</key><string>Ed</string>"
                                                    "<key>CFBundleDisplayName</key><string>Editor App</string>"));
         },
         "Editor App"},
        {"an empty display name is no name",
         [&] {
             write("Contents/Info.plist", infoPlist("<key>CFBundleName</key><string>Ed</string>"
                                                    "<key>CFBundleDisplayName</key><string></string>"));
         },
         "Ed"},
        {"the localized list of the user's language",
         [&] {
             write("Contents/Info.plist", infoPlist("<key>CFBundleDisplayName</key><string>Editor App</string>"));
             strings("fr", "\"CFBundleName\" = \"Éditeur\";");
             strings("en", "\"CFBundleName\" = \"Editor (English)\";");
         },
         "Éditeur"},
        {"the running application's name",
         [&] {
             write("Contents/Info.plist", infoPlist("<key>CFBundleDisplayName</key><string>Editor App</string>"));
             setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor Running",
                                   .bundlePath = (bundle / "Contents/..").string()});
         },
         "Editor Running"},
        {"a Chinese display name in UTF-16",
         [&] {
             strings("zh_CN", "/* names */\n\"CFBundleName\" = \"旧名\";");
             strings("zh-Hans", utf16LittleEndianWithMark(u"\"CFBundleDisplayName\" = \"编辑器\"; // shown"));
         },
         "编辑器"},
        {"the next Chinese spelling when the first has no name",
         [&] {
             strings("zh-Hans", "\"CFBundleDisplayName\" = \"\";");
             strings("zh_CN", "CFBundleName = \"旧名\";");
         },
         "旧名"},
        {"a damaged Chinese list is passed over", [&] { strings("zh-Hans", "\"CFBundleDisplayName\" = \"编辑器\""); },
         "Editor Running"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(home() / "Applications");
        c.arrange();
        EXPECT_EQ(preferredApplicationName(bundle), c.expected);
    }
}

TEST_F(ApplicationBundleTest, AnApplicationInstalledOnlyOnTheSimulatedDesktopStandsInForItsBundle) {
    setup.addApplication({.bundleIdentifier = "com.example.mail", .name = "Mail", .bundlePath = "/Applications/Mail.app",
                          .running = false});
    auto mail = ApplicationBundle::open("/Applications/Mail.app/");
    ASSERT_TRUE(mail.has_value());
    EXPECT_EQ(mail->bundleIdentifier(), "com.example.mail");
    EXPECT_EQ(preferredApplicationName("/Applications/Mail.app"), "Mail");
    EXPECT_FALSE(ApplicationBundle::open("/Applications/Nothing.app").has_value());
}

}  // namespace
}  // namespace tallowmere
