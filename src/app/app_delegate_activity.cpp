// The activity item: its refresh once a second (rates, widths, timers), the
// network sampling behind it and the local proxy measurement.
#include <cmath>

#include "app/app_delegate.h"
#include "app/menu_item_styling.h"
#include "app/status_menu_titles.h"
#include "localization/interface_language.h"
#include "localization/network_rate_formatting.h"
#include "menubar/local_proxy_port.h"
#include "menubar/network_traffic_status_view.h"
#include "menubar/proxy_traffic_output.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/text_measurer.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/timer.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr std::string_view rateNote = "速率采用十进制 KB/MB；物理网络与 VPN/代理流量可能重叠，不相加。";
constexpr std::string_view timerSeparator = "   ";

Font timerFont() { return Font::monospacedDigitSystemFont(11, FontWeight::medium); }

}  // namespace

std::vector<std::string> AppDelegate::activityTimerTexts() const {
    const Date now = AppContext::current().clock().now();
    std::vector<std::string> texts;
    if (displayAwakeActivity_) {
        if (!displayAwakeUntil_) {
            texts.push_back("☀︎ " + std::string(StatusMenuTitles::current().alwaysAwake));
        } else if (const auto left = exactCountdownText(*displayAwakeUntil_, now)) {
            texts.push_back("☀︎ " + *left);
        }
    }
    if (scheduledShutdownDate_) {
        if (const auto left = exactCountdownText(*scheduledShutdownDate_, now)) texts.push_back("⏻ " + *left);
    }
    if (pomodoroEndDate_) {
        if (const auto left = exactCountdownText(*pomodoroEndDate_, now)) texts.push_back("🍅 " + *left);
    }
    return texts;
}

void AppDelegate::updateStatusBarActivityDisplay() {
    auto button = activityStatusItem_ ? activityStatusItem_->button() : nullptr;
    if (!button) return;
    updateCalendarStatusItem();
    updateNetworkTrafficRates();

    const auto timers = activityTimerTexts();
    std::string timedStatus;
    for (const auto& text : timers) timedStatus += (timedStatus.empty() ? "" : std::string(timerSeparator)) + text;

    const double trafficWidth = !networkTrafficEnabled_ ? 0
                                : networkTraffic_.currentVPNInterfaceName
                                    ? NetworkTrafficStatusView::vpnColumnWidth +
                                          NetworkTrafficStatusView::physicalColumnWidth
                                    : NetworkTrafficStatusView::physicalColumnWidth;
    const double mediaWidth = mediaControlsEnabled_ ? NetworkTrafficStatusView::mediaControlsWidth : 0;
    const double timerWidth =
        timedStatus.empty() ? 0 : std::ceil(TextMeasurer::shared().measure(timedStatus, timerFont()).width) + 8;
    const double total = trafficWidth + mediaWidth + timerWidth;
    activityStatusItem_->setLength(std::max(total, 1.0));
    activityStatusItem_->setVisible(total > 0);

    auto& view = *networkTrafficStatusView_;
    if (view.superview() != button) {
        view.removeFromSuperview();
        view.setFrame(button->bounds());
        view.setAutoresizingMask(AutoresizingMask::heightSizable);
        button->addSubview(networkTrafficStatusView_);
    }
    view.setHidden(false);
    const Rect buttonFrame = button->frame();
    view.setFrame({buttonFrame.minX(), buttonFrame.minY(), total, buttonFrame.height()});

    std::tie(view.uploadValue, view.uploadUnit) = NetworkRateFormatting::display(networkTraffic_.currentUploadRate);
    std::tie(view.downloadValue, view.downloadUnit) =
        NetworkRateFormatting::display(networkTraffic_.currentDownloadRate);
    if (networkTraffic_.currentVPNInterfaceName) {
        const auto [upValue, upUnit] = NetworkRateFormatting::display(networkTraffic_.currentVPNUploadRate);
        const auto [downValue, downUnit] = NetworkRateFormatting::display(networkTraffic_.currentVPNDownloadRate);
        view.vpnUploadValue = upValue;
        view.vpnUploadUnit = upUnit;
        view.vpnDownloadValue = downValue;
        view.vpnDownloadUnit = downUnit;
    } else {
        view.vpnUploadValue.reset();
        view.vpnUploadUnit.reset();
        view.vpnDownloadValue.reset();
        view.vpnDownloadUnit.reset();
    }
    view.statusIcon.reset();
    view.statusIconBitmap.reset();
    view.timedStatus = timedStatus;
    // The calendar has an item of its own.
    view.showsCalendar = false;
    view.showsTraffic = networkTrafficEnabled_;
    view.showsMediaControls = mediaControlsEnabled_;
    view.setNeedsDisplay();

    std::string names;
    for (const auto& name : {networkTraffic_.currentPhysicalInterfaceName, networkTraffic_.currentVPNInterfaceName}) {
        if (name) names += (names.empty() ? "" : " · ") + *name;
    }
    view.setToolTip(names.empty() ? L(rateNote) : names + "\n" + L(rateNote));

    button->setWantsLayer(true);
    auto& layer = button->mutableLayer();
    layer.cornerRadius = 0;
    layer.borderWidth = 0;
    layer.borderColor = Color::clear();
    layer.backgroundColor = Color::clear();

    // Ticks only while something changes with time; it also keeps the
    // calendar item's day current.
    const bool timerNeeded = !timers.empty() || networkTrafficEnabled_ || mediaControlsEnabled_ || calendarEnabled_;
    if (timerNeeded && !statusBarCountdownTimer_) {
        const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
        statusBarCountdownTimer_ = Timer::scheduledTimer(1.0, true, [weakSelf](Timer&) {
            if (auto self = weakSelf.lock()) self->updateStatusBarActivityDisplay();
        });
    } else if (!timerNeeded && statusBarCountdownTimer_) {
        statusBarCountdownTimer_->invalidate();
        statusBarCountdownTimer_.reset();
    }
}

