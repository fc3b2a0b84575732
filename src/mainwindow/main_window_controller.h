#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "mainwindow/apple_settings_card_view.h"
#include "mainwindow/permission_status_dot_view.h"
#include "mainwindow/square_color_well.h"
#include "mainwindow/standard_green_switch.h"
#include "mainwindow/status_icon_preview_image_view.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"
#include "platform/base/result.h"
#include "platform/base/uuid.h"
#include "platform/ui/button.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/label.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/window_controller.h"
#include "quicklaunch/quick_launch_icon_strip_view.h"
#include "selection/selvane_action.h"
#include "selection/selvane_tool.h"
#include "windows/mouse_palette_view.h"
#include "windows/window_dial_theme.h"

namespace tallowmere {

namespace platform {
class Menu;
class MenuItem;
class StackView;
class Timer;
class View;
class Window;
}  // namespace platform

class HorizontalPagingCoordinator;
class InputController;
class InvertedDiscoLampView;
class LayoutStore;
class QuickLaunchStore;
class SecondPageBreathingBackgroundView;
class SnapEngine;

// The settings hub: one window of two horizontally paged pages of cards.
// The application delegate makes it on first need with the shared stores
// and controllers and the window it lives in, and keeps it for the rest of
// the run; closing the window only orders it out.
class MainWindowController : public platform::WindowController {
public:
    // The application the person was working in before, if any.
    using PreferredPID = std::function<std::optional<pid_t>()>;

    // Builds the interface in `window`, fills its lists, and makes the
    // controller the input controller's status line.
    static std::shared_ptr<MainWindowController> make(std::shared_ptr<SnapEngine> snapEngine,
                                                      std::shared_ptr<LayoutStore> layoutStore,
                                                      std::shared_ptr<QuickLaunchStore> quickLaunchStore,
                                                      std::shared_ptr<InputController> inputController,
                                                      PreferredPID preferredPID, std::shared_ptr<platform::Window> window);

    MainWindowController(std::shared_ptr<SnapEngine> snapEngine, std::shared_ptr<LayoutStore> layoutStore,
                         std::shared_ptr<QuickLaunchStore> quickLaunchStore,
                         std::shared_ptr<InputController> inputController, PreferredPID preferredPID,
                         std::shared_ptr<platform::Window> window);
    ~MainWindowController() override;

    // --- Controls, made with the controller --------------------------------------
    const std::shared_ptr<StandardGreenSwitch> gestureSwitch = StandardGreenSwitch::make();
    const std::shared_ptr<StandardGreenSwitch> naturalDirectionSwitch = StandardGreenSwitch::make();
    const std::shared_ptr<StandardGreenSwitch> mouseSwitch = StandardGreenSwitch::make();
    const std::shared_ptr<StandardGreenSwitch> quickLaunchSwitch = StandardGreenSwitch::make();
    const std::shared_ptr<StandardGreenSwitch> quickLaunchLongPressSwitch = StandardGreenSwitch::make();
    const std::shared_ptr<StandardGreenSwitch> selvaneSwitch = StandardGreenSwitch::make();
    const std::shared_ptr<StandardGreenSwitch> selvaneLongPressSwitch = StandardGreenSwitch::make();
    // The bar's action and tool toggles, filled by the Selvane card.
    std::map<SelvaneAction, std::shared_ptr<platform::Button>> selvaneActionButtons;
    std::map<SelvaneTool, std::shared_ptr<platform::Button>> selvaneToolButtons;
    const std::shared_ptr<platform::Button> selvaneChromeStyleButton;
    const std::shared_ptr<StandardGreenSwitch> workspaceMemorySwitch = StandardGreenSwitch::make();
    const std::shared_ptr<StandardGreenSwitch> launchSwitch = StandardGreenSwitch::make();
    const std::shared_ptr<SquareColorWell> outlineColorWell = SquareColorWell::make();
    const std::shared_ptr<platform::PopUpButton> themePopup = platform::PopUpButton::make();
    const std::shared_ptr<platform::PopUpButton> statusIconPopup = platform::PopUpButton::make();
    const std::shared_ptr<platform::PopUpButton> languagePopup = platform::PopUpButton::make();
    const std::shared_ptr<platform::PopUpButton> dialThemePopup = platform::PopUpButton::make();
    const std::shared_ptr<platform::PopUpButton> layoutPopup = platform::PopUpButton::make();
    const std::shared_ptr<platform::PopUpButton> quickLaunchPopup = platform::PopUpButton::make();
    const std::shared_ptr<StatusIconPreviewImageView> statusIconPreviewView = StatusIconPreviewImageView::make();
    const std::shared_ptr<MousePaletteView> dialThemePreviewView;
    const std::shared_ptr<StandardGreenSwitch> edgeSnapSwitch = StandardGreenSwitch::make();
    const std::shared_ptr<platform::Button> quickLaunchEditButton = platform::Button::make();
    const std::shared_ptr<platform::Button> quickLaunchRenameButton = platform::Button::make();
    const std::shared_ptr<QuickLaunchIconStripView> quickLaunchIconStrip;
    const std::shared_ptr<PermissionStatusDotView> permissionDotView = PermissionStatusDotView::make();
    const std::shared_ptr<platform::Label> statusLabel;
    const std::shared_ptr<platform::Label> permissionLabel = platform::Label::make();
    const std::shared_ptr<platform::Button> permissionButton;
    // The layout card's pop-up and buttons, enabled together.
    std::vector<std::shared_ptr<platform::Control>> workspaceControls;
    // The new-file-type check boxes.
    std::vector<std::shared_ptr<platform::Control>> professionalOnlyControls;

