#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "menubar/proxy_traffic_output.h"
#include "platform/base/date.h"

namespace tallowmere {

namespace platform {
class RunningProcess;
}

class NetworkTrafficSampler;

// Measures the bytes a local proxy program moves: the process listening on
// the proxy's port ("/usr/sbin/lsof"), then one report of that process's
// byte counters ("/usr/bin/nettop"), both run without a shell. One
// measurement at a time; each command gets `commandTimeLimit`, so a hung one
// ends and a later refresh starts afresh. Main thread only.
class LocalProxyTrafficSampler : public std::enable_shared_from_this<LocalProxyTrafficSampler> {
public:
    // Far above the fraction of a second either command takes.
    static constexpr double commandTimeLimit = 3.0;
    // Counters closer together than this give no new rates.
    static constexpr double minimumSampleInterval = 0.25;

    struct ProcessSample {
        std::int32_t pid = 0;
        platform::Date date;
        std::uint64_t received = 0;
        std::uint64_t sent = 0;
    };

    static std::shared_ptr<LocalProxyTrafficSampler> make();
    ~LocalProxyTrafficSampler();
    LocalProxyTrafficSampler(const LocalProxyTrafficSampler&) = delete;
    LocalProxyTrafficSampler& operator=(const LocalProxyTrafficSampler&) = delete;

    // A measurement ended: the port it measured and the report's text (empty
    // when nothing listens there, a command failed or ran out of time).
    // Runs on the main queue.
    std::function<void(int port, const std::string& report)> onReport;

    // Starts measuring the process on `port`, unless a measurement runs.
    void request(int port);
    bool isMeasuring() const { return measuring_; }
    // Ends a running measurement, whose report is then dropped, and forgets
    // the previous sample.
    void reset();
    // The report's counters as the VPN column's rates of `traffic`: 0 for a
    // process not measured before, else the change since the previous sample.
    void apply(platform::Date now, int port, const ProxyProcessCounters& counters, NetworkTrafficSampler& traffic);

    std::optional<ProcessSample> lastProxyProcessSample;

private:
    LocalProxyTrafficSampler() = default;
    void listenerFound(std::uint64_t measurement, int port, const std::string& listeners);
    void finish(std::uint64_t measurement, int port, std::string report);

    std::shared_ptr<platform::RunningProcess> proxyTrafficSampleProcess_;
    // Tells a measurement's steps from those of one reset since.
    std::uint64_t measurement_ = 0;
    bool measuring_ = false;
};

}  // namespace tallowmere