void AppDelegate::updateNetworkTrafficRates() {
    if (!networkTrafficEnabled_) {
        resetNetworkTrafficRates();
        return;
    }
    const LocalProxyHooks proxy{
        .activeLocalSystemProxyPort = [this] { return activeLocalSystemProxyPort(); },
        .requestLocalProxyTrafficSample = [this](int port) { requestLocalProxyTrafficSample(port); },
        .forgetProxySample = [this] { localProxyTraffic_->lastProxyProcessSample.reset(); },
    };
    networkTraffic_.update(AppContext::current().clock().now(), networkInterfaceReader_.counters(),
                           networkInterfaceReader_.primaryInterface(), proxyTrafficEnabled_, proxy);
}

void AppDelegate::resetNetworkTrafficRates() {
    networkTraffic_.reset();
    localProxyTraffic_->reset();
}

std::optional<int> AppDelegate::activeLocalSystemProxyPort() const {
    return localSystemProxyPort(DesktopLink::desktop().proxySettings().copyProxies());
}

void AppDelegate::requestLocalProxyTrafficSample(int port) {
    if (!localProxyTraffic_->onReport) {
        const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
        localProxyTraffic_->onReport = [weakSelf](int measured, const std::string& report) {
            if (auto self = weakSelf.lock()) self->localProxyTrafficReported(measured, report);
        };
    }
    localProxyTraffic_->request(port);
}

void AppDelegate::localProxyTrafficReported(int port, const std::string& report) {
    if (!proxyTrafficEnabled_) return;
    // The settings changed while it ran: the report is of a proxy no longer used.
    if (activeLocalSystemProxyPort() != port) return;
    const auto counters = parseProxyTrafficOutput(report);
    if (!counters) return;
    // Shown at the next refresh.
    localProxyTraffic_->apply(AppContext::current().clock().now(), port, *counters, networkTraffic_);
}

}  // namespace tallowmere
