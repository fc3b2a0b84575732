#include "platform/base/property_value.h"

#include <gtest/gtest.h>

#include "platform/base/result.h"

namespace tallowmere::platform {
namespace {

TEST(PropertyValueTest, BooleansIntegersAndRealsStayApart) {
    const PropertyValue flag = true, count = 1, ratio = 1.0;
    EXPECT_EQ(flag.type(), PropertyType::boolean);
    EXPECT_EQ(count.type(), PropertyType::integer);
    EXPECT_EQ(ratio.type(), PropertyType::real);
    EXPECT_FALSE(flag.asInteger().has_value());
    EXPECT_FALSE(flag.asNumber().has_value());
    EXPECT_FALSE(count.asBoolean().has_value());
    EXPECT_EQ(count.asNumber(), 1.0);
    EXPECT_NE(flag, count);
    EXPECT_NE(count, ratio);
    EXPECT_EQ(PropertyValue("text").type(), PropertyType::string) << "a literal must not become a boolean";
}

TEST(PropertyValueTest, FindReadsDictionariesOnly) {
    const PropertyValue domain = PropertyValue::Dictionary{{"themeMode", "dark"}, {"count", 3}};
    ASSERT_NE(domain.find("themeMode"), nullptr);
    EXPECT_EQ(*domain.find("themeMode")->asString(), "dark");
    EXPECT_EQ(domain.find("missing"), nullptr);
    EXPECT_EQ(PropertyValue(PropertyValue::Array{1}).find("themeMode"), nullptr);
}

TEST(ResultTest, CarriesAValueOrACodedError) {
    Result<int> good = 3;
    Result<int> bad = Error{ErrorCode::notFound, "No such layout."};
    Result<void> done;
    Result<void> failed = Error{ErrorCode::ioFailed, "Disk full.", 28};
    EXPECT_TRUE(good.ok());
    EXPECT_EQ(*good, 3);
    EXPECT_FALSE(bad);
    EXPECT_EQ(bad.error().code, ErrorCode::notFound);
    EXPECT_EQ(bad.valueOr(7), 7);
    EXPECT_TRUE(done.ok());
    EXPECT_EQ(failed.error().systemCode, 28);
}

}  // namespace
}  // namespace tallowmere::platform
