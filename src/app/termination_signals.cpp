#include "app/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/runtime/main_queue.h"
#include "platform/system/system_error.h"

namespace tallowmere {

namespace {

// The pipe's write end while an instance is installed; the handler's only state.
std::atomic<int> signalPipe{-1};
// Tells the forwarding thread to end; no signal has the number 0.
constexpr unsigned char stopByte = 0;

extern "C" void noteSignal(int signal) {
    const int savedErrno = errno;
    const int fd = signalPipe.load();
    if (fd >= 0) {
        const auto byte = static_cast<unsigned char>(signal);
        // Non-blocking: when the pipe is full a request is already waiting.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

platform::Result<std::unique_ptr<TerminationSignals>> TerminationSignals::install(platform::MainQueue& queue,
                                                                                  Handler onSignal) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return platform::systemError(errno, "The signal pipe couldn\u2019t be made");
    platform::UniqueFd readEnd(ends[0]);
    platform::UniqueFd writeEnd(ends[1]);
    if (::fcntl(writeEnd.get(), F_SETFL, O_NONBLOCK) != 0) {
        return platform::systemError(errno, "The signal pipe couldn\u2019t be set up");
    }
    int expected = -1;
    if (!signalPipe.compare_exchange_strong(expected, writeEnd.get())) {
        return platform::Error{platform::ErrorCode::alreadyExists, "Termination signals are already handled", 0};
    }
    return std::unique_ptr<TerminationSignals>(
        new TerminationSignals(std::move(readEnd), std::move(writeEnd), queue, std::move(onSignal)));
}

TerminationSignals::TerminationSignals(platform::UniqueFd readEnd, platform::UniqueFd writeEnd, platform::MainQueue& queue,
                                       Handler onSignal)
    : readEnd_(std::move(readEnd)), writeEnd_(std::move(writeEnd)), queue_(queue), onSignal_(std::move(onSignal)) {
    thread_ = std::thread([this] { forward(); });
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &previousTerm_);
    ::sigaction(SIGINT, &action, &previousInt_);
}

TerminationSignals::~TerminationSignals() {
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
    ::sigaction(SIGINT, &previousInt_, nullptr);
    signalPipe.store(-1);
    // Blocking now: the stop byte must arrive even behind a full pipe.
    ::fcntl(writeEnd_.get(), F_SETFL, 0);
    [[maybe_unused]] const ssize_t written = ::write(writeEnd_.get(), &stopByte, 1);
    if (thread_.joinable()) thread_.join();
}

void TerminationSignals::forward() {
    for (;;) {
        unsigned char byte = stopByte;
        const ssize_t read = ::read(readEnd_.get(), &byte, 1);
        if (read < 0 && errno == EINTR) continue;
        if (read <= 0 || byte == stopByte) return;
        queue_.async([handler = onSignal_, signal = static_cast<int>(byte)] {
            if (handler) handler(signal);
        });
    }
}

}  // namespace tallowmere
