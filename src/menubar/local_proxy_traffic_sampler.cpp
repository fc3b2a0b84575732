#include "menubar/local_proxy_traffic_sampler.h"

#include "menubar/network_traffic_sampler.h"
#include "platform/base/text.h"
#include "platform/system/process_runner.h"

namespace tallowmere {

using namespace platform;

namespace {

// A text we can read, or nothing: output that is not UTF-8 counts as none.
std::string readableOutput(const ProcessResult& result) {
    if (result.termination != ProcessTermination::exited || !Text::isValidUtf8(result.standardOutput)) return {};
    return result.standardOutput;
}

}  // namespace

std::shared_ptr<LocalProxyTrafficSampler> LocalProxyTrafficSampler::make() {
    return std::shared_ptr<LocalProxyTrafficSampler>(new LocalProxyTrafficSampler());
}

LocalProxyTrafficSampler::~LocalProxyTrafficSampler() = default;

void LocalProxyTrafficSampler::request(int port) {
    if (measuring_) return;
    const std::uint64_t measurement = ++measurement_;
    const std::weak_ptr<LocalProxyTrafficSampler> weakSelf = weak_from_this();
    auto started = ProcessRunner::start(
        ProcessRequest{.executable = "/usr/sbin/lsof",
                       .arguments = {"-nP", "-iTCP:" + std::to_string(port), "-sTCP:LISTEN", "-t"},
                       .timeout = commandTimeLimit},
        [weakSelf, measurement, port](const ProcessResult& result) {
            if (auto self = weakSelf.lock()) self->listenerFound(measurement, port, readableOutput(result));
        });
    // A command that cannot be launched is dropped: the next refresh tries again.
    if (!started) return;
    measuring_ = true;
    proxyTrafficSampleProcess_ = std::move(*started);
}

void LocalProxyTrafficSampler::listenerFound(std::uint64_t measurement, int port, const std::string& listeners) {
    if (measurement != measurement_) return;
    const auto lines = Text::lines(listeners);
    const std::string pid = lines.empty() ? std::string() : Text::trimmingWhitespaceAndNewlines(lines.front());
    if (pid.empty()) {
        finish(measurement, port, {});
        return;
    }
    const std::weak_ptr<LocalProxyTrafficSampler> weakSelf = weak_from_this();
    auto started = ProcessRunner::start(
        ProcessRequest{.executable = "/usr/bin/nettop",
                       .arguments = {"-P", "-L", "1", "-J", "bytes_in,bytes_out", "-x", "-n", "-p", pid},
                       .timeout = commandTimeLimit},
        [weakSelf, measurement, port](const ProcessResult& result) {
            if (auto self = weakSelf.lock()) self->finish(measurement, port, readableOutput(result));
        });
    if (!started) {
        finish(measurement, port, {});
        return;
    }
    proxyTrafficSampleProcess_ = std::move(*started);
}

void LocalProxyTrafficSampler::finish(std::uint64_t measurement, int port, std::string report) {
    if (measurement != measurement_) return;
    measuring_ = false;
    proxyTrafficSampleProcess_.reset();
    if (onReport) onReport(port, report);
}

void LocalProxyTrafficSampler::reset() {
    ++measurement_;
    measuring_ = false;
    // Dropping a command still running ends it.
    if (proxyTrafficSampleProcess_) proxyTrafficSampleProcess_->terminate();
    proxyTrafficSampleProcess_.reset();
    lastProxyProcessSample.reset();
}

void LocalProxyTrafficSampler::apply(Date now, int port, const ProxyProcessCounters& counters,
                                     NetworkTrafficSampler& traffic) {
    if (!lastProxyProcessSample || lastProxyProcessSample->pid != counters.pid) {
        // A new proxy process starts from nothing.
        traffic.currentVPNDownloadRate = 0;
        traffic.currentVPNUploadRate = 0;
    } else if (const double interval = now.timeIntervalSince(lastProxyProcessSample->date);
               interval >= minimumSampleInterval) {
        const auto& last = *lastProxyProcessSample;
        traffic.currentVPNDownloadRate =
            counters.received < last.received ? 0.0 : static_cast<double>(counters.received - last.received) / interval;
        traffic.currentVPNUploadRate =
            counters.sent < last.sent ? 0.0 : static_cast<double>(counters.sent - last.sent) / interval;
    }
    lastProxyProcessSample = ProcessSample{counters.pid, now, counters.received, counters.sent};
    traffic.currentVPNInterfaceName = "proxy:" + std::to_string(port);
    traffic.vpnLastActiveAt = now;
}

}  // namespace tallowmere
