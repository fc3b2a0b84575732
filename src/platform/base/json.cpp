#include "platform/base/json.h"

#include <charconv>
#include <cmath>
#include <limits>


#include "platform/base/base64.h"
#include "platform/base/iso8601.h"
#include "platform/base/text.h"

namespace tallowmere::platform::Json {

namespace {

// nlohmann parses iteratively, but converting, writing and destroying
// recurse; deeper documents are refused before they are built.
constexpr int maximumDepth = 512;

Error tooDeep() { return Error{ErrorCode::parseFailed, "The JSON document is nested too deeply."}; }

Result<void> checkNesting(std::string_view text) {
    int depth = 0;
    bool inString = false;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const char character = text[index];
        if (inString) {
            if (character == '\\') ++index;
            else if (character == '"') inString = false;
            continue;
        }
        if (character == '"') inString = true;
        else if (character == '[' || character == '{') {
            if (++depth > maximumDepth) return tooDeep();
        } else if (character == ']' || character == '}') {
            --depth;
        }
    }
    return {};
}

class Writer {
public:
    explicit Writer(JsonWriteOptions options) : options_(options) {}

    Result<void> write(const nlohmann::json& value, int depth) {
        if (depth > maximumDepth) return Error{ErrorCode::invalidArgument, "The JSON value is nested too deeply."};
        switch (value.type()) {
        case nlohmann::json::value_t::null:
            output_ += "null";
            return {};
        case nlohmann::json::value_t::boolean:
            output_ += value.get<bool>() ? "true" : "false";
            return {};
        case nlohmann::json::value_t::number_integer:
            output_ += std::to_string(value.get<std::int64_t>());
            return {};
        case nlohmann::json::value_t::number_unsigned:
            output_ += std::to_string(value.get<std::uint64_t>());
            return {};
        case nlohmann::json::value_t::number_float:
            return writeReal(value.get<double>());
        case nlohmann::json::value_t::string:
            writeString(value.get_ref<const std::string&>());
            return {};
        case nlohmann::json::value_t::array:
            return writeContainer(value, '[', ']', depth);
        case nlohmann::json::value_t::object:
            return writeContainer(value, '{', '}', depth);
        case nlohmann::json::value_t::binary:
        case nlohmann::json::value_t::discarded:
            break;
        }
        return Error{ErrorCode::invalidArgument, "The JSON value holds a kind that has no text form."};
    }

    std::string take() { return std::move(output_); }

private:
    Result<void> writeReal(double value) {
        if (!std::isfinite(value)) {
            return Error{ErrorCode::invalidArgument, "JSON cannot hold NaN or infinity."};
        }
        // Shortest text that reads back as the same double: 2.0 is "2",
        // 0.1 is "0.1".
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        output_.append(buffer, result.ptr);
        return {};
    }

    void writeString(const std::string& raw) {
        static constexpr char digits[] = "0123456789abcdef";
        const std::string repaired = Text::isValidUtf8(raw) ? std::string() : Text::repairUtf8(raw);
        const std::string& text = repaired.empty() ? raw : repaired;
        output_ += '"';
        for (char character : text) {
            const auto byte = static_cast<unsigned char>(character);
            switch (character) {
            case '"': output_ += "\\\""; break;
            case '\\': output_ += "\\\\"; break;
            case '/': output_ += options_.escapeSlashes ? "\\/" : "/"; break;
            case '\b': output_ += "\\b"; break;
            case '\f': output_ += "\\f"; break;
            case '\n': output_ += "\\n"; break;
            case '\r': output_ += "\\r"; break;
            case '\t': output_ += "\\t"; break;
            default:
                if (byte < 0x20) {
                    output_ += "\\u00";
                    output_ += digits[byte >> 4];
                    output_ += digits[byte & 0x0F];
                } else {
                    output_ += character;
                }
            }
        }
        output_ += '"';
    }

    Result<void> writeContainer(const nlohmann::json& value, char open, char close, int depth) {
        output_ += open;
        if (value.empty()) {
            output_ += close;
            return {};
        }
        bool first = true;
        for (auto item = value.begin(); item != value.end(); ++item) {
            if (!first) output_ += ',';
            first = false;
            newline(depth);
            if (value.is_object()) {
                writeString(item.key());
                output_ += options_.prettyPrinted ? " : " : ":";
            }
            if (auto written = write(item.value(), depth + 1); !written) return written;
        }
        newline(depth - 1);
        output_ += close;
        return {};
    }

