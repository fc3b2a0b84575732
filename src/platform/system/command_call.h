#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere::platform {

// What a command run inside the program (a built-in stand-in or a test's
// handler) sees of its invocation, and where it writes. Output goes where
// the request asked: kept apart, merged in the order written, or dropped.
class CommandCall {
public:
    CommandCall(const std::string& executable, const std::vector<std::string>& arguments,
                std::string_view standardInput, std::string* output, std::string* error,
                std::optional<double> timeout = std::nullopt)
        : executable_(executable),
          arguments_(arguments),
          standardInput_(standardInput),
          output_(output),
          error_(error),
          timeout_(timeout) {}

    const std::string& executable() const { return executable_; }
    const std::vector<std::string>& arguments() const { return arguments_; }
    std::string_view standardInput() const { return standardInput_; }

    void writeOutput(std::string_view text) {
        if (output_) output_->append(text);
    }
    void writeError(std::string_view text) {
        if (error_) error_->append(text);
    }

    // The seconds after which the caller ends the command; none for no limit.
    std::optional<double> timeout() const { return timeout_; }
    // For a stand-in whose command would never end by itself (it waits on
    // something that does not answer): the caller's timeout ends it, after
    // that long, as it ends a real process; what was written stays.
    void hang() { hung_ = true; }
    bool isHung() const { return hung_; }

private:
    const std::string& executable_;
    const std::vector<std::string>& arguments_;
    std::string_view standardInput_;
    std::string* output_;
    std::string* error_;
    std::optional<double> timeout_;
    bool hung_ = false;
};

// A command run inside the program; returns its exit status (0 to 255).
using CommandHandler = std::function<int(CommandCall& call)>;

}  // namespace tallowmere::platform
