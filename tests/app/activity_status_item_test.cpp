#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app_delegate_fixture.h"
#include "menubar/network_traffic_status_view.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/text_measurer.h"
#include "platform/runtime/timer.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"

namespace tallowmere::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* devHeader =
    "Inter-|   Receive                                                |  Transmit\n"
    " face |bytes    packets errs drop fifo frame compressed multicast|bytes    packets errs drop fifo colls carrier compressed\n";

class ActivityStatusItemTest : public AppDelegateTest {
protected:
    // The kernel's tables as the counters reader sees them: each interface
    // up, with its received and sent bytes; `primary` carries the default route.
    void setInterfaces(const std::vector<std::tuple<std::string, std::uint64_t, std::uint64_t>>& interfaces,
                       const std::string& primary) {
        const fs::path root = home() / "kernel";
        std::string dev = devHeader;
        for (const auto& [name, received, sent] : interfaces) {
            dev += name + ": " + std::to_string(received) + " 1 0 0 0 0 0 0 " + std::to_string(sent) + " 1 0 0 0 0 0 0\n";
            fs::create_directories(root / "net" / name);
            std::ofstream(root / "net" / name / "flags") << "0x1003\n";
        }
        std::ofstream(root / "dev") << dev;
        std::ofstream(root / "route") << "Iface\tDestination\tGateway\tFlags\tRefCnt\tUse\tMetric\tMask\tMTU\tWindow\tIRTT\n"
                                      << primary << "\t00000000\t0102A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n";
        if (delegate_) delegate().setNetworkInterfaceReader(reader());
    }
    platform::NetworkInterfaceReader reader() const {
        const fs::path root = home() / "kernel";
        return platform::NetworkInterfaceReader({(root / "dev").string(), (root / "net").string(), (root / "route").string()});
    }
    void switches(bool traffic, bool media, bool calendar) {
        defaults().set("networkTrafficEnabled", platform::PropertyValue(traffic));
        defaults().set("mediaControlsEnabled", platform::PropertyValue(media));
        defaults().set("calendarEnabled", platform::PropertyValue(calendar));
    }
    void launchOnFixture() {
        launch();
        delegate().setNetworkInterfaceReader(reader());
        delegate().updateStatusBarActivityDisplay();
        runUntilIdle();
    }
    NetworkTrafficStatusView& strip() { return *delegate().networkTrafficStatusView(); }
    platform::StatusItem& item() { return *delegate().activityStatusItem(); }
    double timerTextWidth(const std::string& text) {
        return std::ceil(platform::TextMeasurer::shared()
                             .measure(text, platform::Font::monospacedDigitSystemFont(11, platform::FontWeight::medium))
                             .width) +
               8;
    }
};

TEST_F(ActivityStatusItemTest, TheItemIsAsWideAsWhatItShows) {
    struct Case {
        const char* name;
        bool traffic, media, calendar;
        std::string primary;
        double length;
        bool visible;
        bool timer;
    };
    const Case cases[] = {
        {"all off", false, false, false, "eth0", 1, false, false},
        {"only the calendar item", false, false, true, "eth0", 1, false, true},
        {"traffic", true, false, false, "eth0", 46, true, true},
        {"traffic and media", true, true, false, "eth0", 46 + 76, true, true},
        {"media", false, true, false, "eth0", 76, true, true},
        {"traffic through a VPN", true, false, false, "wg0", 87, true, true},
    };
    switches(false, false, false);
    setInterfaces({{"eth0", 100, 100}, {"wg0", 10, 10}}, "eth0");
    launchOnFixture();
    auto sender = platform::MenuItem::make("switch");
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        setInterfaces({{"eth0", 100, 100}, {"wg0", 10, 10}}, testCase.primary);
        // Each switch flipped as the status menu flips it.
        if (delegate().networkTrafficEnabled() != testCase.traffic) delegate().toggleNetworkTrafficFromMenu(*sender);
        if (delegate().mediaControlsEnabled() != testCase.media) delegate().toggleMediaControlsFromMenu(*sender);
        if (delegate().calendarEnabled() != testCase.calendar) delegate().toggleCalendarDisplayFromMenu(*sender);
        delegate().updateStatusBarActivityDisplay();
        EXPECT_DOUBLE_EQ(item().length(), testCase.length);
        EXPECT_EQ(item().isVisible(), testCase.visible);
        EXPECT_EQ(delegate().statusBarCountdownTimer() != nullptr, testCase.timer);
        EXPECT_DOUBLE_EQ(strip().frame().width(), testCase.length > 1 ? testCase.length : 0);
        EXPECT_EQ(strip().superview(), item().button()) << "the strip lies on the item's button";
        EXPECT_FALSE(strip().showsCalendar);
    }
}

