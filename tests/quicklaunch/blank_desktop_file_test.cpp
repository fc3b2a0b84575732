#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_error.h"
#include "localization/interface_language.h"
#include "platform/system/files.h"
#include "quicklaunch/quick_launch_store.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;

class BlankDesktopFileTest : public testing::TallowmereTest {
protected:
    BlankDesktopFileTest() { InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese); }

    fs::path desktop() const { return home() / "Desktop"; }
    std::vector<std::string> desktopFiles() const {
        std::vector<std::string> names;
        if (!fs::exists(desktop())) return names;
        for (const auto& item : fs::directory_iterator(desktop())) names.push_back(item.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(BlankDesktopFileTest, NamesAreCleanedAndATakenNameGetsTheNextNumber) {
    struct Case {
        const char* name;
        const char* extension;
        const char* first;
        const char* second;
        std::size_t size;
    } cases[] = {
        {"a/b:c", ".md.", "a／b：c.md", "a／b：c (1).md", 0},
        {"Report.DOCX", "txt", "Report.DOCX", "Report (1).DOCX", 1369},
        {"", "", "new.txt", "new (1).txt", 0},
        {"  notes\n", " docx ", "notes.docx", "notes (1).docx", 1369},
        {"..", "md", "...md", ".. (1).md", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* expected : {c.first, c.second}) {
            auto created = QuickLaunchStore::createBlankDesktopFile(c.name, c.extension);
            ASSERT_TRUE(created.ok()) << created.error().message;
            EXPECT_EQ(*created, desktop() / expected);
            EXPECT_EQ(fs::file_size(*created), c.size);
        }
    }
}

TEST_F(BlankDesktopFileTest, TheNumberGoesOnPastGapsAndStopsAtTheFirstFreeName) {
    fs::create_directories(desktop());
    for (const char* taken : {"new.txt", "new (1).txt", "new (2).txt", "new (4).txt"}) {
        ASSERT_TRUE(platform::Files::writeAtomically(desktop() / taken, std::string("keep")).ok());
    }
    auto created = QuickLaunchStore::createBlankDesktopFile("new", "txt");
    ASSERT_TRUE(created.ok());
    EXPECT_EQ(created->filename(), "new (3).txt");
    EXPECT_EQ(platform::Files::readText(desktop() / "new.txt").valueOr(std::string()), "keep")
        << "an existing file is never written over";
}

TEST_F(BlankDesktopFileTest, TypesWithoutABlankDocumentAndUnusableNamesCreateNothing) {
    const std::string noTemplate = "无法新建 .%@：缺少有效文档模板，请选择 .txt、.md 或 .docx。";
    auto templateFor = [&](const std::string& extension) {
        std::string text = noTemplate;
        return text.replace(text.find("%@"), 2, extension);
    };
    struct Case {
        const char* what;
        std::string name;
        std::string extension;
        std::string message;
    } cases[] = {
        {"xls", "new", "xls", "无法新建 .xls：缺少有效文档模板，请选择 .txt、.md 或 .docx。"},
        {"the name's own extension", "table.XLSX", "txt", templateFor("XLSX")},
        {"an extension that is a path", "x", "../../escape.txt", templateFor("/../escape.txt")},
        {"NUL in the name", std::string("a\0b", 3), "txt", errorDescription(AppError::invalidQuickFileName)},
        {"line break inside", "a\nb", "txt", errorDescription(AppError::invalidQuickFileName)},
        {"escape character", "a\x1b[31mb", "txt", errorDescription(AppError::invalidQuickFileName)},
        {"C1 control", "a\u0085b", "txt", errorDescription(AppError::invalidQuickFileName)},
        {"broken UTF-8", "a\xC3", "txt", errorDescription(AppError::invalidQuickFileName)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto created = QuickLaunchStore::createBlankDesktopFile(c.name, c.extension);
        ASSERT_FALSE(created.ok());
        EXPECT_EQ(created.error().message, c.message);
        EXPECT_EQ(created.error().systemCode, 1);
        EXPECT_EQ(desktopFiles(), std::vector<std::string>{});
    }
    EXPECT_FALSE(fs::exists(home() / "escape.txt"));
}

TEST_F(BlankDesktopFileTest, AChosenFolderIsUsedAsItIsAndAMissingOneIsAnError) {
    fs::create_directories(home() / "Documents");
    auto created = QuickLaunchStore::createBlankDesktopFile("new", "md", home() / "Documents");
    ASSERT_TRUE(created.ok());
    EXPECT_EQ(*created, home() / "Documents/new.md");

    auto missing = QuickLaunchStore::createBlankDesktopFile("new", "md", home() / "Nowhere");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, platform::ErrorCode::notFound);
    EXPECT_FALSE(fs::exists(home() / "Nowhere"));
}

}  // namespace
}  // namespace tallowmere
