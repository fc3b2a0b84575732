#include "quicklaunch/quick_launch_store.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <utility>

#include "app/app_error.h"
#include "app/persistent_configuration.h"
#include "localization/interface_language.h"
#include "platform/base/text.h"
#include "platform/desktop/workspace.h"
#include "platform/runtime/app_context.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "quicklaunch/application_bundle.h"
#include "quicklaunch/website_address.h"

namespace tallowmere {

namespace fs = std::filesystem;
using platform::Data;
using platform::Error;
using platform::ErrorCode;
using platform::Result;
using platform::Text::trimmingWhitespaceAndNewlines;

namespace {

std::string_view textOf(const Data& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The emoji shown in place of a standard icon: the first user-perceived
// character of the trimmed text, or none.
std::optional<std::string> emojiOf(std::optional<std::string_view> emoji) {
    const std::string character =
        platform::Text::prefixGraphemes(trimmingWhitespaceAndNewlines(emoji.value_or("")), 1);
    return character.empty() ? std::nullopt : std::optional(character);
}

bool isValidInformation(const std::string& trimmedText) {
    return !trimmedText.empty() &&
           platform::Text::graphemeCount(trimmedText) <= QuickLaunchStore::maximumInformationLength;
}

// "~" and "~/…" name the home folder; "~user" is not expanded and so stays
// relative.
std::string expandingTilde(const std::string& path) {
    if (path == "~") return platform::Paths::home().string();
    if (path.starts_with("~/")) return (platform::Paths::home() / path.substr(2)).string();
    return path;
}

std::string lastPathComponent(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path == "/") return path;
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

QuickLaunchStore::QuickLaunchStore() { load(); }

QuickLaunchStore::~QuickLaunchStore() {
    if (pendingDefaultsWrite_) pendingDefaultsWrite_->cancel();
}

// --- Loading and writing --------------------------------------------------------

void QuickLaunchStore::load() {
    const fs::path folder = platform::Paths::applicationSupport() / folderName;
    (void)platform::Files::createDirectories(folder);  // a failure shows at the first write
    fileURL_ = folder / fileName;

    auto& mirror = PersistentConfiguration::shared();
    // Adopting the file's list hands its bytes to the mirror, so a list found
    // only in the file is in both places from now on. The mirror's own list
    // is already there: handing it back would only rewrite the mirror, a
    // flushed write on every start.
    auto adopt = [&](const Data& bytes, bool handToMirror) {
        auto decoded = QuickLaunchEntryCoding::decode(textOf(bytes));
        if (!decoded) return false;
        entries_ = std::move(*decoded);
        if (handToMirror) mirror.setQuickLaunchData(bytes);
        return true;
    };
    const std::optional<Data> mirrorBytes = mirror.quickLaunchData();
    if (mirrorBytes && adopt(*mirrorBytes, /*handToMirror=*/false)) return;
    const auto fileBytes = platform::Files::read(fileURL_);
    if (fileBytes && adopt(*fileBytes, /*handToMirror=*/true)) return;

    const bool fileExists = fileBytes.ok() || fileBytes.error().code != ErrorCode::notFound;
    if (!mirrorBytes && !fileExists) {
        entries_ = defaultEntries();
        persistDefaultsOnNextTurn();
        return;
    }
    keepUndecodableListAside(mirrorBytes, fileExists);
    installDefaultEntries();
}

void QuickLaunchStore::persistDefaultsOnNextTurn() {
    // Main thread only, and cancelled when the store goes: `this` outlives it.
    pendingDefaultsWrite_ = platform::WorkItem::make([this] { (void)persist(); });
    platform::AppContext::current().mainQueue().async(pendingDefaultsWrite_);
}

void QuickLaunchStore::keepUndecodableListAside(const std::optional<Data>& mirrorBytes, bool fileExists) {
    const platform::Date now = platform::AppContext::current().clock().now();
    if (!fileExists) {
        // Only the mirror held the list: its bytes go where a kept file goes.
        if (!mirrorBytes || !platform::Files::createExclusively(fileURL_, *mirrorBytes)) return;
    }
    if (!platform::Files::keepAside(fileURL_, now)) fileIsProtected_ = true;
}

void QuickLaunchStore::installDefaultEntries() {
    entries_ = defaultEntries();
    (void)persist();
}

std::vector<QuickLaunchEntry> QuickLaunchStore::defaultEntries() {
    const std::string chromePath = platform::Workspace::shared()
                                       .urlForApplication(std::string(defaultChromeIdentifier))
                                       .value_or(std::string(defaultChromePath));
    return {
        {platform::Uuid::random(), QuickLaunchKind::application, "Chrome", chromePath,
         std::string(defaultChromeIdentifier), std::nullopt, std::nullopt},
        {platform::Uuid::random(), QuickLaunchKind::website, "Google", std::string(defaultSearchAddress),
         std::nullopt, std::string(rawValue(WebsiteIconStyle::globe)), std::nullopt},
        {platform::Uuid::random(), QuickLaunchKind::information, "我是塔洛梅", "我是塔洛梅", std::nullopt,
         std::nullopt, std::nullopt},
    };
}

Result<void> QuickLaunchStore::persist() {
    if (auto pending = std::exchange(pendingDefaultsWrite_, nullptr)) pending->cancel();
    if (fileIsProtected_) {
        return Error{ErrorCode::permissionDenied,
                     "The stored quick-launch list \u201C" + fileURL_.filename().string() +
                         "\u201D could not be read or kept aside, so it is not written over.",
                     0};
    }
    auto json = QuickLaunchEntryCoding::encode(entries_);
    if (!json) return json.error();
    if (auto written = platform::Files::writeAtomically(fileURL_, *json); !written) return written.error();
    PersistentConfiguration::shared().setQuickLaunchData(Data(json->begin(), json->end()));
    return {};
}

// --- Edits ------------------------------------------------------------------------

QuickLaunchEntry* QuickLaunchStore::entry(const platform::Uuid& id, std::optional<QuickLaunchKind> kind) {
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [&](const QuickLaunchEntry& entry) { return entry.id == id; });
    if (found == entries_.end() || (kind && found->kind != *kind)) return nullptr;
    return &*found;
}

Result<void> QuickLaunchStore::append(QuickLaunchEntry entry) {
    entries_.push_back(std::move(entry));
    return persist();
}

Result<void> QuickLaunchStore::addApplication(const fs::path& bundlePath, std::string_view name) {
    const fs::path path = standardizedBundlePath(bundlePath);
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // A relative path would name a different bundle from every other folder.
    if (extension != ".app" || !path.is_absolute()) return makeError(AppError::invalidApplication);

    std::string title = trimmingWhitespaceAndNewlines(name);
    if (title.empty()) title = preferredApplicationName(path);
    const auto bundle = ApplicationBundle::open(path);
    return append({platform::Uuid::random(), QuickLaunchKind::application, std::move(title), path.string(),
                   bundle ? bundle->bundleIdentifier() : std::nullopt, std::nullopt, std::nullopt});
}

Result<void> QuickLaunchStore::addWebsite(std::string_view urlString, std::string_view name,
                                          WebsiteIconStyle iconStyle, std::optional<std::string_view> emoji) {
    auto address = WebsiteAddress::parse(urlString);
    if (!address) return makeError(AppError::invalidWebsite);
    std::string title = trimmingWhitespaceAndNewlines(name);
    if (title.empty()) title = address->host;
    return append({platform::Uuid::random(), QuickLaunchKind::website, std::move(title), std::move(address->text),
                   std::nullopt, std::string(rawValue(iconStyle)), emojiOf(emoji)});
}

Result<void> QuickLaunchStore::addInformation(std::string_view text, std::string_view name,
                                              std::optional<std::string_view> emoji) {
    std::string information = trimmingWhitespaceAndNewlines(text);
    if (!isValidInformation(information)) return makeError(AppError::invalidQuickInformation);
    std::string title = trimmingWhitespaceAndNewlines(name);
    if (title.empty()) title = L("信息");
    return append({platform::Uuid::random(), QuickLaunchKind::information, std::move(title), std::move(information),
                   std::nullopt, std::nullopt, emojiOf(emoji)});
}

Result<void> QuickLaunchStore::updateWebsite(const platform::Uuid& id, std::string_view urlString,
                                             std::string_view name, WebsiteIconStyle iconStyle,
                                             std::optional<std::string_view> emoji) {
    auto address = WebsiteAddress::parse(urlString);
    if (!address) return makeError(AppError::invalidWebsite);
    QuickLaunchEntry* website = entry(id, QuickLaunchKind::website);
    if (!website) return makeError(AppError::invalidWebsite);
    std::string title = trimmingWhitespaceAndNewlines(name);
    website->name = title.empty() ? address->host : std::move(title);
    website->target = std::move(address->text);
    website->websiteIconStyle = std::string(rawValue(iconStyle));
    website->websiteEmoji = emojiOf(emoji);
    return persist();
}

Result<void> QuickLaunchStore::updateInformation(const platform::Uuid& id, std::string_view text,
                                                 std::string_view name, std::optional<std::string_view> emoji) {
    std::string information = trimmingWhitespaceAndNewlines(text);
    if (!isValidInformation(information)) return makeError(AppError::invalidQuickInformation);
    QuickLaunchEntry* snippet = entry(id, QuickLaunchKind::information);
    if (!snippet) return makeError(AppError::invalidQuickInformation);
    std::string title = trimmingWhitespaceAndNewlines(name);
    snippet->name = title.empty() ? L("信息") : std::move(title);
    snippet->target = std::move(information);
    snippet->websiteEmoji = emojiOf(emoji);
    return persist();
}

Result<void> QuickLaunchStore::addFile(std::string_view path, std::string_view name) {
    const std::string trimmed = trimmingWhitespaceAndNewlines(path);
    // A NUL would end the path early for the system and name another file.
    if (trimmed.empty() || trimmed.find('\0') != std::string::npos) return makeError(AppError::invalidQuickFilePath);
    const std::string location = expandingTilde(trimmed);
    std::error_code error;
    // A relative path would mean another file whenever the current folder changes.
    if (!fs::path(location).is_absolute() || !fs::exists(location, error)) {
        return makeError(AppError::invalidQuickFilePath);
    }
    std::string title = trimmingWhitespaceAndNewlines(name);
    if (title.empty()) title = lastPathComponent(location);
    return append({platform::Uuid::random(), QuickLaunchKind::file, std::move(title), location, std::nullopt,
                   std::nullopt, std::nullopt});
}

Result<void> QuickLaunchStore::rename(const platform::Uuid& id, std::string_view name) {
    std::string title = trimmingWhitespaceAndNewlines(name);
    QuickLaunchEntry* named = entry(id);
    if (title.empty() || !named) return {};
    named->name = std::move(title);
    return persist();
}

Result<void> QuickLaunchStore::deleteEntry(const platform::Uuid& id) {
    std::erase_if(entries_, [&](const QuickLaunchEntry& entry) { return entry.id == id; });
    return persist();
}

Result<void> QuickLaunchStore::move(const platform::Uuid& id, int destination) {
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [&](const QuickLaunchEntry& entry) { return entry.id == id; });
    if (found == entries_.end()) return {};
    QuickLaunchEntry moving = std::move(*found);
    entries_.erase(found);
    const auto index = std::clamp<std::ptrdiff_t>(destination, 0, static_cast<std::ptrdiff_t>(entries_.size()));
    entries_.insert(entries_.begin() + index, std::move(moving));
    return persist();
}

}  // namespace tallowmere
