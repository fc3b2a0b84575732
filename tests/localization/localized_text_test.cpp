#include "localization/localized_text.h"

#include <gtest/gtest.h>

#include <string>

#include "localization/interface_language.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

class LocalizedTextTest : public testing::TallowmereTest {
protected:
    void SetUp() override { InterfaceLanguage::setCurrent(InterfaceLanguage::english); }
};

TEST_F(LocalizedTextTest, TablesAndLiteralKeysAreHandedOutNotCopied) {
    static constexpr char unknown[] = "谁也不认识的一个很长的键";
    EXPECT_EQ(L(unknown).data(), unknown);
    const LocalizedText first = L("窗口手势控制");
    EXPECT_EQ(first, "Window Controls");
    EXPECT_EQ(L("窗口手势控制").data(), first.data()) << "each lookup should view the one stored text";
}

TEST_F(LocalizedTextTest, KeyAnsweredAsItIsOutlivesTheCallersKey) {
    // Short keys live inside the answer itself; copies and moves must follow them.
    for (const std::string original : {"短键", "谁也不认识的一个很长的键，比短字符串长得多"}) {
        SCOPED_TRACE(original);
        std::string key = original;
        LocalizedText answer = L(std::string_view(key));
        key.assign(key.size(), 'x');
        EXPECT_EQ(answer, original);

        LocalizedText copy = answer;
        LocalizedText moved = std::move(answer);
        answer = LocalizedText::copied("另一个不同的文本，足够长以便放在堆上");
        EXPECT_EQ(copy, original);
        EXPECT_EQ(moved, original);
        LocalizedText assigned = L("窗口手势控制");
        assigned = copy;
        copy = LocalizedText::copied("zz");
        EXPECT_EQ(assigned, original);
        EXPECT_EQ(std::string(assigned) + "!", original + "!");
    }
}

}  // namespace
}  // namespace tallowmere
