#include "screen/ddc_brightness_channel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/desktop/simulated_ddc_monitor.h"
#include "platform/runtime/sleeper.h"

namespace tallowmere::testing {
namespace {

using platform::DdcMonitorSpec;
using platform::SimulatedDdcMonitor;
using Bytes = std::vector<std::uint8_t>;

// A monitor on a simulated bus, with every send, read and pause logged in
// the order they happened.
class DdcChannelTest : public ::testing::Test {
protected:
    DdcChannelTest() {
        sleeper.setOnPause([this](std::chrono::microseconds pause) { log.push_back("pause " + std::to_string(pause.count())); });
        monitor->setOnTransfer([this](const SimulatedDdcMonitor::Transfer& transfer) {
            const bool ok = transfer.status == 0;
            log.push_back(transfer.kind == SimulatedDdcMonitor::Transfer::Kind::write ? (ok ? "send" : "send failed")
                                                                                       : (ok ? "read" : "read failed"));
        });
    }

    DdcBrightnessChannel channel() {
        return DdcBrightnessChannel(
            [this](std::uint32_t chip, std::uint32_t offset, std::uint8_t* bytes, std::uint32_t length) {
                return monitor->read(chip, offset, bytes, length);
            },
            [this](std::uint32_t chip, std::uint32_t offset, std::uint8_t* bytes, std::uint32_t length) {
                return monitor->write(chip, offset, bytes, length);
            },
            sleeper);
    }

    // A Get VCP Feature reply with its checksum worked out.
    static Bytes reply(std::uint8_t length, std::uint8_t type, std::uint16_t maximum, std::uint16_t current) {
        Bytes bytes{0x6E, length, 0x02, 0x00, 0x10, type, static_cast<std::uint8_t>(maximum >> 8),
                    static_cast<std::uint8_t>(maximum), static_cast<std::uint8_t>(current >> 8),
                    static_cast<std::uint8_t>(current)};
        std::uint8_t checksum = 0x50;
        for (auto byte : bytes) checksum ^= byte;
        bytes.push_back(checksum);
        return bytes;
    }

    platform::Sleeper sleeper{false};
    std::shared_ptr<SimulatedDdcMonitor> monitor = std::make_shared<SimulatedDdcMonitor>(DdcMonitorSpec{});
    std::vector<std::string> log;
};

const std::vector<std::string> oneAttempt = {"pause 10000", "send", "pause 10000", "send", "pause 50000", "read"};

TEST_F(DdcChannelTest, RequestsCarryTheChecksumOverBothAddresses) {
    struct Case {
        const char* name;
        Bytes payload;
        Bytes packet;
    } cases[] = {
        {"get brightness", {0x10}, {0x82, 0x01, 0x10, 0xAC}},
        {"set raw 50", {0x10, 0x00, 0x32}, {0x84, 0x03, 0x10, 0x00, 0x32, 0x3F ^ 0x84 ^ 0x03 ^ 0x10 ^ 0x00 ^ 0x32}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DdcBrightnessChannel::packet(c.payload), c.packet);
    }
}

TEST_F(DdcChannelTest, SetSendsTheLevelRoundedHalfAwayFromZero) {
    struct Case {
        double level;
        std::uint16_t maximum;
        std::uint8_t high, low;
        std::uint16_t shown;
    } cases[] = {{0.5, 100, 0x00, 0x32, 50}, {0.5, 255, 0x00, 0x80, 128}, {0.05, 1000, 0x00, 0x32, 50}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.level) + " of " + std::to_string(c.maximum));
        monitor->setSpec({.maximum = c.maximum, .current = 0});
        monitor->clearTransfers();
        log.clear();
        EXPECT_TRUE(channel().setBrightness(c.level, c.maximum));
        const auto transfers = monitor->transfers();
        ASSERT_EQ(transfers.size(), 2u) << "a set is one pair of sends, no reply read";
        EXPECT_EQ(transfers[0].chip, 0x37u);
        EXPECT_EQ(transfers[0].offset, 0x51u);
        EXPECT_EQ(transfers[0].bytes, DdcBrightnessChannel::packet(Bytes{0x10, c.high, c.low}));
        EXPECT_EQ(monitor->current(), c.shown) << "the monitor took the value";
        EXPECT_EQ(log, (std::vector<std::string>{"pause 10000", "send", "pause 10000", "send"}));
    }
}

TEST_F(DdcChannelTest, ReadsTheMonitorOnTheFirstAttempt) {
    monitor->setSpec({.maximum = 255, .current = 51, .vcpType = 1});
    EXPECT_EQ(channel().readBrightness(), (DdcBrightnessChannel::Level{51, 255}));
    EXPECT_EQ(log, oneAttempt);
    const auto transfers = monitor->transfers();
    ASSERT_EQ(transfers.size(), 3u);
    EXPECT_EQ(transfers[0].bytes, (Bytes{0x82, 0x01, 0x10, 0xAC}));
    EXPECT_EQ(transfers[2].chip, 0x37u);
    EXPECT_EQ(transfers[2].offset, 0u);
    EXPECT_EQ(transfers[2].bytes.size(), 11u);
}

