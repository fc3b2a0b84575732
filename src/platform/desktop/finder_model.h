#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/system/apple_event_descriptor.h"

namespace tallowmere::platform {

// Finder as scripts see it: the folder its front window shows (none when
// no Finder window is open), the desktop folder, the items selected (real
// paths), whether the person allowed this program to control Finder
// (Automation), and whether Finder answers at all. Written on the main
// thread, read from any thread: every access takes the lock.
class FinderModel {
public:
    // An AppleScript failure as Finder's scripting reports it.
    struct ScriptError {
        int number = 0;
        std::string message;
    };
    static constexpr int notAuthorized = -1743;
    static constexpr int timedOut = -1712;
    static constexpr int fileNotFound = -43;

    explicit FinderModel(std::filesystem::path desktopFolder);
    FinderModel(const FinderModel&) = delete;
    FinderModel& operator=(const FinderModel&) = delete;

    void setFrontWindowTarget(std::optional<std::filesystem::path> folder);
    std::optional<std::filesystem::path> frontWindowTarget() const;
    void setDesktopFolder(std::filesystem::path folder);
    std::filesystem::path desktopFolder() const;
    void setSelection(std::vector<std::filesystem::path> items);
    std::vector<std::filesystem::path> selection() const;
    void setAutomationAllowed(bool allowed);
    bool isAutomationAllowed() const;
    void setResponding(bool responding);
    bool isResponding() const;

    // What a script that reads Finder gets: POSIX paths as `POSIX path of
    // (item as alias)` gives them (a folder's with a trailing "/"), or the
    // error Finder answers with. Items that are gone fail as aliases do.
    struct SelectionAnswer {
        std::optional<ScriptError> error;
        std::vector<std::string> paths;
    };
    SelectionAnswer selectionPaths() const;
    // The front window's folder, or the desktop's when no window is open.
    struct FolderAnswer {
        std::optional<ScriptError> error;
        std::string path;
    };
    FolderAnswer frontFolderPath() const;

    // Scripts that read Finder: a program tells which of its fixed scripts
    // asks which question, and Finder answers exactly those texts (through
    // osascript too). A list of texts for the selection, a text for the
    // folder; the error dictionary when Finder refuses.
    enum class Query { selectionPaths, frontFolderPath };
    void acceptScript(std::string source, Query query);
    std::optional<AppleScriptOutcome> answer(const std::string& source) const;

private:
    std::optional<ScriptError> refusal() const;

    mutable std::mutex mutex_;
    std::optional<std::filesystem::path> frontWindowTarget_;
    std::filesystem::path desktopFolder_;
    std::vector<std::filesystem::path> selection_;
    bool automationAllowed_ = true;
    bool responding_ = true;
    std::vector<std::pair<std::string, Query>> scripts_;
};

}  // namespace tallowmere::platform