    void newline(int depth) {
        if (!options_.prettyPrinted) return;
        output_ += '\n';
        output_.append(static_cast<std::size_t>(depth) * 2, ' ');
    }

    JsonWriteOptions options_;
    std::string output_;
};

Result<nlohmann::json> fromValue(const PropertyValue& value, int depth) {
    if (depth > maximumDepth) return Error{ErrorCode::invalidArgument, "The value is nested too deeply."};
    switch (value.type()) {
    case PropertyType::string: return nlohmann::json(*value.asString());
    case PropertyType::integer: return nlohmann::json(*value.asInteger());
    case PropertyType::real: return nlohmann::json(*value.asReal());
    case PropertyType::boolean: return nlohmann::json(*value.asBoolean());
    case PropertyType::date: return nlohmann::json(Iso8601::format(*value.asDate()));
    case PropertyType::data: return nlohmann::json(base64Encoded(*value.asData()));
    case PropertyType::array: {
        nlohmann::json array = nlohmann::json::array();
        for (const PropertyValue& item : *value.asArray()) {
            auto converted = fromValue(item, depth + 1);
            if (!converted) return converted.error();
            array.push_back(std::move(converted).value());
        }
        return array;
    }
    case PropertyType::dictionary: {
        nlohmann::json object = nlohmann::json::object();
        for (const auto& [key, item] : *value.asDictionary()) {
            auto converted = fromValue(item, depth + 1);
            if (!converted) return converted.error();
            object[key] = std::move(converted).value();
        }
        return object;
    }
    }
    return Error{ErrorCode::internal, "Unknown property type."};
}

Result<PropertyValue> toValue(const nlohmann::json& value, int depth) {
    if (depth > maximumDepth) return Error{ErrorCode::invalidArgument, "The JSON value is nested too deeply."};
    switch (value.type()) {
    case nlohmann::json::value_t::boolean: return PropertyValue(value.get<bool>());
    case nlohmann::json::value_t::number_integer: return PropertyValue(value.get<std::int64_t>());
    case nlohmann::json::value_t::number_unsigned: {
        const auto number = value.get<std::uint64_t>();
        if (number <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return PropertyValue(static_cast<std::int64_t>(number));
        }
        return PropertyValue(static_cast<double>(number));
    }
    case nlohmann::json::value_t::number_float: return PropertyValue(value.get<double>());
    case nlohmann::json::value_t::string: return PropertyValue(value.get<std::string>());
    case nlohmann::json::value_t::binary: {
        const auto& bytes = value.get_binary();
        return PropertyValue(Data(bytes.begin(), bytes.end()));
    }
    case nlohmann::json::value_t::array: {
        PropertyValue::Array array;
        array.reserve(value.size());
        for (const auto& item : value) {
            auto converted = toValue(item, depth + 1);
            if (!converted) return converted.error();
            array.push_back(std::move(converted).value());
        }
        return PropertyValue(std::move(array));
    }
    case nlohmann::json::value_t::object: {
        PropertyValue::Dictionary dictionary;
        for (auto item = value.begin(); item != value.end(); ++item) {
            auto converted = toValue(item.value(), depth + 1);
            if (!converted) return converted.error();
            dictionary.emplace(item.key(), std::move(converted).value());
        }
        return PropertyValue(std::move(dictionary));
    }
    case nlohmann::json::value_t::null:
    case nlohmann::json::value_t::discarded:
        break;
    }
    return Error{ErrorCode::wrongShape, "JSON null has no property-list value."};
}

}  // namespace

Result<nlohmann::json> parse(std::string_view text) {
    if (auto nesting = checkNesting(text); !nesting) return nesting.error();
    try {
        return nlohmann::json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::exception& error) {
        return Error{ErrorCode::parseFailed, std::string("The JSON document is not valid: ") + error.what(), error.id};
    } catch (const std::exception& error) {
        return Error{ErrorCode::parseFailed, std::string("The JSON document could not be read: ") + error.what()};
    }
}

Result<std::string> write(const nlohmann::json& value, JsonWriteOptions options) {
    Writer writer(options);
    if (auto written = writer.write(value, 1); !written) return written.error();
    return writer.take();
}

Result<nlohmann::json> fromPropertyValue(const PropertyValue& value) { return fromValue(value, 1); }

Result<PropertyValue> toPropertyValue(const nlohmann::json& value) { return toValue(value, 1); }

}  // namespace tallowmere::platform::Json
