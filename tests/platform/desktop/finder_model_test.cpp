// Finder as scripts see it: the scene's folder and selection, answered
// through osascript and inside the program.
#include "platform/desktop/finder_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/desktop/desktop_scene.h"
#include "platform/system/apple_script.h"
#include "platform/system/process_runner.h"
#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

namespace fs = std::filesystem;
using platform::FinderModel;

constexpr const char* selectionScript = "tell application \"Finder\" to get selection";
constexpr const char* folderScript = "tell application \"Finder\" to get target of front window";

class FinderModelTest : public SimulatedDesktopTest {
protected:
    fs::path projects = home() / "Projects";
    FinderModel& finder = desktop.finder();

    FinderModelTest() {
        fs::create_directories(projects / "sub");
        fs::create_directories(home() / "Desktop");
        std::ofstream(projects / "a.txt") << "a";
        finder.acceptScript(selectionScript, FinderModel::Query::selectionPaths);
        finder.acceptScript(folderScript, FinderModel::Query::frontFolderPath);
    }

    void putScene(const std::string& finderMember, bool withFinderWindow = true) {
        const std::string application = R"("applications": [{"name": "Finder", "bundleIdentifier": "com.apple.finder",
                              "windows": [{"document": "~/Projects", "frame": {"x": 10, "y": 40, "width": 600, "height": 400}}]}],)";
        const std::string json = R"({"screens": [{"frame": {"x": 0, "y": 0, "width": 1440, "height": 900}}],)" +
                                 (withFinderWindow ? application : std::string()) + R"("finder": )" + finderMember + "}";
        auto scene = platform::DesktopScene::parse(json, home());
        ASSERT_TRUE(scene) << scene.error().message;
        ASSERT_TRUE(scene->apply(desktop));
    }
    static platform::ProcessResult osascript(const char* script) {
        auto ran = platform::ProcessRunner::run({"/usr/bin/osascript", {"-e", script}});
        EXPECT_TRUE(ran);
        return ran ? *ran : platform::ProcessResult{};
    }
};

TEST_F(FinderModelTest, AnswersFromTheSceneThroughOsascript) {
    putScene(R"({"selection": ["~/Projects/a.txt", "~/Projects/sub"]})");
    const auto selection = osascript(selectionScript);
    EXPECT_EQ(selection.status, 0);
    EXPECT_EQ(selection.standardOutput, (projects / "a.txt").string() + ", " + (projects / "sub").string() + "/\n");
    EXPECT_EQ(osascript(folderScript).standardOutput, projects.string() + "/\n");

    // With its window closed, Finder's folder is the desktop.
    desktop.application("com.apple.finder")->windows().front()->close();
    EXPECT_EQ(osascript(folderScript).standardOutput, (home() / "Desktop").string() + "/\n");
}

TEST_F(FinderModelTest, RefusalsAreErrorDictionaries) {
    struct Case {
        const char* name;
        const char* finder;
        int number;
    } cases[] = {
        {"automationRefused", R"({"automationAllowed": false})", -1743},
        {"notResponding", R"({"responding": false})", -1712},
        {"selectedItemGone", R"({"selection": ["~/Projects/gone.txt"]})", -43},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        putScene(c.finder, false);
        auto script = platform::AppleScript::make(selectionScript);
        ASSERT_TRUE(script);
        const auto outcome = script->execute();
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->number, c.number);
        EXPECT_FALSE(outcome.result);
        const auto printed = osascript(selectionScript);
        EXPECT_EQ(printed.status, 1);
        EXPECT_TRUE(printed.standardError.ends_with("(" + std::to_string(c.number) + ")\n")) << printed.standardError;
    }
    auto unknown = platform::AppleScript::make("tell application \"Finder\" to quit");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->execute().error->number, -1708);
    EXPECT_FALSE(platform::AppleScript::make(" \n"));
}

}  // namespace
}  // namespace tallowmere::testing
