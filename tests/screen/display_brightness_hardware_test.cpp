#include "screen/display_brightness_hardware.h"

#include <cmath>
#include <limits>

#include "platform/desktop/display_hardware.h"
#include "platform/runtime/sleeper.h"
#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::DisplayIdentity;
using platform::PropertyValue;
using Hardware = DisplayBrightnessHardware;

// Matching, with each screen's information dictionary given by the test.
class DisplayMatchingTest : public ::testing::Test {
protected:
    Hardware::Interfaces interfaces() {
        Hardware::Interfaces result;
        result.displayInfo = [this](Hardware::DisplayID id) -> std::optional<PropertyValue::Dictionary> {
            auto found = info.find(id);
            if (found == info.end()) return std::nullopt;
            return found->second;
        };
        return result;
    }
    static PropertyValue::Dictionary identity(std::int64_t vendor, std::int64_t product, std::int64_t serial,
                                              const std::string& name, const std::string& location = "") {
        PropertyValue::Dictionary dictionary{{"DisplayVendorID", vendor},
                                             {"DisplayProductID", product},
                                             {"DisplayProductName", PropertyValue::Dictionary{{"en_US", name}}}};
        if (serial) dictionary["DisplaySerialNumber"] = serial;
        if (!location.empty()) dictionary["IODisplayLocation"] = location;
        return dictionary;
    }
    static Hardware::Candidate candidate(std::uint64_t id, const std::string& edid, std::int64_t serial,
                                         const std::string& name, const std::string& location = "/fb") {
        return {name, "DEL", serial, edid, location, id, nullptr};
    }
    std::map<Hardware::DisplayID, PropertyValue::Dictionary> info;
};

