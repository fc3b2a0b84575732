#include "platform/system/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>

#include "platform/system/system_error.h"

extern char** environ;

namespace tallowmere::platform {

namespace {

using SteadyClock = std::chrono::steady_clock;

// How long a child may take to end after SIGTERM before it gets SIGKILL.
constexpr auto terminationGrace = std::chrono::seconds(2);
// Without a pidfd the end of the child is noticed by polling this often.
constexpr int exitPollMilliseconds = 10;
constexpr std::size_t chunkBytes = 64 * 1024;

// Writing to a pipe whose reader has gone must be an error value, not a
// signal that ends the whole program. A handler the program set stays.
void ignoreBrokenPipes() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction current {};
        if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
            signal(SIGPIPE, SIG_IGN);
        }
    });
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

struct PipeEnds {
    int read = -1;
    int write = -1;
    ~PipeEnds() {
        closeFd(read);
        closeFd(write);
    }
    bool open() {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) return false;
        read = ends[0];
        write = ends[1];
        return true;
    }
    int release(int& end) {
        int fd = end;
        end = -1;
        return fd;
    }
};

void makeNonBlocking(int fd) {
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// Reads what is there; false once the stream has ended or failed.
bool drain(int fd, std::string* sink) {
    char buffer[chunkBytes];
    for (;;) {
        ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0) {
            if (sink) sink->append(buffer, static_cast<std::size_t>(count));
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        return count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

// Through syscall(): glibc 2.36's <sys/pidfd.h> is not usable from C++.
int openPidfd(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}
int sendSignal(int pidfd, int signal) {
    return static_cast<int>(::syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0));
}

int millisecondsUntil(SteadyClock::time_point moment, SteadyClock::time_point now) {
    if (moment <= now) return 0;
    return static_cast<int>(
        std::ceil(std::chrono::duration<double, std::milli>(moment - now).count()));
}

Error launchFailure(int errnum, const std::string& program) {
    return systemError(errnum, "The command \u201C" + program + "\u201D couldn\u2019t be launched");
}

}  // namespace

Result<std::unique_ptr<ChildProcess>> ChildProcess::spawn(const std::string& program,
                                                          const std::vector<std::string>& argv,
                                                          ProcessOutput output, bool hasInput) {
    ignoreBrokenPipes();

    PipeEnds input, out, err;
    if ((hasInput && !input.open()) || (output != ProcessOutput::discarded && !out.open()) ||
        (output == ProcessOutput::separate && !err.open())) {
        return launchFailure(errno, program);
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (hasInput)
        posix_spawn_file_actions_adddup2(&actions, input.read, STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    switch (output) {
        case ProcessOutput::separate:
            posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
            posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
            break;
        case ProcessOutput::merged:
            posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
            posix_spawn_file_actions_adddup2(&actions, out.write, STDERR_FILENO);
            break;
        case ProcessOutput::discarded:
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
            break;
    }
    // Descriptors some library opened without O_CLOEXEC stay ours.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group, so a timeout ends what it started as well; every
    // signal back to its default, so our ignored SIGPIPE is not inherited.
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);

    std::vector<char*> arguments;
    arguments.reserve(argv.size() + 1);
    for (const std::string& argument : argv)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);

    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, program.c_str(), &actions, &attributes, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) return launchFailure(spawned, program);

    // The child cannot be reaped by anyone but us before this, so the pidfd
    // names this child for sure.
    const int pidfd = openPidfd(pid);
    makeNonBlocking(input.write);
    makeNonBlocking(out.read);
    makeNonBlocking(err.read);
    return std::unique_ptr<ChildProcess>(new ChildProcess(pid, pidfd, input.release(input.write),
                                                          out.release(out.read),
                                                          err.release(err.read), output));
}

ChildProcess::ChildProcess(pid_t pid, int pidfd, int input, int output, int error,
                           ProcessOutput mode)
    : pid_(pid), pidfd_(pidfd), input_(input), output_(output), error_(error), mode_(mode) {}

ChildProcess::~ChildProcess() {
    kill();
    reapIfEnded(true);
    closeFd(input_);
    closeFd(output_);
    closeFd(error_);
    closeFd(pidfd_);
}

void ChildProcess::terminate() {
    std::lock_guard lock(mutex_);
    signalLocked(SIGTERM);
}

void ChildProcess::kill() {
    std::lock_guard lock(mutex_);
    signalLocked(SIGKILL);
}

bool ChildProcess::signalLocked(int signal) {
    if (reaped_) return false;
    // Until we reap it the child holds its id and its group's id, so neither
    // can belong to another process yet.
    ::kill(-pid_, signal);
    if (pidfd_ >= 0)
        sendSignal(pidfd_, signal);
    else
        ::kill(pid_, signal);
    return true;
}

