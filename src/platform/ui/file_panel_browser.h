#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tallowmere::platform {

class Button;
class Label;
class ScrollView;
class TableView;
class TextField;
class Window;

// What a person uses in an open or save panel on screen: the folder shown
// with its items (folders first, hidden ones left out as Finder leaves
// them out), a field to type a path into, the enclosing-folder button,
// a name field when saving, and Cancel and the confirm button, which end
// the panel's modal session. The choice is kept for the panel to read.
class FilePanelBrowser {
public:
    struct Options {
        bool forSaving = false;
        bool allowsMultipleSelection = false;
        std::string message;
        std::string prompt;       // the confirm button; "Open" or "Save" when empty
        std::string initialName;  // saving
        // Whether the person may choose these items (open panels).
        std::function<bool(const std::vector<std::filesystem::path>&)> accepts;
    };

    FilePanelBrowser(std::shared_ptr<Window> window, Options options);
    ~FilePanelBrowser();
    FilePanelBrowser(const FilePanelBrowser&) = delete;
    FilePanelBrowser& operator=(const FilePanelBrowser&) = delete;

    // Puts the controls in the window and shows `folder` (the home folder
    // when it is none or not a folder).
    void show(std::optional<std::filesystem::path> folder);

    const std::filesystem::path& folder() const { return folder_; }
    // The items shown, in order.
    const std::vector<std::filesystem::path>& items() const { return items_; }
    void open(const std::filesystem::path& folder);
    void openEnclosingFolder();
    // As Return in the path field: a folder is opened; an item the panel
    // may choose (or, saving, a name in an existing folder) is chosen.
    void goTo(const std::string& typed);
    // Selects the shown items with these names (those the panel allows).
    void select(const std::vector<std::string>& names);
    void setName(const std::string& name);
    // The confirm button: chooses the selection (or, for folders, the
    // folder shown; saving, the name in it) and ends the session with OK.
    // False, and the panel stays, when there is nothing it may choose.
    bool confirm();
    void cancel();

    // What the person chose, once the panel ended with OK.
    const std::optional<std::vector<std::filesystem::path>>& choice() const { return choice_; }

private:
    void build();
    void reload();
    bool choose(std::vector<std::filesystem::path> items);
    bool isSelectable(const std::filesystem::path& item) const;
    std::filesystem::path resolved(const std::string& typed) const;

    std::shared_ptr<Window> window_;
    Options options_;
    std::filesystem::path folder_;
    std::vector<std::filesystem::path> items_;
    std::optional<std::vector<std::filesystem::path>> choice_;
    std::shared_ptr<TextField> pathField_;
    std::shared_ptr<TextField> nameField_;
    std::shared_ptr<TableView> table_;
    std::shared_ptr<ScrollView> scroll_;
    std::vector<std::shared_ptr<Button>> buttons_;
    std::vector<std::shared_ptr<Label>> labels_;
};

}  // namespace tallowmere::platform
