#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/ax_element.h"
#include "platform/desktop/screen.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/image.h"
#include "platform/runtime/notification_center.h"
#include "platform/ui/button.h"
#include "platform/ui/menu.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/tracking_area.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "selection/selection_accessibility.h"
#include "selection/selvane_action.h"
#include "selection/selvane_tool.h"

namespace tallowmere {

namespace platform {
class Timer;
class WorkItem;
}  // namespace platform

// The bar's visible body: it draws nothing on hover itself, it only reports
// the pointer coming and going.
class SelvaneHoverEffectView : public platform::View {
public:
    static std::shared_ptr<SelvaneHoverEffectView> make(platform::Rect frame);

    std::function<void()> onPointerEntered;
    std::function<void()> onPointerExited;

    void updateTrackingAreas() override;
    void mouseEntered(const platform::Event& event) override;
    void mouseExited(const platform::Event& event) override;

protected:
    explicit SelvaneHoverEffectView(platform::Rect frame) : View(frame) {}

private:
    std::shared_ptr<platform::TrackingArea> hoverTrackingArea_;
};

// The floating bar shown next to text just selected in another application:
// the program's icon, one button per enabled action and tool, the
// screenshot, jump and more buttons. A non-activating panel that never takes
// the keyboard or the program forward; it hides 3 s after showing unless the
// pointer rests on it. One is made for the life of the program.
class SelvaneActionPanel : public std::enable_shared_from_this<SelvaneActionPanel> {
public:
    static constexpr double bodyHeight = 42;
    static constexpr double margin = 6;
    static constexpr double autoHideSeconds = 3.0;
    static constexpr double clipboardWatchSeconds = 0.25;
    static constexpr double keyPostDelaySeconds = 0.05;
    static constexpr double disabledAlpha = 0.45;
    // The search and translation pages, each taking the encoded text at its end.
    static const std::vector<std::string_view>& searchBases();
    static const std::vector<std::string_view>& translationBases();

    // `applicationIcon` is the program's icon at the bar's left end.
    static std::shared_ptr<SelvaneActionPanel> make(std::optional<platform::Image> applicationIcon = std::nullopt);
    ~SelvaneActionPanel();
    SelvaneActionPanel(const SelvaneActionPanel&) = delete;
    SelvaneActionPanel& operator=(const SelvaneActionPanel&) = delete;

    // Lays the bar out for this selection and shows it above `near` (screen
    // space) inside `screen`'s visible frame; hides it instead when the
    // application in front is excluded.
    void show(std::string text, platform::ScreenPoint near, const std::shared_ptr<platform::Screen>& screen,
              bool isSecure, std::optional<Accessibility::TextStyle> textStyle,
              std::optional<std::string> textStyleNote);
    // Orders the bar out and forgets the selection; harmless when hidden.
    void hide();
    // Hides the bar 3 s from now unless the pointer is over it by then.
    void scheduleAutoHide();
    void updateJumpURL(std::optional<std::string> url);

    // The one web address the text is, when it is nothing else: http or
    // https with a host.
    static std::optional<std::string> webURL(const std::optional<std::string>& text);
    // The focused element of the process; none without trust.
    static std::optional<platform::AXElement> focusedElement(pid_t pid);

    // --- Actions --------------------------------------------------------------
    void copySelectedText();
    void cutSelectedText();
    void pasteSelectedText();
    void searchSelectedText();
    void translateSelectedText();
    void jumpToURL();
    void excludeSourceApplication();
    void openColorPicker();
    void openScreenRuler();
    void showMoreMenu(const platform::View& sender);
    void showFontInfoMenu(const platform::View& sender) { showMoreMenu(sender); }
    void copySelectedTextColor(const platform::MenuItem& item);
    // The source application types the Command-key shortcut of `keyCode`
    // (7 X, 8 C, 9 V) 0.05 s from now, if it is still in front with the same
    // focus; otherwise the bar beeps.
    void performSourceCommandKey(std::uint16_t keyCode);
    // Opens the text in each page, then hides the bar.
    void openWebActions(const std::vector<std::string_view>& bases);

    // --- The more menu --------------------------------------------------------
    void appendFontInfoItems(platform::Menu& menu);
    void appendAdditionalToolItems(platform::Menu& menu);
    // "16 px（CSS 原始） / 12 pt（CSS 换算）": the size in both units.
    static std::string dualUnitFontSize(const std::string& size, double backingScale);
    // Two decimals at most, without trailing zeros: 16, 13.5, 0.
    static std::string formatted(double value);
    static platform::Image colorSwatch(const platform::Color& color);

