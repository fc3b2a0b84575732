#pragma once

#include <functional>
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
                std::string_view standardInput, std::string* output, std::string* error)
        : executable_(executable),
          arguments_(arguments),
          standardInput_(standardInput),
          output_(output),
          error_(error) {}

    const std::string& executable() const { return executable_; }
    const std::vector<std::string>& arguments() const { return arguments_; }
    std::string_view standardInput() const { return standardInput_; }

    void writeOutput(std::string_view text) {
        if (output_) output_->append(text);
    }
    void writeError(std::string_view text) {
        if (error_) error_->append(text);
    }

private:
    const std::string& executable_;
    const std::vector<std::string>& arguments_;
    std::string_view standardInput_;
    std::string* output_;
    std::string* error_;
};

// A command run inside the program; returns its exit status (0 to 255).
using CommandHandler = std::function<int(CommandCall& call)>;

}  // namespace tallowmere::platform
