#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/data.h"  // image.h uses Data
#include "platform/base/result.h"
#include "platform/desktop/running_application.h"
#include "platform/gfx/image.h"
#include "platform/runtime/notification_center.h"

namespace tallowmere::platform {

class Desktop;
class SimulatedApplication;

// How to open an application.
struct OpenConfiguration {
    bool activates = true;
    bool hides = false;
    // Whether the opened documents join the person's recent items.
    bool addsToRecentItems = true;
    std::vector<std::string> arguments{};
};

// One request to open URLs with a given application, as it was asked.
struct OpenRequest {
    std::vector<std::string> urls;
    std::string bundlePath;
    OpenConfiguration configuration;
};

// The workspace: the running applications and the frontmost one, opening
// applications, documents and URLs, and the file viewer. It has its own
// notification centre; activation, launch and termination are posted there
// with the application under `applicationKey`
// (`std::shared_ptr<RunningApplication>`).
class Workspace {
  public:
    static constexpr const char* didActivateApplicationNotification =
        "WorkspaceDidActivateApplication";
    static constexpr const char* didDeactivateApplicationNotification =
        "WorkspaceDidDeactivateApplication";
    static constexpr const char* didLaunchApplicationNotification = "WorkspaceDidLaunchApplication";
    static constexpr const char* didTerminateApplicationNotification =
        "WorkspaceDidTerminateApplication";
    static constexpr const char* didHideApplicationNotification = "WorkspaceDidHideApplication";
    static constexpr const char* didUnhideApplicationNotification = "WorkspaceDidUnhideApplication";
    static constexpr const char* applicationKey = "application";

    using OpenCompletion = std::function<void(Result<std::shared_ptr<RunningApplication>>)>;

    explicit Workspace(Desktop& desktop) : desktop_(desktop) {}
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    static Workspace& shared();

    NotificationCenter& notificationCenter() { return notifications_; }

    // In launch order, the program itself included; ended ones are gone.
    std::vector<std::shared_ptr<RunningApplication>> runningApplications() const;
    std::shared_ptr<RunningApplication> frontmostApplication() const;
    std::shared_ptr<RunningApplication> runningApplication(pid_t pid) const;

    // Opens a URL with its default application: a file URL or path with the
    // application for its extension, any other scheme with the application
    // for the scheme (http and https: the default browser). Recorded.
    // False when nothing can open it or it does not parse.
    bool openURL(const std::string& url);
    // Launches (or, when it runs, reaches) the application at `bundlePath`,
    // then activates or hides it as configured. The completion runs on the
    // main queue once the application runs, or with the error.
    void openApplication(const std::string& bundlePath, OpenConfiguration configuration,
                         OpenCompletion completion = {});
    // Opens URLs with the application at `bundlePath`.
    void openURLs(std::vector<std::string> urls, const std::string& bundlePath,
                  OpenConfiguration configuration, OpenCompletion completion = {});
    // The bundle path of the installed application with this identifier.
    std::optional<std::string> urlForApplication(const std::string& bundleIdentifier) const;
    // The bundle path of the application that would open `url`.
    std::optional<std::string> urlForApplicationToOpen(const std::string& url) const;

    // Shows the files selected in a file viewer window: Finder's front
    // window shows the first one's folder with them selected. Recorded.
    bool activateFileViewerSelecting(std::vector<std::string> fileURLs);
    // Moves items (file URLs or paths) to the person's Trash (see Trash).
    // Every item is tried; the completion runs on the main queue with where
    // each moved item now is, keyed by what was asked, and the first
    // failure, if any.
    using RecycleCompletion =
        std::function<void(std::map<std::string, std::string> newURLs, std::optional<Error> error)>;
    void recycleURLs(std::vector<std::string> urls, RecycleCompletion completion);
    // Tells file viewers that something in the folder changed. Recorded.
    void noteFileSystemChanged(const std::string& path);
    // The icon of a file or application bundle: an installed application's
    // own icon, else a generic one drawn for the kind of item.
    Image iconForFile(const std::string& path) const;

    // What was asked of it, for tests.
    const std::vector<std::string>& openedURLs() const { return openedURLs_; }
    const std::vector<std::vector<std::string>>& fileViewerSelections() const {
        return fileViewerSelections_;
    }
    const std::vector<std::string>& openedApplications() const { return openedApplications_; }
    // Every `openURLs` call (and `openApplication`, with no URLs), in order.
    const std::vector<OpenRequest>& openRequests() const { return openRequests_; }
    // Documents and URLs opened with `addsToRecentItems`, newest last.
    const std::vector<std::string>& recentItems() const { return recentItems_; }
    const std::vector<std::string>& fileSystemChanges() const { return fileSystemChanges_; }

  private:
    std::shared_ptr<SimulatedApplication> applicationToOpen(const std::string& url) const;

    Desktop& desktop_;
    NotificationCenter notifications_;
    std::vector<std::string> openedURLs_;
    std::vector<std::vector<std::string>> fileViewerSelections_;
    std::vector<std::string> openedApplications_;
    std::vector<OpenRequest> openRequests_;
    std::vector<std::string> recentItems_;
    std::vector<std::string> fileSystemChanges_;
};

}  // namespace tallowmere::platform
