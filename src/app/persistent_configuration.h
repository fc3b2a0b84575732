#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/base/data.h"
#include "platform/base/property_value.h"
#include "platform/runtime/notification_center.h"
#include "platform/runtime/serial_queue.h"

namespace tallowmere {

// A second copy of the whole preferences domain, plus the quick-launch
// entries' data that lives nowhere else, in one XML property list:
// ~/Library/Application Support/com.quenlow.tallowmere/configuration.plist
// (mode 0600 from the moment the file exists).
//
// `activate()` runs first thing at start-up: the stored settings go back
// into the live domain, then every change of the domain rewrites the file.
// `finalize()` at quit writes it one last time and stops there, so what the
// stop sequence clears afterwards (keep-display-awake) is still in the file
// at the next start.
//
// Call from the main thread. File writes and the quick-launch data live on
// the private queue "com.quenlow.tallowmere.configuration", which every
// operation waits for: when a call returns, its write is on disk. None may
// be called from work running on that queue.
class PersistentConfiguration : public std::enable_shared_from_this<PersistentConfiguration> {
public:
    enum class State {
        idle,      // made; nothing restored or observed yet
        active,    // restored, observing, writing after every change
        finished,  // written for the last time; the file no longer changes
    };

    static constexpr std::int64_t schemaVersion = 1;
    static constexpr std::string_view queueLabel = "com.quenlow.tallowmere.configuration";
    // A long-press choice already in the live domain is newer than the
    // file's: while any of these is live, none of them is restored.
    static constexpr std::array<std::string_view, 3> longPressKeys = {
        "longPressDestination", "quickLaunchLongPressEnabled", "selvaneLongPressEnabled"};

    static PersistentConfiguration& shared();

    // Creates the folder and decides the file's place; reads nothing.
    PersistentConfiguration();
    ~PersistentConfiguration();

    PersistentConfiguration(const PersistentConfiguration&) = delete;
    PersistentConfiguration& operator=(const PersistentConfiguration&) = delete;

    const std::filesystem::path& fileURL() const { return fileURL_; }
    State state() const { return state_; }

    // Once per process: restores from the file, observes the domain and
    // writes the file. Later calls do nothing.
    void activate();
    // Writes the file now; returns when the write has finished or failed.
    // Does nothing once finished.
    void persistNow();
    // The stop sequence's write: writes the file (when active), stops
    // observing, and ignores every later change and `persistNow()`. Before
    // `activate()` it writes nothing, since the file's settings were never
    // restored and writing would lose them.
    void finalize();

    std::optional<platform::Data> quickLaunchData();
    // Replaces the blob, then writes the file: it is on disk on return.
    void setQuickLaunchData(platform::Data data);

    // Fires on the writing queue when a write's temporary file has been
    // created, before any byte is in it: the earliest moment another
    // process could open it.
    std::function<void(const std::filesystem::path& temporary)> onTemporaryFileCreated;

private:
    void restoreFromFile();
    void restorePreferences(const platform::PropertyValue& stored);
    // A stored file that cannot be read is moved aside before a fresh one
    // replaces it; when that fails the file is left alone for this run, and
    // the log says why.
    void keepUnreadableFileAside();
    void domainDidChange();
    void write(const platform::PropertyValue& root);

    platform::NotificationCenter& notifications_;
    std::filesystem::path fileURL_;
    platform::SerialQueue ioQueue_;
    std::optional<platform::Data> cachedQuickLaunchData_;  // on ioQueue_ only
    platform::ObserverToken observer_;
    State state_ = State::idle;
    bool fileIsProtected_ = false;
};

}  // namespace tallowmere
