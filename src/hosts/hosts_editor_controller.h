#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "hosts/hosts_library.h"
#include "hosts/hosts_sidebar_node.h"
#include "platform/base/result.h"
#include "platform/gfx/color.h"

namespace tallowmere::platform {
class Button;
class Label;
class Menu;
class MenuItem;
class OutlineView;
class RunningProcess;
class TextField;
class TextView;
class View;
class WindowController;
struct ProcessResult;
}  // namespace tallowmere::platform

namespace tallowmere {

class StagedHostsFile;

// The hosts-file editor: the library of profiles, validation, the
// privileged apply to the system file, and its backups. One per process
// (`shared()`), on the main thread.
//
// The window is built on the first `show` and kept for the rest of the
// process; until then the controls below stand alone.
class HostsEditorController : public std::enable_shared_from_this<HostsEditorController> {
public:
    static HostsEditorController& shared();

    HostsEditorController();
    ~HostsEditorController();
    HostsEditorController(const HostsEditorController&) = delete;
    HostsEditorController& operator=(const HostsEditorController&) = delete;

    // --- State ------------------------------------------------------------------
    // The simulated Mac's /private/etc/hosts (see systemHostsFile).
    std::filesystem::path hostsURL;
    std::shared_ptr<platform::OutlineView> outlineView;
    std::shared_ptr<platform::TextView> textView;
    std::shared_ptr<platform::Label> titleLabel;
    std::shared_ptr<platform::Label> subtitleLabel;
    std::shared_ptr<platform::Label> statusLabel;
    std::shared_ptr<platform::Button> saveButton;   // "保存并应用"
    std::shared_ptr<platform::Button> applyButton;  // "应用到系统"
    std::shared_ptr<platform::WindowController> windowController;
    HostsLibrary library;
    std::vector<std::shared_ptr<HostsSidebarNode>> rootNodes;
    std::shared_ptr<HostsSidebarNode> selectedNode;
    // The text last loaded into or saved from the editor.
    std::string loadedContent;
    // An apply waits for its script; the window's controls are disabled.
    bool isSaving = false;
    bool didLoadLibrary = false;

    // Opens the editor window (built on the first call), reselects the
    // previous row and brings it to the front.
    void show();

    // --- Sidebar and editor ---------------------------------------------------------
    // Rebuilds the rows from the library and selects the row of `key`, or
    // the system row when there is none.
    void rebuildSidebar(const std::string& key);
    // Shows `node` in the editor. Unsaved edits of the profile being left are
    // stored unvalidated; those of the system file are dropped.
    void select(const std::shared_ptr<HostsSidebarNode>& node);
    void loadSystemHosts();
    void loadProfile(const platform::Uuid& categoryID, const platform::Uuid& profileID);
    void loadCategory(const platform::Uuid& categoryID);
    // The first visible row whose node has that key.
    std::optional<std::size_t> rowForNode(const std::string& key) const;
    // The editor's text changed by the person.
    void textDidChange();
    // The save button: a profile is stored (after validation), the system
    // file is applied.
    void saveCurrent();
    // Loads the selected node again, dropping unsaved edits.
    void reloadCurrent();

    // --- Adding and renaming ------------------------------------------------------------
    // `base`, or the first of "base 2", "base 3", ... not in `existing`.
    static std::string uniqueName(const std::string& base, const std::vector<std::string>& existing);
    void addCategory();
    // Adds to the selected node's category, else to the first one.
    void addHostsProfile();
    // Starts editing the row of `key` on the next turn of the main queue.
    void beginRenaming(const std::string& key);
    // Double click: edits the clicked (else selected) row, never the system row.
    void renameSelectedSidebarItem();
    // The end of an in-place edit; the field's identifier is the row's key.
    void controlTextDidEndEditing(platform::TextField& field);
    // A new "Hosts 快速选择" menu: each category with its profiles (the
    // active one checked), each applying its profile to the system.
    std::shared_ptr<platform::Menu> makeQuickSelectionMenu();
    // Applies the profile whose id the item carries as text.
    void applyProfileFromQuickMenu(const platform::MenuItem& item);

