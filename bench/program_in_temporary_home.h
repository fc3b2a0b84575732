#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "platform/runtime/app_context.h"

namespace tallowmere::bench {

// A program's context in a HOME of its own, removed afterwards. Benchmarks
// of the simulated desktop pass deterministic options.
class ProgramInTemporaryHome {
public:
    explicit ProgramInTemporaryHome(platform::AppContext::Options options = {}) {
        std::string pattern = (std::filesystem::temp_directory_path() / "tallowmere-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data())) home_ = pattern;
        ::setenv("HOME", home_.c_str(), 1);
        context_ = std::make_unique<platform::AppContext>(options);
    }
    ~ProgramInTemporaryHome() {
        context_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }
    ProgramInTemporaryHome(const ProgramInTemporaryHome&) = delete;
    ProgramInTemporaryHome& operator=(const ProgramInTemporaryHome&) = delete;

private:
    std::filesystem::path home_;
    std::unique_ptr<platform::AppContext> context_;
};

}  // namespace tallowmere::bench
