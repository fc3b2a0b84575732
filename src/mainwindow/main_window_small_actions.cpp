// Buttons that set nothing: the window-settings advice, the thanks list and
// the change of interface language, which starts the program anew.
#include "app/application_icon.h"
#include "app/centered_activation_panel.h"
#include "localization/interface_language.h"
#include "localization/interface_language_preference.h"
#include "localization/product_identity.h"
#include "mainwindow/main_window_controller.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/workspace.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/system/process_runner.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/application.h"
#include "platform/ui/bundle_image.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/image_view.h"
#include "platform/ui/window.h"

namespace tallowmere {

using namespace platform;

namespace {

// Tried in order: the Windows section of newer systems, then the older pane.
constexpr const char* windowSettingsURLs[] = {
    "x-apple.systempreferences:com.apple.Desktop-Settings.extension?Window",
    "x-apple.systempreferences:com.apple.preference.dock",
};

// The old instance quits this long after the new one has started.
constexpr double relaunchQuitDelay = 0.25;

std::shared_ptr<Label> makeRosterLabel(const std::string& text, double size, Rect frame) {
    auto label = Label::make(text);
    label->setFont(Font::named("Kaiti SC", size, Font::systemFont(size)));
    label->setTextColor(Color::system(SystemColor::label));
    label->setAlignment(TextAlignment::center);
    label->setFrame(frame);
    return label;
}

}  // namespace

void MainWindowController::showWindowSettingsGuide() {
    auto picture = bundleImage("WindowSettingsGuide", "png");
    if (!picture) {
        setStatus(L("设置截图暂不可用"));
        return;
    }
    auto view = ImageView::make(std::move(picture));
    view->setImageScaling(ImageScaling::proportionallyDown);
    view->setFixedSize({470, 320});
    auto panel = CenteredActivationPanel::make(L("建议关闭系统设置"), L("路径：系统设置 → 桌面与程序坞 → 窗口"), view, 44,
                                               Color::system(SystemColor::label), {L("好")});
    (void)panel->runModal(window());
}

void MainWindowController::openWindowSettings() {
    auto& workspace = DesktopLink::desktop().workspace();
    for (const char* url : windowSettingsURLs) {
        if (workspace.openURL(url)) {
            setStatus(L("已打开窗口设置"));
            return;
        }
    }
    setStatus(L("无法打开窗口设置，请按路径手动打开"));
}

void MainWindowController::showSupporterRoster() {
    if (!supporterRoster_) {
        auto roster = Window::make<Panel>(ScreenRect{0, 0, 680, 250}, WindowStyleMask{WindowStyleMask::titled});
        roster->setTitle(L("感谢名单"));
        roster->titleVisibility = WindowTitleVisibility::hidden;
        roster->titlebarAppearsTransparent = true;
        roster->showsTitlebarSeparator = false;
        roster->isReleasedWhenClosed = false;
        roster->setHasShadow(true);
        roster->isMovableByWindowBackground = true;
        auto content = View::make();
        content->setFrame({0, 0, 680, 250});
        auto separator = View::make();
        separator->setWantsLayer(true);
        separator->mutableLayer().backgroundColor = Color::system(SystemColor::separator);
        separator->setFrame({24, 108, 632, 1});
        content->addSubview(separator);
        // No names are listed until there are supporters to thank.
        content->addSubview(makeRosterLabel(L("增量支持的朋友名单会在每个新版本中更新，敬请期待。"), 16, {24, 62, 632, 20}));
        auto icon = ImageView::make(ApplicationIcon::image());
        icon->setImageScaling(ImageScaling::proportionallyUpOrDown);
        icon->setFrame({558, 120, 58, 58});
        content->addSubview(icon);
        auto ok = Button::make(L("好"));
        ok->setBezelStyle(BezelStyle::push);
        ok->setControlSize(ControlSize::large);
        ok->setKeyEquivalent("\r");
        ok->setFrame({226, 16, 228, 36});
        ok->onAction = action(&MainWindowController::closeSupporterRoster);
        content->addSubview(ok);
        roster->setContentView(content);
        supporterRoster_ = roster;
    }
    if (auto parent = window(); parent && parent->isVisible()) {
        parent->beginSheet(supporterRoster_);
        return;
    }
    supporterRoster_->center();
    supporterRoster_->makeKeyAndOrderFront();
}

void MainWindowController::closeSupporterRoster(const Control& sender) {
    auto roster = sender.window();
    if (!roster) return;
    if (auto parent = roster->sheetParent()) {
        parent->endSheet(roster);
        return;
    }
    roster->close();
}

void MainWindowController::changeInterfaceLanguage() {
    const auto index = languagePopup->indexOfSelectedItem();
    const auto& languages = InterfaceLanguage::allCases();
    if (!index || *index >= languages.size()) return;
    const auto previous = InterfaceLanguage::current();
    const auto language = languages[*index];
    if (language == previous) return;
    auto& defaults = UserDefaults::standard();
    const auto stored = defaults.object(InterfaceLanguagePreference::key);
    InterfaceLanguage::setCurrent(language);

    // The program quits only once its new instance runs: a relaunch that
    // cannot start would otherwise leave the person with no program at all.
    const ProcessRequest request{.executable = "/usr/bin/open",
                                 .arguments = {"-n", DesktopLink::desktop().currentApplication().bundlePath()}};
    const auto started = ProcessRunner::run(request);
    if (!started || !started->succeeded()) {
        if (stored) {
            defaults.set(InterfaceLanguagePreference::key, *stored);
        } else {
            defaults.removeObject(InterfaceLanguagePreference::key);
        }
        languagePopup->selectItem(previous.index());
        setStatus(L("无法重新启动，界面语言未更改"));
        return;
    }
    AppContext::current().mainQueue().asyncAfter(relaunchQuitDelay, [] { Application::shared().terminate(); });
}

}  // namespace tallowmere