TEST_F(ActivityStatusItemTest, TimersAreJoinedInTheirOrderAndWidenTheItem) {
    switches(true, false, false);
    setInterfaces({{"eth0", 100, 100}}, "eth0");
    launchOnFixture();
    const auto now = context().clock().now();
    delegate().beginDisplayAwake(now.addingTimeInterval(300));
    EXPECT_EQ(strip().timedStatus, "☀︎ 05:00");
    EXPECT_DOUBLE_EQ(item().length(), 46 + timerTextWidth("☀︎ 05:00"));

    delegate().startPomodoro(25);
    delegate().scheduleShutdown(90, false);
    const std::string joined = "☀︎ 05:00   ⏻ 01:30:00   🍅 25:00";
    EXPECT_EQ(strip().timedStatus, joined);
    EXPECT_DOUBLE_EQ(item().length(), 46 + timerTextWidth(joined));

    delegate().beginDisplayAwake(std::nullopt);
    EXPECT_EQ(strip().timedStatus.substr(0, strip().timedStatus.find("   ")), "☀︎ 一直亮屏");
}

TEST_F(ActivityStatusItemTest, RatesAndTheTooltipComeFromTheSampledInterfaces) {
    switches(true, false, false);
    setInterfaces({{"eth0", 0, 0}, {"wg0", 0, 0}}, "wg0");
    launchOnFixture();
    setInterfaces({{"eth0", 1'500'000, 2000}, {"wg0", 900, 12'000'000}}, "wg0");
    advance(1.0);
    EXPECT_EQ(strip().downloadValue, "1.5");
    EXPECT_EQ(strip().downloadUnit, "MB/s");
    EXPECT_EQ(strip().uploadValue, "2");
    EXPECT_EQ(strip().uploadUnit, "KB/s");
    EXPECT_EQ(strip().vpnUploadValue, "12");
    EXPECT_EQ(strip().vpnDownloadValue, "1");
    EXPECT_EQ(strip().toolTip(), "eth0 · wg0\n速率采用十进制 KB/MB；物理网络与 VPN/代理流量可能重叠，不相加。");

    // Switching traffic off resets everything and hides the item.
    menuBar.click(*delegate().statusItem());
    menus.choose("网络流量显示");
    EXPECT_FALSE(item().isVisible());
    EXPECT_FALSE(delegate().networkTraffic().currentPhysicalInterfaceName);
    EXPECT_EQ(strip().toolTip(), "速率采用十进制 KB/MB；物理网络与 VPN/代理流量可能重叠，不相加。");
}

TEST_F(ActivityStatusItemTest, APlayerStartingToPlayShowsPauseAndItsIconWithinAPoll) {
    switches(false, true, false);
    setInterfaces({{"eth0", 0, 0}}, "eth0");
    auto player = setup.addApplication({.bundleIdentifier = "com.netease.163music", .name = "网易云音乐"});
    launchOnFixture();
    ASSERT_FALSE(strip().mediaIsPlaying);
    auto& audio = desktop.audio();
    audio.setRunningOutput(audio.addProcess(player->processIdentifier()), true);
    advance(0.25);
    EXPECT_TRUE(strip().mediaIsPlaying) << "the play button should have become pause";
    EXPECT_TRUE(strip().mediaPlayerIcon);
    EXPECT_TRUE(strip().needsDisplay());

    // Play-pause: play is shown at once and the player gets command 2.
    strip().handleStatusClick({strip().leadingWidth() + 25, 10});
    EXPECT_FALSE(strip().mediaIsPlaying);
    EXPECT_EQ(desktop.nowPlaying().commandsReceived(), std::vector<int>{2});
}

