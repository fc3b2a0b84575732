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
    // The person's data folder (the Trash is there) follows HOME too.
    if (const char* data = std::getenv("XDG_DATA_HOME")) previousDataHome_ = data;
    unsetenv("XDG_DATA_HOME");
}

TemporaryHome::~TemporaryHome() {
    if (previousHome_) setenv("HOME", previousHome_->c_str(), 1);
    else unsetenv("HOME");
    if (previousDataHome_) setenv("XDG_DATA_HOME", previousDataHome_->c_str(), 1);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace tallowmere::testing