    // --- Pages ----------------------------------------------------------------
    // The stack of page 1's header and cards, whose fitting height sizes a
    // new window; none once the window's content is gone.
    std::shared_ptr<platform::View> mainLayoutRoot() const { return mainLayoutRoot_.lock(); }
    // The stack of page 2: its title, then its card columns.
    const std::shared_ptr<platform::StackView>& secondPageStack() const { return secondPageStack_; }
    std::shared_ptr<HorizontalPagingCoordinator> pagingCoordinator() const;
    // The chevrons that turn to page 2 and back to page 1.
    const std::shared_ptr<platform::Button>& nextPageChevron() const { return nextPageChevron_; }
    const std::shared_ptr<platform::Button>& previousPageChevron() const { return previousPageChevron_; }

    // The text of the status line.
    std::string statusText() const;

    // --- Refreshing -------------------------------------------------------------
    // The permission row, the dot, the authorisation notes and the input
    // controller's monitors for the current trust state.
    void refreshPermission();
    // The layout pop-up from the layout store.
    void refreshLayouts();
    // The quick-launch pop-up and icon strip from the store.
    void refreshQuickLaunchEntries();
    // Re-reads the switches and states the window shows.
    void refreshRuntimeState();
    // Hands the stored switches to the input controller for the trust
    // state: without Accessibility every feature that watches the mouse or
    // trackpad is held off, whatever its switch says (the switches
    // themselves keep the person's choice).
    void applyAccessibilityFeatureState(bool trusted);
    // The small and large status-icon pictures of the current style.
    void updateStatusIconPreview();
    // The layout controls are usable only with a saved layout to act on.
    void updateWorkspaceControlsState();

    // --- Builders -----------------------------------------------------------------
    // `title` in `font`; the "（需授权）" note it carries is shown in blue while
    // the program is not trusted and left out once it is.
    void applyAuthorizationTitleStyle(platform::Label& label, const std::string& title, const platform::Font& font) const;
    // An icon, a title over an optional detail, and `trailingControl` at the
    // right; 44 high with a detail, 34 without, unless `rowHeight` says.
    std::shared_ptr<platform::View> makeSettingRow(const std::string& symbol, const std::string& title,
                                                   const std::string& detail,
                                                   std::shared_ptr<platform::View> trailingControl,
                                                   std::optional<double> rowHeight = std::nullopt) const;
    // A 40 × 40 icon beside a title and a two-line detail, 54 high.
    std::shared_ptr<platform::View> makeUsageItem(std::optional<std::string> symbol,
                                                  std::shared_ptr<platform::View> customIcon, const std::string& title,
                                                  const std::string& detail) const;
    // A card of `views` under a header row of the title, the accessory and
    // the header control; no header row without a title or a header control.
    std::shared_ptr<AppleSettingsCardView> makeCard(const std::string& title,
                                                    std::vector<std::shared_ptr<platform::View>> views,
                                                    std::shared_ptr<platform::View> headerControl = nullptr,
                                                    std::shared_ptr<platform::View> titleAccessory = nullptr) const;
    // Asks for a name; the default name for an empty answer, none when cancelled.
    std::optional<std::string> promptForName(const std::string& title, const std::string& defaultName,
                                             std::optional<platform::Image> icon = std::nullopt) const;
    // Gives the switches of the features that need Accessibility a plain
    // layer, the same whatever the trust state.
    void updateAccessibilitySwitchAppearance(bool trusted);

