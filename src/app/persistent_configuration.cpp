#include "app/persistent_configuration.h"

#include <algorithm>
#include <string>

#include "localization/product_identity.h"
#include "platform/base/format.h"
#include "platform/base/property_list.h"
#include "platform/runtime/app_context.h"
#include "platform/system/atomic_file_writer.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/system_log.h"
#include "platform/system/user_defaults.h"

namespace tallowmere {

using platform::PropertyValue;

namespace {

// Owner read and write only: the file holds every setting of the user.
constexpr mode_t fileMode = 0600;

std::string runningBundleIdentifier() {
    const std::string& identifier = platform::AppContext::current().bundleIdentifier();
    return identifier.empty() ? std::string(ProductIdentity::bundleIdentifier) : identifier;
}

void logWriteFailure(const std::string& reason) {
    platform::SystemLog::shared().log(platform::formatTemplate("Unable to persist configuration: %@", reason));
}

bool isLongPressKey(std::string_view key) {
    const auto& keys = PersistentConfiguration::longPressKeys;
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

}  // namespace

PersistentConfiguration& PersistentConfiguration::shared() {
    return platform::AppContext::current().shared<PersistentConfiguration>();
}

PersistentConfiguration::PersistentConfiguration()
    : notifications_(platform::AppContext::current().notificationCenter()),
      ioQueue_(std::string(queueLabel)) {
    // The folder is named by the product, not by whichever bundle runs.
    const auto folder = platform::Paths::applicationSupport() / ProductIdentity::bundleIdentifier;
    (void)platform::Files::createDirectories(folder);  // a failure shows at the first write
    fileURL_ = folder / "configuration.plist";
}

PersistentConfiguration::~PersistentConfiguration() { notifications_.removeObserver(observer_); }

void PersistentConfiguration::activate() {
    if (state_ != State::idle) return;
    state_ = State::active;
    // Writes cut short by a crash of an earlier run would otherwise pile up.
    platform::AtomicFileWriter::removeLeftovers(fileURL_);
    restoreFromFile();
    // Registered only after the restore, so restoring does not write the
    // file once per key.
    observer_ = notifications_.addObserver(
        platform::UserDefaults::didChangeNotification, &platform::UserDefaults::standard(),
        [weak = weak_from_this()](const platform::Notification&) {
            if (auto self = weak.lock()) self->domainDidChange();
        });
    persistNow();
}

void PersistentConfiguration::restoreFromFile() {
    auto bytes = platform::Files::read(fileURL_);
    if (!bytes) {
        if (bytes.error().code != platform::ErrorCode::notFound) keepUnreadableFileAside();
        return;
    }
    auto root = platform::PropertyList::read(std::span<const std::uint8_t>(*bytes));
    if (!root || !root->asDictionary()) {
        keepUnreadableFileAside();
        return;
    }
    if (const PropertyValue* preferences = root->find("preferences")) restorePreferences(*preferences);
    if (const PropertyValue* blob = root->find("quickLaunchData"); blob && blob->asData()) {
        ioQueue_.sync([&] { cachedQuickLaunchData_ = *blob->asData(); });
    }
}

void PersistentConfiguration::restorePreferences(const PropertyValue& stored) {
    const PropertyValue::Dictionary* values = stored.asDictionary();
    if (!values) return;
    auto& defaults = platform::UserDefaults::standard();
    const auto live = defaults.persistentDomain(runningBundleIdentifier()).value_or(PropertyValue::Dictionary{});
    const bool longPressIsLive = std::any_of(longPressKeys.begin(), longPressKeys.end(), [&](std::string_view key) {
        return live.contains(std::string(key));
    });
    for (const auto& [key, value] : *values) {
        if (longPressIsLive && isLongPressKey(key)) continue;
        defaults.set(key, value);
    }
}

void PersistentConfiguration::keepUnreadableFileAside() {
    auto& clock = platform::AppContext::current().clock();
    if (auto kept = platform::Files::keepAside(fileURL_, clock.now()); !kept) {
        fileIsProtected_ = true;
        logWriteFailure(kept.error().message);
    }
}

void PersistentConfiguration::domainDidChange() {
    auto& mainQueue = platform::AppContext::current().mainQueue();
    if (mainQueue.isCurrentThread()) {
        persistNow();
        return;
    }
    // A change made on another thread is written from the main thread, as
    // every other write is.
    mainQueue.async([weak = weak_from_this()] {
        if (auto self = weak.lock()) self->persistNow();
    });
}

void PersistentConfiguration::persistNow() {
    if (state_ == State::finished || fileIsProtected_) return;
    const std::string identifier = runningBundleIdentifier();
    auto domain = platform::UserDefaults::standard().persistentDomain(identifier).value_or(PropertyValue::Dictionary{});
    std::optional<platform::Data> blob;
    ioQueue_.sync([&] { blob = cachedQuickLaunchData_; });

    PropertyValue::Dictionary root{
        {"schemaVersion", schemaVersion},
        {"bundleIdentifier", identifier},
        {"updatedAt", platform::AppContext::current().clock().now()},
        {"preferences", std::move(domain)},
    };
    if (blob) root.emplace("quickLaunchData", std::move(*blob));
    const PropertyValue document(std::move(root));
    ioQueue_.sync([&] { write(document); });
}

void PersistentConfiguration::write(const PropertyValue& root) {
    auto bytes = platform::PropertyList::write(root, platform::PropertyListFormat::xml);
    if (!bytes) return;  // the previous file stays
    // Created with its final mode, so no reader ever finds it more open.
    platform::AtomicFileWriter writer(fileURL_, fileMode);
    writer.onTemporaryCreated = onTemporaryFileCreated;
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (auto written = writer.write(text); !written) logWriteFailure(written.error().message);
}

void PersistentConfiguration::finalize() {
    if (state_ == State::active) {
        persistNow();
        notifications_.removeObserver(observer_);
        observer_ = {};
    }
    state_ = State::finished;
}

std::optional<platform::Data> PersistentConfiguration::quickLaunchData() {
    std::optional<platform::Data> copy;
    ioQueue_.sync([&] { copy = cachedQuickLaunchData_; });
    return copy;
}

void PersistentConfiguration::setQuickLaunchData(platform::Data data) {
    ioQueue_.sync([&] { cachedQuickLaunchData_ = std::move(data); });
    persistNow();
}

}  // namespace tallowmere
