#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tallowmere::testing {

// A fresh folder set as $HOME (and no $XDG_DATA_HOME, so data such as the
// Trash stays under it) for the life of the object; removed afterwards.
class TemporaryHome {
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::optional<std::string> previousHome_;
    std::optional<std::string> previousDataHome_;
};

}  // namespace tallowmere::testing
