#include "platform/system/network_interface_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace tallowmere::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kInterfaceTable =
    "Inter-|   Receive                                                |  Transmit\n"
    " face |bytes    packets errs drop fifo frame compressed multicast|bytes    packets errs drop fifo colls carrier compressed\n"
    "    lo: 9000 10 0 0 0 0 0 0 9000 10 0 0 0 0 0 0\n"
    "  eth0: 5000000000 4 0 0 0 0 0 0 7000 5 0 0 0 0 0 0\n"
    "   br0: 300 3 0 0 0 0 0 0 400 4 0 0 0 0 0 0\n"
    " wlan0: 10 1 0 0 0 0 0 0 20 2 0 0 0 0 0 0\n"
    "  tun0:100 1 0 0 0 0 0 0 200 2 0 0 0 0 0 0\n"
    " bad0: 12 x 0 0 0 0 0 0\n";

// A kernel table and interface folder in a temporary place.
class InterfaceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("interfaces-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "net");
    }
    void TearDown() override { fs::remove_all(root_); }

    void write(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    void addInterface(const std::string& name, const std::string& flags, bool bridge = false) {
        write(root_ / "net" / name / "flags", flags + "\n");
        if (bridge) fs::create_directories(root_ / "net" / name / "bridge");
    }
    NetworkInterfaceReader reader() const {
        return NetworkInterfaceReader(
            {(root_ / "dev").string(), (root_ / "net").string(), (root_ / "route").string()});
    }

    fs::path root_;
};

TEST_F(InterfaceFixture, CountersAreTheUpInterfacesThatAreNeitherLoopbackNorBridges) {
    write(root_ / "dev", kInterfaceTable);
    addInterface("lo", "0x9");
    addInterface("eth0", "0x1003");
    addInterface("br0", "0x1003", true);
    addInterface("wlan0", "0x1002");  // down
    addInterface("tun0", "0x1091");
    const std::vector<NetworkInterfaceCounter> expected{{"eth0", 5000000000ull, 7000}, {"tun0", 100, 200}};
    EXPECT_EQ(reader().counters(), expected);
}

TEST_F(InterfaceFixture, MissingFilesGiveNothing) {
    EXPECT_TRUE(reader().counters().empty());
    EXPECT_EQ(reader().primaryInterface(), std::nullopt);
    write(root_ / "dev", kInterfaceTable);  // no flags for any interface
    EXPECT_TRUE(reader().counters().empty());
}

TEST(InterfaceCounterTableTest, RowsThatDoNotParseAreLeftOut) {
    struct Case {
        const char* name;
        const char* row;
        std::vector<NetworkInterfaceCounter> expected;
    } cases[] = {
        {"well formed", "eth0: 1 0 0 0 0 0 0 0 2 0 0 0 0 0 0 0", {{"eth0", 1, 2}}},
        {"largest counter", "eth0: 18446744073709551615 0 0 0 0 0 0 0 2", {{"eth0", 18446744073709551615ull, 2}}},
        {"past 64 bits", "eth0: 18446744073709551616 0 0 0 0 0 0 0 2", {}},
        {"too few columns", "eth0: 1 0 0 0 0 0 0 0", {}},
        {"negative", "eth0: -1 0 0 0 0 0 0 0 2", {}},
        {"no name", ": 1 0 0 0 0 0 0 0 2", {}},
        {"a path for a name", "../x: 1 0 0 0 0 0 0 0 2", {}},
        {"no colon", "eth0 1 0 0 0 0 0 0 0 2", {}},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        EXPECT_EQ(parseInterfaceCounterTable(testCase.row), testCase.expected);
    }
}

TEST(DefaultRouteTest, TheUpDefaultRouteWithTheLowestMetricIsPrimary) {
    const std::string header = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
    struct Case {
        const char* name;
        std::string rows;
        std::optional<std::string> expected;
    } cases[] = {
        {"one default", "eth0\t00000000\t0102A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n", "eth0"},
        {"lowest metric",
         "wlan0\t00000000\t0102A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"
         "wg0\t00000000\t00000000\t0001\t0\t0\t50\t00000000\t0\t0\t0\n",
         "wg0"},
        {"not a default route", "eth0\t0002A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n", std::nullopt},
        {"route down", "eth0\t00000000\t0102A8C0\t0002\t0\t0\t100\t00000000\t0\t0\t0\n", std::nullopt},
        {"garbled", "eth0\t0000zz00\t0102A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n", std::nullopt},
        {"header only", "", std::nullopt},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        EXPECT_EQ(parseDefaultRouteInterface(header + testCase.rows), testCase.expected);
    }
}

// This machine's own kernel tables.
TEST(LiveInterfaceTest, LoopbackIsNeverListedAndCountersNeverGoBack) {
    const NetworkInterfaceReader reader;
    const auto first = reader.counters();
    std::map<std::string, NetworkInterfaceCounter> before;
    for (const auto& counter : first) before[counter.name] = counter;
    for (const auto& counter : reader.counters()) {
        SCOPED_TRACE(counter.name);
        EXPECT_NE(counter.name, "lo");
        if (const auto previous = before.find(counter.name); previous != before.end()) {
            EXPECT_GE(counter.received, previous->second.received);
            EXPECT_GE(counter.sent, previous->second.sent);
        }
    }
    ASSERT_TRUE(fs::exists("/proc/net/dev"));
}

}  // namespace
}  // namespace tallowmere::platform
