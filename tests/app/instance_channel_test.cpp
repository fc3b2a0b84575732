#include "app/instance_channel.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/system/system_log.h"
#include "app/file_mode.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using testing::modeOf;
using namespace std::chrono_literals;

// Requests as the instance's handler receives them, on the channel's thread.
class Inbox {
public:
    InstanceChannel::RequestHandler handler() {
        return [this](InstanceRequest request, std::shared_ptr<InstanceChannel::Reply> reply) {
            reply->accept();
            std::lock_guard lock(mutex_);
            requests_.push_back(std::move(request));
            arrived_.notify_all();
        };
    }
    // Waits until `count` requests are in, at most a few seconds.
    std::vector<InstanceRequest> waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, 10s, [&] { return requests_.size() >= count; });
        return requests_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<InstanceRequest> requests_;
};

// A peer that speaks to the socket directly, as anything on the machine could.
class RawPeer {
public:
    explicit RawPeer(const fs::path& socket) : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
        connected_ = ::connect(fd_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    bool connected() const { return connected_; }
    void send(const std::string& bytes) {
        for (std::size_t sent = 0; sent < bytes.size();) {
            const ssize_t written = ::send(fd_.get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (written <= 0) return;  // the instance stopped listening
            sent += static_cast<std::size_t>(written);
        }
    }
    void finish() { ::shutdown(fd_.get(), SHUT_WR); }
    // What the instance answers before it closes, waiting a few seconds at most.
    std::string answer() {
        std::string text;
        char buffer[64];
        for (;;) {
            pollfd entry{fd_.get(), POLLIN, 0};
            if (::poll(&entry, 1, 10'000) <= 0) return text + "<no answer>";
            const ssize_t read = ::recv(fd_.get(), buffer, sizeof buffer, 0);
            if (read <= 0) return text;
            text.append(buffer, static_cast<std::size_t>(read));
        }
    }

private:
    platform::UniqueFd fd_;
    bool connected_ = false;
};

class InstanceChannelTest : public testing::TallowmereTest {
protected:
    fs::path folder() const { return home() / "Library/Caches/com.quenlow.tallowmere"; }

    std::unique_ptr<InstanceChannel> becomeInstance() {
        auto claim = InstanceChannel::claim(folder(), {}, inbox.handler());
        EXPECT_TRUE(claim.ok()) << (claim.ok() ? "" : claim.error().message);
        if (!claim.ok()) return nullptr;
        EXPECT_FALSE(claim->handedOver());
        return std::move(claim->channel);
    }
    // A later launch of the program, in this same process.
    platform::Result<InstanceChannel::Claim> launch(std::vector<std::string> urls, double timeout = 5) {
        return InstanceChannel::claim(folder(), InstanceRequest{std::move(urls)}, {}, timeout);
    }
    std::vector<std::string> droppedLog() const {
        std::vector<std::string> dropped;
        for (const auto& line : platform::SystemLog::shared().lines()) {
            if (line.starts_with("Instance channel dropped a request: ")) dropped.push_back(line);
        }
        return dropped;
    }

    Inbox inbox;
};

TEST_F(InstanceChannelTest, LaterLaunchesHandTheirURLsToTheInstanceInOrder) {
    auto instance = becomeInstance();
    ASSERT_TRUE(instance);
    EXPECT_EQ(modeOf(folder()), 0700u);
    EXPECT_EQ(instance->socketPath(), folder() / "instance.socket");

    const std::vector<std::string> first{"tallowmere-finder://copy?directory=/tmp/a",
                                         "tallowmere-finder://terminal?directory=/tmp/b"};
    for (const auto& urls : {first, std::vector<std::string>{}}) {
        auto later = launch(urls);
        ASSERT_TRUE(later.ok()) << later.error().message;
        EXPECT_TRUE(later->handedOver());
    }
    const auto received = inbox.waitFor(2);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].urls, first);
    EXPECT_TRUE(received[1].urls.empty()) << "a bare launch is a reopen";
}

TEST_F(InstanceChannelTest, TheNextLaunchBecomesTheInstanceOnceTheFirstHasGone) {
    // A socket left behind by an instance that was killed does not stand in the way.
    fs::create_directories(folder());
    {
        auto killed = becomeInstance();
        ASSERT_TRUE(killed);
    }
    ASSERT_FALSE(fs::exists(folder() / "instance.socket")) << "an instance that ends removes its socket";
    ::close(::open((folder() / "instance.socket").c_str(), O_CREAT | O_WRONLY, 0600));

    auto next = becomeInstance();
    ASSERT_TRUE(next);
    auto later = launch({"tallowmere-finder://copy?directory=/tmp"});
    ASSERT_TRUE(later.ok()) << later.error().message;
    EXPECT_EQ(inbox.waitFor(1).size(), 1u);
}

// A program started anew takes over only once the old one has let go,
// and never hands anything to it.
TEST_F(InstanceChannelTest, ANewInstanceWaitsForTheOldOneToQuit) {
    auto old = becomeInstance();
    ASSERT_TRUE(old);
    auto tooSoon = InstanceChannel::claimWhenReleased(folder(), inbox.handler(), 0.1);
    ASSERT_FALSE(tooSoon.ok());
    EXPECT_EQ(tooSoon.error().code, platform::ErrorCode::timedOut);

    auto waiting = std::async(std::launch::async,
                              [this] { return InstanceChannel::claimWhenReleased(folder(), inbox.handler(), 10); });
    old.reset();  // the old instance quits while the new one waits
    auto fresh = waiting.get();
    ASSERT_TRUE(fresh.ok()) << fresh.error().message;
    EXPECT_TRUE(InstanceChannel::send(folder(), {.urls = {"tallowmere-finder://copy?directory=/tmp"}}).ok())
        << "the new instance takes later launches";
    EXPECT_EQ(inbox.waitFor(1).size(), 1u);
}

TEST_F(InstanceChannelTest, TheFolderIsMadePrivateAndMustBeTheUsersOwn) {
    fs::create_directories(folder());
    ::chmod(folder().c_str(), 0755);
    {
        auto instance = becomeInstance();
        ASSERT_TRUE(instance);
        EXPECT_EQ(modeOf(folder()), 0700u);
    }
    // Only a privileged user can hand the folder to someone else.
    if (::chown(folder().c_str(), 65534, 65534) != 0) GTEST_SKIP() << "cannot give the folder away";
    auto claim = InstanceChannel::claim(folder(), {}, inbox.handler());
    ASSERT_FALSE(claim.ok());
    EXPECT_EQ(claim.error().code, platform::ErrorCode::permissionDenied);

    fs::remove_all(folder());
    fs::create_directories(folder().parent_path());
    fs::create_directory_symlink(home(), folder());
    EXPECT_FALSE(InstanceChannel::claim(folder(), {}, inbox.handler()).ok()) << "a link is not followed";
}

TEST_F(InstanceChannelTest, HostileMessagesAreDroppedAndLoggedAndTheInstanceGoesOn) {
    auto instance = becomeInstance();
    ASSERT_TRUE(instance);

    // A peer that connects and says nothing holds nobody up.
    RawPeer silent(instance->socketPath());
    ASSERT_TRUE(silent.connected());

    struct Case {
        const char* name;
        std::string message;
        std::string logged;
    } cases[] = {
        {"garbage", "GET / HTTP/1.1\r\n\r\n", "a message without the header"},
        {"cut off", "tallowmere-open/1 2\ntallowmere-finder://copy?directory=/tmp\n",
         "fewer URLs than the header counts"},
        {"a control character", "tallowmere-open/1 1\ntallowmere-finder://copy?directory=/tmp\x1b[2J\n",
         "a URL with a control character"},
        {"too large", "tallowmere-open/1 1\nx:" + std::string(InstanceRequest::maximumBytes + 1, 'a') + "\n",
         "a message over the size limit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RawPeer peer(instance->socketPath());
        ASSERT_TRUE(peer.connected());
        peer.send(c.message);
        peer.finish();
        EXPECT_EQ(peer.answer(), "refused\n");
        const auto dropped = droppedLog();
        ASSERT_FALSE(dropped.empty());
        EXPECT_EQ(dropped.back(), "Instance channel dropped a request: " + c.logged);
    }

    auto later = launch({"tallowmere-finder://copy?directory=/tmp"});
    ASSERT_TRUE(later.ok()) << later.error().message;
    const auto received = inbox.waitFor(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].urls, std::vector<std::string>{"tallowmere-finder://copy?directory=/tmp"});
}

TEST_F(InstanceChannelTest, ALaunchGivesUpWhenTheLockIsHeldButNobodyAnswers) {
    fs::create_directories(folder());
    platform::UniqueFd lock(::open((folder() / "instance.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    ASSERT_EQ(::flock(lock.get(), LOCK_EX | LOCK_NB), 0);

    auto later = launch({"tallowmere-finder://copy?directory=/tmp"}, 0);
    ASSERT_FALSE(later.ok());
    EXPECT_EQ(later.error().code, platform::ErrorCode::timedOut);
}

TEST_F(InstanceChannelTest, ARequestWaitsForTheInstancesAnswerAndCarriesItsRefusal) {
    EXPECT_EQ(InstanceChannel::send(folder(), InstanceRequest{{"tallowmere-finder://copy?directory=/tmp"}}).error().code,
              platform::ErrorCode::notFound)
        << "nothing runs, and sending never makes an instance";
    EXPECT_FALSE(fs::exists(folder() / "instance.socket"));

    // The instance answers later, from another thread, as the main queue does.
    std::vector<std::thread> answering;
    auto claim = InstanceChannel::claim(folder(), {}, [&](InstanceRequest request, auto reply) {
        answering.emplace_back([request = std::move(request), reply] {
            const std::string& path = *request.snapshotPath;
            if (path == "/tmp/ok.png") reply->accept();
            if (path == "/tmp/refused.png") reply->refuse("The folder /tmp/x\ndoes not exist");
            // Any other reply is dropped unanswered.
        });
    });
    ASSERT_TRUE(claim.ok() && !claim->handedOver());
    struct Case {
        const char* path;
        std::optional<std::string> error;
    } cases[] = {
        {"/tmp/ok.png", std::nullopt},
        {"/tmp/refused.png", "The running instance of the program refused the request: The folder /tmp/x does not exist"},
        {"/tmp/dropped.png", "The running instance of the program refused the request"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        InstanceRequest request;
        request.snapshotPath = c.path;
        auto sent = InstanceChannel::send(folder(), request);
        for (auto& thread : answering) thread.join();
        answering.clear();
        if (!c.error) {
            EXPECT_TRUE(sent.ok()) << sent.error().message;
        } else {
            ASSERT_FALSE(sent.ok());
            EXPECT_EQ(sent.error().message, *c.error);
        }
    }
}

}  // namespace
}  // namespace tallowmere