// A small proxy of python3's own on 127.0.0.1: it prints its pid and port,
// then reads every connection to its end and reports each total.
class LocalProxy {
public:
    explicit LocalProxy(int port = 0) {
        const std::string script =
            "import os, socket, sys, threading\n"
            "s = socket.socket(); s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)\n"
            "s.bind(('127.0.0.1', " + std::to_string(port) + ")); s.listen(8)\n"
            "print(os.getpid(), s.getsockname()[1], flush=True)\n"
            "def serve(c):\n"
            "    total = 0\n"
            "    while total < 1000000:\n"
            "        data = c.recv(65536)\n"
            "        if not data: break\n"
            "        total += len(data)\n"
            "    print('received', total, flush=True)\n"
            "while True:\n"
            "    c, _ = s.accept(); threading.Thread(target=serve, args=(c,), daemon=True).start()\n";
        pipe_ = ::popen(("python3 -c \"$(cat <<'PY'\n" + script + "PY\n)\"").c_str(), "r");
        if (pipe_ && std::fscanf(pipe_, "%d %d", &pid_, &port_) != 2) pid_ = 0;
    }
    ~LocalProxy() { stop(); }
    void stop() {
        if (!pipe_) return;
        if (pid_ > 0) ::kill(pid_, SIGKILL);
        ::pclose(pipe_);
        pipe_ = nullptr;
    }
    int pid() const { return pid_; }
    int port() const { return port_; }
    // Sends `count` bytes through one connection and waits until the proxy
    // has read them all.
    bool send(std::size_t count) {
        const int client = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port_));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return false;
        const std::string bytes(count, 'x');
        std::size_t sent = 0;
        while (sent < count) {
            const ssize_t wrote = ::write(client, bytes.data() + sent, count - sent);
            if (wrote <= 0) break;
            sent += static_cast<std::size_t>(wrote);
        }
        char word[32] = {};
        long total = 0;
        const bool read = std::fscanf(pipe_, "%31s %ld", word, &total) == 2;
        client_ = client;  // kept open: the proxy's connection stays counted
        return read && total == static_cast<long>(count);
    }

private:
    FILE* pipe_ = nullptr;
    int pid_ = 0;
    int port_ = 0;
    int client_ = -1;
};

TEST_F(ActivityStatusItemTest, ALocalProxysTrafficShowsInTheProxyColumn) {
    LocalProxy proxy;
    ASSERT_GT(proxy.pid(), 0) << "python3 did not start the proxy";
    desktop.proxySettings().setProxies(platform::PropertyValue(platform::PropertyValue::Dictionary{
        {"HTTPEnable", 1}, {"HTTPProxy", "127.0.0.1"}, {"HTTPPort", proxy.port()}}));
    switches(true, false, false);
    setInterfaces({{"eth0", 0, 0}}, "eth0");
    launchOnFixture();  // the first measurement: no rates yet
    const std::string name = "proxy:" + std::to_string(proxy.port());
    EXPECT_EQ(delegate().networkTraffic().currentVPNInterfaceName, name);
    ASSERT_TRUE(delegate().localProxyTraffic().lastProxyProcessSample) << "the proxy's process was not measured";
    EXPECT_EQ(delegate().localProxyTraffic().lastProxyProcessSample->pid, proxy.pid());

    ASSERT_TRUE(proxy.send(1'000'000));
    advance(1.0);  // measured 1.0 s after the first
    advance(1.0);  // and shown at the next refresh
    EXPECT_EQ(strip().vpnDownloadValue, "1.0");
    EXPECT_EQ(strip().vpnDownloadUnit, "MB/s");
    EXPECT_DOUBLE_EQ(item().length(), 87);

    // A proxy restarted on the same port is another process: it starts at 0.
    const int port = proxy.port();
    proxy.stop();
    LocalProxy restarted(port);
    ASSERT_GT(restarted.pid(), 0);
    ASSERT_TRUE(restarted.send(1'000'000));
    advance(1.0);
    advance(1.0);
    EXPECT_EQ(delegate().localProxyTraffic().lastProxyProcessSample->pid, restarted.pid());
    EXPECT_EQ(strip().vpnDownloadValue, "0");

    // The proxy switched off in the settings: the column is held at 0 for
    // 10 s, as for a quiet tunnel, then goes.
    desktop.proxySettings().setProxies(std::nullopt);
    advance(1.0);
    EXPECT_EQ(delegate().networkTraffic().currentVPNInterfaceName, name);
    EXPECT_EQ(delegate().networkTraffic().currentVPNDownloadRate, 0);
    advance(10.0);
    EXPECT_FALSE(delegate().networkTraffic().currentVPNInterfaceName);
    EXPECT_DOUBLE_EQ(item().length(), 46);
}

