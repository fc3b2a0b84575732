#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/base/result.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

// One value of a scene file and its JSON path ("$.screens[0].frame"), with
// the checked reads the scene's members are made of. Every failure is a
// wrongShape error that starts with the path, so a person finds the member.
class SceneNode {
  public:
    SceneNode(const nlohmann::json& value, std::string path, const std::filesystem::path& home)
        : value_(value), path_(std::move(path)), home_(home) {}

    const nlohmann::json& value() const { return value_; }
    const std::string& jsonPath() const { return path_; }
    const std::filesystem::path& home() const { return home_; }

    SceneNode member(std::string_view name, const nlohmann::json& value) const {
        return {value, path_ + "." + std::string(name), home_};
    }
    SceneNode element(std::size_t index, const nlohmann::json& value) const {
        return {value, path_ + "[" + std::to_string(index) + "]", home_};
    }

    Error error(std::string_view why) const {
        return Error{ErrorCode::wrongShape, path_ + ": " + std::string(why)};
    }

    Result<bool> boolean() const;
    // A finite number.
    Result<double> number() const;
    Result<double> positiveNumber() const;
    Result<double> nonNegativeNumber() const;
    Result<std::int64_t> nonNegativeInteger() const;
    Result<std::string> string() const;
    Result<std::string> nonEmptyString() const;
    Result<std::vector<std::string>> strings() const;
    // A path: absolute, or starting with "~/" (or "~" alone) for the home folder.
    Result<std::string> filePath(bool mayBeFolder = true) const;
    // A file URL from "file://..." text or a path as `path` takes it.
    Result<std::string> fileURL() const;
    // {"x", "y"}
    template <class Space>
    Result<BasicPoint<Space>> point() const;
    // {"width", "height"}, both positive.
    Result<Size> size() const;
    // {"x", "y", "width", "height"}, with a positive width and height.
    template <class Space>
    Result<BasicRect<Space>> rect() const;

  private:
    const nlohmann::json& value_;
    std::string path_;
    const std::filesystem::path& home_;
};

// One member an object of type T may hold: its name, whether it must be
// there, and how it is read into T. An object's members are one table, so
// adding a member is adding a row.
template <class T>
struct SceneMember {
    std::string_view name;
    Result<void> (*read)(const SceneNode& node, T& into);
    bool required = false;
};

// Reads an object through its table: every member is read in the order of
// the file; a member the table does not know, or a required one missing,
// is an error at that member's path.
template <class T>
Result<void> readSceneObject(const SceneNode& node, std::span<const SceneMember<T>> members, T& into) {
    if (!node.value().is_object()) return node.error("should be an object");
    for (const auto& [key, value] : node.value().items()) {
        const SceneMember<T>* found = nullptr;
        for (const auto& member : members) {
            if (member.name == key) found = &member;
        }
        const SceneNode child = node.member(key, value);
        if (!found) return child.error("is not a member of this object");
        if (auto read = found->read(child, into); !read) return read.error();
    }
    for (const auto& member : members) {
        if (member.required && !node.value().contains(member.name)) {
            return Error{ErrorCode::wrongShape, node.jsonPath() + "." + std::string(member.name) + ": is missing"};
        }
    }
    return {};
}

// Reads every element of an array with `read`.
template <class T>
Result<std::vector<T>> readSceneArray(const SceneNode& node, Result<T> (*read)(const SceneNode& node)) {
    if (!node.value().is_array()) return node.error("should be an array");
    std::vector<T> items;
    for (std::size_t i = 0; i < node.value().size(); ++i) {
        auto item = read(node.element(i, node.value()[i]));
        if (!item) return item.error();
        items.push_back(std::move(*item));
    }
    return items;
}

}  // namespace tallowmere::platform
