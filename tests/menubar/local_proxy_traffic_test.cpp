#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>

#include "menubar/local_proxy_port.h"
#include "menubar/local_proxy_traffic_sampler.h"
#include "menubar/network_traffic_sampler.h"
#include "menubar/proxy_traffic_output.h"
#include "platform/desktop/network_proxy_settings.h"
#include "platform/system/command_table.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

using platform::PropertyValue;

PropertyValue proxies(PropertyValue::Dictionary entries) { return PropertyValue(std::move(entries)); }

TEST(LocalProxyPortTest, OnlyAnEnabledProxyOnThisMachineWithAUsablePortCounts) {
    struct Case {
        const char* name;
        std::optional<PropertyValue> settings;
        std::optional<int> port;
    };
    const Case cases[] = {
        {"HTTP on 127.0.0.1", proxies({{"HTTPEnable", 1}, {"HTTPProxy", "127.0.0.1"}, {"HTTPPort", 7890}}), 7890},
        {"HTTPS on LOCALHOST after a disabled HTTP",
         proxies({{"HTTPEnable", 0}, {"HTTPProxy", "127.0.0.1"}, {"HTTPPort", 1},
                  {"HTTPSEnable", 1}, {"HTTPSProxy", "LOCALHOST"}, {"HTTPSPort", 7890}}),
         7890},
        {"SOCKS on ::1", proxies({{"SOCKSEnable", true}, {"SOCKSProxy", "::1"}, {"SOCKSPort", 1080}}), 1080},
        {"HTTP wins over SOCKS",
         proxies({{"SOCKSEnable", 1}, {"SOCKSProxy", "::1"}, {"SOCKSPort", 1080},
                  {"HTTPEnable", 1}, {"HTTPProxy", "localhost"}, {"HTTPPort", 8118}}),
         8118},
        {"a remote host", proxies({{"HTTPEnable", 1}, {"HTTPProxy", "10.0.0.8"}, {"HTTPPort", 7890}}), std::nullopt},
        {"port 0", proxies({{"HTTPEnable", 1}, {"HTTPProxy", "127.0.0.1"}, {"HTTPPort", 0}}), std::nullopt},
        {"port 70000", proxies({{"HTTPEnable", 1}, {"HTTPProxy", "127.0.0.1"}, {"HTTPPort", 70000}}), std::nullopt},
        {"port 65535", proxies({{"HTTPEnable", 1}, {"HTTPProxy", "127.0.0.1"}, {"HTTPPort", 65535}}), 65535},
        {"port as text", proxies({{"HTTPEnable", 1}, {"HTTPProxy", "127.0.0.1"}, {"HTTPPort", "7890"}}), std::nullopt},
        {"no enable key", proxies({{"HTTPProxy", "127.0.0.1"}, {"HTTPPort", 7890}}), std::nullopt},
        {"not a dictionary", PropertyValue("127.0.0.1:7890"), std::nullopt},
        {"no settings", std::nullopt, std::nullopt},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        EXPECT_EQ(localSystemProxyPort(testCase.settings), testCase.port);
    }
}

TEST(LocalProxyPortTest, TheEnvironmentsProxyVariablesStandForTheSystemSettings) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> environment;
        std::optional<int> port;
    };
    const Case cases[] = {
        {"http_proxy", {{"http_proxy", "http://127.0.0.1:7890"}}, 7890},
        {"upper-case HTTPS_PROXY without a scheme", {{"HTTPS_PROXY", "localhost:8443"}}, 8443},
        {"all_proxy as SOCKS on ::1", {{"all_proxy", "socks5://[::1]:1080"}}, 1080},
        {"a remote proxy", {{"http_proxy", "http://proxy.example.com:3128"}}, std::nullopt},
        {"no port", {{"http_proxy", "http://127.0.0.1"}}, std::nullopt},
        {"nothing set", {}, std::nullopt},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        platform::NetworkProxySettings settings;
        settings.setEnvironmentReader([&](const char* name) -> std::optional<std::string> {
            const auto found = testCase.environment.find(name);
            if (found == testCase.environment.end()) return std::nullopt;
            return found->second;
        });
        EXPECT_EQ(localSystemProxyPort(settings.copyProxies()), testCase.port);
    }
    platform::NetworkProxySettings set;
    set.setEnvironmentReader([](const char*) { return std::optional<std::string>("http://127.0.0.1:9"); });
    set.setProxies(std::nullopt);
    EXPECT_EQ(localSystemProxyPort(set.copyProxies()), std::nullopt) << "settings that were set hide the environment";
}