    // --- Library ----------------------------------------------------------------
    // Reads hosts-library.json once per process. No file: the default library
    // is written on the next turn of the main queue. A file that cannot be read or decoded is kept aside first
    // and the status line says where; if it cannot be kept aside, it stays
    // as it is and the library is never written over it.
    void loadLibraryIfNeeded();
    // ~/Library/Application Support/Tallowmere/hosts-library.json (the
    // Application Support folder is created if missing).
    platform::Result<std::filesystem::path> libraryFileURL() const;
    // Writes the library, atomically.
    platform::Result<void> persistLibrary();
    // Sets one profile's content and date and writes the library. False only
    // when the changed library could not be written (the change stays in
    // memory); an unknown id changes and writes nothing.
    bool updateProfile(const platform::Uuid& categoryID, const platform::Uuid& profileID, std::string content);
    // As `updateProfile`, with the reason a write failed.
    platform::Result<void> storeProfile(const platform::Uuid& categoryID, const platform::Uuid& profileID,
                                        std::string content);

    // --- Validation and apply -----------------------------------------------------
    // Nothing when the text is acceptable, else the first bad line's message.
    std::optional<std::string> validate(std::string_view text) const;
    // Validates, backs the system file up, stages the text and starts the
    // privileged write; the outcome arrives on the main queue. Refused with
    // an alert while another apply waits, so two scripts never race.
    void applyToSystem(std::string text, std::optional<platform::Uuid> activeProfileID, std::string successMessage);
    // The apply button: stores the editor's text in the selected profile and
    // applies it.
    void applyCurrentProfile();
    // The editor's one alert: a sheet on the window when there is one.
    void presentAlert(const std::string& title, const std::string& message);

    // --- Backups ----------------------------------------------------------------
    // ~/Library/Application Support/Tallowmere/HostsBackups (not created).
    platform::Result<std::filesystem::path> backupFolderURL() const;
    // Copies the current system file into a new backup.
    platform::Result<void> forceBackupCurrentSystemHosts();
    // The backups, newest first (the folder is created if missing).
    platform::Result<std::vector<std::filesystem::path>> backupFiles();
    // The restore button: asks which backup, then applies it.
    void showRestoreBackups();

private:
    // hostsURL, seeded from this machine's hosts file if it is not there yet.
    const std::filesystem::path& systemHostsFile();
    void keepUnreadableLibraryAside(const std::filesystem::path& file);
    void applyAuthorized(std::shared_ptr<StagedHostsFile> staged, std::string text,
                         std::optional<platform::Uuid> activeProfileID, std::string successMessage);
    void completeApply(const platform::ProcessResult& result, const std::string& text,
                       std::optional<platform::Uuid> activeProfileID, const std::string& successMessage);
    void setStatus(std::string text, platform::Color color);
    void setControlsEnabled(bool enabled);
    void buildWindow();
    std::shared_ptr<platform::View> makeSidebar();
    std::shared_ptr<platform::View> makeEditorPane();
    void configureOutline();
    std::shared_ptr<platform::View> makeCell(const HostsSidebarNode& node);
    void editRow(std::size_t row);
    // A library write that failed where nothing else reports it.
    void reportLibraryWriteFailure(const platform::Result<void>& written);
    void showEditor(std::string text, bool editable);
    // Loads the node into the editor by its kind.
    void loadNode(const HostsSidebarNode& node);

    // Set while the outline reloads, whose own selection changes are not
    // the person's.
    bool rebuildingSidebar_ = false;
    bool systemHostsSeeded_ = false;
    // A kept-aside library, announced once the window shows its status line.
    std::optional<std::pair<std::string, platform::Color>> libraryNotice_;
    // Set when an unreadable library could not be kept aside: writing
    // would destroy it.
    bool libraryWritesBlocked_ = false;
    std::shared_ptr<platform::RunningProcess> applyProcess_;
};

}  // namespace tallowmere
