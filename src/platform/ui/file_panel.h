#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/modal_response.h"

namespace tallowmere::platform {

class FilePanelBrowser;
class Panel;
class Window;

// What open and save panels share: the texts, the folder they start in and
// the file types they accept. Answered by the `ModalResponder`; with nobody
// there a panel answers Cancel.
class FilePanel : public std::enable_shared_from_this<FilePanel> {
public:
    virtual ~FilePanel();
    FilePanel(const FilePanel&) = delete;
    FilePanel& operator=(const FilePanel&) = delete;

    std::string title;
    std::string message;
    // The confirm button's title.
    std::string prompt;
    std::optional<std::filesystem::path> directoryURL;
    // File name extensions without the dot ("png", "app"); empty allows all.
    std::vector<std::string> allowedFileTypes;
    bool canCreateDirectories = true;
    bool treatsFilePackagesAsDirectories = false;

    // True when `path` has one of the allowed extensions (always when none
    // are set); compared without regard to case.
    bool allowsFileType(const std::filesystem::path& path) const;

    // The panel on screen, which a person uses while it waits for the
    // answer (see FilePanelBrowser); null while it is not shown.
    FilePanelBrowser* browser() const { return browser_.get(); }
    std::shared_ptr<Window> window() const;

    // Waits for the answer: ok (1) or cancel (0).
    ModalResponse runModal();
    // Answered on a later turn of the main queue.
    void begin(std::function<void(ModalResponse)> completion);
    void beginSheetModal(const std::shared_ptr<Window>& parent, std::function<void(ModalResponse)> completion);

protected:
    FilePanel();
    // Asks the responder and keeps the result; false for Cancel.
    virtual bool askResponder() = 0;
    virtual std::string kindForTrace() const = 0;
    virtual bool isForSaving() const = 0;
    // The panel's rules for what may be chosen (open panels).
    virtual bool acceptsOnScreen(const std::vector<std::filesystem::path>&) const { return true; }
    virtual bool allowsMultipleOnScreen() const { return false; }
    virtual std::string initialName() const { return {}; }

private:
    ModalResponse ask(const std::string& how);

    std::shared_ptr<Panel> window_;
    std::unique_ptr<FilePanelBrowser> browser_;
};

// Chooses existing files or folders.
class OpenPanel final : public FilePanel {
public:
    static std::shared_ptr<OpenPanel> make();

    bool canChooseFiles = true;
    bool canChooseDirectories = false;
    bool allowsMultipleSelection = false;

    // The chosen items after OK; empty after Cancel.
    const std::vector<std::filesystem::path>& urls() const { return urls_; }
    std::optional<std::filesystem::path> url() const;

    // Whether a person could choose these items in this panel: the count,
    // files or folders as allowed, and the file types.
    bool accepts(const std::vector<std::filesystem::path>& choice) const;

    struct Private;
    explicit OpenPanel(Private);

protected:
    bool askResponder() override;
    std::string kindForTrace() const override { return "open panel"; }
    bool isForSaving() const override { return false; }
    bool acceptsOnScreen(const std::vector<std::filesystem::path>& choice) const override { return accepts(choice); }
    bool allowsMultipleOnScreen() const override { return allowsMultipleSelection; }

private:
    std::vector<std::filesystem::path> urls_;
};

// Chooses where to save a file.
class SavePanel final : public FilePanel {
public:
    static std::shared_ptr<SavePanel> make();

    // The proposed file name.
    std::string nameFieldStringValue;

    // The place chosen after OK; given the first allowed extension when the
    // chosen name has none of them.
    std::optional<std::filesystem::path> url() const { return url_; }

    struct Private;
    explicit SavePanel(Private);

protected:
    bool askResponder() override;
    std::string kindForTrace() const override { return "save panel"; }
    bool isForSaving() const override { return true; }
    std::string initialName() const override { return nameFieldStringValue; }

private:
    std::optional<std::filesystem::path> url_;
};

}  // namespace tallowmere::platform