    // --- Settings switches ------------------------------------------------------------
    // The switches of features that watch the mouse or trackpad: notes the
    // trust, runs the sender's own toggle, holds the features off again
    // while untrusted, and asks for trust when one was turned on without it.
    void togglePermissionFeature(const platform::Control& sender);
    // Each stores its switch, tells the input controller and says so.
    void toggleGesture();
    void toggleNaturalDirection();
    void toggleMouse();
    void toggleEdgeSnap();
    void toggleQuickLaunch();
    void toggleWorkspaceMemory();
    // The two long presses share one destination: choosing one ends the other.
    void toggleQuickLaunchLongPress();
    void toggleSelvaneLongPress();
    // Refused, with the Accessibility page opened, while untrusted.
    void toggleSelvane();
    // At least one action and one new-file type stay on; tools may all go.
    void toggleSelvaneAction(const platform::Control& sender);
    void toggleSelvaneTool(const platform::Control& sender);
    void toggleNewFileType(const platform::Control& sender);
    void toggleSelvaneChromeStyle(const platform::Control& sender);
    void showSelvaneTextStyleGuide();
    void changeThemeMode();
    void changeOutlineColor();
    void changeStatusBarIconStyle();
    // Stores the theme and shows it in the palette, the preview and the pop-up.
    void selectDialTheme(WindowDialTheme theme);
    void changeDialTheme();
    void resetDialTheme();
    // Steps through the themes from the stored one, wrapping both ways.
    void stepDialTheme(int step);
    // The switch ends showing the real login-item state, whatever happened.
    void toggleLaunchAtLogin();
    void openFinderExtensionSettings();

    // --- Permission ---------------------------------------------------------------------
    // Shows the system's trust prompt and watches for trust for a minute.
    void requestPermission();
    // (Re)starts the one poll for trust: every 0.5 s, 120 times at most.
    void startPermissionPolling();
    bool isPollingForPermission() const;
    // Once trusted, takes the "（需授权）" note out of every title under
    // `root` (the window's content when none).
    void refreshAuthorizationTitleVisibility(std::shared_ptr<platform::View> root = nullptr);

    // --- Links, music and small actions ----------------------------------------
    // A link-coloured, borderless button with the service's 16-point icon.
    std::shared_ptr<platform::Button> makeAINavigationButton(const std::string& title, int tag,
                                                             const std::string& iconResource,
                                                             const std::string& iconExtension);
    // A large push button with the music icon before the title and an
    // outward arrow after it.
    std::shared_ptr<platform::Button> makeWorkSceneMusicButton(const std::string& title, int tag);
    // A title at the left and `control` at the right, centred on each other.
    std::shared_ptr<platform::View> makeFlySettingRow(const std::string& title,
                                                      std::shared_ptr<platform::View> control) const;
    // One radio button per title, tag = position, on for `chosen`.
    std::vector<std::shared_ptr<platform::Button>> makeRadioGroup(const std::vector<std::string>& titles,
                                                                  platform::Control::Action action,
                                                                  int chosen) const;
    // `button` on a blue rounded card, 52 high.
    std::shared_ptr<platform::View> makeSupportActionCard(std::shared_ptr<platform::Button> button) const;
    // The AI assistants' pages in table order, less any that does not parse.
    std::vector<std::string> aiNavigationURLs() const;
    // Opens the AI page of the sender's tag; any other tag opens nothing.
    void openAINavigation(const platform::Control& sender);
    void openAllAINavigation();
    // Opens the playlist of the sender's tag (0 to 2); any other opens nothing.
    void openWorkSceneMusic(const platform::Control& sender);

    // The advice picture of the window settings, in a dialog.
    void showWindowSettingsGuide();
    // System Settings' window section, else the older pane that holds it.
    void openWindowSettings();
    // The thanks list, as a sheet of the window while it is shown.
    void showSupporterRoster();
    void closeSupporterRoster(const platform::Control& sender);
    // Starts the program anew in the chosen language, quitting this one
    // once the new one runs; a relaunch that fails changes nothing.
    void changeInterfaceLanguage();

    // The About window.
    void showAbout();
    // Quits the program.
    void quitApplication();

