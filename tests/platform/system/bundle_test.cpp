#include <gtest/gtest.h>

#include "platform/system/bundle.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using BundleTest = testing::TallowmereTest;

TEST_F(BundleTest, InformationListCarriesTheIdentityAndTheBuildsVersion) {
    const Bundle& bundle = Bundle::main();
    EXPECT_EQ(bundle.bundleIdentifier(), "com.quenlow.tallowmere");
    for (const char* key : {"CFBundleShortVersionString", "CFBundleVersion"}) {
        SCOPED_TRACE(key);
        const PropertyValue* value = bundle.objectForInfoDictionaryKey(key);
        ASSERT_NE(value, nullptr);
        ASSERT_NE(value->asString(), nullptr);
        EXPECT_FALSE(value->asString()->empty());
        EXPECT_EQ(value->asString()->find('@'), std::string::npos) << "unsubstituted build variable";
    }
    EXPECT_EQ(bundle.objectForInfoDictionaryKey("NoSuchKey"), nullptr);
}

}  // namespace
}  // namespace tallowmere::platform
