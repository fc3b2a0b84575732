// The real program, started as a person would start it, with a temporary HOME.
#include <gtest/gtest.h>
#include <elf.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/base/percent_codec.h"
#include "platform/base/property_list.h"
#include "platform/gfx/png.h"
#include "platform/system/files.h"
#include "platform/system/trace_switches.h"
#include "support/fixture.h"
#include "support/xvfb_display.h"

extern char** environ;

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using platform::PropertyValue;
using SteadyClock = std::chrono::steady_clock;

// A generous bound for a sanitized build on a busy machine; every wait ends
// as soon as what it waits for has happened.
constexpr auto patience = std::chrono::seconds(60);

// Looks again every few milliseconds until `done` holds or patience runs out.
bool eventually(const std::function<bool()>& done) {
    const auto deadline = SteadyClock::now() + patience;
    while (!done()) {
        if (SteadyClock::now() >= deadline) return false;
        ::poll(nullptr, 0, 10);
    }
    return true;
}

// One run of the program; ended with SIGKILL if a test leaves it running.
class Program {
public:
    // How one run differs from the usual headless start with the UI trace.
    struct Options {
        std::vector<std::string> environment{};  // "NAME=value", over the defaults
        fs::path folder{};                       // the current folder; the test's own when empty
        fs::path output{"/dev/null"};            // standard output
    };

    Program(const std::vector<std::string>& arguments, const fs::path& errors) : Program(arguments, errors, Options{}) {}
    Program(const std::vector<std::string>& arguments, const fs::path& errors, const Options& options) {
        std::vector<std::string> words{TALLOWMERE_PROGRAM};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);

        // Headless even where a display exists: the test reads the trace, not a window.
        std::vector<std::string> environment = options.environment;
        for (const char* fallback : {"TALLOWMERE_TRACE=ui", "TALLOWMERE_HEADLESS=1"}) {
            const std::string_view name = std::string_view(fallback).substr(0, std::string_view(fallback).find('=') + 1);
            if (std::none_of(environment.begin(), environment.end(), [&](const auto& e) { return e.starts_with(name); }))
                environment.emplace_back(fallback);
        }
        for (char** entry = environ; *entry; ++entry) {
            const std::string_view variable(*entry);
            if (!variable.starts_with("TALLOWMERE_")) environment.emplace_back(*entry);
        }
        std::vector<char*> envp;
        for (auto& entry : environment) envp.push_back(entry.data());
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (!options.folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, options.folder.c_str());
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, options.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Program() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    void signal(int number) const { ::kill(pid_, number); }
    // The exit status, once the program has ended by itself.
    std::optional<int> exitStatus() {
        if (!status_ && !eventually([this] {
                int status = 0;
                if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
                status_ = status;
                return true;
            }))
            return std::nullopt;
        if (!WIFEXITED(*status_)) return 128 + WTERMSIG(*status_);
        return WEXITSTATUS(*status_);
    }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// The sorted top-level keys of a property list, as Python's own reader sees them.
std::string keysByPlistlib(const fs::path& file) {
    const std::string command =
        "python3 -c 'import plistlib, sys; print(\",\".join(sorted(plistlib.load(open(sys.argv[1], \"rb\")))))' '" +
        file.string() + "' 2>&1";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, read);
        ::pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
}

// The value at a "/"-separated path of a property list, as Python's own reader
// prints it; "<absent>" where there is none, the reader's error where it fails.
std::string valueByPlistlib(const fs::path& file, const std::string& path) {
    const std::string command =
        "python3 -c 'import plistlib, sys\n"
        "value = plistlib.load(open(sys.argv[1], \"rb\"))\n"
        "for key in sys.argv[2].split(\"/\"):\n"
        "    value = value.get(key, \"<absent>\") if isinstance(value, dict) else \"<absent>\"\n"
        "print(value)' '" +
        file.string() + "' '" + path + "' 2>&1";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, read);
        ::pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

class ProgramTest : public testing::TallowmereTest {
protected:
    fs::path library() const { return home() / "Library"; }
    fs::path configuration() const {
        return library() / "Application Support/com.quenlow.tallowmere/configuration.plist";
    }
    fs::path preferences() const { return library() / "Preferences/com.quenlow.tallowmere.plist"; }
    fs::path socket() const { return library() / "Caches/com.quenlow.tallowmere/instance.socket"; }
    // A press held still for a second opens quick launch instead of dragging,
    // and on a busy machine the X server may pass on xdotool's first move
    // after the press later than that: tests of a drag turn long press off.
    void turnLongPressOff() { store(preferences(), {{"longPressDestination", "disabled"}}); }
    std::string trace() const { return platform::Files::readText(home() / "first.err").valueOr(std::string()); }
    bool isReady() const { return trace().find("named \"Tallowmere.MainIndependent\"") != std::string::npos; }