    // --- Quick-launch card -------------------------------------------------------
    // The entry the pop-up's selected item names; none without a selection
    // or with an item that names no identifier.
    std::optional<platform::Uuid> selectedQuickLaunchID() const;
    // The pop-up's action: the strip marks the same entry.
    void selectQuickEntryFromPopup();
    // Edit for websites and information, rename for the other kinds; never both.
    void updateQuickLaunchActionState();
    // Opens the editor of the selected website or information entry.
    void editQuickEntry();
    // The running applications to add, in a menu below `sender` (at the
    // pointer when the sender lies in no window).
    void addQuickApplication(platform::View& sender);
    // A running application's item: its bundle is added after the name prompt.
    void selectRunningApplication(const platform::MenuItem& item);
    // The application chooser, as a sheet on the window.
    void browseQuickApplication();
    // Asks for the name and adds the application at `bundlePath`.
    void finishAddingApplication(const std::filesystem::path& bundlePath);
    void renameQuickEntry();
    // Asks first; the original item is never touched.
    void deleteQuickEntry();
    // The strip's callbacks.
    void selectQuickEntryFromStrip(const platform::Uuid& id);
    void openQuickEntryFromStrip(const platform::Uuid& id);
    void moveQuickEntry(const platform::Uuid& id, int destination);
    // Dropped files: ".app" bundles as applications, the rest as files; the
    // first failure stops.
    void importQuickFiles(const std::vector<std::string>& fileURLs);

    // --- Website and information editors -----------------------------------------
    // A web address, or an existing local file or folder, to add.
    void addQuickWebsite();
    void editQuickWebsite(const QuickLaunchEntry& entry);
    void addQuickInformation();
    void editQuickInformation(const QuickLaunchEntry& entry);

    // --- Window memory ------------------------------------------------------------
    // The layout the pop-up's selected item names, if any.
    std::optional<platform::Uuid> selectedLayoutID() const;
    // Asks for a name (the date and time by default) and saves the current
    // windows as a layout under it.
    void saveLayout();
    // Puts the selected layout's windows back; the outcome is reported later.
    void restoreLayout();
    // Deletes the selected layout without asking.
    void deleteLayout();

    // A failed store operation: its alert, its text in the status line, and
    // the trust state read again (most failures come from a missing trust).
    void reportStoreError(const platform::Error& error);

protected:
    // A control action that runs `method` on this controller while it lives.
    platform::Control::Action action(void (MainWindowController::*method)());
    platform::Control::Action action(void (MainWindowController::*method)(const platform::Control&));
    std::shared_ptr<InputController> inputController() const { return inputController_; }

private:
    void buildInterface();
    std::shared_ptr<platform::View> buildHeader();
    std::shared_ptr<platform::View> buildFirstPageColumns();
    // Page 2's background, title and card columns, in `secondPageStack_`.
    void buildSecondPage();
    // The view page 2's scroll view sits in: its breathing background.
    std::shared_ptr<platform::View> makeSecondPageHost();
    std::shared_ptr<AppleSettingsCardView> makeBuddyCard();
    std::shared_ptr<AppleSettingsCardView> makeMusicCard();
    std::shared_ptr<AppleSettingsCardView> makeAINavigationCard();
    // The lamp under its "全屏" button; its spin sets the background's pace.
    std::shared_ptr<AppleSettingsCardView> makeDiscoCard();
    void assemblePages(const std::shared_ptr<platform::View>& background, const std::shared_ptr<platform::View>& header,
                       const std::shared_ptr<platform::View>& firstPageColumns);
    void installTitleBarDoubleClickMonitor();
    // The pop-up's, the strip's and the card buttons' actions.
    void installQuickLaunchActions();
    void showQuickApplicationMenu(const std::shared_ptr<platform::Menu>& menu, platform::View& sender);
    // The built switches' states to the input controller, trust aside.
    void handSwitchStatesToInputController();
    void setStatus(const std::string& text) { statusLabel->setStringValue(text); }

    std::shared_ptr<SnapEngine> snapEngine_;
    std::shared_ptr<LayoutStore> layoutStore_;
    std::shared_ptr<QuickLaunchStore> quickLaunchStore_;
    std::shared_ptr<InputController> inputController_;
    PreferredPID preferredPID_;
    std::optional<platform::EventMonitorToken> titleBarDoubleClickMonitor_;
    std::weak_ptr<platform::View> mainLayoutRoot_;
    std::shared_ptr<platform::StackView> secondPageStack_;
    std::shared_ptr<SecondPageBreathingBackgroundView> secondPageBackground_;
    std::shared_ptr<platform::Button> nextPageChevron_;
    std::shared_ptr<platform::Button> previousPageChevron_;
    std::shared_ptr<platform::View> pagesHost_;
    std::shared_ptr<platform::Timer> permissionPollingTimer_;
    std::shared_ptr<platform::Window> supporterRoster_;
    // Labels whose titles carry the authorisation note, with their texts.
    struct AuthorizationTitle {
        std::weak_ptr<platform::Label> label;
        std::string title;
        platform::Font font;
    };
    mutable std::vector<AuthorizationTitle> authorizationTitles_;
};

}  // namespace tallowmere
