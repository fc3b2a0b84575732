#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/base/property_value.h"
#include "platform/base/result.h"

namespace tallowmere::platform {

struct JsonWriteOptions {
    // Two-space indentation, one member per line and " : " between key and
    // value, as the Mac's encoder writes stored files; empty containers stay
    // "[]" and "{}". Off: no white space at all.
    bool prettyPrinted = true;
    // "/" written as "\/", the Mac encoder's default that stored files carry.
    bool escapeSlashes = true;
};

// JSON documents on nlohmann-json, with nothing thrown out of here: a
// truncated, noisy or too deeply nested document is a parseFailed error.
// Object keys are always written sorted (by bytes). Strings holding
// ill-formed UTF-8 are written with U+FFFD in its place.
namespace Json {

Result<nlohmann::json> parse(std::string_view text);
// Fails (invalidArgument) on NaN or infinity, which JSON cannot hold, and on
// nlohmann's binary values.
Result<std::string> write(const nlohmann::json& value, JsonWriteOptions options = {});

// Dates become ISO 8601 text in whole seconds and data becomes base64 text,
// as the Mac's encoder writes them by default; integers, reals and booleans
// keep their kinds.
Result<nlohmann::json> fromPropertyValue(const PropertyValue& value);
// JSON null has no property-list form and is wrongShape; an unsigned number
// beyond the signed range becomes a real.
Result<PropertyValue> toPropertyValue(const nlohmann::json& value);

}  // namespace Json

}  // namespace tallowmere::platform
