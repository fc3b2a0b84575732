#include "platform/desktop/display_hardware.h"

#include <gtest/gtest.h>

#include <numeric>

#include "platform/desktop/desktop_scene.h"
#include "platform/desktop/display_identity.h"
#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::DesktopScene;
using platform::DisplayHardware;
using platform::DisplayIdentity;

// An EDID base block for vendor "DEL", product 0x4321, serial 99, name.
std::vector<std::uint8_t> edid(const std::string& name) {
    std::vector<std::uint8_t> block(128, 0);
    const std::uint8_t header[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::copy(std::begin(header), std::end(header), block.begin());
    block[8] = 0x10, block[9] = 0xAC;   // vendor, big-endian
    block[10] = 0x21, block[11] = 0x43;  // product, low byte first
    block[12] = 99;
    const std::size_t descriptor = 72;
    block[descriptor + 3] = 0xFC;
    for (std::size_t i = 0; i < 13; ++i) block[descriptor + 5 + i] = i < name.size() ? name[i] : i == name.size() ? 0x0A : 0x20;
    block[127] = static_cast<std::uint8_t>(256 - std::accumulate(block.begin(), block.end() - 1, 0u) % 256);
    return block;
}

TEST(DisplayIdentityTest, ReadsTheEdidBaseBlock) {
    auto identity = DisplayIdentity::fromEdid(edid("DELL U2720Q"));
    ASSERT_TRUE(identity.ok()) << identity.error().message;
    EXPECT_EQ(identity->vendor, 0x10ACu);
    EXPECT_EQ(identity->product, 0x4321u);
    EXPECT_EQ(identity->serial, 99u);
    EXPECT_EQ(identity->productName, "DELL U2720Q");
    EXPECT_EQ(identity->manufacturerCode(), "DEL");

    auto badSum = edid("X");
    badSum[20] ^= 1;
    auto badHeader = edid("X");
    badHeader[1] = 0;
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } refused[] = {{"short", std::vector<std::uint8_t>(100, 0)}, {"checksum", badSum}, {"header", badHeader}};
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(DisplayIdentity::fromEdid(c.bytes).ok());
    }
}

class DisplayHardwareTest : public SimulatedDesktopTest {};

TEST_F(DisplayHardwareTest, ScenesDescribeEachDisplaysHardware) {
    auto scene = DesktopScene::parse(R"({"screens": [
        {"frame": {"x": 0, "y": 0, "width": 1440, "height": 900}, "builtIn": true, "brightness": 0.25},
        {"frame": {"x": 1440, "y": 0, "width": 1920, "height": 1080}, "name": "U27",
         "identity": {"vendor": 4268, "product": 17185, "serial": 7, "productName": "U27", "location": "IOService:/x/fb"},
         "ddc": {"maximum": 255, "current": 51, "failingSends": 1}}]})",
                                     home());
    ASSERT_TRUE(scene.ok()) << scene.error().message;
    ASSERT_TRUE(scene->apply(desktop).ok());
    auto& hardware = desktop.displayHardware();
    const auto screens = desktop.screens().screens();
    float level = 0;
    EXPECT_EQ(hardware.getBrightness(screens[0]->displayID(), level), 0);
    EXPECT_FLOAT_EQ(level, 0.25f);
    EXPECT_NE(hardware.getBrightness(screens[1]->displayID(), level), 0) << "an external display has no panel";
    auto monitor = screens[1]->device()->monitor();
    ASSERT_TRUE(monitor);
    EXPECT_EQ(monitor->spec(), (platform::DdcMonitorSpec{.maximum = 255, .current = 51, .failingSends = 1}));

    auto info = hardware.infoDictionary(screens[1]->displayID());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->at("DisplayVendorID"), platform::PropertyValue(4268));
    EXPECT_EQ(info->at("IODisplayLocation"), platform::PropertyValue("IOService:/x/fb"));

    const auto registry = hardware.serviceRegistry();
    std::vector<std::string> names;
    for (const auto& entry : registry) names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"AppleCLCD2", "DCPAVServiceProxy", "IOMobileFramebufferShim",
                                               "DCPAVServiceProxy"}));
    EXPECT_EQ(*registry[2].properties.at("EDID UUID").asString(), "10AC2143-0000-0000-0007-000000000007");
    EXPECT_EQ(*registry[3].properties.at("Location").asString(), "External");
    EXPECT_EQ(hardware.createAVService(registry[3].registryID), monitor);
    EXPECT_FALSE(hardware.createAVService(registry[2].registryID)) << "a framebuffer is no AV service";
}

TEST_F(DisplayHardwareTest, BadHardwareMembersAreRefused) {
    const std::string frame = R"("frame": {"x": 0, "y": 0, "width": 1440, "height": 900})";
    struct Case {
        const char* what;
        std::string member;
        const char* message;
    } cases[] = {
        {"a level above 1", R"("brightness": 1.5)", "$.screens[0].brightness: should lie between 0 and 1"},
        {"a vendor past 16 bits", R"("identity": {"vendor": 70000, "product": 1})", "$.screens[0].identity.vendor: should be at most 65535"},
        {"an identity without its product", R"("identity": {"vendor": 1})", "$.screens[0].identity.product: is missing"},
        {"a path for a connector", R"("monitor": "../../etc")", "$.screens[0].monitor: should name a connector"},
        {"a real monitor with a simulated one", R"("monitor": "card0-DP-1", "ddc": {})", "$.screens[0].ddc: a screen on a real monitor"},
        {"an unknown DDC member", R"("ddc": {"maximun": 100})", "$.screens[0].ddc.maximun: is not a member"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto scene = DesktopScene::parse(R"({"screens": [{)" + frame + ", " + c.member + "}]}", home());
        ASSERT_FALSE(scene.ok());
        EXPECT_TRUE(scene.error().message.starts_with(c.message)) << scene.error().message;
    }
}

TEST_F(DisplayHardwareTest, FunctionsCanBeTakenAway) {
    auto& hardware = desktop.displayHardware();
    EXPECT_TRUE(hardware.hasFunction(DisplayHardware::writeI2CFunction));
    EXPECT_FALSE(hardware.hasFunction("IOAVServiceSomethingElse"));
    hardware.removeFunction(DisplayHardware::writeI2CFunction);
    EXPECT_FALSE(hardware.hasFunction(DisplayHardware::writeI2CFunction));
    EXPECT_TRUE(hardware.hasFunction(DisplayHardware::readI2CFunction));
}

}  // namespace
}  // namespace tallowmere::testing
