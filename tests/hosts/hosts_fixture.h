#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "hosts/hosts_editor_controller.h"
#include "platform/base/uuid.h"
#include "platform/system/files.h"
#include "platform/system/system_files.h"
#include "platform/ui/label.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {

// The editor's controller on a fresh account: the simulated Mac's hosts file
// seeded, a temporary folder of the test's own (so staged files can be
// counted), and the person at the desktop who answers the password prompt.
class HostsTest : public DesktopTest {
protected:
    HostsTest() {
        if (const char* previous = std::getenv("TMPDIR")) previousTemporary_ = previous;
        std::filesystem::create_directories(temporaryFolder());
        setenv("TMPDIR", temporaryFolder().c_str(), 1);
    }
    ~HostsTest() override {
        if (previousTemporary_) setenv("TMPDIR", previousTemporary_->c_str(), 1);
        else unsetenv("TMPDIR");
    }

    HostsEditorController& controller() { return HostsEditorController::shared(); }

    std::filesystem::path temporaryFolder() const { return home() / "tmp"; }
    std::filesystem::path supportFolder() const { return home() / "Library/Application Support/Tallowmere"; }
    std::filesystem::path libraryFile() const { return supportFolder() / "hosts-library.json"; }
    std::filesystem::path backupFolder() const { return supportFolder() / "HostsBackups"; }

    static std::string read(const std::filesystem::path& file) {
        auto text = platform::Files::readText(file);
        return text ? *text : "<unreadable: " + text.error().message + ">";
    }
    static void write(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        ASSERT_TRUE(platform::Files::writeAtomically(file, text).ok()) << file;
    }
    // The simulated Mac always has a hosts file: seeded before it is read.
    std::string systemHosts() {
        (void)platform::SystemFiles::hosts();
        return read(controller().hostsURL);
    }
    void setSystemHosts(const std::string& text) { write(controller().hostsURL, text); }

    static std::vector<std::string> namesIn(const std::filesystem::path& folder) {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    std::size_t backupCount() const { return namesIn(backupFolder()).size(); }

    std::string status() { return controller().statusLabel->stringValue(); }
    std::optional<platform::SystemColor> statusColor() {
        const auto& color = controller().statusLabel->textColor();
        return color ? color->systemColor() : std::nullopt;
    }

    // A library of one category holding these profiles, loaded.
    std::vector<platform::Uuid> loadProfiles(const std::vector<std::pair<std::string, std::string>>& profiles) {
        auto& editor = controller();
        editor.loadLibraryIfNeeded();
        std::vector<platform::Uuid> ids;
        auto& category = editor.library.categories.front();
        for (const auto& [name, content] : profiles) {
            ids.push_back(platform::Uuid::random());
            category.profiles.push_back({ids.back(), name, content, platform::Date::fromTimeIntervalSince1970(0)});
        }
        EXPECT_TRUE(editor.persistLibrary().ok());
        return ids;
    }

    // Applies and lets the script's end reach the main queue; the person
    // answers the password prompt with `prompt` (1000 OK, 1001 Cancel).
    void applyAnswering(std::optional<platform::ModalResponse> prompt, const std::string& text,
                        std::optional<platform::Uuid> active = std::nullopt, const std::string& success = "已保存并应用") {
        if (prompt) alerts.answer(*prompt);
        controller().applyToSystem(text, active, success);
        runUntilIdle();
    }

    // The editor's own alerts (the password prompt left out).
    std::vector<ModalScript::ShownAlert> editorAlerts() const {
        std::vector<ModalScript::ShownAlert> shown;
        for (const auto& alert : alerts.shown()) {
            if (!alert.messageText.ends_with("wants to make changes.")) shown.push_back(alert);
        }
        return shown;
    }
    std::size_t passwordPrompts() const { return alerts.shown().size() - editorAlerts().size(); }

private:
    std::optional<std::string> previousTemporary_;
};

}  // namespace tallowmere::testing
