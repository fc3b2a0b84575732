#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

namespace tallowmere::testing {

// The permission bits of a file or folder itself (a link is not followed).
inline mode_t modeOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

}  // namespace tallowmere::testing
