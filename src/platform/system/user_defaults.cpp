#include "platform/system/user_defaults.h"

#include <utility>

#include "platform/base/property_list.h"
#include "platform/runtime/app_context.h"
#include "platform/system/atomic_file_writer.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/preference_reading.h"

namespace tallowmere::platform {

namespace {

namespace fs = std::filesystem;

// Binary, as the Mac stores preferences: it keeps the fraction of a date's
// seconds, which XML drops.
constexpr PropertyListFormat storedFormat = PropertyListFormat::binary;
constexpr mode_t fileMode = 0600;
constexpr mode_t folderMode = 0700;

// A domain name becomes a file name: nothing that leaves the folder.
bool isDomainName(std::string_view name) {
    return !name.empty() && name.front() != '.' && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

bool isStorable(const PropertyValue& value) {
    return PropertyList::write(value, storedFormat).ok();
}

Result<void> writeDomain(const fs::path& path, const PropertyValue::Dictionary& domain,
                         const std::function<void(const fs::path&)>& onTemporaryCreated) {
    auto bytes = PropertyList::write(PropertyValue(domain), storedFormat);
    if (!bytes) return bytes.error();
    if (auto folder = Files::createDirectories(path.parent_path(), folderMode); !folder)
        return folder.error();
    AtomicFileWriter writer(path, fileMode);
    writer.onTemporaryCreated = onTemporaryCreated;
    return writer.write(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

Error protectedFileError(const fs::path& path) {
    return Error{ErrorCode::permissionDenied,
                 "The preferences file \u201C" + path.filename().string() +
                     "\u201D could not be read or kept aside, so it is not written over.",
                 0};
}

}  // namespace

UserDefaults& UserDefaults::standard() {
    return AppContext::current().shared<UserDefaults>();
}

std::shared_ptr<UserDefaults> UserDefaults::makeShared() {
    AppContext& context = AppContext::current();
    return std::make_shared<UserDefaults>(context.bundleIdentifier(), context);
}

UserDefaults::UserDefaults(std::string identifier, AppContext& context)
    : identifier_(std::move(identifier)),
      filePath_(Paths::preferences() / (identifier_ + ".plist")),
      notifications_(context.notificationCenter()),
      clock_(context.clock()),
      writeQueue_(writeQueueLabel) {
    if (!isDomainName(identifier_)) {
        // Nothing can be stored under such a name; keep the domain in memory.
        fileIsProtected_ = true;
        return;
    }
    load();
}

UserDefaults::~UserDefaults() { writeQueue_.sync([this] { writePending(); }); }

void UserDefaults::load() {
    // Writes cut short by a crash of an earlier run would otherwise pile up.
    AtomicFileWriter::removeLeftovers(filePath_);
    auto bytes = Files::read(filePath_);
    if (!bytes && bytes.error().code == ErrorCode::notFound) return;  // nothing stored yet
    if (bytes) {
        auto root = PropertyList::read(*bytes);
        if (root && root->asDictionary()) {
            domain_ = std::move(*root->asDictionary());
            return;
        }
    }
    // Unreadable: keep the user's file, start empty, and write a fresh one
    // only once the old one is safely aside.
    if (!Files::keepAside(filePath_, clock_.now())) fileIsProtected_ = true;
}

const PropertyValue* UserDefaults::findLocked(std::string_view key) const {
    const std::string name(key);
    if (auto found = domain_.find(name); found != domain_.end()) return &found->second;
    if (auto found = registered_.find(name); found != registered_.end()) return &found->second;
    return nullptr;
}

std::optional<PropertyValue> UserDefaults::object(std::string_view key) const {
    std::lock_guard lock(mutex_);
    const PropertyValue* value = findLocked(key);
    return value ? std::optional(*value) : std::nullopt;
}

std::optional<std::string> UserDefaults::string(std::string_view key) const {
    std::lock_guard lock(mutex_);
    return PreferenceReading::string(findLocked(key));
}

bool UserDefaults::boolean(std::string_view key) const {
    std::lock_guard lock(mutex_);
    return PreferenceReading::boolean(findLocked(key));
}

std::optional<bool> UserDefaults::storedBoolean(std::string_view key) const {
    std::lock_guard lock(mutex_);
    const PropertyValue* value = findLocked(key);
    return value ? value->asBoolean() : std::nullopt;
}

std::int64_t UserDefaults::integer(std::string_view key) const {
    std::lock_guard lock(mutex_);
    return PreferenceReading::integer(findLocked(key));
}

double UserDefaults::real(std::string_view key) const {
    std::lock_guard lock(mutex_);
    return PreferenceReading::real(findLocked(key));
}

std::optional<PropertyValue::Array> UserDefaults::array(std::string_view key) const {
    std::lock_guard lock(mutex_);
    const PropertyValue* value = findLocked(key);
    const PropertyValue::Array* array = value ? value->asArray() : nullptr;
    return array ? std::optional(*array) : std::nullopt;
}

std::optional<PropertyValue::Dictionary> UserDefaults::dictionary(std::string_view key) const {
    std::lock_guard lock(mutex_);
    const PropertyValue* value = findLocked(key);
    const PropertyValue::Dictionary* dictionary = value ? value->asDictionary() : nullptr;
    return dictionary ? std::optional(*dictionary) : std::nullopt;
}

std::optional<std::vector<std::string>> UserDefaults::stringArray(std::string_view key) const {
    std::lock_guard lock(mutex_);
    return PreferenceReading::stringArray(findLocked(key));
}

std::optional<Data> UserDefaults::data(std::string_view key) const {
    std::lock_guard lock(mutex_);
    const PropertyValue* value = findLocked(key);
    const Data* data = value ? value->asData() : nullptr;
    return data ? std::optional(*data) : std::nullopt;
}

template <typename Change>
void UserDefaults::change(Change&& apply) {
    bool firstUnwritten = false;
    {
        std::lock_guard lock(mutex_);
        if (!apply(domain_)) return;
        ++domainVersion_;
        changeCount_.fetch_add(1, std::memory_order_release);
        firstUnwritten = !std::exchange(writeScheduled_, true);
    }
    // One write per batch: later changes ride along with the one scheduled.
    if (firstUnwritten) writeQueue_.async([this] { writePending(); });
    // Outside the lock: observers read the new values.
    notifications_.post(didChangeNotification, this);
}

void UserDefaults::writePending() {
    PropertyValue::Dictionary snapshot;
    std::uint64_t version = 0;
    {
        std::lock_guard lock(mutex_);
        // A change from here on schedules a write of its own.
        writeScheduled_ = false;
        if (writtenVersion_ == domainVersion_) return;
        if (fileIsProtected_) {
            lastWrite_ = protectedFileError(filePath_);
            return;
        }
        snapshot = domain_;
        version = domainVersion_;
    }
    // Changes go on meanwhile: the domain is not locked while the disk works.
    Result<void> written = writeDomain(filePath_, snapshot, onTemporaryFileCreated);
    std::lock_guard lock(mutex_);
    if (written) writtenVersion_ = version;
    lastWrite_ = std::move(written);
}

void UserDefaults::set(std::string_view key, PropertyValue value) {
    if (!isStorable(value)) return;
    change([&](PropertyValue::Dictionary& domain) {
        auto [slot, inserted] = domain.try_emplace(std::string(key), value);
        if (inserted) return true;
        if (slot->second == value) return false;
        slot->second = std::move(value);
        return true;
    });
}

void UserDefaults::removeObject(std::string_view key) {
    change([&](PropertyValue::Dictionary& domain) { return domain.erase(std::string(key)) > 0; });
}

void UserDefaults::registerDefaults(const PropertyValue::Dictionary& defaults) {
    std::lock_guard lock(mutex_);
    for (const auto& [key, value] : defaults) registered_[key] = value;
    changeCount_.fetch_add(1, std::memory_order_release);
}

PropertyValue::Dictionary UserDefaults::dictionaryRepresentation() const {
    std::lock_guard lock(mutex_);
    PropertyValue::Dictionary merged = registered_;
    for (const auto& [key, value] : domain_) merged[key] = value;
    return merged;
}

std::optional<PropertyValue::Dictionary> UserDefaults::persistentDomain(
    std::string_view name) const {
    if (name != identifier_) return std::nullopt;
    std::lock_guard lock(mutex_);
    return domain_.empty() ? std::nullopt : std::optional(domain_);
}

void UserDefaults::setPersistentDomain(PropertyValue::Dictionary domain, std::string_view name) {
    if (name != identifier_ || !isStorable(PropertyValue(domain))) return;
    change([&](PropertyValue::Dictionary& current) {
        if (current == domain) return false;
        current = std::move(domain);
        return true;
    });
}

Result<void> UserDefaults::synchronize() {
    writeQueue_.sync([this] { writePending(); });
    std::lock_guard lock(mutex_);
    return lastWrite_;
}

}  // namespace tallowmere::platform
