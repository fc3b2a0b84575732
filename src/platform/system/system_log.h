#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere::platform {

// The program's few lines for the system log ("Unable to persist
// configuration: ..."). Each call is one line in syslog under the ident
// "tallowmere", and is also kept in memory, where tests read it.
class SystemLog {
public:
    static SystemLog& shared();

    SystemLog();
    SystemLog(const SystemLog&) = delete;
    SystemLog& operator=(const SystemLog&) = delete;

    // Line breaks inside `line` become spaces: one call, one line. Safe from
    // any thread.
    void log(std::string_view line);

    // The most recent lines logged through this instance, oldest first.
    std::vector<std::string> lines() const;

private:
    // Enough for any test and for a look at what went wrong recently,
    // without growing for ever in a long run.
    static constexpr std::size_t keptLines = 1000;

    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
};

}  // namespace tallowmere::platform
