#include "menubar/network_traffic_sampler.h"

#include <gtest/gtest.h>

#include "menubar/network_interface_kind.h"

namespace tallowmere {
namespace {

using platform::Date;

struct Refresh {
    double at;  // seconds after the first refresh
    std::vector<NetworkInterfaceCounter> counters;
    std::optional<std::string> primary;
};

struct Shown {
    std::optional<std::string> physical;
    double download = 0;
    double upload = 0;
    std::optional<std::string> vpn = std::nullopt;
    double vpnDownload = 0;
    double vpnUpload = 0;
};

struct Case {
    const char* name;
    std::vector<Refresh> refreshes;
    Shown expected;
    bool proxyTrafficEnabled = true;
    std::optional<int> proxyPort = std::nullopt;
};

TEST(NetworkTrafficSamplerTest, RefreshesGiveTheShownRates) {
    const Case cases[] = {
        {"first refresh names the primary without rates",
         {{0, {{"eth0", 100, 200}, {"wlan0", 5, 5}}, "wlan0"}},
         {"wlan0", 0, 0}},
        {"first refresh without primary names the first physical",
         {{0, {{"docker0", 1, 1}, {"eth0", 100, 200}, {"wlan0", 5, 5}}, std::nullopt}},
         {"eth0", 0, 0}},
        {"counters a second apart",
         {{0, {{"eth0", 1000, 1000}}, "eth0"}, {2, {{"eth0", 5000, 2000}}, "eth0"}},
         {"eth0", 2000, 500}},
        {"counters past 4 GiB do not wrap",
         {{0, {{"eth0", 4294967000ull, 0}}, "eth0"}, {1, {{"eth0", 4294969000ull, 0}}, "eth0"}},
         {"eth0", 2000, 0}},
        {"a counter going back gives 0 once",
         {{0, {{"eth0", 1000, 1000}}, "eth0"}, {1, {{"eth0", 500, 3000}}, "eth0"}},
         {"eth0", 0, 2000}},
        {"refreshes 0.4 s apart give no rates",
         {{0, {{"eth0", 0, 0}}, "eth0"}, {1, {{"eth0", 1000, 0}}, "eth0"}, {1.4, {{"eth0", 9000, 0}}, "eth0"}},
         {"eth0", 0, 0}},
        {"the primary wins over a busier interface",
         {{0, {{"eth0", 0, 0}, {"wlan0", 0, 0}}, "wlan0"}, {1, {{"eth0", 9000, 0}, {"wlan0", 100, 0}}, "wlan0"}},
         {"wlan0", 100, 0}},
        {"without the primary the busiest wins",
         {{0, {{"eth0", 0, 0}, {"wlan0", 0, 0}}, "tun0"}, {1, {{"eth0", 100, 0}, {"wlan0", 200, 200}}, "tun0"}},
         {"wlan0", 200, 200, "tun0"}},
        {"a tie goes to the one listed first",
         {{0, {{"wlan0", 0, 0}, {"eth0", 0, 0}}, std::nullopt}, {1, {{"wlan0", 100, 0}, {"eth0", 0, 100}}, std::nullopt}},
         {"wlan0", 100, 0}},
        {"veth pairs are never chosen",
         {{0, {{"veth1", 0, 0}, {"eth0", 0, 0}}, "veth1"}, {1, {{"veth1", 90000, 0}, {"eth0", 10, 0}}, "veth1"}},
         {"eth0", 10, 0}},
        {"a quiet primary wg0 is the VPN",
         {{0, {{"eth0", 0, 0}, {"wg0", 0, 0}}, "wg0"}, {1, {{"eth0", 0, 0}, {"wg0", 10, 0}}, "wg0"}},
         {"eth0", 0, 0, "wg0", 10, 0}},
        {"a VPN primary without rates yet shows 0",
         {{0, {{"eth0", 0, 0}, {"wg0", 0, 0}}, "wg0"}},
         {"eth0", 0, 0, "wg0", 0, 0}},
        {"400 B/s on a tunnel is not active",
         {{0, {{"eth0", 0, 0}, {"tun0", 0, 0}}, "eth0"}, {1, {{"eth0", 0, 0}, {"tun0", 300, 100}}, "eth0"}},
         {"eth0", 0, 0}},
        {"512 B/s on a tunnel is active",
         {{0, {{"eth0", 0, 0}, {"tun0", 0, 0}}, "eth0"}, {1, {{"eth0", 0, 0}, {"tun0", 312, 200}}, "eth0"}},
         {"eth0", 0, 0, "tun0", 312, 200}},
        {"the busiest tunnel is the VPN",
         {{0, {{"tun0", 0, 0}, {"utun3", 0, 0}}, std::nullopt}, {1, {{"tun0", 600, 0}, {"utun3", 900, 0}}, std::nullopt}},
         {std::nullopt, 0, 0, "utun3", 900, 0}},
        {"a quiet tunnel is held for 10 s",
         {{0, {{"tun0", 0, 0}}, "eth0"}, {1, {{"tun0", 2000, 0}}, "eth0"}, {11, {{"tun0", 2000, 0}}, "eth0"}},
         {std::nullopt, 0, 0, "tun0", 0, 0}},
        {"a quiet tunnel goes after 10 s",
         {{0, {{"tun0", 0, 0}}, "eth0"}, {1, {{"tun0", 2000, 0}}, "eth0"}, {11.5, {{"tun0", 2000, 0}}, "eth0"}},
         {std::nullopt, 0, 0}},
        {"a local proxy names the VPN column",
         {{0, {{"eth0", 0, 0}}, "eth0"}},
         {"eth0", 0, 0, "proxy:7890"},
         true,
         7890},
        {"proxy traffic off hides the VPN column",
         {{0, {{"wg0", 0, 0}}, "wg0"}, {1, {{"wg0", 9000, 9000}}, "wg0"}},
         {std::nullopt, 0, 0},
         false,
         7890},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        NetworkTrafficSampler sampler;
        std::vector<int> requestedPorts;
        LocalProxyHooks proxy{
            .activeLocalSystemProxyPort = [&] { return testCase.proxyPort; },
            .requestLocalProxyTrafficSample = [&](int port) { requestedPorts.push_back(port); },
        };
        const Date start = Date::fromTimeIntervalSince1970(1'800'000'000);
        for (const auto& refresh : testCase.refreshes) {
            sampler.update(start.addingTimeInterval(refresh.at), refresh.counters, refresh.primary,
                           testCase.proxyTrafficEnabled, proxy);
        }
        const Shown& expected = testCase.expected;
        EXPECT_EQ(sampler.currentPhysicalInterfaceName, expected.physical);
        EXPECT_DOUBLE_EQ(sampler.currentDownloadRate, expected.download);
        EXPECT_DOUBLE_EQ(sampler.currentUploadRate, expected.upload);
        EXPECT_EQ(sampler.currentVPNInterfaceName, expected.vpn);
        EXPECT_DOUBLE_EQ(sampler.currentVPNDownloadRate, expected.vpnDownload);
        EXPECT_DOUBLE_EQ(sampler.currentVPNUploadRate, expected.vpnUpload);
        const bool proxyShown = expected.vpn && expected.vpn->starts_with("proxy:");
        EXPECT_EQ(requestedPorts, proxyShown ? std::vector<int>{*testCase.proxyPort} : std::vector<int>{});
    }
}

TEST(NetworkTrafficSamplerTest, ProxyRatesStayUntilTheMeasurementReportsAndGoWithTheProxy) {
    NetworkTrafficSampler sampler;
    std::optional<int> port = 7890;
    int forgotten = 0;
    LocalProxyHooks proxy{.activeLocalSystemProxyPort = [&] { return port; },
                                            .requestLocalProxyTrafficSample = [](int) {},
                                            .forgetProxySample = [&] { ++forgotten; }};
    const Date start = Date::fromTimeIntervalSince1970(1'800'000'000);
    sampler.update(start, {{"eth0", 0, 0}}, "eth0", true, proxy);
    sampler.currentVPNDownloadRate = 1000;  // as the measurement reports it
    sampler.update(start.addingTimeInterval(1), {{"eth0", 0, 0}}, "eth0", true, proxy);
    EXPECT_DOUBLE_EQ(sampler.currentVPNDownloadRate, 1000);
    EXPECT_EQ(forgotten, 0);

    port.reset();
    sampler.update(start.addingTimeInterval(2), {{"eth0", 0, 0}}, "eth0", true, proxy);
    EXPECT_DOUBLE_EQ(sampler.currentVPNDownloadRate, 0);
    EXPECT_EQ(forgotten, 1);
    // Held: the proxy was active two seconds ago.
    EXPECT_EQ(sampler.currentVPNInterfaceName, "proxy:7890");
}

TEST(NetworkTrafficSamplerTest, ResetForgetsSamplesSoTheNextRefreshHasNoRates) {
    NetworkTrafficSampler sampler;
    const Date start = Date::fromTimeIntervalSince1970(1'800'000'000);
    sampler.update(start, {{"eth0", 0, 0}, {"tun0", 0, 0}}, "eth0", true);
    sampler.update(start.addingTimeInterval(1), {{"eth0", 5000, 0}, {"tun0", 5000, 0}}, "eth0", true);
    ASSERT_EQ(sampler.currentVPNInterfaceName, "tun0");
    sampler.reset();
    EXPECT_TRUE(sampler.lastNetworkSamples.empty());
    EXPECT_EQ(sampler.currentPhysicalInterfaceName, std::nullopt);
    EXPECT_EQ(sampler.currentVPNInterfaceName, std::nullopt);
    EXPECT_EQ(sampler.vpnLastActiveAt, std::nullopt);
    sampler.update(start.addingTimeInterval(2), {{"eth0", 9000, 0}}, "eth0", true);
    EXPECT_DOUBLE_EQ(sampler.currentDownloadRate, 0);
    EXPECT_EQ(sampler.lastNetworkSamples.at("eth0").received, 9000u);
}

TEST(NetworkInterfaceKindTest, LinuxNamesFallIntoTheirKinds) {
    struct Case {
        const char* name;
        NetworkInterfaceKind kind;
    } cases[] = {
        {"eth0", NetworkInterfaceKind::physical},   {"enp3s0", NetworkInterfaceKind::physical},
        {"wlp2s0", NetworkInterfaceKind::physical}, {"wwan0", NetworkInterfaceKind::physical},
        {"wg0", NetworkInterfaceKind::vpn},         {"tun0", NetworkInterfaceKind::vpn},
        {"tap1", NetworkInterfaceKind::vpn},        {"ppp0", NetworkInterfaceKind::vpn},
        {"ipsec0", NetworkInterfaceKind::vpn},      {"vti0", NetworkInterfaceKind::vpn},
        {"utun3", NetworkInterfaceKind::vpn},       {"veth9a1b", NetworkInterfaceKind::skipped},
        {"docker0", NetworkInterfaceKind::other},   {"lo", NetworkInterfaceKind::other},
        {"ETH0", NetworkInterfaceKind::other},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        EXPECT_EQ(networkInterfaceKind(testCase.name), testCase.kind);
    }
}

}  // namespace
}  // namespace tallowmere
