#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/date.h"
#include "platform/system/network_interface_reader.h"

namespace tallowmere {

using platform::NetworkInterfaceCounter;

// One interface's rates over the last refresh.
struct NetworkInterfaceRate {
    std::string name;
    double download = 0;  // bytes per second received
    double upload = 0;    // bytes per second sent
};

// The local proxy measurement, asked for when no VPN interface carries
// the traffic. Empty functions mean no proxy is known.
struct LocalProxyHooks {
    std::function<std::optional<int>()> activeLocalSystemProxyPort = {};
    std::function<void(int port)> requestLocalProxyTrafficSample = {};
    // No local proxy any more: the previous proxy sample is stale.
    std::function<void()> forgetProxySample = {};
};

// Turns successive counter reads into the physical and VPN rates the activity
// item shows. Owned by the application delegate; main thread only.
class NetworkTrafficSampler {
public:
    struct Sample {
        platform::Date date;
        std::uint64_t received = 0;
        std::uint64_t sent = 0;
    };


    // Rates closer together than this are too noisy to show.
    static constexpr double minimumSampleInterval = 0.5;
    // Download + upload below this is background chatter, not a VPN in use.
    static constexpr double vpnActivityThreshold = 512.0;
    // The VPN column outlives a briefly quiet tunnel by this much.
    static constexpr double vpnHoldTime = 10.0;

    // One refresh from the counters read at `now`.
    void update(platform::Date now, const std::vector<NetworkInterfaceCounter>& counters,
                const std::optional<std::string>& primaryInterface, bool proxyTrafficEnabled,
                const LocalProxyHooks& proxy = {});
    // Forgets every sample and rate.
    void reset();
    // The proxy column switched: the VPN share starts over.
    void clearVPN();

    std::map<std::string, Sample> lastNetworkSamples;
    double currentDownloadRate = 0;
    double currentUploadRate = 0;
    std::optional<std::string> currentPhysicalInterfaceName;
    double currentVPNDownloadRate = 0;
    double currentVPNUploadRate = 0;
    // A VPN interface, or "proxy:" and the local proxy's port.
    std::optional<std::string> currentVPNInterfaceName;
    std::optional<platform::Date> vpnLastActiveAt;

private:
    std::vector<NetworkInterfaceRate> takeRates(platform::Date now, const std::vector<NetworkInterfaceCounter>& counters);
    void choosePhysical(const std::vector<NetworkInterfaceRate>& rates,
                        const std::vector<NetworkInterfaceCounter>& counters,
                        const std::optional<std::string>& primaryInterface);
    void chooseVPN(platform::Date now, const std::vector<NetworkInterfaceRate>& rates,
                   const std::optional<std::string>& primaryInterface, const LocalProxyHooks& proxy);
};

}  // namespace tallowmere
