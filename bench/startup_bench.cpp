// Start-up of the menu-bar program: from process start to ready (launching
// finished: status items made, mirror written) without a display, read
// against two anchors spawned the same way in the same run (`true`, and an
// empty program linked as the program is: the loader's floor); then to the
// end of the start-up sequence (the Finder-launch check that opens the main
// window), and what the program costs while it sits idle afterwards. The
// targets: ready within 8 x the start of `true`, and an idle program near
// 0 % CPU: nothing runs on a timer while no feature is switched on.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/app_delegate.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"

extern char** environ;

namespace tallowmere {
namespace {

using Clock = std::chrono::steady_clock;

// A private HOME, so the program's preferences, mirror and instance lock
// are its own.
class TemporaryHome {
public:
    TemporaryHome() {
        std::string path = (std::filesystem::temp_directory_path() / "startup-bench-XXXXXX").string();
        if (mkdtemp(path.data())) path_ = path;
    }
    ~TemporaryHome() {
        if (!path_.empty()) std::filesystem::remove_all(path_);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The program started with the UI trace on standard error, so the end of
// its start-up can be seen: the main window being shown.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& home, std::vector<std::string> arguments = {},
                            bool headless = false) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        std::vector<std::string> environment{"HOME=" + home, "TALLOWMERE_TRACE=ui", "PATH=/usr/bin:/bin"};
        if (const char* asan = std::getenv("ASAN_OPTIONS")) environment.push_back(std::string("ASAN_OPTIONS=") + asan);
        if (headless) {
            environment.push_back("TALLOWMERE_HEADLESS=1");
        } else if (const char* display = std::getenv("DISPLAY")) {
            environment.push_back(std::string("DISPLAY=") + display);
        }
        std::vector<char*> envp;
        for (auto& entry : environment) envp.push_back(entry.data());
        envp.push_back(nullptr);
        arguments.insert(arguments.begin(), TALLOWMERE_PROGRAM);
        std::vector<char*> argv;
        for (auto& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, TALLOWMERE_PROGRAM, &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        stderr_ = pipeFds[0];
    }
    ~RunningProgram() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
        if (stderr_ >= 0) close(stderr_);
    }

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Reads the trace until a line holds `text`; false when the program
    // ended first.
    bool waitForLine(const std::string& text) {
        char buffer[4096];
        for (;;) {
            const auto newline = pending_.find('\n');
            if (newline != std::string::npos) {
                const std::string line = pending_.substr(0, newline);
                pending_.erase(0, newline + 1);
                if (line.find(text) != std::string::npos) return true;
                continue;
            }
            const ssize_t count = read(stderr_, buffer, sizeof buffer);
            if (count <= 0) return false;
            pending_.append(buffer, static_cast<std::size_t>(count));
        }
    }

private:
    pid_t pid_ = -1;
    int stderr_ = -1;
    std::string pending_;
};

// CPU seconds the process has used, from /proc.
double cpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto afterName = text.rfind(')');
    if (afterName == std::string::npos) return 0;
    std::istringstream fields(text.substr(afterName + 2));
    std::string field;
    unsigned long long userTicks = 0, systemTicks = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14) userTicks = std::stoull(field);
        if (index == 15) {
            systemTicks = std::stoull(field);
            break;
        }
    }
    return static_cast<double>(userTicks + systemTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Spawns `path` with no arguments and waits for it to end.
bool runToEnd(const char* path) {
    pid_t pid = -1;
    char* argv[] = {const_cast<char*>(path), nullptr};
    char* envp[] = {nullptr};
    if (posix_spawn(&pid, path, nullptr, nullptr, argv, envp) != 0) return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void anchorProcessStart(benchmark::State& state, const char* path) {
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!runToEnd(path)) {
            state.SkipWithError("the anchor did not run");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK_CAPTURE(anchorProcessStart, trueCommand, "/bin/true")
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK_CAPTURE(anchorProcessStart, emptyProgramLinkedAsOurs, EMPTY_PROGRAM)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK_CAPTURE(anchorProcessStart, emptyProgramWithEveryLibrary, EMPTY_PROGRAM_ALL_LIBRARIES)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

// The real program without a display, started for a Finder request (so no
// main window), until launching has finished: on a first start (nothing
// stored yet, so the start writes its files) and on a later one.
void headlessProcessStartToReady(benchmark::State& state, bool firstStart) {
    // Seconds from the spawn to ready; none when it did not get there. The
    // stop (SIGTERM and the last writes) comes after and is not counted.
    auto secondsToReady = [](const std::string& home) -> std::optional<double> {
        const auto start = Clock::now();
        RunningProgram program(home, {"--finder-action"}, /*headless=*/true);
        if (!program.started() || !program.waitForLine("application finished launching")) return std::nullopt;
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    TemporaryHome laterHome;
    if (!firstStart && !secondsToReady(laterHome.path())) {
        state.SkipWithError("the program did not finish launching");
        return;
    }
    for (auto _ : state) {
        TemporaryHome firstHome;
        const auto seconds = secondsToReady(firstStart ? firstHome.path() : laterHome.path());
        if (!seconds) {
            state.SkipWithError("the program did not finish launching");
            return;
        }
        state.SetIterationTime(*seconds);
    }
}
BENCHMARK_CAPTURE(headlessProcessStartToReady, laterStart, false)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK_CAPTURE(headlessProcessStartToReady, firstStart, true)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

// The real program: spawned, until its trace reports the main window shown.
void processStartToEndOfStartUp(benchmark::State& state) {
    for (auto _ : state) {
        TemporaryHome home;
        const auto start = Clock::now();
        RunningProgram program(home.path());
        if (!program.started() || !program.waitForLine("window shown")) {
            state.SkipWithError("the program did not finish starting");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK(processStartToEndOfStartUp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// The same sequence inside this process, without process creation and
// dynamic loading: the context, the delegate's construction and start-up,
// and the launch check on the next turn.
void startUpSequenceInProcess(benchmark::State& state) {
    TemporaryHome home;
    setenv("HOME", home.path().c_str(), 1);
    for (auto _ : state) {
        platform::AppContext context;
        auto delegate = AppDelegate::make();
        auto& application = platform::Application::shared();
        application.setDelegate(delegate);
        application.finishLaunching();
        context.mainQueue().runUntilIdle();
        benchmark::DoNotOptimize(delegate->mainWindowController());
        state.PauseTiming();
        application.setDelegate({});
        delegate.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(startUpSequenceInProcess)->Unit(benchmark::kMillisecond);

// CPU the started program uses while it waits with every feature off.
void idleCpu(benchmark::State& state) {
    for (auto _ : state) {
        TemporaryHome home;
        RunningProgram program(home.path());
        if (!program.started() || !program.waitForLine("window shown")) {
            state.SkipWithError("the program did not finish starting");
            return;
        }
        // The window's opening animation first.
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const double before = cpuSeconds(program.pid());
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        state.counters["idleCpuPercent"] = 100 * (cpuSeconds(program.pid()) - before) / wall;
    }
}
BENCHMARK(idleCpu)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace tallowmere
