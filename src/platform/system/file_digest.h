#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/base/result.h"

namespace tallowmere::platform {

enum class DigestAlgorithm { md5, sha1, sha224, sha256, sha384, sha512, sha512_224, sha512_256 };

// Message digests as lower-case hexadecimal text.
namespace FileDigest {
std::string hex(std::string_view bytes, DigestAlgorithm algorithm);
// Streams the file, so a large file is never held in memory.
Result<std::string> hexOfFile(const std::filesystem::path& path, DigestAlgorithm algorithm);
}  // namespace FileDigest

}  // namespace tallowmere::platform