    // Both files as an earlier run left them: the mirror holds `mirrored`,
    // the domain `live`.
    void storeBoth(const PropertyValue::Dictionary& live, const PropertyValue::Dictionary& mirrored) {
        store(preferences(), live);
        store(configuration(), {{"schemaVersion", 1}, {"preferences", mirrored}});
    }
    static void store(const fs::path& file, const PropertyValue::Dictionary& root) {
        fs::create_directories(file.parent_path());
        auto bytes = platform::PropertyList::write(PropertyValue(root));
        ASSERT_TRUE(bytes);
        ASSERT_TRUE(platform::Files::writeAtomically(file, *bytes, 0600).ok());
    }
    // Temporary files of the atomic writer beside either file.
    std::vector<std::string> temporaries() const {
        std::vector<std::string> found;
        for (const fs::path& folder : {configuration().parent_path(), preferences().parent_path()}) {
            std::error_code error;
            for (const auto& entry : fs::directory_iterator(folder, error)) {
                const std::string name = entry.path().filename().string();
                if (name.find(".tmp-") != std::string::npos) found.push_back(name);
            }
        }
        return found;
    }
};

TEST_F(ProgramTest, OneInstanceTakesLaterLaunchesAndStopsCleanlyOnSigterm) {
    // A shutdown scheduled in an earlier run must not survive into this one.
    fs::create_directories(preferences().parent_path());
    auto stored = platform::PropertyList::write(PropertyValue(PropertyValue::Dictionary{
        {"themeMode", "dark"},
        {"scheduledShutdownDate", platform::Date::fromTimeIntervalSince1970(1'900'000'000)},
    }));
    ASSERT_TRUE(platform::Files::writeAtomically(preferences(), *stored, 0600).ok());

    // Started for a Finder request, so no main window opens on its own.
    Program first({"--finder-action"}, home() / "first.err");
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(eventually([&] { return fs::exists(socket()) && fs::exists(configuration()); })) << trace();

    struct stat info {};
    ASSERT_EQ(::stat(configuration().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    // A first start also stores the default quick-launch entries in the
    // mirror, right after it is ready.
    const std::string allKeys = "bundleIdentifier,preferences,quickLaunchData,schemaVersion,updatedAt";
    EXPECT_TRUE(eventually([&] { return keysByPlistlib(configuration()) == allKeys; }))
        << keysByPlistlib(configuration());

    const fs::path folder = home() / "Projects";
    fs::create_directories(folder);
    Program second({"--finder-action", "tallowmere-finder://copy?directory=" + folder.string()}, home() / "second.err");
    EXPECT_EQ(second.exitStatus(), 0) << platform::Files::readText(home() / "second.err").valueOr(std::string());

    // A bare launch reaches the same instance as a reopen and shows the main
    // window; the Finder request before it arrived as a URL-open event, which
    // opens no window, so exactly one is shown.
    Program third({}, home() / "third.err");
    EXPECT_EQ(third.exitStatus(), 0);
    EXPECT_TRUE(eventually([&] { return trace().find("ui: window shown") != std::string::npos; })) << trace();
    EXPECT_EQ(occurrences(trace(), "ui: window shown"), 1u) << trace();

    first.signal(SIGTERM);
    EXPECT_EQ(first.exitStatus(), 0) << trace();
    EXPECT_NE(trace().find("ui: application terminated"), std::string::npos) << trace();
    EXPECT_FALSE(fs::exists(socket()));
    const std::string keys = keysByPlistlib(preferences());
    EXPECT_EQ(keys.find("scheduledShutdownDate"), std::string::npos) << keys;
    EXPECT_NE(keys.find("themeMode"), std::string::npos) << keys;
}

TEST_F(ProgramTest, SigtermRightAfterAChangeLeavesTheChangeInBothFiles) {
    // The start restores the mirrored theme into the domain (a change the
    // domain's file gets on its own queue); the stop sequence clears
    // keep-display-awake after the mirror's last write, a change made just
    // before the exit.
    storeBoth({{"themeMode", "light"}, {"displayAwakeAlways", true}},
              {{"themeMode", "dark"}, {"displayAwakeAlways", true}});

    Program first({"--finder-action"}, home() / "first.err");
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(eventually([&] { return isReady(); })) << trace();
    first.signal(SIGTERM);
    ASSERT_EQ(first.exitStatus(), 0) << trace();

    EXPECT_EQ(valueByPlistlib(preferences(), "themeMode"), "dark");
    EXPECT_EQ(valueByPlistlib(preferences(), "displayAwakeAlways"), "<absent>");
    EXPECT_EQ(valueByPlistlib(configuration(), "preferences/themeMode"), "dark");
    EXPECT_EQ(valueByPlistlib(configuration(), "preferences/displayAwakeAlways"), "True");
    EXPECT_EQ(temporaries(), std::vector<std::string>{});
}

TEST_F(ProgramTest, KillDuringABurstOfChangesLeavesWholeFilesAndTheNextStartNoTemporary) {
    // Restoring this many settings at the start is a burst of changes, and
    // both files are big enough for a write to take a while.
    PropertyValue::Dictionary live, mirrored;
    for (int key = 0; key < 3000; ++key) {
        live["setting" + std::to_string(key)] = std::string(100, 'a');
        mirrored["setting" + std::to_string(key)] = std::string(100, 'b');
    }
    storeBoth(live, mirrored);

    // Killed at the first sign of a write under way, or once ready.
    for (int trial = 0; trial < 8; ++trial) {
        SCOPED_TRACE(trial);
        Program killed({"--finder-action"}, home() / "first.err");
        ASSERT_TRUE(killed.started());
        const auto deadline = SteadyClock::now() + patience;
        while (temporaries().empty() && !isReady() && SteadyClock::now() < deadline) {
        }
        killed.signal(SIGKILL);
        EXPECT_EQ(killed.exitStatus(), 128 + SIGKILL);
        for (const fs::path& file : {configuration(), preferences()}) {
            EXPECT_EQ(valueByPlistlib(file, "schemaVersion").find("Error"), std::string::npos)
                << file << " after a kill: " << valueByPlistlib(file, "schemaVersion");
        }
    }

    // As a write cut short leaves it, whatever the trials above left.
    store(configuration().parent_path() / ".configuration.plist.tmp-00112233445566aa", {{"half", true}});
    store(preferences().parent_path() / ".com.quenlow.tallowmere.plist.tmp-00112233445566bb", {{"half", true}});

    Program next({"--finder-action"}, home() / "first.err");
    ASSERT_TRUE(next.started());
    ASSERT_TRUE(eventually([&] { return isReady(); })) << trace();
    next.signal(SIGTERM);
    ASSERT_EQ(next.exitStatus(), 0) << trace();
    EXPECT_EQ(temporaries(), std::vector<std::string>{});
    EXPECT_EQ(valueByPlistlib(preferences(), "setting2999"), std::string(100, 'b'));
}

// The width and height a PNG file's header gives.
std::optional<std::pair<std::uint32_t, std::uint32_t>> pngSize(const fs::path& file) {
    auto bytes = platform::Files::read(file);
    if (!bytes || bytes->size() < 24 || std::string(bytes->begin() + 1, bytes->begin() + 4) != "PNG") return std::nullopt;
    auto word = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) value = value << 8 | (*bytes)[at + i];
        return value;
    };
    return std::pair{word(16), word(20)};
}

TEST_F(ProgramTest, StartsOnASceneTracesItsDesktopAndWritesSnapshotsOfTheWholeArrangement) {
    const Program::Options traced{
        .environment = {"TALLOWMERE_TRACE=desktop",
                        "TALLOWMERE_DESKTOP=" TALLOWMERE_SOURCE_DIR "/resources/desktop/two-screens.json"}};
    Program first({"--finder-action"}, home() / "first.err", traced);
    ASSERT_TRUE(first.started());
    // The instance listens before its desktop is built; the scene's last step is the activation.
    ASSERT_TRUE(eventually([&] { return trace().find("desktop: application activated \"TextEdit\"") != std::string::npos; }))
        << trace();
    for (const std::string& line : {
             std::string("desktop: application launched \"Finder\" (com.apple.finder)\n"),
             "desktop: window opened \"" + home().filename().string() + "\" of \"Finder\" (80, 380, 720, 440)\n",
             std::string("desktop: application launched \"TextEdit\" (com.apple.TextEdit)\n"),
             std::string("desktop: window opened \"Notes.txt\" of \"TextEdit\" (100, 1200, 900, 600)\n"),
             std::string("desktop: application activated \"TextEdit\"\n"),
         }) {
        EXPECT_NE(trace().find(line), std::string::npos) << line << trace();
    }
    EXPECT_EQ(trace().find("ui: "), std::string::npos) << "only the desktop is traced";

    // A relative path is taken from the command's own folder.
    fs::create_directories(home() / "Pictures");
    Program snapshot({"--snapshot", "screen.png"}, home() / "snapshot.err", {.folder = home() / "Pictures"});
    EXPECT_EQ(snapshot.exitStatus(), 0) << platform::Files::readText(home() / "snapshot.err").valueOr(std::string());
    // The screens' bounding box: 1920 wide, 900 + 1080 high.
    EXPECT_EQ(pngSize(home() / "Pictures/screen.png"), (std::pair<std::uint32_t, std::uint32_t>{1920, 1980}));

    Program nowhere({"--snapshot", (home() / "missing/screen.png").string()}, home() / "nowhere.err");
    EXPECT_EQ(nowhere.exitStatus(), 1);
    const std::string refusal = platform::Files::readText(home() / "nowhere.err").valueOr(std::string());
    EXPECT_NE(refusal.find("The folder " + (home() / "missing").string() + " does not exist"), std::string::npos) << refusal;
    EXPECT_FALSE(fs::exists(home() / "missing"));

    first.signal(SIGTERM);
    EXPECT_EQ(first.exitStatus(), 0) << trace();
    Program late({"--snapshot", (home() / "late.png").string()}, home() / "late.err");
    EXPECT_EQ(late.exitStatus(), 1) << "no instance runs, and a snapshot request starts none";
    EXPECT_FALSE(fs::exists(socket()));
}

// The file names of the shared objects a process has mapped.
std::set<std::string> loadedLibraries(pid_t pid) {
    std::set<std::string> names;
    const std::string maps = platform::Files::readText("/proc/" + std::to_string(pid) + "/maps").valueOr(std::string());
    for (std::size_t at = maps.find(".so"); at != std::string::npos; at = maps.find(".so", at + 1)) {
        const std::size_t start = maps.rfind('/', at) + 1;
        names.insert(maps.substr(start, maps.find('.', start) - start));
    }
    return names;
}

TEST_F(ProgramTest, AHeadlessStartLoadsNoDrawingOrDisplayLibraryUntilSomethingIsDrawn) {
    Program first({"--finder-action"}, home() / "first.err");
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(eventually([&] { return trace().find("ui: application finished launching") != std::string::npos; }))
        << trace();
    const std::vector<std::string> drawing{"libcairo", "libpango-1", "libpangocairo-1", "libpng16", "libX11",
                                           "libfontconfig", "libglib-2"};
    for (const std::string& library : drawing) {
        EXPECT_FALSE(loadedLibraries(first.pid()).contains(library)) << library << " loaded at start";
    }

    // The first picture loads them, and draws.
    Program snapshot({"--snapshot", (home() / "screen.png").string()}, home() / "snapshot.err");
    EXPECT_EQ(snapshot.exitStatus(), 0) << platform::Files::readText(home() / "snapshot.err").valueOr(std::string());
    EXPECT_EQ(pngSize(home() / "screen.png"), (std::pair<std::uint32_t, std::uint32_t>{1440, 900}));
    EXPECT_TRUE(loadedLibraries(first.pid()).contains("libcairo"));

    first.signal(SIGTERM);
    EXPECT_EQ(first.exitStatus(), 0) << trace();
}

// The size of the program's thread-local storage: what every thread it
// makes, the start's own among them, gets zeroed at its creation.
std::optional<std::uint64_t> threadLocalStorageSize(const fs::path& program) {
    std::ifstream file(program, std::ios::binary);
    Elf64_Ehdr header{};
    if (!file.read(reinterpret_cast<char*>(&header), sizeof header)) return std::nullopt;
    for (std::size_t index = 0; index < header.e_phnum; ++index) {
        Elf64_Phdr segment{};
        file.seekg(static_cast<std::streamoff>(header.e_phoff + index * sizeof segment));
        if (!file.read(reinterpret_cast<char*>(&segment), sizeof segment)) return std::nullopt;
        if (segment.p_type == PT_TLS) return segment.p_memsz;
    }
    return 0;
}

TEST_F(ProgramTest, EveryThreadStartsWithLittleThreadLocalStorage) {
    // A large thread_local buffer costs every start and every thread
    // (serial queues, the signal watcher) a zeroed block, used or not.
    const auto size = threadLocalStorageSize(TALLOWMERE_PROGRAM);
    ASSERT_TRUE(size);
    EXPECT_LE(*size, 16u * 1024) << "bytes of thread-local storage";
}

TEST_F(ProgramTest, AnswersHelpAndVersionAndRefusesUnknownOptionsWithoutStarting) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* output;  // the start of standard output
        const char* errors;  // the start of standard error
    } cases[] = {
        {{"--help"}, 0, "Usage: tallowmere [--finder-action] [URL ...]\n", ""},
        {{"--version"}, 0, "Tallowmere Sparkwell ", ""},
        {{"--frobnicate", "https://example.com"}, 2, "", "tallowmere: unknown option --frobnicate\nUsage: tallowmere"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        Program program(c.arguments, home() / "err", {.output = home() / "out"});
        EXPECT_EQ(program.exitStatus(), c.status);
        EXPECT_TRUE(platform::Files::readText(home() / "out").valueOr(std::string()).starts_with(c.output));
        EXPECT_TRUE(platform::Files::readText(home() / "err").valueOr(std::string()).starts_with(c.errors));
    }
    EXPECT_FALSE(fs::exists(socket())) << "no instance was started";
}

// A pixel's colour is this one, give or take the rounding of drawing.
bool looksLike(const std::optional<std::array<int, 3>>& pixel, std::array<int, 3> colour) {
    if (!pixel) return false;
    for (int i = 0; i < 3; ++i) {
        if (std::abs((*pixel)[i] - colour[i]) > 3) return false;
    }
    return true;
}

// The program's viewer window on the display `xdotool` speaks to, once it
// shows (that of the process `pid` when given); 0 when it never does.
unsigned long viewerWindow(const std::string& xdotool, pid_t pid = 0) {
    const std::string search =
        "search " + (pid > 0 ? "--pid " + std::to_string(pid) + " " : std::string()) + "--classname '^tallowmere$'";
    unsigned long viewer = 0;
    eventually([&] {
        viewer = std::strtoul(testing::commandOutput(xdotool + search + " 2>/dev/null").c_str(), nullptr, 10);
        return viewer != 0;
    });
    return viewer;
}

TEST_F(ProgramTest, TheViewerShowsTheDefaultScenesWindowsAndATitleBarDragMovesOne) {
    testing::XvfbDisplay display(1920, 1080);
    turnLongPressOff();
    ASSERT_TRUE(display.isRunning()) << "This test needs its own X server: " << display.failure();

    // Started for a Finder request, so the program's main window stays closed
    // and nothing of its own covers the other applications' windows.
    Program first({"--finder-action"}, home() / "first.err",
                  {.environment = {"DISPLAY=" + display.name(), "TALLOWMERE_HEADLESS=0", "TALLOWMERE_TRACE=desktop"}});
    ASSERT_TRUE(first.started());
    const std::string xdotool = "DISPLAY=" + display.name() + " xdotool ";
    const unsigned long viewer = viewerWindow(xdotool);
    ASSERT_NE(viewer, 0u) << "no viewer window on " << display.name() << "\n" << trace();

    // The screen is shown at full size (1440 × 900 fits 90% of the display),
    // so a window pixel is a point of Accessibility space.
    const std::array<int, 3> closeButton{255, 94, 87}, white{255, 255, 255};
    struct Case {
        const char* window;
        int x, y;  // its close button
    } cases[] = {{"Finder", 75, 84}, {"Google Chrome", 535, 64}, {"Terminal", 115, 484}, {"TextEdit", 775, 374}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        EXPECT_TRUE(eventually([&] { return looksLike(testing::windowPixel(display.name(), viewer, c.x, c.y), closeButton); }));
    }

    // The person drags the editor's title bar 100 to the right and 50 down.
    const std::string id = std::to_string(viewer);
    testing::commandOutput(xdotool + "mousemove --window " + id + " 1060 374 mousedown 1 mousemove --window " + id +
                           " 1110 400 mousemove --window " + id + " 1160 424 mouseup 1");
    const std::string moved = "desktop: window frame \"Notes.txt\" of \"TextEdit\" (860, 70, 600, 420)\n";
    EXPECT_TRUE(eventually([&] { return trace().find(moved) != std::string::npos; })) << trace();
    EXPECT_TRUE(eventually([&] { return looksLike(testing::windowPixel(display.name(), viewer, 875, 424), closeButton); }));
    EXPECT_TRUE(looksLike(testing::windowPixel(display.name(), viewer, 775, 374), white))
        << "the browser's page shows where the editor's button was";

    first.signal(SIGTERM);
    EXPECT_EQ(first.exitStatus(), 0) << trace();
}

TEST_F(ProgramTest, DraggingTheEditorsTitleBarToTheLeftEdgeSnapsItToTheLeftHalf) {
    testing::XvfbDisplay display(1920, 1080);
    turnLongPressOff();
    ASSERT_TRUE(display.isRunning()) << "This test needs its own X server: " << display.failure();

    // Started for a Finder request, so the main window stays closed: the
    // mouse features run from the start all the same.
    Program first({"--finder-action"}, home() / "first.err",
                  {.environment = {"DISPLAY=" + display.name(), "TALLOWMERE_HEADLESS=0", "TALLOWMERE_TRACE=desktop"}});
    ASSERT_TRUE(first.started());
    const std::string xdotool = "DISPLAY=" + display.name() + " xdotool ";
    const unsigned long viewer = viewerWindow(xdotool);
    ASSERT_NE(viewer, 0u) << "no viewer window on " << display.name() << "\n" << trace();

    // Once the editor shows (its close button at 775, 374), its title bar is
    // taken in steps to the left edge of the screen (a pixel of the viewer
    // is a point at this size).
    const std::array<int, 3> closeButton{255, 94, 87};
    ASSERT_TRUE(eventually([&] { return looksLike(testing::windowPixel(display.name(), viewer, 775, 374), closeButton); }))
        << trace();
    const std::string id = std::to_string(viewer);
    std::string moves = "mousemove --window " + id + " 1060 374 mousedown 1";
    for (int x = 960; x >= 0; x -= 120) moves += " mousemove --window " + id + " " + std::to_string(x + 2) + " 420";
    testing::commandOutput(xdotool + moves + " mouseup 1");

    // The left half of the visible frame, between the menu bar and the
    // 64-point Dock (the trace gives frames in screen space).
    const std::string snapped = "desktop: window frame \"Notes.txt\" of \"TextEdit\" (0, 64, 720, 812)\n";
    EXPECT_TRUE(eventually([&] { return trace().find(snapped) != std::string::npos; })) << trace();

    first.signal(SIGTERM);
    EXPECT_EQ(first.exitStatus(), 0) << trace();
}

// A run shown by the viewer on `display`, in Simplified Chinese, traced as
// `traceNames` say.
Program::Options inChineseOn(const testing::XvfbDisplay& display, const std::string& traceNames) {
    return {.environment = {"DISPLAY=" + display.name(), "TALLOWMERE_HEADLESS=0", "TALLOWMERE_TRACE=" + traceNames,
                            "LANGUAGE=zh_CN"}};
}

TEST_F(ProgramTest, TheMainStatusItemsFirstChoiceOpensPageOneOfTheMainWindow) {
    testing::XvfbDisplay display(1920, 1080);
    ASSERT_TRUE(display.isRunning()) << "This test needs its own X server: " << display.failure();
    Program first({"--finder-action"}, home() / "first.err", inChineseOn(display, "ui"));
    ASSERT_TRUE(first.started());
    const std::string xdotool = "DISPLAY=" + display.name() + " xdotool ";
    const unsigned long viewer = viewerWindow(xdotool);
    ASSERT_NE(viewer, 0u) << "no viewer window on " << display.name() << "\n" << trace();
    ASSERT_TRUE(eventually([&] { return isReady(); })) << trace();
    EXPECT_EQ(trace().find("ui: window shown"), std::string::npos) << "a Finder request opens no window";

    // The main item is the program's rightmost, left of the clock's 96
    // points. Its menu, taller than the screen, opens at the screen's top
    // edge with "打开主界面" in its first row (a pixel of the viewer is a
    // point at this size).
    const std::string id = std::to_string(viewer);
    testing::commandOutput(xdotool + "mousemove --window " + id + " 1328 12 click 1");
    ASSERT_TRUE(eventually([&] { return trace().find("ui: menu opened") != std::string::npos; })) << trace();
    testing::commandOutput(xdotool + "mousemove --window " + id + " 1330 16 click 1");
    EXPECT_TRUE(eventually([&] { return trace().find("ui: menu item chosen \"打开主界面\"") != std::string::npos; }))
        << trace();
    ASSERT_TRUE(eventually([&] { return trace().find("ui: window shown \"塔洛梅百宝箱\"") != std::string::npos; }))
        << trace();

    // Where the window is, in screen space: "at (x, y, width × height)".
    const std::string shown = trace().substr(trace().find("ui: window shown \"塔洛梅百宝箱\""));
    double x = 0, y = 0, width = 0, height = 0;
    ASSERT_EQ(std::sscanf(shown.substr(shown.find(" at (")).c_str(), " at (%lf, %lf, %lf × %lf)", &x, &y, &width, &height),
              4)
        << shown;
    const fs::path picture = home() / "screen.png";
    Program snapshot({"--snapshot", picture.string()}, home() / "snapshot.err");
    ASSERT_EQ(snapshot.exitStatus(), 0) << platform::Files::readText(home() / "snapshot.err").valueOr(std::string());
    auto bitmap = platform::readPng(picture);
    ASSERT_TRUE(bitmap.ok());
    // The picture's rows run down from the top of the 900-point screen.
    const auto pixel = [&](double px, double py) {
        const auto p = bitmap->pixel(static_cast<int>(px), static_cast<int>(900 - py));
        return std::array<int, 3>{p.red, p.green, p.blue};
    };
    const std::array<int, 3> pageBackground{242, 242, 247}, white{255, 255, 255}, chevronBlue{0, 122, 255};
    EXPECT_TRUE(looksLike(pixel(x + 12, y + height / 2), pageBackground)) << "the page's margin";
    EXPECT_TRUE(looksLike(pixel(x + 290, y + height - 100), white)) << "the first card, beside its title";
    bool chevron = false;  // the next-page chevron: 25 points in from the right edge, halfway up
    for (double cy = y + height / 2 - 10; cy <= y + height / 2 + 10; ++cy) {
        chevron = chevron || looksLike(pixel(x + width - 40, cy), chevronBlue);
    }
    EXPECT_TRUE(chevron) << "no chevron at the right edge";

    first.signal(SIGTERM);
    EXPECT_EQ(first.exitStatus(), 0) << trace();
}

// Programs started by an instance that has since quit (the instance a change
// of language starts) become this process's children while one of these
// lives, so a test can count them and stops whatever is left at its end.
class AdoptedInstances {
public:
    AdoptedInstances() { ::prctl(PR_SET_CHILD_SUBREAPER, 1); }
    ~AdoptedInstances() {
        for (pid_t pid : running()) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        ::prctl(PR_SET_CHILD_SUBREAPER, 0);
    }
    AdoptedInstances(const AdoptedInstances&) = delete;
    AdoptedInstances& operator=(const AdoptedInstances&) = delete;

    // The program's processes among this process's living children.
    std::vector<pid_t> running() const {
        std::vector<pid_t> found;
        const fs::path program = fs::canonical(TALLOWMERE_PROGRAM);
        std::error_code error;
        for (const auto& entry : fs::directory_iterator("/proc", error)) {
            const std::string name = entry.path().filename().string();
            if (name.find_first_not_of("0123456789") != std::string::npos) continue;
            // "pid (name) state ppid ...": the name may hold spaces and parentheses.
            const std::string stat = platform::Files::readText(entry.path() / "stat").valueOr(std::string());
            const auto end = stat.rfind(')');
            char state = 0;
            int parent = 0;
            if (end == std::string::npos || std::sscanf(stat.c_str() + end + 1, " %c %d", &state, &parent) != 2) continue;
            if (parent != ::getpid() || state == 'Z') continue;
            if (fs::read_symlink(entry.path() / "exe", error) == program) found.push_back(std::stoi(name));
        }
        return found;
    }
};

// Where a screen point (y up from the bottom of the 900-point screen) is in
// the viewer window, which shows the screen at full size on this display.
std::string viewerPixel(double x, double y) {
    return std::to_string(static_cast<int>(std::lround(x))) + " " + std::to_string(static_cast<int>(std::lround(900 - y)));
}

class ProgramOnDisplayTest : public ProgramTest {
protected:
    // The middle of what the running instance's views trace lists for
    // `what` (`AXPopUpButton "简体中文"`, `row "English"`) on a snapshot
    // taken now, as a pixel of the viewer window; empty when not listed.
    std::string listedPixel(const std::string& what) {
        const std::size_t before = trace().size();
        Program snapshot({"--snapshot", (home() / "listing.png").string()}, home() / "snapshot.err");
        if (snapshot.exitStatus() != 0) {
            ADD_FAILURE() << "no snapshot: " << platform::Files::readText(home() / "snapshot.err").valueOr(std::string());
            return {};
        }
        const std::string listing = trace().substr(before);
        for (std::size_t at = listing.find("views: "); at != std::string::npos; at = listing.find("views: ", at + 1)) {
            const std::string line = listing.substr(at, listing.find('\n', at) - at);
            const auto found = line.find(" " + what + " at (");
            double x = 0, y = 0, width = 0, height = 0;
            if (found == std::string::npos ||
                std::sscanf(line.c_str() + found + what.size() + 1, " at (%lf, %lf, %lf × %lf)", &x, &y, &width,
                            &height) != 4)
                continue;
            return viewerPixel(x + width / 2, y + height / 2);
        }
        ADD_FAILURE() << "the snapshot lists no " << what << "\n" << listing;
        return {};
    }

    // A person clicks at `pixel` of the viewer window, which opens a menu,
    // and clicks the row titled `row` where the views trace lists it.
    void chooseFromMenu(const std::string& xdotool, unsigned long viewer, const std::string& pixel,
                        const std::string& row) {
        const std::string click = "mousemove --window " + std::to_string(viewer) + " ";
        const std::size_t before = trace().size();
        testing::commandOutput(xdotool + click + pixel + " click 1");
        ASSERT_TRUE(eventually([&] { return trace().find("ui: menu opened", before) != std::string::npos; }))
            << "no menu opened at " << pixel << "\n" << trace().substr(before);
        const std::string rowPixel = listedPixel("row " + platform::quotedForTrace(row));
        ASSERT_FALSE(rowPixel.empty());
        testing::commandOutput(xdotool + click + rowPixel + " click 1");
        ASSERT_TRUE(eventually([&] {
            return trace().find("ui: menu item chosen " + platform::quotedForTrace(row), before) != std::string::npos;
        })) << trace().substr(before);
    }
};

TEST_F(ProgramOnDisplayTest, ChoosingEnglishInTheLanguagePopUpRelaunchesTheProgramInEnglish) {
    testing::XvfbDisplay display(1920, 1080);
    ASSERT_TRUE(display.isRunning()) << "This test needs its own X server: " << display.failure();
    AdoptedInstances instances;
    // Started for a Finder request, so the main window opens only when asked.
    Program first({"--finder-action"}, home() / "first.err", inChineseOn(display, "ui,views"));
    ASSERT_TRUE(first.started());
    const std::string xdotool = "DISPLAY=" + display.name() + " xdotool ";
    const unsigned long viewer = viewerWindow(xdotool);
    ASSERT_NE(viewer, 0u) << "no viewer window on " << display.name() << "\n" << trace();
    ASSERT_TRUE(eventually([&] { return isReady(); })) << trace();

    // The main status item is named for the program in the interface's language.
    const std::string statusItem = listedPixel("AXMenuBarItem \"塔洛梅百宝箱\"");
    ASSERT_FALSE(statusItem.empty());
    ASSERT_NO_FATAL_FAILURE(chooseFromMenu(xdotool, viewer, statusItem, "打开主界面"));
    ASSERT_TRUE(eventually([&] { return trace().find("ui: window shown \"塔洛梅百宝箱\"") != std::string::npos; }))
        << trace();
    const std::string languages = listedPixel("AXPopUpButton \"简体中文\"");
    ASSERT_FALSE(languages.empty());
    ASSERT_NO_FATAL_FAILURE(chooseFromMenu(xdotool, viewer, languages, "English"));

    // The program starts itself anew and quits once the new instance runs;
    // both write to the same standard error.
    EXPECT_EQ(first.exitStatus(), 0) << trace();
    const std::string ready = "named \"Tallowmere.MainIndependent\"";
    ASSERT_TRUE(eventually([&] { return occurrences(trace(), ready) == 2; })) << "no new instance\n" << trace();
    const auto running = instances.running();
    ASSERT_EQ(running.size(), 1u) << "exactly one instance runs";
    EXPECT_TRUE(fs::exists(socket()));

    // The new instance shows its own viewer window, its status menu and
    // main window in English.
    const unsigned long relaunched = viewerWindow(xdotool, running.front());
    ASSERT_NE(relaunched, 0u) << "the new instance shows no viewer window\n" << trace();
    const std::string englishItem = listedPixel("AXMenuBarItem \"Tallowmere Sparkwell\"");
    ASSERT_FALSE(englishItem.empty());
    ASSERT_NO_FATAL_FAILURE(
        chooseFromMenu(xdotool, relaunched, englishItem, "Open Main Window"));
    EXPECT_FALSE(listedPixel("AXPopUpButton \"English\"").empty()) << "the language pop-up shows the new language";

    ASSERT_EQ(instances.running(), running);
    ::kill(running.front(), SIGTERM);
    int status = -1;
    EXPECT_EQ(::waitpid(running.front(), &status, 0), running.front());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << trace();
}

TEST_F(ProgramTest, FinderRequestsCreateNumberedFilesInTheirFolderAndRelativeFoldersNothing) {
    const fs::path folder = home() / "新 文件夹 #1";
    fs::create_directories(folder);
    const auto request = [](const std::string& directory) {
        return "tallowmere-finder://create?directory=" + platform::PercentCodec::encode(directory, platform::UrlComponent::queryItem) +
               "&type=txt";
    };
    const auto names = [&] {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder)) found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    };
    Program first({"--finder-action", request(folder.string())}, home() / "first.err");
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(eventually([&] { return fs::exists(folder / "新建文件.txt") && isReady(); })) << trace();

    // Later requests reach the running instance, which makes the next name.
    Program second({"--finder-action", request(folder.string())}, home() / "second.err");
    EXPECT_EQ(second.exitStatus(), 0);
    ASSERT_TRUE(eventually([&] { return fs::exists(folder / "新建文件 (1).txt"); })) << trace();

    Program third({"--finder-action", request("新 文件夹 #1")}, home() / "third.err", {.folder = home()});
    EXPECT_EQ(third.exitStatus(), 0);
    ASSERT_TRUE(eventually([&] { return trace().find("文件操作路径无效，未执行操作。") != std::string::npos; })) << trace();
    EXPECT_EQ(names(), (std::vector<std::string>{"新建文件 (1).txt", "新建文件.txt"}));
    EXPECT_EQ(fs::file_size(folder / "新建文件 (1).txt"), 0u);
    EXPECT_EQ(trace().find("window shown"), std::string::npos) << "the main window stays closed\n" << trace();

    first.signal(SIGTERM);
    EXPECT_EQ(first.exitStatus(), 0) << trace();
}

}  // namespace
}  // namespace tallowmere