TEST(ProxyTrafficOutputTest, TheDataRowGivesPidAndCounters) {
    struct Case {
        const char* name;
        const char* text;
        std::optional<ProxyProcessCounters> counters;
    };
    const Case cases[] = {
        {"header and row", ",bytes_in,bytes_out,\nproxyapp.4321,1000,2000,\n", ProxyProcessCounters{4321, 1000, 2000}},
        {"a name with dots and blank lines", "\n,bytes_in,bytes_out,\n\ncom.proxy.app.77,5,6\n",
         ProxyProcessCounters{77, 5, 6}},
        {"counters past 32 bits", "h\np.1,5000000000,0,\n", ProxyProcessCounters{1, 5000000000ull, 0}},
        {"a header alone", ",bytes_in,bytes_out,\n", std::nullopt},
        {"two fields", "h\np.1,5\n", std::nullopt},
        {"an empty counter", "h\np.1,,7,\n", std::nullopt},
        {"a counter that is not a number", "h\np.1,12a,7,\n", std::nullopt},
        {"a negative counter", "h\np.1,-3,7,\n", std::nullopt},
        {"a pid past 32 bits", "h\np.4294967296,1,1,\n", std::nullopt},
        {"no pid", "h\nproxyapp,1,1,\n", std::nullopt},
        {"nothing", "", std::nullopt},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        EXPECT_EQ(parseProxyTrafficOutput(testCase.text), testCase.counters);
    }
}

TEST(LocalProxyTrafficSamplerTest, RatesComeFromTwoReportsOfTheSameProcess) {
    struct Report {
        double at;
        ProxyProcessCounters counters;
    };
    struct Case {
        const char* name;
        std::vector<Report> reports;
        double download;
        double upload;
    };
    const Case cases[] = {
        {"first report", {{0, {4321, 1000, 2000}}}, 0, 0},
        {"a second 1.0 s later", {{0, {4321, 1000, 2000}}, {1.0, {4321, 1'001'000, 2500}}}, 1'000'000, 500},
        {"a new process starts at 0", {{0, {4321, 1000, 2000}}, {1.0, {4400, 9'000'000, 9000}}}, 0, 0},
        {"a counter going back gives 0", {{0, {4321, 1000, 2000}}, {1.0, {4321, 10, 3000}}}, 0, 1000},
        {"reports 0.2 s apart keep the rates",
         {{0, {1, 0, 0}}, {1.0, {1, 2000, 0}}, {1.2, {1, 900000, 0}}}, 2000, 0},
    };
    const auto start = platform::Date::fromTimeIntervalSince1970(1'800'000'000);
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        auto sampler = LocalProxyTrafficSampler::make();
        NetworkTrafficSampler traffic;
        for (const auto& report : testCase.reports) {
            sampler->apply(start.addingTimeInterval(report.at), 7890, report.counters, traffic);
        }
        EXPECT_DOUBLE_EQ(traffic.currentVPNDownloadRate, testCase.download);
        EXPECT_DOUBLE_EQ(traffic.currentVPNUploadRate, testCase.upload);
        EXPECT_EQ(traffic.currentVPNInterfaceName, "proxy:7890");
    }
}

class LocalProxyMeasurementTest : public testing::TallowmereTest {
protected:
    // A program at `path` standing for a command.
    void overrideWithScript(const std::string& command, const std::string& script) {
        const auto file = home() / (std::filesystem::path(command).filename().string() + ".sh");
        std::ofstream(file) << "#!/bin/sh\n" << script << "\n";
        std::filesystem::permissions(file, std::filesystem::perms::owner_all);
        platform::CommandTable::shared().overrideCommand(command, file);
    }
};

