#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere::platform {

// The user's ordered list of preferred languages, as BCP 47-style
// identifiers ("zh-TW", "en-US"), most preferred first.
//
// In the program the list comes from the environment, as a Linux desktop
// sets it. A deterministic context (tests) starts with {"en-US"} whatever
// the machine's settings, and a test sets the list it needs.
class Locale {
public:
    static Locale& shared();
    // The current context's list.
    static std::vector<std::string> preferredLanguages();

    Locale();
    Locale(const Locale&) = delete;
    Locale& operator=(const Locale&) = delete;

    // Safe from any thread.
    std::vector<std::string> languages() const;
    void setPreferredLanguages(std::vector<std::string> languages);
    // Grows with every change of the list; read without a lock, so a cache of
    // something derived from the list knows when to work it out again.
    std::uint64_t changeCount() const { return changeCount_.load(std::memory_order_acquire); }

    // The entries of LANGUAGE (a ":"-separated list), then the first of
    // LC_ALL, LC_MESSAGES and LANG that is set, each turned into an
    // identifier; repeats and "C"/"POSIX" are left out.
    using Environment = std::function<const char*(const char* name)>;
    static std::vector<std::string> languagesFromEnvironment(const Environment& environment);

    // "zh_TW.UTF-8" → "zh-TW", "sr_RS@latin" → "sr-RS"; nothing for "C",
    // "POSIX" ("C.UTF-8" too) or an empty text.
    static std::optional<std::string> identifierForLocaleName(std::string_view name);

private:
    mutable std::mutex mutex_;
    std::vector<std::string> languages_;
    std::atomic<std::uint64_t> changeCount_{0};
};

}  // namespace tallowmere::platform
