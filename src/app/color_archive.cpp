#include "app/color_archive.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/property_list.h"

namespace tallowmere::ColorArchive {

using platform::Color;
using platform::ColorSpace;
using platform::Error;
using platform::ErrorCode;
using platform::PropertyValue;

namespace {

constexpr std::string_view className = "Color";

constexpr std::array<std::pair<ColorSpace, std::string_view>, 5> spaceNames = {{
    {ColorSpace::sRGB, "sRGB"},
    {ColorSpace::calibratedRGB, "calibratedRGB"},
    {ColorSpace::deviceRGB, "deviceRGB"},
    {ColorSpace::calibratedWhite, "calibratedWhite"},
    {ColorSpace::deviceWhite, "deviceWhite"},
}};

std::string_view nameOf(ColorSpace space) {
    for (const auto& [candidate, name] : spaceNames) {
        if (candidate == space) return name;
    }
    return {};
}

std::optional<ColorSpace> spaceNamed(std::string_view name) {
    for (const auto& [space, candidate] : spaceNames) {
        if (candidate == name) return space;
    }
    return std::nullopt;
}

bool isWhite(ColorSpace space) { return space == ColorSpace::calibratedWhite || space == ColorSpace::deviceWhite; }

Color make(ColorSpace space, const std::vector<double>& c) {
    switch (space) {
        case ColorSpace::sRGB: return Color::sRGB(c[0], c[1], c[2], c[3]);
        case ColorSpace::calibratedRGB: return Color::calibratedRGB(c[0], c[1], c[2], c[3]);
        case ColorSpace::deviceRGB: return Color::deviceRGB(c[0], c[1], c[2], c[3]);
        case ColorSpace::calibratedWhite: return Color::calibratedWhite(c[0], c[1]);
        case ColorSpace::deviceWhite: return Color::deviceWhite(c[0], c[1]);
    }
    return Color::black();
}

Error refused(const std::string& why) { return Error{ErrorCode::wrongShape, "Not an archived colour: " + why, 0}; }

}  // namespace

platform::Result<platform::Data> archive(const Color& color) {
    if (color.isDynamic()) {
        return Error{ErrorCode::unsupported, "A named dynamic colour has no components to archive", 0};
    }
    const platform::RGBA rgba = color.rgba();
    PropertyValue::Array components;
    if (isWhite(color.colorSpace())) {
        components = {color.whiteComponent(), rgba.alpha};
    } else {
        components = {rgba.red, rgba.green, rgba.blue, rgba.alpha};
    }
    return platform::PropertyList::write(
        PropertyValue(PropertyValue::Dictionary{
            {"$class", className},
            {"colorSpace", nameOf(color.colorSpace())},
            {"components", std::move(components)},
        }),
        platform::PropertyListFormat::binary);
}

platform::Result<Color> unarchive(const platform::Data& bytes) {
    auto root = platform::PropertyList::read(std::span<const std::uint8_t>(bytes));
    if (!root) return root.error();
    const PropertyValue* type = root->find("$class");
    if (!type || !type->asString() || *type->asString() != className) return refused("another class");
    const PropertyValue* spaceName = root->find("colorSpace");
    const auto space = spaceName && spaceName->asString() ? spaceNamed(*spaceName->asString()) : std::nullopt;
    if (!space) return refused("unknown colour space");
    const PropertyValue* list = root->find("components");
    if (!list || !list->asArray() || list->asArray()->size() != (isWhite(*space) ? 2u : 4u)) {
        return refused("components missing");
    }
    std::vector<double> components;
    for (const PropertyValue& value : *list->asArray()) {
        auto number = value.asNumber();
        if (!number || !std::isfinite(*number)) return refused("a component is not a number");
        components.push_back(*number);
    }
    return make(*space, components);
}

}  // namespace tallowmere::ColorArchive
