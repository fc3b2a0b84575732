#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/color.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/text_view.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {
class Button;
class ColorWell;
class ComboBox;
class MenuItem;
class PopUpButton;
class Screen;
class Timer;
}  // namespace tallowmere::platform

namespace tallowmere {

// The editor's text, kept vertically centred in its scroll view.
class CenteredBlackboardTextView : public platform::TextView {
public:
    static std::shared_ptr<CenteredBlackboardTextView> make(platform::Rect frame);
    // Puts the text in the middle of the visible height, at least 12 pt in.
    void refreshVerticalCenter();

protected:
    explicit CenteredBlackboardTextView(platform::Rect frame) : TextView(frame) {}

private:
    bool isUpdatingCenter_ = false;
};

// One screen's sign: borderless, above almost everything, over the menu
// bar too (its frame is never constrained). Escape ends the sign.
class BlackboardDisplayPanel : public platform::Panel {
public:
    using Panel::Panel;
    std::function<void()> onExit;
    bool canBecomeKey() const override { return true; }
    platform::ScreenRect constrainFrameRect(platform::ScreenRect frame,
                                            const std::shared_ptr<platform::Screen>&) const override {
        return frame;
    }
    void keyDown(const platform::Event& event) override;
};

// The blackboard: a short text shown as a full-screen sign on every
// display until Escape, from the status menu's presets or from the editor
// window, which keeps the last text, family, size, colours and gradient
// switch in the preferences. Its texts are fixed Chinese (the fifth style's
// title aside). One per process (`shared()`).
class BlackboardWindowController : public std::enable_shared_from_this<BlackboardWindowController> {
public:
    // The preset texts, shown as they are in every language; a preset's
    // index is its menu item's tag.
    static constexpr std::array<std::string_view, 5> presetTexts = {
        "开会中，稍后回来", "去个厕所，稍后回来", "🚬", "外出拜访", "电脑运行中，请勿动",
    };
    static constexpr const char* textKey = "blackboard.text";
    static constexpr const char* fontKey = "blackboard.fontFamily";
    static constexpr const char* sizeKey = "blackboard.fontSize";
    static constexpr const char* backgroundColorKey = "blackboard.backgroundColor";
    static constexpr const char* textColorKey = "blackboard.textColor";
    static constexpr const char* dynamicGradientKey = "blackboard.dynamicGradient";
    static constexpr const char* defaultFamily = "PingFang SC";
    static constexpr int signLevel = 1000;
    static constexpr std::uint64_t signCollectionBehavior = 257;  // all spaces + full-screen auxiliary
    static constexpr int gradientFrameCount = 9;

    struct StylePreset {
        std::string title;
        std::string family;
        platform::Color background;
        platform::Color text;
        bool dynamic = false;
    };
    // A uniform number between the two bounds, both possible.
    using RandomSource = std::function<double(double low, double high)>;

    static BlackboardWindowController& shared();

    BlackboardWindowController();
    BlackboardWindowController(const BlackboardWindowController&) = delete;
    BlackboardWindowController& operator=(const BlackboardWindowController&) = delete;

    // --- The status menu ---------------------------------------------------------
    // Ends any sign and brings up the editor.
    void openFromMenu(platform::MenuItem& sender);
    // Shows the preset whose index is the sender's tag.
    void showPresetFromMenu(platform::MenuItem& sender);

    // --- The editor ----------------------------------------------------------------
    void closeEditor();
    // Checks the text and size (beeping at a bad one), stores everything
    // and shows the sign.
    void showCustom();
    void applyStylePreset(int tag);
    void changeFont();
    void changeBackgroundColor();
    void changeTextColor();
    void toggleDynamicGradient();
    void updateEditorFont();
    void updateEditorColors();
    platform::Color savedColor(const std::string& key, const platform::Color& fallback) const;
    void saveColor(const platform::Color& color, const std::string& key) const;
    // The family to use for `name`: it, else the first of Kaiti SC, STKaiti,
    // PingFang SC the system has, else the system font's family.
    static std::string resolvedPresetFamily(const std::string& name);

    // --- The sign --------------------------------------------------------------------
    void present(const std::string& text, const std::string& family, double size,
                 const platform::Color& backgroundColor, const platform::Color& textColor, bool dynamicGradient,
                 const std::shared_ptr<platform::Screen>& screen);
    std::shared_ptr<BlackboardDisplayPanel> makeDisplay(
        const std::string& text, const std::string& family, double size, const platform::Color& backgroundColor,
        const platform::Color& textColor, bool dynamicGradient,
        const std::vector<std::vector<platform::Color>>& gradientFrames, double gradientStartTime,
        const std::shared_ptr<platform::Screen>& screen);
    void dismissDisplay();
    static std::shared_ptr<platform::Screen> screenAtPointer();
    void setRandomSource(RandomSource source) { random_ = std::move(source); }

    // --- For readers -------------------------------------------------------------------
    const std::shared_ptr<platform::Window>& editorWindow() const { return window_; }
    const std::shared_ptr<CenteredBlackboardTextView>& editor() const { return editor_; }
    const std::shared_ptr<platform::PopUpButton>& fontPicker() const { return fontPicker_; }
    const std::shared_ptr<platform::ComboBox>& sizePicker() const { return sizePicker_; }
    const std::shared_ptr<platform::ColorWell>& backgroundColorWell() const { return backgroundColorWell_; }
    const std::shared_ptr<platform::ColorWell>& textColorWell() const { return textColorWell_; }
    const std::shared_ptr<platform::Button>& dynamicGradientCheckbox() const { return dynamicGradientCheckbox_; }
    const std::vector<StylePreset>& stylePresets() const { return stylePresets_; }
    bool dynamicGradientEnabled() const { return dynamicGradientEnabled_; }
    const std::vector<std::shared_ptr<BlackboardDisplayPanel>>& displayPanels() const { return displayPanels_; }
    bool hasEscapeMonitor() const { return escapeMonitor_.has_value(); }
    // The size each panel's text got.
    const std::vector<double>& fittedSizes() const { return fittedSizes_; }

private:
    void buildEditor();
    std::shared_ptr<platform::Button> makeStyleButton(int index);
    std::string selectedFamily() const;

    std::shared_ptr<platform::Window> window_;
    std::shared_ptr<CenteredBlackboardTextView> editor_;
    std::shared_ptr<platform::PopUpButton> fontPicker_;
    std::shared_ptr<platform::ComboBox> sizePicker_;
    std::shared_ptr<platform::ColorWell> backgroundColorWell_;
    std::shared_ptr<platform::ColorWell> textColorWell_;
    std::shared_ptr<platform::Button> dynamicGradientCheckbox_;
    std::vector<StylePreset> stylePresets_;
    bool dynamicGradientEnabled_ = false;
    std::vector<std::shared_ptr<BlackboardDisplayPanel>> displayPanels_;
    std::optional<platform::EventMonitorToken> escapeMonitor_;
    std::vector<double> fittedSizes_;
    RandomSource random_;
    // Redraws an animated board, whose layer is evaluated as it is drawn.
    std::shared_ptr<platform::Timer> redrawTimer_;
};

}  // namespace tallowmere
