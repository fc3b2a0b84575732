#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tallowmere::testing {

// A fresh folder set as $HOME for the life of the object; removed afterwards.
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
};

}  // namespace tallowmere::testing