TEST_F(LocalProxyMeasurementTest, TheTwoCommandsAreAskedTheirQuestionsAndTheReportArrives) {
    std::vector<std::vector<std::string>> asked;
    auto& commands = platform::CommandTable::shared();
    commands.overrideCommand("/usr/sbin/lsof", [&](platform::CommandCall& call) {
        asked.push_back(call.arguments());
        call.writeOutput("4321\n999\n");
        return 0;
    });
    commands.overrideCommand("/usr/bin/nettop", [&](platform::CommandCall& call) {
        asked.push_back(call.arguments());
        call.writeOutput(",bytes_in,bytes_out,\nproxyapp.4321,1000,2000,\n");
        return 0;
    });
    auto sampler = LocalProxyTrafficSampler::make();
    std::vector<std::pair<int, std::string>> reports;
    sampler->onReport = [&](int port, const std::string& report) { reports.emplace_back(port, report); };
    sampler->request(7890);
    sampler->request(7890);  // one at a time
    runUntilIdle();
    const std::vector<std::vector<std::string>> expected{
        {"-nP", "-iTCP:7890", "-sTCP:LISTEN", "-t"},
        {"-P", "-L", "1", "-J", "bytes_in,bytes_out", "-x", "-n", "-p", "4321"},
    };
    EXPECT_EQ(asked, expected) << "only the first listener is measured";
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], (std::pair<int, std::string>{7890, ",bytes_in,bytes_out,\nproxyapp.4321,1000,2000,\n"}));
    EXPECT_FALSE(sampler->isMeasuring());

    // Nobody listening: an empty report, and the traffic report is never asked.
    commands.overrideCommand("/usr/sbin/lsof", [](platform::CommandCall&) { return 1; });
    asked.clear();
    sampler->request(7891);
    runUntilIdle();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1], (std::pair<int, std::string>{7891, ""}));
    EXPECT_TRUE(asked.empty());
}

TEST_F(LocalProxyMeasurementTest, AHungLsofEndsAfterItsTimeLimitAndALaterRequestStartsAgain) {
    overrideWithScript("/usr/sbin/lsof", "exec sleep 30");
    auto sampler = LocalProxyTrafficSampler::make();
    int reports = 0;
    std::string lastReport = "unset";
    sampler->onReport = [&](int, const std::string& report) {
        ++reports;
        lastReport = report;
    };
    sampler->request(7890);
    EXPECT_TRUE(sampler->isMeasuring());
    // Real time: the command runs for real.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    context().mainQueue().runUntil([&] { return reports > 0 || std::chrono::steady_clock::now() > deadline; });
    ASSERT_EQ(reports, 1) << "the hung command was never ended";
    EXPECT_EQ(lastReport, "");
    EXPECT_FALSE(sampler->isMeasuring());

    platform::CommandTable::shared().overrideCommand("/usr/sbin/lsof", [](platform::CommandCall&) { return 1; });
    sampler->request(7890);
    runUntilIdle();
    EXPECT_EQ(reports, 2) << "a new measurement starts after the timeout";
}

TEST_F(LocalProxyMeasurementTest, AResetDropsTheRunningMeasurementsReport) {
    overrideWithScript("/usr/sbin/lsof", "exec sleep 30");
    auto sampler = LocalProxyTrafficSampler::make();
    int reports = 0;
    sampler->onReport = [&](int, const std::string&) { ++reports; };
    sampler->request(7890);
    sampler->lastProxyProcessSample = LocalProxyTrafficSampler::ProcessSample{1, {}, 1, 1};
    sampler->reset();
    EXPECT_FALSE(sampler->isMeasuring());
    EXPECT_FALSE(sampler->lastProxyProcessSample);
    // The ended command's termination is already queued, or never will be.
    runUntilIdle();
    EXPECT_EQ(reports, 0);
}

}  // namespace
}  // namespace tallowmere