// Pictures for a person to look at, at 2×, on a dark menu bar.
TEST_F(ActivityStatusItemTest, WritesPicturesOfTheStrip) {
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    const auto folder = fs::path(TALLOWMERE_BINARY_DIR) / "renderings";
    fs::create_directories(folder);
    auto player = platform::Image::withHandler({18, 18}, [](platform::Canvas& canvas, platform::Rect rect) {
        canvas.setFillColor(platform::Color::sRGB(0.85, 0.15, 0.2));
        canvas.fillEllipse(rect);
        canvas.setFillColor(platform::Color::white());
        canvas.fillEllipse({6, 6, 6, 6});
        return true;
    });
    struct Case {
        const char* file;
        bool vpn, media, playing, icon;
        std::string timers;
    };
    const Case cases[] = {
        {"activity_rates", false, false, false, false, ""},
        {"activity_vpn_column", true, false, false, false, ""},
        {"activity_media_playing", false, true, true, true, ""},
        {"activity_media_paused", false, true, false, false, ""},
        {"activity_two_timers", true, true, false, true, "☀︎ 05:00   🍅 24:59"},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.file);
        auto view = NetworkTrafficStatusView::make();
        view->showsCalendar = false;
        view->showsTraffic = true;
        std::tie(view->uploadValue, view->uploadUnit) = std::pair{"86", "KB/s"};
        std::tie(view->downloadValue, view->downloadUnit) = std::pair{"1.5", "MB/s"};
        if (testCase.vpn) {
            view->vpnUploadValue = "12";
            view->vpnDownloadValue = "3.4";
            view->vpnUploadUnit = "KB/s";
            view->vpnDownloadUnit = "MB/s";
        }
        view->showsMediaControls = testCase.media;
        view->mediaIsPlaying = testCase.playing;
        if (testCase.icon) view->mediaPlayerIcon = player;
        view->timedStatus = testCase.timers;
        const double timers = testCase.timers.empty() ? 0 : timerTextWidth(testCase.timers);
        const double width = view->leadingWidth() + (testCase.media ? 76 : 0) + timers;
        view->setFrame({0, 0, width, 24});
        auto canvas = platform::CairoCanvas::make({width, 24}, 2);
        ASSERT_TRUE(canvas);
        (*canvas)->setAppearance(platform::Appearance::dark);
        (*canvas)->setFillColor(platform::Color::sRGB(0.16, 0.16, 0.18));
        (*canvas)->fillRect({0, 0, width, 24});
        view->display(**canvas);
        auto png = (*canvas)->pngData();
        ASSERT_TRUE(png);
        std::ofstream(folder / (std::string(testCase.file) + ".png"), std::ios::binary)
            .write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
        EXPECT_GT(fs::file_size(folder / (std::string(testCase.file) + ".png")), 500u);
    }
}

}  // namespace
}  // namespace tallowmere::testing