TEST_F(DisplayMatchingTest, ScoresPickOneServicePerScreenOrNone) {
    // EDID prefix of vendor 0x10AC, product 0x4321: "10AC2143".
    const std::string edid = "10AC2143-0000-0000-0000-000000000000";
    struct Case {
        const char* name;
        PropertyValue::Dictionary info;
        std::vector<Hardware::Candidate> candidates;
        std::optional<std::uint64_t> matched;
    } cases[] = {
        {"the location wins over the EDID",
         identity(0x10AC, 0x4321, 0, "U27", "/fb2"),
         {candidate(1, edid, 0, "U27", "/fb1"), candidate(2, "", 0, "", "/fb2")},
         2},
        {"a serial conflict beats a location match",
         identity(0x10AC, 0x4321, 7, "U27", "/fb1"),
         {candidate(1, edid, 8, "U27", "/fb1"), candidate(2, edid, 7, "U27", "/other")},
         2},
        {"EDID, serial and name beat EDID and name",
         identity(0x10AC, 0x4321, 7, "U27"),
         {candidate(1, edid, 0, "U27"), candidate(2, edid, 7, "u27")},
         2},
        {"vendor 0 matches by serial and name alone",
         identity(0, 0x4321, 7, "U27"),
         {candidate(1, "00002143", 7, "U27")},
         1},
        {"vendor 0 without a name match scores nothing",
         identity(0, 0x4321, 7, "U27"),
         {candidate(1, "00002143", 7, "Other")},
         std::nullopt},
        {"two equal services are ambiguous",
         identity(0x10AC, 0x4321, 0, "U27"),
         {candidate(1, edid, 0, "U27"), candidate(2, edid, 0, "U27")},
         std::nullopt},
        {"the EDID prefix is compared in upper case",
         identity(0x10AC, 0x43AB, 0, "U27"),
         {candidate(1, "10ACAB43", 0, "")},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        info = {{5, c.info}};
        const auto matches = interfaces().match({{5, "Display", false}}, c.candidates);
        if (c.matched) {
            ASSERT_TRUE(matches.contains(5));
            EXPECT_EQ(matches.at(5).registryID, *c.matched);
        } else {
            EXPECT_FALSE(matches.contains(5));
        }
    }
}

TEST_F(DisplayMatchingTest, AServiceClaimedByTwoScreensServesNeither) {
    info = {{5, identity(0x10AC, 0x4321, 0, "U27")}, {6, identity(0x10AC, 0x4321, 0, "U27")},
            {7, identity(0x1E6D, 0x1111, 0, "LG")}};
    const auto matches = interfaces().match(
        {{5, "A", false}, {6, "B", false}, {7, "C", false}},
        {candidate(1, "10AC2143", 0, "U27"), candidate(2, "1E6D1111", 0, "LG")});
    EXPECT_FALSE(matches.contains(5));
    EXPECT_FALSE(matches.contains(6));
    ASSERT_TRUE(matches.contains(7)) << "an unshared service still serves its screen";
    EXPECT_EQ(matches.at(7).registryID, 2u);
}

TEST_F(DisplayMatchingTest, WithoutInformationThePlatformQueriesAndTheScreenNameAreUsed) {
    Hardware::Interfaces queries;
    queries.displaySerialNumber = [](Hardware::DisplayID) { return 7u; };
    const auto matches = queries.match({{5, "Studio", false}}, {candidate(1, "", 7, "studio")});
    ASSERT_TRUE(matches.contains(5)) << "serial from the platform, name from the screen";
}

// Reading through the simulated display hardware.
class DisplayHardwareReadTest : public SimulatedDesktopTest {
protected:
    std::shared_ptr<platform::Screen> addExternal(DisplayIdentity identity, std::optional<platform::DdcMonitorSpec> ddc) {
        platform::ScreenSpec spec;
        spec.frame = {1440, 0, 1920, 1080};
        spec.isBuiltIn = false;
        spec.localizedName = identity.productName;
        spec.hardware.identity = identity;
        spec.hardware.ddc = ddc;
        auto added = desktop.screens().addScreen(spec);
        EXPECT_TRUE(added.ok());
        return *added;
    }
    std::map<Hardware::DisplayID, Hardware::Reading> read() {
        std::vector<Hardware::Screen> screens;
        for (const auto& screen : desktop.screens().screens()) {
            screens.push_back({screen->displayID(), screen->localizedName(), screen->isBuiltIn()});
        }
        return Hardware::read(screens, Hardware::Interfaces::shared());
    }
    platform::DisplayHardware& hardware() { return desktop.displayHardware(); }
};

TEST_F(DisplayHardwareReadTest, PanelLevelsOutsideZeroToOneAreRefused) {
    auto builtIn = desktop.screens().primaryScreen();
    struct Case {
        double level;
        bool accepted;
    } cases[] = {{0, true}, {1, true}, {0.42, true}, {-0.1, false}, {1.1, false},
                 {std::numeric_limits<double>::quiet_NaN(), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        builtIn->device()->setPanelBrightness(c.level);
        const auto readings = read();
        ASSERT_EQ(readings.contains(builtIn->displayID()), c.accepted);
        if (!c.accepted) continue;
        EXPECT_FLOAT_EQ(readings.at(builtIn->displayID()).value, c.level);
        EXPECT_EQ(readings.at(builtIn->displayID()).endpoint->label(), "硬件亮度");
    }
    EXPECT_EQ(hardware().registryWalkCount(), 0) << "without an external screen the registry is not walked";
}

TEST_F(DisplayHardwareReadTest, ThePanelEndpointHoldsLevelsToItsRange) {
    auto builtIn = desktop.screens().primaryScreen();
    auto endpoint = read().at(builtIn->displayID()).endpoint;
    struct Case {
        double asked;
        bool taken;
        double level;
    } cases[] = {{0.01, true, 0.05}, {2, true, 1}, {0.5, true, 0.5},
                 {std::numeric_limits<double>::infinity(), false, 0.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        EXPECT_EQ(endpoint->set(c.asked), c.taken);
        EXPECT_NEAR(*builtIn->device()->panelBrightness(), c.level, 1e-6);
    }
}

TEST_F(DisplayHardwareReadTest, AnExternalMonitorIsReadAndSetOverDdc) {
    auto external = addExternal({0x10AC, 0x4321, 99, "U2720Q", ""}, platform::DdcMonitorSpec{.maximum = 255, .current = 51});
    const auto readings = read();
    ASSERT_TRUE(readings.contains(external->displayID()));
    const auto& reading = readings.at(external->displayID());
    EXPECT_DOUBLE_EQ(reading.value, 0.2);
    EXPECT_EQ(reading.endpoint->label(), "硬件亮度 · DDC");
    EXPECT_TRUE(reading.endpoint->set(0.5));
    EXPECT_EQ(external->device()->monitor()->current(), 128);
    EXPECT_EQ(hardware().registryWalkCount(), 1);
}

TEST_F(DisplayHardwareReadTest, ExternalScreensWithoutAUsableChannelGetNoReading) {
    struct Case {
        const char* name;
        DisplayIdentity identity;
        std::optional<platform::DdcMonitorSpec> ddc;
        const char* missingFunction;
    } cases[] = {
        {"the excluded model", {0x05E3, 0x2850, 0, "28E850", ""}, platform::DdcMonitorSpec{}, nullptr},
        {"no DDC channel", {0x10AC, 0x4321, 0, "U27", ""}, std::nullopt, nullptr},
        {"a silent monitor", {0x10AC, 0x4321, 0, "U27", ""}, platform::DdcMonitorSpec{.silent = true}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto external = addExternal(c.identity, c.ddc);
        EXPECT_FALSE(read().contains(external->displayID()));
        desktop.screens().removeScreen(external);
    }
}

TEST_F(DisplayHardwareReadTest, AMissingFunctionOnlyClosesItsOwnPath) {
    struct Case {
        const char* function;
        bool builtInRead;
        bool externalRead;
    } cases[] = {
        {platform::DisplayHardware::setBrightnessFunction, false, true},
        {platform::DisplayHardware::readI2CFunction, true, false},
        {platform::DisplayHardware::createServiceFunction, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.function);
        platform::AppContext context({.deterministic = true});
        auto& desk = platform::Desktop::shared();
        platform::ScreenSpec spec;
        spec.frame = {1440, 0, 800, 600};
        spec.isBuiltIn = false;
        spec.hardware.identity = DisplayIdentity{0x10AC, 0x4321, 0, "U27", ""};
        spec.hardware.ddc = platform::DdcMonitorSpec{};
        auto external = *desk.screens().addScreen(spec);
        desk.displayHardware().removeFunction(c.function);
        std::vector<Hardware::Screen> screens;
        for (const auto& screen : desk.screens().screens()) {
            screens.push_back({screen->displayID(), screen->localizedName(), screen->isBuiltIn()});
        }
        const auto readings = Hardware::read(screens, Hardware::Interfaces::shared());
        EXPECT_EQ(readings.contains(desk.screens().primaryScreen()->displayID()), c.builtInRead);
        EXPECT_EQ(readings.contains(external->displayID()), c.externalRead);
    }
}

}  // namespace
}  // namespace tallowmere::testing
