#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/date.h"
#include "platform/base/url.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/image.h"
#include "platform/runtime/timer.h"
#include "platform/runtime/work_item.h"
#include "platform/system/network_interface_reader.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/window.h"
#include "platform/web/web_view.h"
#include "webpanel/menu_bar_web_stored_state.h"
#include "webpanel/menu_bar_web_script_message.h"
#include "webpanel/menu_bar_web_start_page.h"
#include "webpanel/menu_bar_web_status_button.h"

namespace tallowmere {

namespace platform {
class Button;
class Control;
class MenuItem;
class StatusItem;
class TextField;
class View;
}  // namespace platform

class MenuBarWebPanel;
class MenuBarWebSeekSlider;

// The menu-bar web panel: a small floating browser that drops down under
// the menu bar from two status items of its own (the web item opens and
// hides it, the playback item plays and pauses the page's media while it is
// hidden). Hiding only makes the panel transparent and click-through, so
// the page runs on. Its state outlives the program in the user defaults.
// One per process (`shared()`); everything runs on the main queue.
class MenuBarWebController : public std::enable_shared_from_this<MenuBarWebController>,
                             public platform::WebViewNavigationDelegate,
                             public platform::WindowDelegate {
public:
    static constexpr const char* webItemAutosaveName = "Tallowmere.WebIndependent";
    static constexpr const char* playbackItemAutosaveName = "Tallowmere.WebPlaybackIndependent";

    // The defaults keys.
    static constexpr const char* storageKey = "menuBarWebSites";
    static constexpr const char* cookieArchiveKey = "menuBarWebCookies";
    static constexpr const char* panelSizeKey = "menuBarWebPanelSize";
    static constexpr const char* lastURLKey = "menuBarWebLastURL";
    static constexpr const char* lastMediaAvailableKey = "menuBarWebLastMediaAvailable";
    static constexpr const char* pinnedStateKey = "menuBarWebPinned";
    static constexpr const char* lastMediaPlayingKey = "menuBarWebLastMediaPlaying";
    static constexpr const char* grayscaleKey = "menuBarWebGrayscaleEnabled";

    static constexpr const char* mobileUserAgent =
        "Mozilla/5.0 (iPhone; CPU iPhone OS 18_0 like Mac OS X) AppleWebKit/605.1.15 (KHTML, like Gecko) "
        "Version/18.0 Mobile/15E148 Safari/604.1";
    static constexpr double loadTimeout = 60;

    static MenuBarWebController& shared();
    // Made with its stored state read back and its outside-click monitors on.
    static std::shared_ptr<MenuBarWebController> makeShared();

    MenuBarWebController(const MenuBarWebController&) = delete;
    MenuBarWebController& operator=(const MenuBarWebController&) = delete;
    ~MenuBarWebController() override;

    // --- Status items ---------------------------------------------------------
    // Makes the two status items; called once at start-up, after the
    // shell's own items exist. Later calls do nothing.
    void installStatusItems();
    // The playback item's visibility, glyph and titles from the media state.
    void refreshPlaybackStatusItem();
    // True when the screen point lies on a visible item of the panel's own.
    bool isStatusControl(platform::ScreenPoint point) const;
    // The web item's action: hides a shown panel, else shows the page.
    void toggleWebPanelFromStatusItem();
    // A new "菜单栏网页" item with the web-panel submenu.
    std::shared_ptr<platform::MenuItem> makeMenuItem();

    // --- The panel ------------------------------------------------------------
    // Shows the panel under the pointer on `url` (loaded unless shown already).
    void present(const platform::Url& url, bool allowingPlayback);
    // Places the panel under the pointer, just below the menu bar.
    void positionPanel(platform::Window& panel);
    void togglePin();
    void updateCompactMediaLayout(bool force);
    // Builds the panel, its toolbar and its web view once.
    void ensurePanel();
    void updateNavigationButtons();
    void goBack();
    void goForward();
    void reloadPage();
    void goHome();
    void openExternally();
    void applyGrayscaleAppearance();
    // The grayscale item's action; works with or without a panel.
    void toggleGrayscale(platform::Control* sender);

    // --- Media state and background playback -----------------------------------
    // Every presentation starts with the page's media paused.
    void preparePausedPanelPresentation();
    // The recovery timer runs exactly while the hidden panel's media is
    // wanted playing and the recovery window is open.
    void updateBackgroundPlaybackTimer();
    // The playback item's action: plays or pauses, loading the last page
    // invisibly when the panel was never built.
    void toggleWebPlayback();
    void loadForBackgroundPlayback(const platform::Url& url);
    // Shows the playback bar for media of a known length, and its position.
    void updatePlaybackProgress(bool available, double duration, double currentTime);
    // The playback item stays until a probe 2 s later finds no media.
    void scheduleMediaAbsenceConfirmation();
    void loadPendingInitialURL();
    // The seek slider's action.
    void seekWebMedia(platform::Control& sender);
    // The skip-ad button's action: asks every frame, shows the answer 0.8 s later.
    void skipWebAd();

    // --- Saved sites and cookies ------------------------------------------------
    // The menu actions; those of one site read its id (a UUID string) from
    // the item's represented object and do nothing for a missing site.
    void openSiteFromMenu(platform::MenuItem& sender);
    void openClipboardURL();
    void addSite();
    void editSite(platform::MenuItem& sender);
    void removeSite(platform::MenuItem& sender);
    struct EditedSite {
        std::string name;
        std::string url;
    };
    // The modal add and edit dialog: the texts as typed, once the address
    // is a web address; none when cancelled or refused.
    std::optional<EditedSite> editAlert(const std::string& title, const MenuBarWebSite* site);
    // Stores `sites`, unless an unreadable stored list could not be kept aside.
    void persist();
    // Puts the archived cookies into the web view's store before its first
    // page loads, then lets that page load.
    void restoreCookies(platform::WebView& into);
    // Archives the store's cookies after a change not caused by the restore.
    void cookiesDidChange(platform::WebView& in);
    bool cookiesRestored() const { return cookiesRestored_; }

    // --- Address bar, search and start page ---------------------------------------
    // The search address for `text`: the international engine while a tunnel
    // or a system proxy is on, else the domestic one.
    std::optional<platform::Url> searchURL(const std::string& text) const;
    // The address field's action: opens an address, else searches the words.
    void addressSubmitted();
    // Shows the start page, built afresh from the sites and the language.
    void showCustomHome();
    std::string customHomeHTML() const;
    // Tests: the links and search endpoints, and where interfaces are read.
    void setStartPageData(MenuBarWebStartPageData data) { startPageData_ = std::move(data); }
    void setNetworkInterfaceReader(platform::NetworkInterfaceReader reader) { interfaceReader_ = std::move(reader); }

    // --- State for tests and the later parts ------------------------------------
    const std::vector<MenuBarWebSite>& sites() const { return sites_; }
    const std::shared_ptr<platform::StatusItem>& webStatusItem() const { return webStatusItem_; }
    const std::shared_ptr<platform::StatusItem>& playbackStatusItem() const { return playbackStatusItem_; }
    const std::shared_ptr<MenuBarWebStatusButton>& webStatusButton() const { return webStatusButton_; }
    const std::shared_ptr<MenuBarWebStatusButton>& playbackStatusButton() const { return playbackStatusButton_; }
    std::shared_ptr<MenuBarWebPanel> panel() const { return panel_; }
    std::shared_ptr<platform::WebView> webView() const { return webView_; }
    std::shared_ptr<platform::TextField> addressField() const { return addressField_; }
    std::shared_ptr<platform::Button> backButton() const { return backButton_; }
    std::shared_ptr<platform::Button> forwardButton() const { return forwardButton_; }
    std::shared_ptr<platform::Button> pinButton() const { return pinButton_; }
    std::shared_ptr<platform::Button> externalButton() const { return externalButton_; }
    std::shared_ptr<platform::View> playbackProgressBar() const { return playbackProgressBar_; }
    std::shared_ptr<MenuBarWebSeekSlider> playbackProgressSlider() const { return playbackProgressSlider_; }
    std::shared_ptr<platform::Button> playbackInlineButton() const { return playbackInlineButton_; }
    std::shared_ptr<platform::Button> skipAdButton() const { return skipAdButton_; }
    const std::optional<platform::Url>& currentHomeURL() const { return currentHomeURL_; }
    bool isPinned() const { return isPinned_; }
    bool isPanelPresented() const { return isPanelPresented_; }
    bool hasWebMedia() const { return hasWebMedia_; }
    bool isWebMediaPlaying() const { return isWebMediaPlaying_; }
    bool wantsWebMediaPlaying() const { return wantsWebMediaPlaying_; }
    bool pendingPlaybackAfterLoad() const { return pendingPlaybackAfterLoad_; }
    bool isShowingCustomHome() const { return isShowingCustomHome_; }
    const std::optional<platform::Url>& pendingInitialURL() const { return pendingInitialURL_; }
    platform::Date backgroundRecoveryDeadline() const { return backgroundRecoveryDeadline_; }
    std::optional<bool> lastCompactMediaMode() const { return lastCompactMediaMode_; }
    bool pauseMediaWhenPanelAppears() const { return pauseMediaWhenPanelAppears_; }
    bool webAudioNeedsInteraction() const { return webAudioNeedsInteraction_; }
    bool webAudioIsSilent() const { return webAudioIsSilent_; }
    bool hasBackgroundPlaybackTimer() const { return backgroundPlaybackTimer_ != nullptr; }
    bool isConfirmingMediaAbsence() const { return mediaAbsenceCheck_ != nullptr; }
    const std::optional<std::string>& skipAdRequest() const { return skipAdRequest_; }
    const std::set<std::string>& skipAdResults() const { return skipAdResults_; }

    // WindowDelegate
    void windowDidResize(platform::Window& window) override;
    bool windowShouldClose(platform::Window& window) override;

    // WebViewNavigationDelegate
    void webViewDidStartNavigation(platform::WebView& view) override;
    void webViewDidFinishNavigation(platform::WebView& view) override;
    void webViewDecidePolicy(platform::WebView& view, const platform::WebNavigationAction& action,
                             std::function<void(bool)> decide) override;
    // The page scripts' messages.
    void webViewDidReceiveScriptMessage(platform::WebView& view, const platform::WebScriptMessage& message) override;
    void webViewWebContentProcessDidTerminate(platform::WebView& view, const std::string& reason) override;
    void webViewCookiesDidChange(platform::WebView& view) override;

private:
    static constexpr platform::Date distantPast() { return platform::Date::fromTimeIntervalSince1970(-1e12); }
    static platform::Date now();

    MenuBarWebController();
    void restoreLastSession();
    void installOutsideClickMonitors();
    void handleOutsideClick();
    void hidePanel();
    void load(const platform::Url& url);
    void persistNow();
    // The steps of presenting after the load: address, place, show, key.
    void showPanelAsPresented(const std::optional<platform::Url>& target);
    void refreshPinButton();
    std::shared_ptr<platform::Button> toolbarButton(const std::string& symbol, const std::string& label,
                                                    void (MenuBarWebController::*action)());
    platform::WebViewConfiguration webViewConfiguration() const;
    void handleMediaReport(const MenuBarWebMediaReport& report);
    void handlePlaybackError();
    void handlePlaybackIntent();
    void handleAdSkipAnswer(const MenuBarWebAdSkipAnswer& answer);
    void mediaAbsenceCheckFired(std::int64_t revision);
    void backgroundPlaybackTimerFired();
    void showSkipAdResult(const std::string& request);
    void evaluate(const std::string& script);
    void storeMediaState();
    void readStoredSites();
    // The start page is loaded (from a string, so without a real address).
    bool isStartPageShown(const platform::WebView& view) const;
    // The index of the site the menu item names, if any.
    std::optional<std::size_t> siteIndex(const platform::MenuItem& sender) const;
    void archiveCookies(platform::WebView& store);

    std::vector<MenuBarWebSite> sites_;
    std::shared_ptr<platform::StatusItem> webStatusItem_;
    std::shared_ptr<platform::StatusItem> playbackStatusItem_;
    std::shared_ptr<MenuBarWebStatusButton> webStatusButton_ = MenuBarWebStatusButton::make();
    std::shared_ptr<MenuBarWebStatusButton> playbackStatusButton_ = MenuBarWebStatusButton::make();
    std::shared_ptr<MenuBarWebPanel> panel_;
    std::shared_ptr<platform::WebView> webView_;
    std::shared_ptr<platform::TextField> addressField_;
    std::shared_ptr<platform::Button> backButton_;
    std::shared_ptr<platform::Button> forwardButton_;
    std::shared_ptr<platform::Button> pinButton_;
    std::shared_ptr<platform::Button> externalButton_;
    std::shared_ptr<platform::View> playbackProgressBar_;
    std::shared_ptr<MenuBarWebSeekSlider> playbackProgressSlider_;
    std::shared_ptr<platform::Button> playbackInlineButton_;
    std::shared_ptr<platform::Button> skipAdButton_;
    // The playback bar's height: 38 while it shows, else 0.
    double playbackProgressHeight_ = 0;
    std::optional<platform::Url> currentHomeURL_;
    bool isPinned_ = true;
    bool isPanelPresented_ = false;
    bool hasWebMedia_ = false;
    bool isWebMediaPlaying_ = false;
    bool webAudioNeedsInteraction_ = false;
    bool webAudioIsSilent_ = false;
    bool pauseMediaWhenPanelAppears_ = true;
    // Until then the page's reports do not change what the person asked for.
    platform::Date playbackCommandDeadline_ = distantPast();
    bool playbackCheckInFlight_ = false;
    std::shared_ptr<platform::WorkItem> mediaAbsenceCheck_;
    // Grows with every report of media and every navigation: an absence
    // check begun before either is stale.
    std::int64_t mediaStateRevision_ = 0;
    // The observer signs its reports with it, so only the main frame's
    // observer is believed; new at every launch.
    std::string mediaReportToken_;
    std::optional<std::string> skipAdRequest_;
    std::set<std::string> skipAdResults_;
    std::optional<platform::EventMonitorToken> globalMouseMonitor_;
    std::optional<platform::EventMonitorToken> localMouseMonitor_;
    // A stored site list that did not decode and could not be kept aside:
    // never written over.
    bool sitesAreProtected_ = false;
    bool cookiesRestored_ = false;
    bool isRestoringCookies_ = false;
    // One read of the store at a time; a change meanwhile reads it again.
    bool cookieArchiveInFlight_ = false;
    bool cookieArchiveAgain_ = false;
    std::optional<platform::Url> pendingInitialURL_;
    bool pendingPlaybackAfterLoad_ = false;
    bool wantsWebMediaPlaying_ = false;
    std::shared_ptr<platform::Timer> backgroundPlaybackTimer_;
    platform::Date backgroundRecoveryDeadline_ = distantPast();
    std::optional<bool> lastCompactMediaMode_;
    bool isShowingCustomHome_ = false;
    // The page's process ended: the next present loads the page again.
    bool webContentNeedsReload_ = false;
    MenuBarWebStartPageData startPageData_ = MenuBarWebStartPageData::shipped();
    platform::NetworkInterfaceReader interfaceReader_;
};

}  // namespace tallowmere
