#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/data.h"
#include "platform/base/result.h"
#include "platform/base/uuid.h"
#include "platform/runtime/work_item.h"
#include "quicklaunch/quick_launch_entry.h"
#include "quicklaunch/website_icon_style.h"

namespace tallowmere {

// The quick-launch entries (applications, websites, snippets, files and
// new-file templates) in display order. One store is made by the
// application delegate once the configuration mirror is active and is
// shared with the input controller and the main window for the rest of the
// run.
//
// The list lives in ~/Library/Application Support/Perrowgate/quick-launch.json
// and, byte for byte, in the configuration mirror. Loading takes the
// mirror's copy, else the file, else the three default entries; bytes that
// do not decode are kept aside before the defaults replace them.
//
// Every edit is checked first: a refused edit returns its AppError and
// changes nothing. An accepted edit stays in memory even when writing it
// then fails; the write's error is returned for the caller to show.
// Main thread only.
class QuickLaunchStore {
public:
    static constexpr std::string_view folderName = "Perrowgate";
    static constexpr std::string_view fileName = "quick-launch.json";
    static constexpr std::size_t maximumInformationLength = 100;  // user-perceived characters
    static constexpr std::string_view defaultChromeIdentifier = "com.google.Chrome";
    static constexpr std::string_view defaultChromePath = "/Applications/Google Chrome.app";
    static constexpr std::string_view defaultSearchAddress = "https://www.google.com/";
    // New documents are named "name (1).txt" … "name (9999).txt" after the first.
    static constexpr int maximumNameSuffix = 9999;

    // Loads the list; never fails.
    QuickLaunchStore();
    ~QuickLaunchStore();
    QuickLaunchStore(const QuickLaunchStore&) = delete;
    QuickLaunchStore& operator=(const QuickLaunchStore&) = delete;

    const std::vector<QuickLaunchEntry>& entries() const { return entries_; }
    const std::filesystem::path& fileURL() const { return fileURL_; }

    // Replaces the list by the default entries and writes them; a write
    // error is dropped.
    void installDefaultEntries();
    // Writes the file, then (only when that worked) the mirror.
    platform::Result<void> persist();

    // A bundle whose name ends in ".app"; an empty name takes the
    // application's own.
    platform::Result<void> addApplication(const std::filesystem::path& bundlePath, std::string_view name);
    platform::Result<void> addWebsite(std::string_view urlString, std::string_view name, WebsiteIconStyle iconStyle,
                                      std::optional<std::string_view> emoji);
    platform::Result<void> addInformation(std::string_view text, std::string_view name,
                                          std::optional<std::string_view> emoji);
    // The same checks as adding, then the id must name an entry of that kind.
    platform::Result<void> updateWebsite(const platform::Uuid& id, std::string_view urlString, std::string_view name,
                                         WebsiteIconStyle iconStyle, std::optional<std::string_view> emoji);
    platform::Result<void> updateInformation(const platform::Uuid& id, std::string_view text, std::string_view name,
                                             std::optional<std::string_view> emoji);
    // An existing file or folder, named by an absolute path ("~" allowed).
    platform::Result<void> addFile(std::string_view path, std::string_view name);
    // A blank name or an unknown id changes nothing and reports nothing.
    platform::Result<void> rename(const platform::Uuid& id, std::string_view name);
    // Removes every entry with the id and writes the list, even when none matched.
    platform::Result<void> deleteEntry(const platform::Uuid& id);
    // Moves the entry to `destination`, an index into the list without it,
    // clamped to its ends; an unknown id does nothing.
    platform::Result<void> move(const platform::Uuid& id, int destination);

    // Writes a blank document named after `name` into `folder` (the Desktop
    // when absent) and returns its path. A name with its own extension keeps
    // it; otherwise `fileExtension` (dots around it ignored, "txt" when
    // empty) is added. A taken name gets " (1)", " (2)" … before the
    // extension. Only txt, md and docx have blank documents.
    static platform::Result<std::filesystem::path> createBlankDesktopFile(
        std::string_view name, std::string_view fileExtension,
        const std::optional<std::filesystem::path>& folder = std::nullopt);

private:
    void load();
    // Keeps bytes that did not decode beside the file, so a list written by
    // another version is never lost to the defaults.
    void keepUndecodableListAside(const std::optional<platform::Data>& mirrorBytes, bool fileExists);
    // A fresh user's defaults are written on the next turn of the main
    // queue, so a first start does not wait for two flushed writes before
    // it is ready; any write before then makes this one needless.
    void persistDefaultsOnNextTurn();
    // The three default entries, Chrome where the workspace finds it.
    static std::vector<QuickLaunchEntry> defaultEntries();
    QuickLaunchEntry* entry(const platform::Uuid& id, std::optional<QuickLaunchKind> kind = std::nullopt);
    platform::Result<void> append(QuickLaunchEntry entry);

    std::vector<QuickLaunchEntry> entries_;
    std::filesystem::path fileURL_;
    // Set when an unreadable list could not be moved aside: it is never
    // written over, so edits stay in memory and report why.
    bool fileIsProtected_ = false;
    std::shared_ptr<platform::WorkItem> pendingDefaultsWrite_;
};

}  // namespace tallowmere
