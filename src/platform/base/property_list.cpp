#include "platform/base/property_list.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <plist/plist.h>

#include "platform/base/text.h"

namespace tallowmere::platform::PropertyList {

namespace {

// libplist recurses while parsing, converting and freeing, so nesting deeper
// than this, or a binary file whose shared references expand past the node
// budget, is refused before libplist sees it.
constexpr int maximumDepth = 512;
constexpr std::size_t maximumNodes = std::size_t{1} << 20;

constexpr std::string_view binaryMagic = "bplist00";

Error parseError(std::string message) { return Error{ErrorCode::parseFailed, std::move(message)}; }
Error shapeError(std::string message) { return Error{ErrorCode::wrongShape, std::move(message)}; }

struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPointer = std::unique_ptr<void, PlistDeleter>;

// --- Guards run before libplist parses ------------------------------------

std::uint64_t readBigEndian(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t index = 0; index < width; ++index) value = (value << 8) | bytes[offset + index];
    return value;
}

// The element count of the object whose marker is at `offset` (the low
// nibble, or an integer object after it when the nibble is 0xF), and where
// the elements start.
struct ObjectCount {
    std::uint64_t count;
    std::uint64_t start;
};

Result<ObjectCount> readObjectCount(std::span<const std::uint8_t> bytes, std::uint64_t offset,
                                    std::uint64_t tableOffset) {
    ObjectCount result{static_cast<std::uint64_t>(bytes[offset] & 0x0F), offset + 1};
    if (result.count != 0x0F) return result;
    if (result.start >= tableOffset) return parseError("A binary object is truncated.");
    const std::uint8_t countMarker = bytes[result.start];
    const std::size_t width = std::size_t{1} << (countMarker & 0x0F);
    if ((countMarker >> 4) != 0x1 || width > 8 || result.start + 1 + width > tableOffset) {
        return parseError("A binary object has a damaged count.");
    }
    result.count = readBigEndian(bytes, static_cast<std::size_t>(result.start + 1), width);
    result.start += 1 + width;
    return result;
}

// Dictionary keys must be strings without U+0000: libplist aborts the
// process on a key it cannot hand out as a C string.
Result<void> checkBinaryKey(std::span<const std::uint8_t> bytes, std::uint64_t offset, std::uint64_t tableOffset) {
    if (offset < binaryMagic.size() || offset >= tableOffset) return parseError("A binary object lies outside the file.");
    const std::uint8_t marker = bytes[offset];
    const std::uint8_t kind = marker >> 4;
    if (kind != 0x5 && kind != 0x6) return shapeError("A dictionary key is not a string.");
    auto size = readObjectCount(bytes, offset, tableOffset);
    if (!size) return size.error();
    const auto [count, position] = *size;
    const std::uint64_t unit = kind == 0x6 ? 2 : 1;
    if (count > (tableOffset - position) / unit) return parseError("A binary string is truncated.");
    for (std::uint64_t index = 0; index < count; ++index) {
        const std::size_t at = static_cast<std::size_t>(position + index * unit);
        if (bytes[at] == 0 && (unit == 1 || bytes[at + 1] == 0)) {
            return shapeError("A dictionary key contains U+0000.");
        }
    }
    return {};
}

// Walks the object graph of a binary property list without building it,
// checking every offset and reference it would follow.
Result<void> checkBinaryShape(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t trailerSize = 32;
    if (bytes.size() < binaryMagic.size() + trailerSize) return parseError("The binary property list is truncated.");
    const std::size_t trailer = bytes.size() - trailerSize;
    const std::size_t offsetSize = bytes[trailer + 6];
    const std::size_t referenceSize = bytes[trailer + 7];
    const std::uint64_t objectCount = readBigEndian(bytes, trailer + 8, 8);
    const std::uint64_t topObject = readBigEndian(bytes, trailer + 16, 8);
    const std::uint64_t tableOffset = readBigEndian(bytes, trailer + 24, 8);
    if (offsetSize < 1 || offsetSize > 8 || referenceSize < 1 || referenceSize > 8 || objectCount == 0 ||
        topObject >= objectCount || tableOffset < binaryMagic.size() || tableOffset > trailer ||
        objectCount > (trailer - tableOffset) / offsetSize) {
        return parseError("The binary property list has a damaged trailer.");
    }
    const auto objectOffset = [&](std::uint64_t object) {
        return readBigEndian(bytes, static_cast<std::size_t>(tableOffset + object * offsetSize), offsetSize);
    };

    struct Pending {
        std::uint64_t object;
        int depth;
    };
    std::vector<Pending> pending{{topObject, 1}};
    std::size_t scheduled = 1;  // every node libplist would build, shared ones counted each time
    while (!pending.empty()) {
        const Pending current = pending.back();
        pending.pop_back();
        if (current.depth > maximumDepth) return parseError("The property list is nested too deeply.");
        const std::uint64_t offset = objectOffset(current.object);
        if (offset < binaryMagic.size() || offset >= tableOffset) return parseError("A binary object lies outside the file.");
        const std::uint8_t marker = bytes[offset];
        const std::uint8_t kind = marker >> 4;
        const bool isContainer = kind == 0xA || kind == 0xB || kind == 0xC || kind == 0xD;
        if (!isContainer) continue;  // scalars are bounds-checked by libplist itself
        auto size = readObjectCount(bytes, offset, tableOffset);
        if (!size) return size.error();
        const auto [count, position] = *size;
        const std::uint64_t references = kind == 0xD ? count * 2 : count;
        if (count > objectCount * 2 || references > (tableOffset - position) / referenceSize) {
            return parseError("A binary container is truncated.");
        }
        for (std::uint64_t index = 0; index < references; ++index) {
            const std::uint64_t child =
                readBigEndian(bytes, static_cast<std::size_t>(position + index * referenceSize), referenceSize);
            if (child >= objectCount) return parseError("A binary reference points outside the file.");
            if (kind == 0xD && index < count) {
                if (auto key = checkBinaryKey(bytes, objectOffset(child), tableOffset); !key) return key;
            }
            if (++scheduled > maximumNodes) return parseError("The property list expands to too many values.");
            pending.push_back({child, current.depth + 1});
        }
    }
    return {};
}

// Counts open <array> and <dict> elements; comments, declarations and
// processing instructions are skipped so their text cannot fake nesting.
// U+0000, raw or as a character reference, is refused: XML cannot hold it
// and libplist aborts on a key that contains it.
Result<void> checkXmlShape(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) return parseError("The XML property list contains U+0000.");
    for (std::size_t reference = text.find("&#"); reference != std::string_view::npos;
         reference = text.find("&#", reference + 2)) {
        std::size_t index = reference + 2;
        const bool hex = index < text.size() && (text[index] == 'x' || text[index] == 'X');
        if (hex) ++index;
        const std::size_t digits = index;
        while (index < text.size() && text[index] == '0') ++index;
        if (index > digits && index < text.size() && text[index] == ';') {
            return parseError("The XML property list contains U+0000.");
        }
    }
    int depth = 0;
    std::size_t position = 0;
    while ((position = text.find('<', position)) != std::string_view::npos) {
        const std::string_view rest = text.substr(position);
        std::string_view terminator = ">";
        if (rest.starts_with("<!--")) terminator = "-->";
        else if (rest.starts_with("<![CDATA[")) terminator = "]]>";
        else if (rest.starts_with("<?")) terminator = "?>";
        const std::size_t end = text.find(terminator, position + 1);
        if (end == std::string_view::npos) return parseError("The XML property list is truncated.");
        const std::string_view tag = text.substr(position + 1, end - position - 1);
        position = end + terminator.size();
        const bool closing = tag.starts_with('/');
        const std::string_view name = closing ? tag.substr(1) : tag;
        const bool container = name.starts_with("array") || name.starts_with("dict");
        if (!container || tag.ends_with('/')) continue;
        depth += closing ? -1 : 1;
        if (depth > maximumDepth) return parseError("The property list is nested too deeply.");
    }
    return {};
}

