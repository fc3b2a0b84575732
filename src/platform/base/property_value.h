#pragma once

#include <concepts>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/base/data.h"
#include "platform/base/date.h"

namespace tallowmere::platform {

enum class PropertyType { string, integer, real, boolean, date, data, array, dictionary };

// One value of a property list or preferences domain. Booleans and integers
// stay distinct (a stored `true` never reads back as 1), as do integers and
// reals, because stored files and other readers tell them apart.
class PropertyValue {
public:
    using Array = std::vector<PropertyValue>;
    using Dictionary = std::map<std::string, PropertyValue>;

    // An empty dictionary, the root every domain and document starts from.
    PropertyValue() : PropertyValue(Dictionary{}) {}
    PropertyValue(std::string value) : storage_(std::move(value)) {}
    PropertyValue(std::string_view value) : storage_(std::string(value)) {}
    PropertyValue(const char* value) : storage_(std::string(value)) {}
    PropertyValue(bool value) : storage_(value) {}
    template <std::integral I>
        requires(!std::same_as<I, bool> && !std::same_as<I, char>)
    PropertyValue(I value) : storage_(static_cast<std::int64_t>(value)) {}
    PropertyValue(double value) : storage_(value) {}
    PropertyValue(float value) : storage_(static_cast<double>(value)) {}
    PropertyValue(Date value) : storage_(value) {}
    PropertyValue(Data value) : storage_(std::move(value)) {}
    PropertyValue(Array value) : storage_(std::move(value)) {}
    PropertyValue(Dictionary value) : storage_(std::move(value)) {}

    PropertyType type() const { return static_cast<PropertyType>(storage_.index()); }
    bool is(PropertyType type) const { return this->type() == type; }

    // Typed reads: null or nullopt when the value has another type.
    const std::string* asString() const { return std::get_if<std::string>(&storage_); }
    std::optional<std::int64_t> asInteger() const { return get<std::int64_t>(); }
    std::optional<double> asReal() const { return get<double>(); }
    std::optional<bool> asBoolean() const { return get<bool>(); }
    std::optional<Date> asDate() const { return get<Date>(); }
    const Data* asData() const { return std::get_if<Data>(&storage_); }
    const Array* asArray() const { return std::get_if<Array>(&storage_); }
    Array* asArray() { return std::get_if<Array>(&storage_); }
    const Dictionary* asDictionary() const { return std::get_if<Dictionary>(&storage_); }
    Dictionary* asDictionary() { return std::get_if<Dictionary>(&storage_); }

    // An integer or a real as a double; booleans are not numbers here.
    std::optional<double> asNumber() const {
        if (auto integer = asInteger()) return static_cast<double>(*integer);
        return asReal();
    }

    // The value under `key` when this is a dictionary holding it.
    const PropertyValue* find(std::string_view key) const {
        const Dictionary* dictionary = asDictionary();
        if (!dictionary) return nullptr;
        auto found = dictionary->find(std::string(key));
        return found == dictionary->end() ? nullptr : &found->second;
    }

    bool operator==(const PropertyValue&) const = default;

private:
    template <typename T>
    std::optional<T> get() const {
        if (const T* value = std::get_if<T>(&storage_)) return *value;
        return std::nullopt;
    }

    // Order matches PropertyType.
    std::variant<std::string, std::int64_t, double, bool, Date, Data, Array, Dictionary> storage_;
};

}  // namespace tallowmere::platform