bool ChildProcess::reapIfEnded(bool wait) {
    std::lock_guard lock(mutex_);
    if (reaped_) return true;
    for (;;) {
        int status = 0;
        const pid_t reaped = ::waitpid(pid_, &status, wait ? 0 : WNOHANG);
        if (reaped == pid_) {
            reaped_ = true;
            waitStatus_ = status;
            return true;
        }
        if (reaped < 0 && errno == EINTR) continue;
        if (reaped < 0 && errno == ECHILD) {
            // Somebody else reaped it (SIGCHLD ignored process-wide): it has
            // ended, with a status nobody can know.
            reaped_ = true;
            waitStatus_ = W_EXITCODE(255, 0);
            return true;
        }
        return false;
    }
}

ProcessResult ChildProcess::communicate(std::string_view input, std::optional<double> timeout) {
    ProcessResult result;
    std::string* const outputSink = &result.standardOutput;
    std::string* const errorSink =
        mode_ == ProcessOutput::merged ? &result.standardOutput : &result.standardError;

    const auto started = SteadyClock::now();
    std::optional<SteadyClock::time_point> deadline;
    if (timeout)
        deadline = started + std::chrono::duration_cast<SteadyClock::duration>(
                                 std::chrono::duration<double>(*timeout));
    std::optional<SteadyClock::time_point> killAt;
    bool timedOut = false;
    std::size_t written = 0;
    if (input.empty()) closeFd(input_);

    for (;;) {
        const bool reaped = reapIfEnded(false);
        if (reaped) closeFd(input_);
        if (reaped && output_ < 0 && error_ < 0) break;

        const auto now = SteadyClock::now();
        if (!reaped && deadline && !timedOut && now >= *deadline) {
            timedOut = true;
            terminate();
            killAt = now + terminationGrace;
        }
        if (!reaped && killAt && now >= *killAt) {
            kill();
            killAt.reset();
        }
        // A process the child left behind may hold the pipes open for ever;
        // past the deadline, what it writes is no longer waited for.
        if (reaped && deadline && now >= *deadline) break;

        pollfd fds[4];
        nfds_t count = 0;
        if (input_ >= 0) fds[count++] = {input_, POLLOUT, 0};
        if (output_ >= 0) fds[count++] = {output_, POLLIN, 0};
        if (error_ >= 0) fds[count++] = {error_, POLLIN, 0};
        if (!reaped && pidfd_ >= 0) fds[count++] = {pidfd_, POLLIN, 0};

        int waitMilliseconds = -1;
        auto waitUntil = [&](SteadyClock::time_point moment) {
            const int milliseconds = millisecondsUntil(moment, now);
            waitMilliseconds =
                waitMilliseconds < 0 ? milliseconds : std::min(waitMilliseconds, milliseconds);
        };
        if (deadline && !timedOut) waitUntil(*deadline);
        if (killAt) waitUntil(*killAt);
        if (!reaped && pidfd_ < 0) waitUntil(now + std::chrono::milliseconds(exitPollMilliseconds));

        if (::poll(fds, count, waitMilliseconds) < 0 && errno != EINTR) break;

        for (nfds_t i = 0; i < count; ++i) {
            const short events = fds[i].revents;
            if (!events) continue;
            if (fds[i].fd == input_) {
                if (events & POLLOUT) {
                    const std::size_t size = std::min(chunkBytes, input.size() - written);
                    const ssize_t sent = ::write(input_, input.data() + written, size);
                    if (sent > 0) written += static_cast<std::size_t>(sent);
                    // The child closed its end early (EPIPE): what it did
                    // not read is simply not delivered.
                    if (written == input.size() || (sent < 0 && errno != EAGAIN && errno != EINTR))
                        closeFd(input_);
                } else {
                    closeFd(input_);
                }
            } else if (fds[i].fd == output_) {
                if (!drain(output_, outputSink)) closeFd(output_);
            } else if (fds[i].fd == error_) {
                if (!drain(error_, errorSink)) closeFd(error_);
            }
        }
    }
    closeFd(input_);
    closeFd(output_);
    closeFd(error_);
    if (!reapIfEnded(false)) {
        // Only a failing poll() leaves the loop early: end the child rather
        // than report an exit status it never had.
        kill();
        reapIfEnded(true);
    }

    std::lock_guard lock(mutex_);
    if (WIFSIGNALED(waitStatus_)) {
        result.termination = ProcessTermination::uncaughtSignal;
        result.status = WTERMSIG(waitStatus_);
    } else {
        result.status = WEXITSTATUS(waitStatus_);
    }
    if (timedOut) result.termination = ProcessTermination::timedOut;
    return result;
}

}  // namespace tallowmere::platform
