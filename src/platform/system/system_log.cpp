#include "platform/system/system_log.h"

#include <syslog.h>

#include <algorithm>

#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

SystemLog& SystemLog::shared() {
    return AppContext::current().shared<SystemLog>();
}

SystemLog::SystemLog() {
    openlog("tallowmere", LOG_PID, LOG_USER);
}

void SystemLog::log(std::string_view text) {
    std::string line(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');

    std::lock_guard lock(mutex_);
    syslog(LOG_NOTICE, "%s", line.c_str());
    lines_.push_back(std::move(line));
    if (lines_.size() > keptLines) lines_.pop_front();
}

std::vector<std::string> SystemLog::lines() const {
    std::lock_guard lock(mutex_);
    return {lines_.begin(), lines_.end()};
}

}  // namespace tallowmere::platform
