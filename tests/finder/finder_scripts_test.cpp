#include "finder/finder_scripts.h"

#include <gtest/gtest.h>

#include "platform/system/file_digest.h"

namespace tallowmere {
namespace {

// The scripts go to Finder byte for byte: any change of a space or a line
// break is a different script.
TEST(FinderScriptsTest, AreTheFixedTexts) {
    struct Case {
        std::string_view script;
        std::size_t size;
        const char* sha256;
    } cases[] = {
        {FinderScripts::selection, 224, "d7c059487bd825deca1fdd42e4eede2131c0f418f557706f81e927c8d1fb0a1f"},
        {FinderScripts::frontFolder, 295, "0a519aa41022a076985d770779ac0e2a0b632a1b314ea1d99bbb34bd91706581"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script.substr(0, 30));
        EXPECT_EQ(c.script.size(), c.size);
        EXPECT_FALSE(c.script.ends_with("\n"));
        EXPECT_EQ(platform::FileDigest::hex(c.script, platform::DigestAlgorithm::sha256), c.sha256);
    }
}

}  // namespace
}  // namespace tallowmere
