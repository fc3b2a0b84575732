// The web panel's side of the page scripts: their messages, the page's media
// state, playing on while the panel is hidden, and skipping ads.
#include <cmath>

#include "localization/product_identity.h"
#include "platform/base/uuid.h"
#include "platform/runtime/app_context.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/button.h"
#include "platform/ui/window.h"
#include "webpanel/menu_bar_web_address.h"
#include "webpanel/menu_bar_web_controller.h"
#include "webpanel/menu_bar_web_page_scripts.h"
#include "webpanel/menu_bar_web_panel.h"

namespace tallowmere {

using platform::UserDefaults;

namespace {

// While the page's reports cannot undo a command the person just gave.
constexpr double commandDeadline = 1.0;
// Hidden with media wanted playing, the panel keeps asking the page to
// resume (the system may pause hidden media) for this long, this often.
constexpr double recoveryWindow = 4.0;
constexpr double recoveryInterval = 2.0;
constexpr double absenceConfirmationDelay = 2.0;
constexpr double playbackBarHeight = 38;
constexpr double skipAdAnswerDelay = 0.8;
constexpr double skipAdTitleResetDelay = 2.5;

}  // namespace

void MenuBarWebController::evaluate(const std::string& script) {
    if (webView_) webView_->evaluateJavaScript(script);
}

void MenuBarWebController::storeMediaState() {
    auto& defaults = UserDefaults::standard();
    defaults.set(lastMediaAvailableKey, hasWebMedia_);
    defaults.set(lastMediaPlayingKey, wantsWebMediaPlaying_);
}

// --- Messages -------------------------------------------------------------------

void MenuBarWebController::webViewDidReceiveScriptMessage(platform::WebView&,
                                                          const platform::WebScriptMessage& message) {
    const auto parsed = parseMenuBarWebScriptMessage(message.handlerName, message.bodyJSON, mediaReportToken_);
    if (!parsed) return;
    if (const auto* answer = std::get_if<MenuBarWebAdSkipAnswer>(&*parsed)) {
        handleAdSkipAnswer(*answer);
    } else if (std::holds_alternative<MenuBarWebPlaybackIntent>(*parsed)) {
        handlePlaybackIntent();
    } else if (const auto* report = std::get_if<MenuBarWebMediaReport>(&*parsed)) {
        handleMediaReport(*report);
    } else {
        handlePlaybackError();
    }
}

void MenuBarWebController::handleAdSkipAnswer(const MenuBarWebAdSkipAnswer& answer) {
    if (!skipAdRequest_ || answer.request != *skipAdRequest_) return;
    if (answer.status) skipAdResults_.insert(*answer.status);
}

void MenuBarWebController::handlePlaybackIntent() {
    // A touch in a page nobody sees is no intent of the person's.
    if (!isPanelPresented_) return;
    pauseMediaWhenPanelAppears_ = false;
    evaluate(MenuBarWebPageScripts::allowPlayback());
}

void MenuBarWebController::handleMediaReport(const MenuBarWebMediaReport& report) {
    webAudioIsSilent_ = report.audioMuted == true || report.audioVolume == 0.0;
    webAudioNeedsInteraction_ = report.audioSuspended == true;
    if (report.url) {
        if (auto url = normalizedURL(*report.url)) {
            currentHomeURL_ = url;
            UserDefaults::standard().set(lastURLKey, url->string());
        }
    }
    const bool available = report.available == true;
    if (available) {
        ++mediaStateRevision_;
        if (auto check = std::exchange(mediaAbsenceCheck_, nullptr)) check->cancel();
    } else if (hasWebMedia_) {
        // Media may only be between two elements (a player rebuilding):
        // the item stays until a probe confirms it is gone.
        scheduleMediaAbsenceConfirmation();
        return;
    }
    hasWebMedia_ = available;
    isWebMediaPlaying_ = report.playing == true;

    const platform::Date current = now();
    if (pauseMediaWhenPanelAppears_ && hasWebMedia_) {
        wantsWebMediaPlaying_ = false;
        pendingPlaybackAfterLoad_ = false;
        playbackCommandDeadline_ = current.addingTimeInterval(commandDeadline);
        if (isWebMediaPlaying_) {
            isWebMediaPlaying_ = false;
            evaluate(MenuBarWebPageScripts::pause());
        }
    }
    updatePlaybackProgress(hasWebMedia_, report.duration.value_or(0), report.currentTime.value_or(0));

    if (!pendingPlaybackAfterLoad_ && current >= playbackCommandDeadline_) {
        if (isWebMediaPlaying_) {
            wantsWebMediaPlaying_ = true;
        } else if (!isPanelPresented_ && current < backgroundRecoveryDeadline_) {
            // The recovery timer is still trying to resume it.
        } else {
            wantsWebMediaPlaying_ = false;
            backgroundRecoveryDeadline_ = distantPast();
        }
    }
    storeMediaState();
    refreshPlaybackStatusItem();

    if (pendingPlaybackAfterLoad_ && hasWebMedia_) {
        pendingPlaybackAfterLoad_ = false;
        playbackCommandDeadline_ = current.addingTimeInterval(commandDeadline);
        if (webView_) {
            evaluate(wantsWebMediaPlaying_ ? MenuBarWebPageScripts::resume(false, mediaReportToken_)
                                           : MenuBarWebPageScripts::pause());
        }
    }
    updateBackgroundPlaybackTimer();
}

void MenuBarWebController::handlePlaybackError() {
    webAudioNeedsInteraction_ = true;
    pendingPlaybackAfterLoad_ = false;
    wantsWebMediaPlaying_ = false;
    isWebMediaPlaying_ = false;
    backgroundRecoveryDeadline_ = distantPast();
    UserDefaults::standard().set(lastMediaPlayingKey, false);
    refreshPlaybackStatusItem();
    updateBackgroundPlaybackTimer();
}

// --- The playback bar -------------------------------------------------------------

void MenuBarWebController::updatePlaybackProgress(bool available, double duration, double currentTime) {
    const bool shown = available && std::isfinite(duration) && duration > 0;
    if (playbackProgressBar_) playbackProgressBar_->setHidden(!shown);
    if (playbackProgressHeight_ != (shown ? playbackBarHeight : 0)) {
        playbackProgressHeight_ = shown ? playbackBarHeight : 0;
        if (panel_ && panel_->contentView()) panel_->contentView()->setNeedsLayout(true);
    }
    if (shown && playbackProgressSlider_ && !playbackProgressSlider_->isTrackingProgress()) {
        playbackProgressSlider_->setRange(playbackProgressSlider_->minValue(), duration);
        playbackProgressSlider_->setDoubleValue(currentTime);
    }
}

void MenuBarWebController::seekWebMedia(platform::Control& sender) {
    if (const auto* slider = dynamic_cast<const platform::Slider*>(&sender)) {
        evaluate(MenuBarWebPageScripts::seek(slider->doubleValue()));
    }
}

// --- Media absence ------------------------------------------------------------------

void MenuBarWebController::scheduleMediaAbsenceConfirmation() {
    if (!hasWebMedia_ || mediaAbsenceCheck_) return;
    const std::int64_t revision = mediaStateRevision_;
    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    mediaAbsenceCheck_ = platform::AppContext::current().mainQueue().asyncAfter(absenceConfirmationDelay, [weak, revision] {
        if (auto self = weak.lock()) self->mediaAbsenceCheckFired(revision);
    });
}

void MenuBarWebController::mediaAbsenceCheckFired(std::int64_t revision) {
    if (revision != mediaStateRevision_) return;
    if (!webView_) {
        mediaAbsenceCheck_.reset();
        return;
    }
    if (webView_->isLoading()) {
        mediaAbsenceCheck_.reset();
        scheduleMediaAbsenceConfirmation();
        return;
    }
    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    webView_->evaluateJavaScript(MenuBarWebPageScripts::mediaProbe(),
                                 [weak, revision](std::optional<std::string> result, const std::string&) {
        auto self = weak.lock();
        // A report of media or a navigation since the probe began decides instead.
        if (!self || revision != self->mediaStateRevision_) return;
        self->mediaAbsenceCheck_.reset();
        if (result != "false") return;
        self->hasWebMedia_ = false;
        self->isWebMediaPlaying_ = false;
        self->updatePlaybackProgress(false, 0, 0);
        UserDefaults::standard().set(lastMediaAvailableKey, false);
        self->refreshPlaybackStatusItem();
        self->updateBackgroundPlaybackTimer();
    });
}

// --- Playing and pausing ---------------------------------------------------------------

void MenuBarWebController::toggleWebPlayback() {
    if (!hasWebMedia_) return;
    const bool previous = wantsWebMediaPlaying_;
    playbackCommandDeadline_ = now().addingTimeInterval(commandDeadline);
    pauseMediaWhenPanelAppears_ = previous;
    wantsWebMediaPlaying_ = !previous;
    if (previous) isWebMediaPlaying_ = false;
    webAudioNeedsInteraction_ = false;
    pendingPlaybackAfterLoad_ = !previous;
    UserDefaults::standard().set(lastMediaPlayingKey, !previous);
    persistNow();
    refreshPlaybackStatusItem();
    if (webView_) {
        if (previous) {
            backgroundRecoveryDeadline_ = distantPast();
            evaluate(MenuBarWebPageScripts::pause());
        } else {
            evaluate(MenuBarWebPageScripts::resume(false, mediaReportToken_));
        }
        updateBackgroundPlaybackTimer();
        return;
    }
    if (!previous && currentHomeURL_) loadForBackgroundPlayback(*currentHomeURL_);
}

void MenuBarWebController::loadForBackgroundPlayback(const platform::Url& url) {
    ensurePanel();
    if (!panel_ || !webView_) return;
    pauseMediaWhenPanelAppears_ = false;
    isPanelPresented_ = false;
    // An invisible, click-through window: the page lives and plays in it.
    panel_->setIgnoresMouseEvents(true);
    panel_->setAlphaValue(0);
    positionPanel(*panel_);
    panel_->orderBack();
    const auto shown = webView_->url();
    if (!shown || shown->string() != url.string()) {
        if (cookiesRestored_) {
            load(url);
        } else {
            pendingInitialURL_ = url;
        }
    }
    backgroundRecoveryDeadline_ = now().addingTimeInterval(recoveryWindow);
    updateBackgroundPlaybackTimer();
}

void MenuBarWebController::updateBackgroundPlaybackTimer() {
    const bool needed =
        !isPanelPresented_ && wantsWebMediaPlaying_ && hasWebMedia_ && now() < backgroundRecoveryDeadline_;
    if (!needed) {
        if (backgroundPlaybackTimer_) backgroundPlaybackTimer_->invalidate();
        backgroundPlaybackTimer_.reset();
        return;
    }
    if (backgroundPlaybackTimer_) return;
    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    backgroundPlaybackTimer_ = platform::Timer::scheduledTimer(recoveryInterval, true, [weak](platform::Timer&) {
        if (auto self = weak.lock()) self->backgroundPlaybackTimerFired();
    });
}

void MenuBarWebController::backgroundPlaybackTimerFired() {
    if (isPanelPresented_ || !wantsWebMediaPlaying_ || playbackCheckInFlight_ || !webView_) return;
    if (now() >= backgroundRecoveryDeadline_) {
        if (backgroundPlaybackTimer_) backgroundPlaybackTimer_->invalidate();
        backgroundPlaybackTimer_.reset();
        return;
    }
    if (isWebMediaPlaying_) return;
    playbackCheckInFlight_ = true;
    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    webView_->evaluateJavaScript(MenuBarWebPageScripts::resume(true, mediaReportToken_),
                                 [weak](std::optional<std::string>, const std::string&) {
        if (auto self = weak.lock()) self->playbackCheckInFlight_ = false;
    });
}

void MenuBarWebController::preparePausedPanelPresentation() {
    pauseMediaWhenPanelAppears_ = true;
    wantsWebMediaPlaying_ = false;
    isWebMediaPlaying_ = false;
    pendingPlaybackAfterLoad_ = false;
    playbackCommandDeadline_ = now().addingTimeInterval(commandDeadline);
    backgroundRecoveryDeadline_ = distantPast();
    UserDefaults::standard().set(lastMediaPlayingKey, false);
    persistNow();
    evaluate(MenuBarWebPageScripts::pause());
    refreshPlaybackStatusItem();
    updateBackgroundPlaybackTimer();
}

void MenuBarWebController::loadPendingInitialURL() {
    auto pending = std::exchange(pendingInitialURL_, std::nullopt);
    if (pending && webView_) load(*pending);
}

// --- Skipping ads ------------------------------------------------------------------------

void MenuBarWebController::skipWebAd() {
    if (!webView_) return;
    const std::string request = platform::Uuid::random().uuidString();
    skipAdRequest_ = request;
    skipAdResults_.clear();
    if (skipAdButton_) skipAdButton_->setTitle(ProductIdentity::localizedBrand("正在检测", "Checking"));
    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    webView_->evaluateJavaScript(MenuBarWebPageScripts::skipAd(request),
                                 [weak, request](std::optional<std::string> result, const std::string&) {
        auto self = weak.lock();
        if (!result && self && self->skipAdRequest_ == request) self->skipAdResults_.insert("error");
    });
    platform::AppContext::current().mainQueue().asyncAfter(skipAdAnswerDelay, [weak, request] {
        if (auto self = weak.lock()) self->showSkipAdResult(request);
    });
}

void MenuBarWebController::showSkipAdResult(const std::string& request) {
    if (skipAdRequest_ != request) return;
    std::string text;
    if (skipAdResults_.contains("clicked")) {
        text = ProductIdentity::localizedBrand("已点击跳过", "Skip requested");
    } else if (skipAdResults_.contains("waiting")) {
        text = ProductIdentity::localizedBrand("暂不可跳过", "Not yet skippable");
    } else if (skipAdResults_.empty() || skipAdResults_.contains("error")) {
        text = ProductIdentity::localizedBrand("请刷新后重试", "Reload and retry");
    } else {
        text = ProductIdentity::localizedBrand("未检测到广告", "No ad detected");
    }
    if (skipAdButton_) {
        skipAdButton_->setTitle(text);
        skipAdButton_->setToolTip(text);
    }
    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    platform::AppContext::current().mainQueue().asyncAfter(skipAdTitleResetDelay, [weak, request] {
        auto self = weak.lock();
        if (!self || self->skipAdRequest_ != request || !self->skipAdButton_) return;
        self->skipAdButton_->setTitle(ProductIdentity::localizedBrand("跳过广告", "Skip Ad"));
    });
}

}  // namespace tallowmere