    // --- What the bar holds (read by tests and the trigger) -------------------
    const std::shared_ptr<platform::Panel>& panel() const { return panel_; }
    bool isVisible() const { return panel_->isVisible(); }
    const std::string& selectedText() const { return selectedText_; }
    bool isSecureSelection() const { return isSecureSelection_; }
    const std::optional<std::string>& sourceBundleID() const { return sourceBundleID_; }
    std::optional<pid_t> sourceProcessIdentifier() const { return sourceProcessIdentifier_; }
    const std::string& sourceApplicationName() const { return sourceApplicationName_; }
    const std::optional<std::string>& jumpURL() const { return jumpURL_; }
    bool isPointerInside() const { return isPointerInside_; }
    const std::string& selectionFontNameDescription() const { return selectionFontNameDescription_; }
    const std::vector<std::string>& selectionFontSizeDescriptions() const { return selectionFontSizeDescriptions_; }
    const std::optional<std::string>& selectionStyleNote() const { return selectionStyleNote_; }
    double selectionBackingScale() const { return selectionBackingScale_; }
    std::shared_ptr<platform::Button> actionButton(SelvaneAction action) const { return actionButtons_.at(action); }
    std::shared_ptr<platform::Button> toolButton(SelvaneTool tool) const { return toolButtons_.at(tool); }
    const std::shared_ptr<platform::Button>& screenshotButton() const { return screenshotButton_; }
    const std::shared_ptr<platform::Button>& jumpButton() const { return jumpButton_; }
    const std::shared_ptr<platform::Button>& moreButton() const { return moreButton_; }
    const std::shared_ptr<SelvaneHoverEffectView>& body() const { return body_; }
    // The menu the more button opened last.
    const std::shared_ptr<platform::Menu>& moreMenu() const { return moreMenu_; }

    struct Private;
    SelvaneActionPanel(Private, std::optional<platform::Image> applicationIcon);

private:
    class MoreMenuDelegate;

    void build(std::optional<platform::Image> applicationIcon);
    std::shared_ptr<platform::Button> makeItemButton(const std::string& title, platform::Image glyph, int minimum,
                                                     std::function<void(SelvaneActionPanel&, platform::Control&)> action);
    void watchClipboard();
    void clipboardTick();
    void cancelAutoHide();
    void resetStyle();
    int barWidth() const;

    std::string selectedText_;
    bool isSecureSelection_ = false;
    std::optional<std::string> sourceBundleID_;
    std::optional<pid_t> sourceProcessIdentifier_;
    std::optional<platform::AXElement> sourceFocusedElement_;
    std::string sourceApplicationName_;
    std::optional<platform::ObserverToken> exclusionObserver_;
    std::shared_ptr<platform::Button> jumpButton_;
    std::optional<std::string> jumpURL_;
    std::shared_ptr<platform::Timer> clipboardMonitor_;
    int clipboardChangeCount_ = 0;
    std::shared_ptr<platform::StackView> actionStack_;
    std::shared_ptr<platform::Button> moreButton_;
    std::map<SelvaneAction, std::shared_ptr<platform::Button>> actionButtons_;
    std::map<SelvaneTool, std::shared_ptr<platform::Button>> toolButtons_;
    std::shared_ptr<platform::WorkItem> autoHideWorkItem_;
    bool isPointerInside_ = false;
    std::string selectionFontNameDescription_;
    std::vector<std::string> selectionFontSizeDescriptions_;
    double selectionBackingScale_ = 1.0;
    std::vector<std::string> selectionFontWeightDescriptions_;
    std::vector<Accessibility::TextColor> selectionColors_;
    std::optional<std::string> selectionStyleNote_;

    std::shared_ptr<platform::Panel> panel_;
    std::shared_ptr<SelvaneHoverEffectView> body_;
    std::shared_ptr<platform::Button> screenshotButton_;
    std::shared_ptr<platform::Menu> moreMenu_;
    std::shared_ptr<MoreMenuDelegate> moreMenuDelegate_;
    // The screenshot tool takes a menu item as its sender.
    std::shared_ptr<platform::MenuItem> screenshotSender_;
};

// Texts of the bar that are a fixed Chinese and English pair.
bool selvaneReadsChinese();

}  // namespace tallowmere
