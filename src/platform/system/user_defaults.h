#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/data.h"
#include "platform/base/property_value.h"
#include "platform/base/result.h"
#include "platform/runtime/serial_queue.h"

namespace tallowmere::platform {

class AppContext;
class Clock;
class NotificationCenter;

// A preferences domain: the settings a program keeps for the user, held in
// memory and stored as a property list at
// ~/Library/Preferences/<identifier>.plist (mode 0600 from its creation).
//
// Reads look in the stored domain, then in the registered defaults (which are
// never stored); a read always sees every change made before it, on any
// thread. The file is written on the domain's own queue
// ("com.quenlow.tallowmere.preferences"), off the thread that made the
// change: all changes made before the write starts go out in one atomic
// write (many changes in one turn of the main queue make one write), so
// another process reading the file never sees half of it. A crash may lose
// the changes of the last moments, never the file. `synchronize()`, quitting
// (the domain's end) and SIGTERM complete the pending write. A write that
// fails keeps the change in memory and is tried again with the next change or
// `synchronize()`.
//
// A stored file that cannot be read is kept aside ("<name>.unreadable-<time>")
// and the domain starts empty; it is never overwritten. Changes other
// processes make to the file later are not picked up. Temporary files that an
// interrupted write of an earlier run left beside the file are removed when
// the domain is loaded.
//
// After each change that alters the stored domain, `didChangeNotification`
// is posted (object: this instance) on the context's notification centre,
// synchronously on the thread that made the change. Safe from any thread.
class UserDefaults {
public:
    static constexpr const char* didChangeNotification = "NSUserDefaultsDidChangeNotification";
    static constexpr const char* writeQueueLabel = "com.quenlow.tallowmere.preferences";

    // The domain of `AppContext::bundleIdentifier()`, one per context.
    static UserDefaults& standard();
    static std::shared_ptr<UserDefaults> makeShared();

    // Loads ~/Library/Preferences/<identifier>.plist; posts on the context's
    // notification centre.
    UserDefaults(std::string identifier, AppContext& context);
    // Completes the pending write.
    ~UserDefaults();

    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    const std::string& identifier() const { return identifier_; }
    const std::filesystem::path& filePath() const { return filePath_; }

    // Typed reads (see preference_reading.h for how each type converts).
    std::optional<PropertyValue> object(std::string_view key) const;
    std::optional<std::string> string(std::string_view key) const;
    bool boolean(std::string_view key) const;          // absent: false
    // The Boolean stored under `key`; none when absent or of another type,
    // for switches that are on unless stored off.
    std::optional<bool> storedBoolean(std::string_view key) const;
    std::int64_t integer(std::string_view key) const;  // absent: 0
    double real(std::string_view key) const;           // absent: 0
    std::optional<PropertyValue::Array> array(std::string_view key) const;
    std::optional<PropertyValue::Dictionary> dictionary(std::string_view key) const;
    std::optional<std::vector<std::string>> stringArray(std::string_view key) const;
    std::optional<Data> data(std::string_view key) const;

    // A value a property list cannot hold (text with U+0000, a date out of
    // range) is refused and changes nothing.
    void set(std::string_view key, PropertyValue value);
    void removeObject(std::string_view key);

    // Fallbacks for keys the stored domain lacks; merged into earlier ones,
    // kept in memory only, and no notification.
    void registerDefaults(const PropertyValue::Dictionary& defaults);

    // Grows with every change a read could see (the stored domain or the
    // registered defaults). Read without a lock, so a cache of something
    // derived from the preferences knows when to work it out again: once a
    // change has returned, the count read on any thread has moved past the
    // count seen before it.
    std::uint64_t changeCount() const { return changeCount_.load(std::memory_order_acquire); }

    // Registered defaults overlaid with the stored domain.
    PropertyValue::Dictionary dictionaryRepresentation() const;

    // A snapshot of the stored domain named `name` (this one's identifier;
    // other names hold nothing here). Absent while the domain is empty.
    std::optional<PropertyValue::Dictionary> persistentDomain(std::string_view name) const;
    // Replaces the stored domain as a whole.
    void setPersistentDomain(PropertyValue::Dictionary domain, std::string_view name);

    // Writes every change not yet in the file and waits for it (and for a
    // write under way); the outcome of the last write.
    Result<void> synchronize();

    // Fires on the writing queue when a write's temporary file has been
    // created, before any byte is in it. Set before the first change.
    std::function<void(const std::filesystem::path& temporary)> onTemporaryFileCreated;

private:
    // Changes the domain under the lock and has the file written; posts when
    // it changed.
    template <typename Change>
    void change(Change&& change);
    const PropertyValue* findLocked(std::string_view key) const;
    // On the write queue: writes the domain as it is now, if the file lacks a change.
    void writePending();
    void load();

    const std::string identifier_;
    const std::filesystem::path filePath_;
    NotificationCenter& notifications_;
    Clock& clock_;

    mutable std::mutex mutex_;
    PropertyValue::Dictionary domain_;
    PropertyValue::Dictionary registered_;
    // Versions of the stored domain: the one in memory, the one in the file.
    std::uint64_t domainVersion_ = 0;
    std::uint64_t writtenVersion_ = 0;
    bool writeScheduled_ = false;
    // Set when an unreadable file could not be moved aside: it is never
    // written over, and changes stay in memory.
    bool fileIsProtected_ = false;
    Result<void> lastWrite_;
    std::atomic<std::uint64_t> changeCount_{0};
    // Last, so it is gone (its work finished) before anything it touches.
    SerialQueue writeQueue_;
};

}  // namespace tallowmere::platform
