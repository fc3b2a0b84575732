#include "menubar/network_traffic_sampler.h"

#include <algorithm>

#include "menubar/network_interface_kind.h"

namespace tallowmere {
namespace {

bool isKind(std::string_view name, NetworkInterfaceKind kind) { return networkInterfaceKind(name) == kind; }

// The busiest rate of the list; the earlier one wins a tie.
const NetworkInterfaceRate* busiest(const std::vector<const NetworkInterfaceRate*>& rates) {
    const NetworkInterfaceRate* best = nullptr;
    for (const auto* rate : rates) {
        if (!best || rate->download + rate->upload > best->download + best->upload) best = rate;
    }
    return best;
}

std::vector<const NetworkInterfaceRate*> ratesOfKind(const std::vector<NetworkInterfaceRate>& rates,
                                                     NetworkInterfaceKind kind) {
    std::vector<const NetworkInterfaceRate*> result;
    for (const auto& rate : rates) {
        if (isKind(rate.name, kind)) result.push_back(&rate);
    }
    return result;
}

// A counter that went back (the interface was reset) gives 0 once rather than
// a huge unsigned difference.
double perSecond(std::uint64_t now, std::uint64_t before, double interval) {
    return now < before ? 0.0 : static_cast<double>(now - before) / interval;
}

}  // namespace

void NetworkTrafficSampler::update(platform::Date now, const std::vector<NetworkInterfaceCounter>& allCounters,
                                   const std::optional<std::string>& primaryInterface, bool proxyTrafficEnabled,
                                   const LocalProxyHooks& proxy) {
    std::vector<NetworkInterfaceCounter> counters;
    for (const auto& counter : allCounters) {
        if (!isKind(counter.name, NetworkInterfaceKind::skipped)) counters.push_back(counter);
    }
    const auto rates = takeRates(now, counters);
    choosePhysical(rates, counters, primaryInterface);
    if (!proxyTrafficEnabled) {
        clearVPN();
        return;
    }
    chooseVPN(now, rates, primaryInterface, proxy);
}

std::vector<NetworkInterfaceRate> NetworkTrafficSampler::takeRates(platform::Date now,
                                                                   const std::vector<NetworkInterfaceCounter>& counters) {
    std::vector<NetworkInterfaceRate> rates;
    std::map<std::string, Sample> samples;
    for (const auto& counter : counters) {
        if (const auto previous = lastNetworkSamples.find(counter.name); previous != lastNetworkSamples.end()) {
            const double interval = now.timeIntervalSince(previous->second.date);
            if (interval >= minimumSampleInterval) {
                rates.push_back({counter.name, perSecond(counter.received, previous->second.received, interval),
                                 perSecond(counter.sent, previous->second.sent, interval)});
            }
        }
        samples[counter.name] = Sample{now, counter.received, counter.sent};
    }
    // Interfaces that went away are forgotten.
    lastNetworkSamples = std::move(samples);
    return rates;
}

void NetworkTrafficSampler::choosePhysical(const std::vector<NetworkInterfaceRate>& rates,
                                           const std::vector<NetworkInterfaceCounter>& counters,
                                           const std::optional<std::string>& primaryInterface) {
    const auto physical = ratesOfKind(rates, NetworkInterfaceKind::physical);
    if (!physical.empty()) {
        const auto primary = std::find_if(physical.begin(), physical.end(), [&](const NetworkInterfaceRate* rate) {
            return primaryInterface && rate->name == *primaryInterface;
        });
        const NetworkInterfaceRate* chosen = primary != physical.end() ? *primary : busiest(physical);
        currentPhysicalInterfaceName = chosen->name;
        currentDownloadRate = chosen->download;
        currentUploadRate = chosen->upload;
        return;
    }
    // No rates yet: name the interface the rates will come from.
    const auto listed = [&](const std::string& name) {
        return std::any_of(counters.begin(), counters.end(), [&](const auto& counter) { return counter.name == name; });
    };
    const auto firstPhysical = std::find_if(counters.begin(), counters.end(), [](const auto& counter) {
        return isKind(counter.name, NetworkInterfaceKind::physical);
    });
    if (primaryInterface && isKind(*primaryInterface, NetworkInterfaceKind::physical) && listed(*primaryInterface)) {
        currentPhysicalInterfaceName = primaryInterface;
    } else if (firstPhysical != counters.end()) {
        currentPhysicalInterfaceName = firstPhysical->name;
    } else {
        currentPhysicalInterfaceName.reset();
    }
    currentDownloadRate = 0;
    currentUploadRate = 0;
}

void NetworkTrafficSampler::chooseVPN(platform::Date now, const std::vector<NetworkInterfaceRate>& rates,
                                      const std::optional<std::string>& primaryInterface, const LocalProxyHooks& proxy) {
    const auto vpn = ratesOfKind(rates, NetworkInterfaceKind::vpn);
    const NetworkInterfaceRate* best = busiest(vpn);
    std::optional<std::string> activeName;
    // A VPN that routes everything is shown even while quiet.
    if (primaryInterface && isKind(*primaryInterface, NetworkInterfaceKind::vpn)) {
        activeName = primaryInterface;
    } else if (best && best->download + best->upload >= vpnActivityThreshold) {
        activeName = best->name;
    }
    if (activeName) {
        currentVPNInterfaceName = activeName;
        vpnLastActiveAt = now;
    } else if (!vpnLastActiveAt || now.timeIntervalSince(*vpnLastActiveAt) > vpnHoldTime) {
        currentVPNInterfaceName.reset();
    }

    if (currentVPNInterfaceName) {
        const auto named = std::find_if(vpn.begin(), vpn.end(),
                                        [&](const NetworkInterfaceRate* rate) { return rate->name == *currentVPNInterfaceName; });
        if (named != vpn.end()) {
            currentVPNDownloadRate = (*named)->download;
            currentVPNUploadRate = (*named)->upload;
            return;
        }
    }

    const auto port = proxy.activeLocalSystemProxyPort ? proxy.activeLocalSystemProxyPort() : std::nullopt;
    if (port) {
        currentVPNInterfaceName = "proxy:" + std::to_string(*port);
        vpnLastActiveAt = now;
        // The rates stay as they are until the measurement reports.
        if (proxy.requestLocalProxyTrafficSample) proxy.requestLocalProxyTrafficSample(*port);
        return;
    }
    currentVPNDownloadRate = 0;
    currentVPNUploadRate = 0;
    if (proxy.forgetProxySample) proxy.forgetProxySample();
}

void NetworkTrafficSampler::reset() {
    lastNetworkSamples.clear();
    currentDownloadRate = 0;
    currentUploadRate = 0;
    currentPhysicalInterfaceName.reset();
    clearVPN();
}

void NetworkTrafficSampler::clearVPN() {
    currentVPNDownloadRate = 0;
    currentVPNUploadRate = 0;
    currentVPNInterfaceName.reset();
    vpnLastActiveAt.reset();
}

}  // namespace tallowmere
