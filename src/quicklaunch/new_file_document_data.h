#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/base/data.h"
#include "platform/base/result.h"

namespace tallowmere {

// The bytes of each blank document: empty text and Markdown files, and a
// minimal Word document (one empty paragraph on an A4 page) written as a
// stored ZIP archive by our own code. Every Word blank is byte-for-byte the
// same 1,369 bytes, so tests compare it with a golden file.
namespace NewFileDocumentData {

// "txt" and "md": no bytes; "docx": the package. Anything else (the
// comparison is exact; callers lower-case) is an unsupported error.
platform::Result<platform::Data> contents(std::string_view fileExtension);

// CRC-32 as ZIP stores it (reflected polynomial 0xEDB88320, initial value
// and final complement 0xFFFFFFFF), bit by bit: the archive is tiny, so a
// table would cost more than it saves. Empty input gives 0.
std::uint32_t crc32(std::span<const std::uint8_t> bytes);

}  // namespace NewFileDocumentData

}  // namespace tallowmere
