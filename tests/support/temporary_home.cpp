#include "support/temporary_home.h"

#include <cstdlib>
#include <stdexcept>

namespace tallowmere::testing {

TemporaryHome::TemporaryHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tallowmere-home-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    if (const char* home = std::getenv("HOME")) previousHome_ = home;
    setenv("HOME", path_.c_str(), 1);
}

TemporaryHome::~TemporaryHome() {
    if (previousHome_) setenv("HOME", previousHome_->c_str(), 1);
    else unsetenv("HOME");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace tallowmere::testing
