#include "app/app_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "localization/interface_language.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

class AppErrorTest : public testing::TallowmereTest {};

TEST_F(AppErrorTest, AccessibilityMessageNamesTheProductInChineseInEveryLanguage) {
    struct Case {
        InterfaceLanguage language;
        const char* expected;
    } cases[] = {
        {InterfaceLanguage::simplifiedChinese, "请先在系统设置中允许 塔洛梅百宝箱 使用辅助功能。"},
        {InterfaceLanguage::english, "Please allow 塔洛梅百宝箱 to use Accessibility in System Settings first."},
        {InterfaceLanguage::japanese, "先にシステム設定で 塔洛梅百宝箱 にアクセシビリティの使用を許可してください。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.language.rawValue()));
        InterfaceLanguage::setCurrent(c.language);
        EXPECT_EQ(errorDescription(AppError::accessibilityRequired), c.expected);
    }
}

TEST_F(AppErrorTest, EveryMessageIsFilledInEveryLanguageAndTranslatedForEnglish) {
    for (InterfaceLanguage language : InterfaceLanguage::allCases()) {
        InterfaceLanguage::setCurrent(language);
        for (AppError error : allAppErrors) {
            SCOPED_TRACE(std::string(language.rawValue()) + ", case " + std::to_string(static_cast<int>(error)));
            const std::string text = errorDescription(error);
            EXPECT_FALSE(text.empty());
            EXPECT_EQ(text.find("%@"), std::string::npos);
            EXPECT_EQ(makeError(error).message, text);
        }
    }
    // An English reader never sees a Chinese sentence.
    InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese);
    std::vector<std::string> chinese;
    for (AppError error : allAppErrors) chinese.push_back(errorDescription(error));
    InterfaceLanguage::setCurrent(InterfaceLanguage::english);
    for (std::size_t i = 0; i < allAppErrors.size(); ++i) {
        EXPECT_NE(errorDescription(allAppErrors[i]), chinese[i]) << chinese[i];
    }
}

}  // namespace
}  // namespace tallowmere
