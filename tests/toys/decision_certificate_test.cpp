// Also writes a picture a person can look at, under the build folder:
//   renderings/toys/decision_certificate.png   a fixed decision
#include "toys/decision_certificate.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/iso8601.h"
#include "platform/gfx/png.h"
#include "platform/system/files.h"
#include "support/fixture.h"
#include "support/scoped_time_zone.h"

namespace tallowmere::testing {
namespace {

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "toys";

class DecisionCertificateTest : public TallowmereTest {
protected:
    static platform::Date at(const char* text) { return platform::Iso8601::parse(text).value(); }

    ScientificDecisionRecord record(std::string matter = "周末去爬山还是看电影") {
        return {"小王、小李、小张", std::move(matter), "D", "看电影", at("2026-10-01T12:34:56+08:00")};
    }

    ScopedTimeZone zone_{"Asia/Shanghai"};
};

TEST(ChineseDateTest, MonthsAndDaysUseTensAndYearsGoDigitByDigit) {
    struct Case {
        int number;
        const char* text;
    } cases[] = {{2026, "二〇二六"}, {2000, "二〇〇〇"}, {1, "一"}, {9, "九"}, {10, "十"},
                 {12, "十二"},       {20, "二十"},       {31, "三十一"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(DecisionCertificate::chineseDate(c.number), c.text);
    }
}

TEST_F(DecisionCertificateTest, DateLineAndFileNameFollowTheLocalClock) {
    const auto date = at("2026-12-31T23:59:58+08:00");
    EXPECT_EQ(DecisionCertificate::chineseDateLine(date), "二〇二六年十二月三十一日");
    EXPECT_EQ(DecisionCertificate::certificateFileName(date), "塔洛梅科学决策证书-20261231-235958.png");
}

TEST_F(DecisionCertificateTest, TwoSavesInOneSecondNeverOverwriteEachOther) {
    std::filesystem::create_directories(home() / "Desktop");
    const auto image = DecisionCertificate::certificateImage(record());
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) {
        const auto saved = DecisionCertificate::saveToDesktop(record(), image);
        ASSERT_TRUE(std::holds_alternative<std::filesystem::path>(saved));
        names.push_back(std::get<std::filesystem::path>(saved).filename().string());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"塔洛梅科学决策证书-20261001-123456.png",
                                               "塔洛梅科学决策证书-20261001-123456-2.png",
                                               "塔洛梅科学决策证书-20261001-123456-3.png"}));
    const auto decoded = platform::readPng(home() / "Desktop" / names[1]);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded->pixelsWide(), image.pixelsWide());
}

TEST_F(DecisionCertificateTest, MissingDesktopIsReportedInTheOwnDomain) {
    std::filesystem::remove_all(home() / "Desktop");
    const auto saved = DecisionCertificate::saveToDesktop(record(), DecisionCertificate::certificateImage(record()));
    ASSERT_TRUE(std::holds_alternative<CertificateError>(saved));
    EXPECT_EQ(std::get<CertificateError>(saved), (CertificateError{"ScientificDecision", 1, "未找到桌面文件夹。"}));
}

TEST_F(DecisionCertificateTest, AnEmptyImageIsNotWrittenAsAPng) {
    std::filesystem::create_directories(home() / "Desktop");
    const auto saved = DecisionCertificate::saveToDesktop(record(), platform::Bitmap());
    ASSERT_TRUE(std::holds_alternative<CertificateError>(saved));
    EXPECT_EQ(std::get<CertificateError>(saved).localizedDescription, "无法生成 PNG 图片。");
    EXPECT_TRUE(std::filesystem::is_empty(home() / "Desktop"));
}

TEST_F(DecisionCertificateTest, RendersAFixedDecisionAndKeepsLongTextsInsideTheBorder) {
    std::filesystem::create_directories(renderings);
    const auto image = DecisionCertificate::certificateImage(record());
    ASSERT_FALSE(DecisionCertificate::save(image, renderings / "decision_certificate.png"));
    ASSERT_TRUE(platform::readPng(renderings / "decision_certificate.png").ok());

    // Between the border and the page's edge nothing but paper, however long the matter.
    std::string longMatter;
    for (int i = 0; i < 60; ++i) longMatter += "这件事情非常复杂而且说来话长，";
    const auto crowded = DecisionCertificate::certificateImage(record(longMatter));
    ASSERT_FALSE(DecisionCertificate::save(crowded, renderings / "decision_certificate_long.png"));
    const auto paper = crowded.pixel(30, 30);
    for (int y = 10; y < crowded.pixelsHigh() - 10; y += 7) {
        for (const int x : {10, 20, crowded.pixelsWide() - 20, crowded.pixelsWide() - 10}) {
            ASSERT_EQ(crowded.pixel(x, y), paper) << "ink at " << x << ", " << y;
        }
    }
    for (int x = 10; x < crowded.pixelsWide() - 10; x += 7) {
        ASSERT_EQ(crowded.pixel(x, crowded.pixelsHigh() - 12), paper) << "ink at the bottom, x " << x;
    }
}

}  // namespace
}  // namespace tallowmere::testing
