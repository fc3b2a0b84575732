#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "app/instance_request.h"
#include "platform/system/unique_fd.h"
#include "platform/base/result.h"

namespace tallowmere {

// One running program per user. The instance holds a lock file and listens
// on a UNIX socket, both in a folder only the user can enter; a later launch
// finds the lock taken, hands its request over the socket and ends.
//
// The socket is the border: a peer of another user, a message that is cut
// off, too large, malformed or silent is dropped with a line in the system
// log, and the channel goes on serving. Connections are served side by side
// on the channel's own thread, each with a deadline, so no peer can hold
// the others up.
class InstanceChannel {
public:
    // The instance's answer to one request: accepted, or refused with why.
    // Given once, from any thread, when the work is done; a reply dropped
    // without an answer refuses.
    class Reply {
    public:
        explicit Reply(platform::UniqueFd peer) : peer_(std::move(peer)) {}
        Reply(Reply&&) = default;
        Reply& operator=(Reply&&) = delete;
        ~Reply();
        void accept();
        void refuse(const std::string& why);

    private:
        void send(std::string_view answer);
        platform::UniqueFd peer_;
    };

    // Called on the channel's thread for each well-formed request.
    using RequestHandler = std::function<void(InstanceRequest request, std::shared_ptr<Reply> reply)>;

    // Either this process is the instance now, or the running one took the request.
    struct Claim {
        std::unique_ptr<InstanceChannel> channel;  // set when this process became the instance
        bool handedOver() const { return channel == nullptr; }
    };

    // Seconds a peer has to send its whole request.
    static constexpr double requestDeadline = 5;
    static constexpr int maximumConnections = 16;

    // ~/Library/Caches/com.quenlow.tallowmere
    static std::filesystem::path defaultFolder();

    // Becomes the instance, or hands `request` to the running one and
    // returns once it was accepted. The folder is made (0700) when missing
    // and narrowed to 0700 when wider; a folder of another user is refused.
    // Waits up to `timeout` seconds for an instance that is still starting.
    static platform::Result<Claim> claim(const std::filesystem::path& folder, const InstanceRequest& request,
                                         RequestHandler onRequest, double timeout = 5);
    // Becomes the instance once the running one has let go of the lock,
    // waiting up to `timeout` seconds; never hands anything over. For a
    // program started anew while the old one quits.
    static platform::Result<std::unique_ptr<InstanceChannel>> claimWhenReleased(const std::filesystem::path& folder,
                                                                                RequestHandler onRequest,
                                                                                double timeout);
    // Hands `request` to the running instance and waits up to `timeout`
    // seconds for its answer; never becomes the instance. With no instance
    // running it fails with notFound; a refusal carries the instance's why.
    static platform::Result<void> send(const std::filesystem::path& folder, const InstanceRequest& request,
                                       double timeout = 5);

    // Stops listening, removes the socket and releases the lock.
    ~InstanceChannel();

    InstanceChannel(const InstanceChannel&) = delete;
    InstanceChannel& operator=(const InstanceChannel&) = delete;

    const std::filesystem::path& socketPath() const { return socketPath_; }

private:
    static platform::Result<std::unique_ptr<InstanceChannel>> listenWithLock(const std::filesystem::path& folder,
                                                                             platform::UniqueFd folderFd,
                                                                             platform::UniqueFd lock,
                                                                             RequestHandler onRequest);
    struct Connection;
    InstanceChannel(platform::UniqueFd folder, platform::UniqueFd lock, platform::UniqueFd listener, platform::UniqueFd stop,
                    std::filesystem::path socketPath, RequestHandler onRequest);
    void serve();
    // Takes what arrived; answers once the peer has said all it will.
    void readFrom(Connection& connection);
    void answer(Connection& connection);

    platform::UniqueFd folder_;
    platform::UniqueFd lock_;
    platform::UniqueFd listener_;
    platform::UniqueFd stop_;  // an eventfd that ends `serve`
    std::filesystem::path socketPath_;
    RequestHandler onRequest_;
    std::thread thread_;
};

}  // namespace tallowmere
