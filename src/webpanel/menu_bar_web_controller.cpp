#include "webpanel/menu_bar_web_controller.h"

#include <algorithm>

#include "app/persistent_configuration.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "platform/base/base64.h"
#include "platform/base/text.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/window_level.h"
#include "platform/desktop/workspace.h"
#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/system/bundle.h"
#include "platform/system/system_log.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"
#include "platform/ui/text_field.h"
#include "platform/ui/visual_effect_view.h"
#include "webpanel/menu_bar_web_address.h"
#include "webpanel/menu_bar_web_page_scripts.h"
#include "webpanel/menu_bar_web_panel.h"
#include "webpanel/menu_bar_web_panel_layout.h"
#include "webpanel/menu_bar_web_search_route.h"

namespace tallowmere {

using platform::Color;
using platform::Url;
using platform::UserDefaults;

namespace {

const char* const viewportScript =
    "if (!document.querySelector('meta[name=viewport]')) { const m=document.createElement('meta'); "
    "m.name='viewport'; m.content='width=device-width, initial-scale=1, maximum-scale=5'; "
    "document.head.appendChild(m); }";

std::string brand(std::string_view chinese, std::string_view foreign) {
    return ProductIdentity::localizedBrand(chinese, foreign);
}

bool isWebScheme(const Url& url) {
    std::string scheme = url.scheme();
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    return scheme == "http" || scheme == "https";
}

}  // namespace

platform::Date MenuBarWebController::now() { return platform::AppContext::current().clock().now(); }

MenuBarWebController& MenuBarWebController::shared() {
    return platform::AppContext::current().shared<MenuBarWebController>();
}

MenuBarWebController::MenuBarWebController() : mediaReportToken_(platform::Uuid::random().uuidString()) {}

MenuBarWebController::~MenuBarWebController() {
    auto& monitors = platform::EventMonitors::shared();
    if (globalMouseMonitor_) monitors.removeMonitor(*globalMouseMonitor_);
    if (localMouseMonitor_) monitors.removeMonitor(*localMouseMonitor_);
    if (backgroundPlaybackTimer_) backgroundPlaybackTimer_->invalidate();
}

std::shared_ptr<MenuBarWebController> MenuBarWebController::makeShared() {
    std::shared_ptr<MenuBarWebController> controller(new MenuBarWebController());
    controller->readStoredSites();
    controller->restoreLastSession();
    controller->installOutsideClickMonitors();
    return controller;
}

void MenuBarWebController::restoreLastSession() {
    auto& defaults = UserDefaults::standard();
    if (auto last = defaults.string(lastURLKey)) currentHomeURL_ = normalizedURL(*last);
    if (defaults.object(pinnedStateKey)) isPinned_ = defaults.boolean(pinnedStateKey);
    hasWebMedia_ = defaults.boolean(lastMediaAvailableKey);
    const bool playing = defaults.boolean(lastMediaPlayingKey);
    wantsWebMediaPlaying_ = playing;
    isWebMediaPlaying_ = false;
    pendingPlaybackAfterLoad_ = playing;
}

void MenuBarWebController::persistNow() { PersistentConfiguration::shared().persistNow(); }

// --- Status items ---------------------------------------------------------------

void MenuBarWebController::installStatusItems() {
    if (webStatusItem_) return;
    auto& statusBar = platform::StatusBar::shared();
    webStatusItem_ = statusBar.statusItem(32);
    playbackStatusItem_ = statusBar.statusItem(30);
    webStatusItem_->setAutosaveName(webItemAutosaveName);
    playbackStatusItem_->setAutosaveName(playbackItemAutosaveName);
    auto webButton = webStatusItem_->button();
    auto playbackButton = playbackStatusItem_->button();
    if (!webButton || !playbackButton) return;

    const std::pair<std::shared_ptr<MenuBarWebStatusButton>, std::shared_ptr<platform::StatusBarButton>> pairs[] = {
        {webStatusButton_, webButton}, {playbackStatusButton_, playbackButton}};
    for (const auto& [view, button] : pairs) {
        view->removeFromSuperview();
        view->setTitle("");
        view->setBordered(false);
        view->setImagePosition(platform::ImagePosition::imageOnly);
        view->setImageScaling(platform::ImageScaling::none);
        view->setContentTintColor(std::nullopt);
        view->onAction = nullptr;
        view->setFrame(button->bounds());
        view->setAutoresizingMask(platform::AutoresizingMask::widthSizable | platform::AutoresizingMask::heightSizable);
        view->setAccessibilityRole("");
        button->addSubview(view);
    }
    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    webButton->onAction = [weak](platform::Control&) {
        if (auto self = weak.lock()) self->toggleWebPanelFromStatusItem();
    };
    playbackButton->onAction = [weak](platform::Control&) {
        if (auto self = weak.lock()) self->toggleWebPlayback();
    };
    const std::string title = brand("菜单栏网页", "Menu Bar Browser");
    for (platform::View* view : {static_cast<platform::View*>(webButton.get()),
                                 static_cast<platform::View*>(webStatusButton_.get())}) {
        view->setToolTip(title);
        view->setAccessibilityLabel(title);
    }
    webStatusButton_->setImage(makeTallowmereWebIcon(false));
    webStatusButton_->drawsYellowPlayIndicator = true;
    webStatusButton_->setImagePosition(platform::ImagePosition::imageOnly);
    playbackStatusButton_->usesYellowTint = true;
    refreshPlaybackStatusItem();
}

void MenuBarWebController::refreshPlaybackStatusItem() {
    if (playbackStatusItem_) playbackStatusItem_->setVisible(hasWebMedia_);
    playbackStatusButton_->setShowsPause(isWebMediaPlaying_);
    std::string title = isWebMediaPlaying_ ? brand("暂停网页播放", "Pause Web Playback")
                                           : brand("播放网页内容", "Play Web Media");
    std::optional<std::string> note;
    if (webAudioNeedsInteraction_) {
        note = brand("请点击网页播放器以启用播放或声音", "Click the webpage player to enable playback or audio");
    } else if (isWebMediaPlaying_ && webAudioIsSilent_) {
        note = brand("网页当前静音或音量为零", "Webpage is muted or volume is zero");
    }
    if (note) title += " · " + *note;
    const std::string symbol = isWebMediaPlaying_ ? "pause.fill" : "play.fill";
    playbackStatusButton_->setImage(
        platform::symbolImage(symbol, title, {12, platform::FontWeight::semibold}));
    playbackStatusButton_->setToolTip(title);
    playbackStatusButton_->setAccessibilityLabel(title);
    if (playbackStatusItem_) {
        if (auto button = playbackStatusItem_->button()) {
            button->setToolTip(title);
            button->setAccessibilityLabel(title);
        }
    }
    if (playbackInlineButton_) {
        playbackInlineButton_->setImage(platform::symbolImage(symbol, title, {13, platform::FontWeight::semibold}));
        playbackInlineButton_->setToolTip(title);
    }
}

bool MenuBarWebController::isStatusControl(platform::ScreenPoint point) const {
    for (const auto& item : {webStatusItem_, playbackStatusItem_}) {
        if (!item || !item->isVisible() || !item->button() || !item->window()) continue;
        if (item->frame().contains(point)) return true;
    }
    return false;
}

void MenuBarWebController::toggleWebPanelFromStatusItem() {
    if (isPanelPresented_ && panel_ && panel_->isVisible() && panel_->alphaValue() > 0.01) {
        hidePanel();
        return;
    }
    std::optional<Url> target = webView_ ? webView_->url() : std::nullopt;
    if (!target) target = currentHomeURL_;
    if (target) {
        present(*target, false);
        return;
    }
    if (!sites_.empty()) {
        if (auto first = normalizedURL(sites_.front().url)) {
            currentHomeURL_ = first;
            present(*first, false);
            return;
        }
    }
    showCustomHome();
    if (!panel_ || !webView_) return;
    preparePausedPanelPresentation();
    showPanelAsPresented(std::nullopt);
}

// --- Presenting and hiding ---------------------------------------------------------

void MenuBarWebController::present(const Url& url, bool allowingPlayback) {
    (void)allowingPlayback;  // accepted; presenting always starts paused
    ensurePanel();
    if (!panel_ || !webView_) return;
    preparePausedPanelPresentation();
    const auto current = webView_->url();
    if (!current || current->string() != url.string() || webContentNeedsReload_) {
        webContentNeedsReload_ = false;
        if (cookiesRestored_) {
            load(url);
        } else {
            pendingInitialURL_ = url;
        }
    }
    showPanelAsPresented(url);
}

void MenuBarWebController::showPanelAsPresented(const std::optional<Url>& target) {
    if (addressField_) {
        addressField_->setStringValue(isShowingCustomHome_ || !target ? std::string("首页") : target->string());
    }
    positionPanel(*panel_);
    panel_->setAlphaValue(1);
    panel_->setIgnoresMouseEvents(false);
    isPanelPresented_ = true;
    panel_->setLevel(platform::WindowLevel::floating);
    if (backgroundPlaybackTimer_) backgroundPlaybackTimer_->invalidate();
    backgroundPlaybackTimer_.reset();
    panel_->orderFrontRegardless();
    panel_->makeKeyAndOrderFront();
    updateCompactMediaLayout(true);
}

void MenuBarWebController::load(const Url& url) { webView_->load(url, loadTimeout); }

void MenuBarWebController::positionPanel(platform::Window& panel) {
    auto& desktop = platform::DesktopLink::desktop();
    const platform::ScreenPoint mouse = desktop.input().mouseLocation();
    auto screen = desktop.screens().screenContaining(mouse);
    if (!screen) screen = desktop.screens().mainScreen();
    if (!screen) return;
    const auto frame = panel.frame();
    const auto visible = screen->visibleFrame();
    double x = mouse.x - frame.size.width + 42;
    x = std::max(x, visible.minX() + 10);
    x = std::min(x, visible.maxX() - frame.size.width - 10);
    double y = visible.maxY() - frame.size.height - 8;
    y = std::max(y, visible.minY() + 8);
    panel.setFrameOrigin({x, y});
}

void MenuBarWebController::hidePanel() {
    if (!isPanelPresented_ || !panel_) return;
    isPanelPresented_ = false;
    if (wantsWebMediaPlaying_ && hasWebMedia_) {
        backgroundRecoveryDeadline_ = now().addingTimeInterval(4);
        evaluate(MenuBarWebPageScripts::checkpoint());
    } else {
        backgroundRecoveryDeadline_ = distantPast();
    }
    auto& defaults = UserDefaults::standard();
    const auto size = panel_->frame().size;
    if (size.width > 1 && size.height > 1) {
        defaults.set(panelSizeKey, MenuBarWebStoredState::stringFromSize(size));
        persistNow();
    }
    defaults.set(pinnedStateKey, isPinned_);
    defaults.set(lastMediaAvailableKey, hasWebMedia_);
    defaults.set(lastMediaPlayingKey, wantsWebMediaPlaying_);
    persistNow();
    // Transparent and click-through, never ordered out: the page keeps
    // running, so its media can play on while the panel is hidden.
    panel_->setIgnoresMouseEvents(true);
    panel_->setAlphaValue(0);
    updateBackgroundPlaybackTimer();
}

void MenuBarWebController::installOutsideClickMonitors() {
    const platform::EventMask mask = platform::eventMask(platform::EventType::leftMouseDown) |
                                     platform::eventMask(platform::EventType::rightMouseDown) |
                                     platform::eventMask(platform::EventType::otherMouseDown);
    auto& monitors = platform::EventMonitors::shared();
    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    globalMouseMonitor_ = monitors.addGlobalMonitor(mask, [weak](const platform::Event&) {
        if (auto self = weak.lock()) self->handleOutsideClick();
    });
    localMouseMonitor_ = monitors.addLocalMonitor(mask, [weak](const platform::Event& event) {
        if (auto self = weak.lock()) self->handleOutsideClick();
        return std::optional<platform::Event>(event);
    });
}

void MenuBarWebController::handleOutsideClick() {
    // The pointer where it is now, not where the event says: a click that
    // opened something else may have been reported late.
    const auto mouse = platform::DesktopLink::desktop().input().mouseLocation();
    if (isPanelPresented_ && !isStatusControl(mouse) && panel_ && !panel_->frame().contains(mouse)) hidePanel();
}

void MenuBarWebController::togglePin() {
    isPinned_ = !isPinned_;
    UserDefaults::standard().set(pinnedStateKey, isPinned_);
    persistNow();
    if (panel_) {
        panel_->setLevel(platform::WindowLevel::floating);
        if (isPinned_) panel_->orderFrontRegardless();
    }
    refreshPinButton();
}

void MenuBarWebController::refreshPinButton() {
    if (!pinButton_) return;
    const std::string label = isPinned_ ? "取消置顶" : "置顶";
    pinButton_->setImage(platform::symbolImage(isPinned_ ? "pin.fill" : "pin", label));
    pinButton_->setToolTip(label);
    pinButton_->setContentTintColor(isPinned_ ? Color::calibratedRGB(0.78, 0.43, 0.08, 1)
                                              : Color::system(platform::SystemColor::secondaryLabel));
}

void MenuBarWebController::updateCompactMediaLayout(bool force) {
    if (!webView_) return;
    if (panel_ && panel_->contentView()) panel_->contentView()->layoutSubtreeIfNeeded();
    if (!force && lastCompactMediaMode_ == false) return;
    lastCompactMediaMode_ = false;
    webView_->evaluateJavaScript(MenuBarWebPageScripts::setCompactMedia(false));
}

void MenuBarWebController::windowDidResize(platform::Window&) { updateCompactMediaLayout(false); }

bool MenuBarWebController::windowShouldClose(platform::Window&) {
    hidePanel();
    return false;
}

// --- Building the panel ----------------------------------------------------------

platform::WebViewConfiguration MenuBarWebController::webViewConfiguration() const {
    using platform::WebUserScript;
    platform::WebViewConfiguration configuration;
    configuration.userScripts = {
        {viewportScript, WebUserScript::InjectionTime::documentEnd, true},
        MenuBarWebMediaPolicy::makeScript(),
        MenuBarWebAdSkipping::makeScript(),
        MenuBarWebCursorVisibility::makeScript(),
        MenuBarWebPageScripts::mediaObserver(mediaReportToken_),
    };
    configuration.scriptMessageHandlers = {"menuBarWebAdSkip", "menuBarWebPlaybackIntent", "menuBarWebMedia"};
    configuration.userAgent = mobileUserAgent;
    configuration.pageZoom = 0.6;
    configuration.allowsMagnification = true;
    configuration.javaScriptCanOpenWindowsAutomatically = true;
    configuration.mediaPlaybackRequiresUserAction = false;
    return configuration;
}

std::shared_ptr<platform::Button> MenuBarWebController::toolbarButton(const std::string& symbol,
                                                                      const std::string& label,
                                                                      void (MenuBarWebController::*action)()) {
    auto button = platform::Button::make();
    button->setImage(platform::symbolImage(symbol, label));
    button->setToolTip(label);
    button->setAccessibilityLabel(label);
    button->setBordered(false);
    button->setImagePosition(platform::ImagePosition::imageOnly);
    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    button->onAction = [weak, action](platform::Control&) {
        if (auto self = weak.lock()) ((*self).*action)();
    };
    return button;
}

void MenuBarWebController::ensurePanel() {
    if (panel_) return;
    auto webView = platform::WebView::make({}, webViewConfiguration());
    if (webView) webView->setNavigationDelegate(weak_from_this());

    const platform::Size size = MenuBarWebStoredState::panelSize(UserDefaults::standard().string(panelSizeKey));
    using Style = platform::WindowStyleMask;
    auto panel = platform::Window::make<MenuBarWebPanel>(
        platform::ScreenRect{0, 0, size.width, size.height},
        Style{Style::titled | Style::closable | Style::resizable | Style::nonactivatingPanel |
              Style::fullSizeContentView});
    panel->becomesKeyOnlyIfNeeded = false;
    panel->setTitle("菜单栏网页");
    panel->titleVisibility = platform::WindowTitleVisibility::hidden;
    panel->titlebarAppearsTransparent = true;
    panel->isMovableByWindowBackground = true;
    panel->isReleasedWhenClosed = false;
    panel->setMinSize({1, 1});
    panel->setContentMinSize({0, 0});
    panel->setCollectionBehavior(platform::WindowCollectionBehavior{
        platform::WindowCollectionBehavior::canJoinAllSpaces | platform::WindowCollectionBehavior::fullScreenAuxiliary});
    panel->setLevel(platform::WindowLevel::floating);
    panel->setHidesOnDeactivate(false);
    panel->setDelegate(weak_from_this());
    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    panel->onRequestHide = [weak] {
        if (auto self = weak.lock()) self->hidePanel();
    };
    panel->setBackgroundColor(Color::calibratedRGB(0.985, 0.975, 0.95, 1));

    auto content = MenuBarWebPanelContentView::make();
    auto toolbar = platform::VisualEffectView::make({}, platform::VisualEffectMaterial::headerView);
    toolbar->blendingMode = platform::VisualEffectBlendingMode::withinWindow;
    toolbar->state = platform::VisualEffectState::active;
    toolbar->setFlipped(true);
    auto tint = platform::View::make();
    tint->setWantsLayer(true);
    tint->mutableLayer().backgroundColor = Color::sRGB(1.0, 247 / 255.0, 230 / 255.0, 0.82);
    tint->setAutoresizingMask(platform::AutoresizingMask::widthSizable | platform::AutoresizingMask::heightSizable);
    auto hairline = platform::View::make();
    hairline->setWantsLayer(true);
    hairline->mutableLayer().backgroundColor = Color::sRGB(248 / 255.0, 189 / 255.0, 57 / 255.0, 0.28);
    toolbar->addSubview(tint);
    toolbar->addSubview(hairline);

    auto back = toolbarButton("chevron.left", "后退", &MenuBarWebController::goBack);
    auto forward = toolbarButton("chevron.right", "前进", &MenuBarWebController::goForward);
    auto reload = toolbarButton("arrow.clockwise", "刷新", &MenuBarWebController::reloadPage);
    auto home = toolbarButton("house", "首页", &MenuBarWebController::goHome);
    auto pin = toolbarButton(isPinned_ ? "pin.fill" : "pin", isPinned_ ? "取消置顶" : "置顶",
                             &MenuBarWebController::togglePin);
    auto external = toolbarButton("safari", "在浏览器中打开", &MenuBarWebController::openExternally);

    auto bar = platform::VisualEffectView::make({}, platform::VisualEffectMaterial::popover);
    bar->blendingMode = platform::VisualEffectBlendingMode::withinWindow;
    bar->state = platform::VisualEffectState::active;
    bar->setHidden(true);
    bar->setFlipped(true);
    auto playButton = platform::Button::make();
    const std::string playSymbol = wantsWebMediaPlaying_ ? "pause.fill" : "play.fill";
    playButton->setImage(platform::symbolImage(playSymbol, "播放或暂停", {13, platform::FontWeight::semibold}));
    playButton->setBordered(false);
    playButton->setImagePosition(platform::ImagePosition::imageOnly);
    playButton->setContentTintColor(Color::system(platform::SystemColor::controlAccent));
    playButton->setToolTip(wantsWebMediaPlaying_ ? "暂停网页播放" : "播放网页内容");
    playButton->onAction = [weak](platform::Control&) {
        if (auto self = weak.lock()) self->toggleWebPlayback();
    };
    auto slider = MenuBarWebSeekSlider::make();
    slider->setRange(0, 1);
    slider->setDoubleValue(0);
    slider->setContinuous(true);
    slider->setToolTip("播放进度");
    slider->onAction = [weak](platform::Control& sender) {
        if (auto self = weak.lock()) self->seekWebMedia(sender);
    };
    auto skip = platform::Button::make(brand("跳过广告", "Skip Ad"));
    skipAdButton_ = skip;
    skip->setBezelStyle(platform::BezelStyle::rounded);
    skip->setControlSize(platform::ControlSize::small);
    skip->setFont(platform::Font::systemFont(11, platform::FontWeight::medium));
    skip->setToolTip(brand("跳过当前可跳过的广告", "Skip the current skippable ad"));
    skip->onAction = [weak](platform::Control&) {
        if (auto self = weak.lock()) self->skipWebAd();
    };
    bar->addSubview(playButton);
    bar->addSubview(slider);
    bar->addSubview(skip);

    auto address = platform::TextField::make();
    address->setPlaceholderString("输入网址");
    address->setEditable(true);
    address->setSelectable(true);
    address->setBezeled(false);
    address->setDrawsBackground(true);
    address->setBackgroundColor(Color::system(platform::SystemColor::windowBackground).withAlphaComponent(0.82));
    address->setFont(platform::Font::systemFont(12));
    address->setWantsLayer(true);
    address->mutableLayer().cornerRadius = 8;
    address->onAction = [weak](platform::Control&) {
        if (auto self = weak.lock()) self->addressSubmitted();
    };

    for (const auto& view : std::initializer_list<std::shared_ptr<platform::View>>{back, forward, reload, home, address,
                                                                                    pin, external}) {
        toolbar->addSubview(view);
    }
    content->addSubview(toolbar);
    if (webView) content->addSubview(webView);
    content->addSubview(bar);
    content->parts = {toolbar, tint, hairline, back, forward, reload, home, address, pin, external,
                      webView, bar, playButton, slider, skip};
    content->playbackBarHeight = [weak] {
        auto self = weak.lock();
        return self ? self->playbackProgressHeight_ : 0.0;
    };
    panel->setContentView(content);

    panel_ = panel;
    webView_ = webView;
    applyGrayscaleAppearance();
    addressField_ = address;
    backButton_ = back;
    forwardButton_ = forward;
    pinButton_ = pin;
    externalButton_ = external;
    playbackProgressBar_ = bar;
    playbackProgressSlider_ = slider;
    playbackInlineButton_ = playButton;
    refreshPinButton();
    if (webView_) restoreCookies(*webView_);
    updateNavigationButtons();
}

void MenuBarWebController::updateNavigationButtons() {
    if (backButton_) backButton_->setEnabled(webView_ && webView_->canGoBack());
    if (forwardButton_) forwardButton_->setEnabled(webView_ && webView_->canGoForward());
    if (externalButton_) {
        const auto url = webView_ ? webView_->url() : std::nullopt;
        externalButton_->setEnabled(!isShowingCustomHome_ && url && isWebScheme(*url));
    }
}

void MenuBarWebController::goBack() {
    if (webView_) webView_->goBack();
}
void MenuBarWebController::goForward() {
    if (webView_) webView_->goForward();
}
void MenuBarWebController::reloadPage() {
    if (webView_) webView_->reload();
}
void MenuBarWebController::goHome() { showCustomHome(); }

void MenuBarWebController::openExternally() {
    if (isShowingCustomHome_ || !webView_) return;
    // Only web pages leave for the browser: a file or script address never does.
    if (auto url = webView_->url(); url && isWebScheme(*url)) {
        platform::Workspace::shared().openURL(url->string());
    }
}

void MenuBarWebController::applyGrayscaleAppearance() {
    if (!webView_) return;
    webView_->setWantsLayer(true);
    if (UserDefaults::standard().boolean(grayscaleKey)) {
        webView_->setSaturationFilter(0.0);
    } else {
        webView_->setSaturationFilter(std::nullopt);
    }
}

void MenuBarWebController::toggleGrayscale(platform::Control* sender) {
    const bool enabled = !UserDefaults::standard().boolean(grayscaleKey);
    UserDefaults::standard().set(grayscaleKey, enabled);
    persistNow();
    if (auto* item = dynamic_cast<platform::Button*>(sender)) {
        item->setState(enabled ? platform::ControlState::on : platform::ControlState::off);
    }
    applyGrayscaleAppearance();
}

// --- Address bar, search and start page ------------------------------------------------

std::optional<Url> MenuBarWebController::searchURL(const std::string& text) const {
    std::vector<std::string> interfaces;
    for (const auto& counter : interfaceReader_.counters()) interfaces.push_back(counter.name);
    const auto proxies = platform::DesktopLink::desktop().proxySettings().copyProxies();
    return tallowmere::searchURL(text, prefersInternationalSearch(interfaces, proxies)
                                           ? startPageData_.internationalSearchEndpoint
                                           : startPageData_.domesticSearchEndpoint);
}

void MenuBarWebController::addressSubmitted() {
    if (!addressField_ || !webView_) return;
    const std::string text = platform::Text::trimmingWhitespaceAndNewlines(addressField_->stringValue());
    if (text.empty()) return;
    auto url = directNavigationURL(text);
    if (!url) url = searchURL(text);
    if (!url) return;
    isShowingCustomHome_ = false;
    currentHomeURL_ = url;
    load(*url);
    updateNavigationButtons();
}

void MenuBarWebController::showCustomHome() {
    ensurePanel();
    if (!webView_) return;
    isShowingCustomHome_ = true;
    pendingPlaybackAfterLoad_ = false;
    wantsWebMediaPlaying_ = false;
    backgroundRecoveryDeadline_ = distantPast();
    if (addressField_) addressField_->setStringValue("首页");
    if (panel_) panel_->setTitle("首页");
    updateNavigationButtons();
    webView_->setDarkAppearance(platform::Application::shared().effectiveAppearance() == platform::Appearance::dark);
    webView_->loadHTMLString(customHomeHTML(), std::nullopt);
}

std::string MenuBarWebController::customHomeHTML() const {
    std::string avatar;
    if (const auto png = platform::Bundle::main().resource("StatusPixelTallowmere", "png")) {
        avatar = "data:image/png;base64," +
                 platform::base64Encoded({reinterpret_cast<const std::uint8_t*>(png->data()), png->size()});
    }
    const auto& links = startPageData_.recommendationsFor(InterfaceLanguage::current().caseName());
    return makeStartPageHTML(sites_, links, avatar);
}

// --- Navigation ---------------------------------------------------------------------

void MenuBarWebController::webViewDidStartNavigation(platform::WebView& view) {
    // A new page: what the last one said of its media no longer holds once
    // a probe of the new one confirms it.
    ++mediaStateRevision_;
    if (auto check = std::exchange(mediaAbsenceCheck_, nullptr)) check->cancel();
    scheduleMediaAbsenceConfirmation();
    if (addressField_) {
        if (auto url = view.url()) addressField_->setStringValue(url->string());
    }
    updateNavigationButtons();
}

void MenuBarWebController::webViewDidFinishNavigation(platform::WebView& view) {
    const auto url = view.url();
    if (isStartPageShown(view)) {
        if (addressField_) addressField_->setStringValue("首页");
        if (panel_) panel_->setTitle("首页");
    } else if (url) {
        isShowingCustomHome_ = false;
        if (addressField_) addressField_->setStringValue(url->string());
        if (panel_) panel_->setTitle(view.title().value_or("菜单栏网页"));
        currentHomeURL_ = url;
        UserDefaults::standard().set(lastURLKey, url->string());
    }
    updateNavigationButtons();
    updateCompactMediaLayout(true);
    // Each page starts under the panel's playback rule: blocked while the
    // panel pauses media as it appears.
    evaluate(MenuBarWebPageScripts::setPlaybackAllowed(!pauseMediaWhenPanelAppears_));
}

bool MenuBarWebController::isStartPageShown(const platform::WebView& view) const {
    const auto url = view.url();
    return isShowingCustomHome_ && (!url || url->scheme() == "about");
}

void MenuBarWebController::webViewDecidePolicy(platform::WebView& view, const platform::WebNavigationAction& action,
                                               std::function<void(bool)> decide) {
    const auto url = Url::parse(action.url);
    std::string scheme = url ? url->scheme() : std::string();
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    // The program's own scheme is never a page to load. The engine does not
    // say which frame asked, so the add link counts only while the start
    // page, which has no frames, is what the panel shows.
    if (scheme == "tallowmere") {
        decide(false);
        if (url->host() == "add-web" && !action.opensNewWindow && isStartPageShown(view)) {
            std::weak_ptr<MenuBarWebController> weak = weak_from_this();
            platform::AppContext::current().mainQueue().async([weak] {
                if (auto self = weak.lock()) self->addSite();
            });
        }
        return;
    }
    if (action.opensNewWindow) {
        // The panel has one web view: a new window's page loads in it, when
        // it is a web page (never a file, script or data address).
        decide(false);
        if (url && isWebScheme(*url)) view.load(*url, loadTimeout);
        return;
    }
    decide(true);
}

void MenuBarWebController::webViewWebContentProcessDidTerminate(platform::WebView&, const std::string& reason) {
    platform::SystemLog::shared().log("Web panel page process " + reason + "; the page reloads when shown");
    webContentNeedsReload_ = true;
}

}  // namespace tallowmere
