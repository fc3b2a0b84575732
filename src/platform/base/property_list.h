#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/base/data.h"
#include "platform/base/property_value.h"
#include "platform/base/result.h"

namespace tallowmere::platform {

enum class PropertyListFormat { xml, binary };

// Property-list files as the Mac reads and writes them. Reading detects the
// format; damaged, truncated or hostile input (deep nesting, cyclic or
// exploding binary references) is an error value, never a crash. Values the
// model cannot hold (keyed-archive UIDs, a non-string key) are wrongShape.
//
// Dates: XML holds whole seconds (the fraction is dropped on writing, as the
// Mac does); binary holds microseconds. Dates must lie between December 1932
// and January 2069 (±2^31 s around 2001, what libplist stores), otherwise
// writing fails.
// Strings cannot carry U+0000: libplist ends a string read from a binary
// list there, XML cannot hold it (refused on reading), and writing one
// fails. libplist's XML reader is lenient where the Mac's is strict: a key
// without a value is dropped and an unreadable <integer> reads as 0.
namespace PropertyList {

std::optional<PropertyListFormat> detectFormat(std::span<const std::uint8_t> bytes);

Result<PropertyValue> read(std::span<const std::uint8_t> bytes);
Result<PropertyValue> read(std::string_view bytes);

// XML is tab-indented with sorted dictionary keys and base64 data lines.
Result<Data> write(const PropertyValue& value, PropertyListFormat format = PropertyListFormat::xml);

}  // namespace PropertyList

}  // namespace tallowmere::platform
