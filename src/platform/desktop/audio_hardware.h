#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace tallowmere::platform {

class SerialQueue;

using AudioObjectID = std::uint32_t;

// The system's version, for services that came with a release.
struct OperatingSystemVersion {
    int major = 15;
    int minor = 0;
    int patch = 0;
    bool isAtLeast(int wantedMajor, int wantedMinor, int wantedPatch = 0) const {
        if (major != wantedMajor) return major > wantedMajor;
        if (minor != wantedMinor) return minor > wantedMinor;
        return patch >= wantedPatch;
    }
};

// The simulated Mac's audio system as its hardware layer shows it: one
// process object per process that opened audio, each with its process id and
// whether it is producing output now, and listeners on the properties that
// change. Listeners run on the queue they were registered with. A scene or a
// test starts and stops output as a person's players would, and can make
// registration fail or reads fail. Process objects exist from system 14.2
// on; on older versions the list is refused. One per desktop.
class AudioHardware {
public:
    static constexpr AudioObjectID systemObject = 1;
    // Property selectors, four characters each.
    static constexpr std::uint32_t processObjectList = 0x70727323;  // 'prs#'
    static constexpr std::uint32_t processIsRunningOutput = 0x7069726f;  // 'piro'
    static constexpr std::uint32_t processPID = 0x70706964;  // 'ppid'
    // The status of a request the system turns down.
    static constexpr int unknownProperty = 0x77686f3f;  // 'who?'
    static constexpr int refused = 0x21686f67;  // '!hog'

    using Listener = std::shared_ptr<const std::function<void()>>;

    AudioHardware() = default;
    AudioHardware(const AudioHardware&) = delete;
    AudioHardware& operator=(const AudioHardware&) = delete;

    OperatingSystemVersion systemVersion() const { return version_; }
    void setSystemVersion(OperatingSystemVersion version) { version_ = version; }

    // --- As players do ---------------------------------------------------------
    // A process opened audio: its new process object.
    AudioObjectID addProcess(pid_t pid);
    void removeProcess(AudioObjectID object);
    void setRunningOutput(AudioObjectID object, bool running);
    // The object of a process, if it has one.
    std::optional<AudioObjectID> objectOfProcess(pid_t pid) const;
    void setRefusesListeners(bool refuses) { refusesListeners_ = refuses; }
    // Reads of this object's properties fail.
    void setUnreadable(AudioObjectID object) { unreadable_.push_back(object); }

    // --- The hardware layer's calls -----------------------------------------------
    // 0, or the status of the failure.
    int processObjects(std::vector<AudioObjectID>& objects) const;
    int isRunningOutput(AudioObjectID object, std::uint32_t& running) const;
    int processIdentifier(AudioObjectID object, std::int32_t& pid) const;
    int addListener(AudioObjectID object, std::uint32_t selector, SerialQueue& queue, Listener listener);
    // Only the very listener that was added is removed.
    int removeListener(AudioObjectID object, std::uint32_t selector, const Listener& listener);
    // Listeners now registered, on any object.
    std::size_t listenerCount() const { return listeners_.size(); }

private:
    struct Process {
        pid_t pid = 0;
        bool running = false;
    };
    struct Registration {
        AudioObjectID object;
        std::uint32_t selector;
        SerialQueue* queue;
        Listener listener;
    };
    void notify(AudioObjectID object, std::uint32_t selector) const;
    bool readable(AudioObjectID object) const;
    bool hasProcessObjects() const { return version_.isAtLeast(14, 2); }

    OperatingSystemVersion version_;
    std::map<AudioObjectID, Process> processes_;
    AudioObjectID nextObject_ = 100;
    std::vector<Registration> listeners_;
    std::vector<AudioObjectID> unreadable_;
    bool refusesListeners_ = false;
};

}  // namespace tallowmere::platform