// --- libplist to PropertyValue ----------------------------------------------

std::string takeString(char* raw) {
    std::string result = raw ? raw : "";
    std::free(raw);
    return Text::isValidUtf8(result) ? result : Text::repairUtf8(result);
}

Result<PropertyValue> convert(plist_t node, int depth) {
    if (depth > maximumDepth) return parseError("The property list is nested too deeply.");
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return PropertyValue(value != 0);
    }
    case PLIST_UINT: {
        // libplist keeps every integer as 64 raw bits; signed is how the
        // Mac writes and reads them.
        std::uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return PropertyValue(static_cast<std::int64_t>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return PropertyValue(value);
    }
    case PLIST_STRING: {
        // By pointer and length: a string may hold U+0000, which the copying
        // getter asserts against.
        std::uint64_t length = 0;
        const char* value = plist_get_string_ptr(node, &length);
        std::string text = value ? std::string(value, static_cast<std::size_t>(length)) : std::string();
        return PropertyValue(Text::isValidUtf8(text) ? std::move(text) : Text::repairUtf8(text));
    }
    case PLIST_DATE: {
        std::int32_t seconds = 0, microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return PropertyValue(Date::fromTimeIntervalSinceReferenceDate(seconds + microseconds / 1e6));
    }
    case PLIST_DATA: {
        char* value = nullptr;
        std::uint64_t length = 0;
        plist_get_data_val(node, &value, &length);
        Data bytes(value, value + (value ? length : 0));
        std::free(value);
        return PropertyValue(std::move(bytes));
    }
    case PLIST_ARRAY: {
        PropertyValue::Array array;
        const std::uint32_t size = plist_array_get_size(node);
        array.reserve(size);
        for (std::uint32_t index = 0; index < size; ++index) {
            auto item = convert(plist_array_get_item(node, index), depth + 1);
            if (!item) return item.error();
            array.push_back(std::move(item).value());
        }
        return PropertyValue(std::move(array));
    }
    case PLIST_DICT: {
        PropertyValue::Dictionary dictionary;
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        Result<void> failure;
        while (iterator) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iterator, &key, &value);
            if (!value) {
                std::free(key);
                break;
            }
            std::string name = takeString(key);
            auto converted = convert(value, depth + 1);
            if (!converted) {
                failure = converted.error();
                break;
            }
            dictionary.insert_or_assign(std::move(name), std::move(converted).value());
        }
        std::free(iterator);
        if (!failure) return failure.error();
        return PropertyValue(std::move(dictionary));
    }
    case PLIST_UID:
        return shapeError("The property list holds a keyed-archive reference, which has no value here.");
    case PLIST_KEY:
    case PLIST_NONE:
    default:
        return shapeError("The property list holds a value of unknown type.");
    }
}