TEST_F(DdcChannelTest, RepliesAreCheckedAndBadOnesRetried) {
    Bytes badChecksum = reply(0x88, 0, 100, 40);
    badChecksum.back() ^= 0x01;
    Bytes wrongOpcode = reply(0x88, 0, 100, 40);
    wrongOpcode[2] = 0x03;
    struct Case {
        const char* name;
        Bytes reply;
        std::optional<DdcBrightnessChannel::Level> level;
    } cases[] = {
        {"length byte 0x88", reply(0x88, 0, 100, 40), DdcBrightnessChannel::Level{40, 100}},
        {"length byte 0x08", reply(0x08, 0, 100, 40), DdcBrightnessChannel::Level{40, 100}},
        {"any type byte", reply(0x88, 0xA5, 100, 40), DdcBrightnessChannel::Level{40, 100}},
        {"current at the maximum", reply(0x88, 0, 100, 100), DdcBrightnessChannel::Level{100, 100}},
        {"bad checksum", badChecksum, std::nullopt},
        {"wrong opcode", wrongOpcode, std::nullopt},
        {"length 9", reply(0x89, 0, 100, 40), std::nullopt},
        {"maximum 0", reply(0x88, 0, 0, 0), std::nullopt},
        {"current above the maximum", reply(0x88, 0, 100, 101), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        monitor->clearTransfers();
        for (int i = 0; i < (c.level ? 1 : 3); ++i) monitor->queueReply(c.reply);
        log.clear();
        EXPECT_EQ(channel().readBrightness(), c.level);
        std::vector<std::string> expected = oneAttempt;
        if (!c.level) {
            for (int i = 1; i < 3; ++i) expected.insert(expected.end(), oneAttempt.begin(), oneAttempt.end());
        }
        EXPECT_EQ(log, expected) << "a bad reply is retried, three attempts in all";
    }
}

TEST_F(DdcChannelTest, OneFailedSendOfAPairIsNoError) {
    monitor->setSpec({.maximum = 100, .current = 70, .failingSends = 1});
    EXPECT_EQ(channel().readBrightness(), (DdcBrightnessChannel::Level{70, 100}));
    EXPECT_EQ(log, (std::vector<std::string>{"pause 10000", "send failed", "pause 10000", "send", "pause 50000", "read"}));
}

TEST_F(DdcChannelTest, FailingBusesGiveNoReadingAndAFailedSet) {
    struct Case {
        const char* name;
        DdcMonitorSpec spec;
    } cases[] = {
        {"silent", {.silent = true}},
        {"bad checksum", {.badChecksum = true}},
        {"maximum 0", {.maximum = 0, .current = 0}},
        {"every send fails", {.failingSends = 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        monitor->setSpec(c.spec);
        log.clear();
        EXPECT_EQ(channel().readBrightness(), std::nullopt);
        const auto pauses = std::count_if(log.begin(), log.end(), [](const auto& line) { return line.starts_with("pause"); });
        EXPECT_EQ(pauses, c.spec.failingSends ? 6 : 9) << "three attempts, no pause between them";
    }
    log.clear();
    EXPECT_FALSE(channel().setBrightness(0.5, 100));
    EXPECT_EQ(log.size(), 8u) << "a failed pair of sends is tried once more";
}

TEST_F(DdcChannelTest, TheMonitorIgnoresARequestWithoutTheSourceAddressInItsChecksum) {
    const Bytes shortSum{0x82, 0x01, 0x10, 0xFD};
    ASSERT_EQ(monitor->write(0x37, 0x51, const_cast<std::uint8_t*>(shortSum.data()), 4), 0);
    std::uint8_t buffer[11] = {};
    EXPECT_NE(monitor->read(0x37, 0, buffer, 11), 0) << "no reply to a request with a wrong checksum";
}

TEST_F(DdcChannelTest, WithoutAWriteFunctionNothingIsSent) {
    DdcBrightnessChannel missing(
        [this](std::uint32_t chip, std::uint32_t offset, std::uint8_t* bytes, std::uint32_t length) {
            return monitor->read(chip, offset, bytes, length);
        },
        {}, sleeper);
    EXPECT_EQ(missing.readBrightness(), std::nullopt);
    EXPECT_FALSE(missing.setBrightness(1, 100));
    EXPECT_TRUE(monitor->transfers().empty());
}

}  // namespace
}  // namespace tallowmere::testing
