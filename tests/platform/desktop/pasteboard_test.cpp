#include "platform/desktop/pasteboard.h"

#include <gtest/gtest.h>

#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::Pasteboard;
namespace PasteboardType = platform::PasteboardType;

class PasteboardTest : public SimulatedDesktopTest {
  protected:
    Pasteboard& pasteboard = Pasteboard::general();
};

TEST_F(PasteboardTest, ChangeCountCountsReplacementsNotWrites) {
    const int start = pasteboard.changeCount();
    EXPECT_EQ(pasteboard.clearContents(), start + 1);
    ASSERT_TRUE(pasteboard.setString("one"));
    ASSERT_TRUE(pasteboard.setData({1, 2}, "com.example.bytes"));
    EXPECT_EQ(pasteboard.changeCount(), start + 1);
    EXPECT_EQ(pasteboard.types(),
              (std::vector<std::string>{PasteboardType::string, "com.example.bytes"}));
    EXPECT_EQ(pasteboard.declareTypes({PasteboardType::string}), start + 2);
    EXPECT_FALSE(pasteboard.string()) << "declaring replaces the contents";
}

TEST_F(PasteboardTest, DeclaredTypesLimitWhatMayBeWritten) {
    pasteboard.declareTypes({PasteboardType::string});
    EXPECT_TRUE(pasteboard.setString("text"));
    EXPECT_FALSE(pasteboard.setData({1}, PasteboardType::png));
    EXPECT_FALSE(pasteboard.writeFileURLs({"file:///tmp/a"}));
    EXPECT_EQ(pasteboard.string(), "text");
}

TEST_F(PasteboardTest, FileURLsMustBeFileURLs) {
    pasteboard.clearContents();
    EXPECT_FALSE(pasteboard.writeFileURLs({"file:///tmp/a", "https://example.com"}));
    EXPECT_FALSE(pasteboard.writeFileURLs({}));
    ASSERT_TRUE(pasteboard.writeFileURLs({"file:///tmp/a", "file:///tmp/b"}));
    EXPECT_EQ(pasteboard.fileURLs().size(), 2u);
    EXPECT_EQ(pasteboard.string(PasteboardType::fileURL), "file:///tmp/a");
}

TEST_F(PasteboardTest, AnotherApplicationsCopyIsSeenThroughTheChangeCount) {
    setup.grantAccessibility();
    auto window = setup.addFrontWindow({.bundleIdentifier = "com.example.editor", .name = "Editor"},
                                       {.title = "A"});
    auto field = window->addElement({.role = "AXTextField",
                                     .frame = {10, 40, 200, 24},
                                     .value = "copy me",
                                     .selectedRange = platform::AXRange{0, 4}});
    field->focus();
    const int before = pasteboard.changeCount();
    keyboard.press('c', {platform::ModifierFlags::command});
    EXPECT_EQ(pasteboard.changeCount(), before + 1);
    EXPECT_EQ(pasteboard.string(), "copy");
}

}  // namespace
}  // namespace tallowmere::testing