// --- PropertyValue to libplist ----------------------------------------------

Result<PlistPointer> build(const PropertyValue& value, int depth) {
    if (depth > maximumDepth) return Error{ErrorCode::invalidArgument, "The value is nested too deeply to write."};
    switch (value.type()) {
    case PropertyType::string: {
        const std::string& text = *value.asString();
        if (text.find('\0') != std::string::npos) {
            return Error{ErrorCode::invalidArgument, "A property-list string cannot contain U+0000."};
        }
        return PlistPointer(plist_new_string(Text::isValidUtf8(text) ? text.c_str() : Text::repairUtf8(text).c_str()));
    }
    case PropertyType::integer:
        return PlistPointer(plist_new_uint(static_cast<std::uint64_t>(*value.asInteger())));
    case PropertyType::real:
        return PlistPointer(plist_new_real(*value.asReal()));
    case PropertyType::boolean:
        return PlistPointer(plist_new_bool(*value.asBoolean() ? 1 : 0));
    case PropertyType::date: {
        const double interval = value.asDate()->timeIntervalSinceReferenceDate();
        double whole = std::floor(interval);
        double micro = std::round((interval - whole) * 1e6);
        if (micro >= 1e6) {
            whole += 1;
            micro = 0;
        }
        if (!std::isfinite(interval) || whole < std::numeric_limits<std::int32_t>::min() ||
            whole > std::numeric_limits<std::int32_t>::max()) {
            return Error{ErrorCode::invalidArgument, "The date is outside the range a property list can hold."};
        }
        return PlistPointer(plist_new_date(static_cast<std::int32_t>(whole), static_cast<std::int32_t>(micro)));
    }
    case PropertyType::data: {
        const Data& bytes = *value.asData();
        return PlistPointer(plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    case PropertyType::array: {
        PlistPointer array(plist_new_array());
        for (const PropertyValue& item : *value.asArray()) {
            auto node = build(item, depth + 1);
            if (!node) return node.error();
            plist_array_append_item(array.get(), node->release());
        }
        return array;
    }
    case PropertyType::dictionary: {
        PlistPointer dictionary(plist_new_dict());
        for (const auto& [key, item] : *value.asDictionary()) {
            if (key.find('\0') != std::string::npos) {
                return Error{ErrorCode::invalidArgument, "A property-list key cannot contain U+0000."};
            }
            auto node = build(item, depth + 1);
            if (!node) return node.error();
            const std::string name = Text::isValidUtf8(key) ? key : Text::repairUtf8(key);
            plist_dict_set_item(dictionary.get(), name.c_str(), node->release());
        }
        return dictionary;
    }
    }
    return Error{ErrorCode::internal, "Unknown property type."};
}

}  // namespace

std::optional<PropertyListFormat> detectFormat(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with(binaryMagic)) return PropertyListFormat::binary;
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && (text.substr(first).starts_with("<") ||
                                            text.starts_with("\xEF\xBB\xBF<"))) {
        return PropertyListFormat::xml;
    }
    return std::nullopt;
}

Result<PropertyValue> read(std::span<const std::uint8_t> bytes) {
    const auto format = detectFormat(bytes);
    if (!format) return parseError("The data is not a property list.");
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        return parseError("The property list is too large.");
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    auto guard = *format == PropertyListFormat::binary ? checkBinaryShape(bytes) : checkXmlShape(text);
    if (!guard) return guard.error();

    plist_t raw = nullptr;
    if (*format == PropertyListFormat::binary) {
        plist_from_bin(text.data(), static_cast<std::uint32_t>(text.size()), &raw);
    } else {
        plist_from_xml(text.data(), static_cast<std::uint32_t>(text.size()), &raw);
    }
    PlistPointer root(raw);
    if (!root) return parseError("The property list is damaged or incomplete.");
    return convert(root.get(), 1);
}

Result<PropertyValue> read(std::string_view bytes) {
    return read(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

Result<Data> write(const PropertyValue& value, PropertyListFormat format) {
    auto root = build(value, 1);
    if (!root) return root.error();
    char* output = nullptr;
    std::uint32_t length = 0;
    if (format == PropertyListFormat::binary) {
        plist_to_bin(root->get(), &output, &length);
    } else {
        plist_to_xml(root->get(), &output, &length);
    }
    if (!output) return Error{ErrorCode::internal, "The property list could not be serialised."};
    Data bytes(output, output + length);
    if (format == PropertyListFormat::binary) {
        plist_to_bin_free(output);
    } else {
        plist_to_xml_free(output);
    }
    return bytes;
}

}  // namespace tallowmere::platform::PropertyList
