#include "platform/desktop/scene_node.h"

#include <cmath>
#include <limits>

#include "platform/base/url.h"

namespace tallowmere::platform {

namespace {

// The members of a point, a size and a rectangle, all numbers.
Result<double> numberMember(const SceneNode& node, std::string_view name) {
    if (!node.value().contains(name)) {
        return Error{ErrorCode::wrongShape, node.jsonPath() + "." + std::string(name) + ": is missing"};
    }
    return node.member(name, node.value()[std::string(name)]).number();
}

Result<void> onlyMembers(const SceneNode& node, std::initializer_list<std::string_view> names) {
    if (!node.value().is_object()) return node.error("should be an object");
    for (const auto& [key, value] : node.value().items()) {
        bool known = false;
        for (auto name : names) known = known || name == key;
        if (!known) return node.member(key, value).error("is not a member of this object");
    }
    return {};
}

// A positive width and height.
Result<Size> sizeMembers(const SceneNode& node) {
    Size size;
    for (auto [name, into] : {std::pair{"width", &size.width}, std::pair{"height", &size.height}}) {
        auto read = numberMember(node, name);
        if (!read) return read.error();
        if (*read <= 0) return node.member(name, node.value()[name]).error("should be greater than 0");
        *into = *read;
    }
    return size;
}

}  // namespace

Result<bool> SceneNode::boolean() const {
    if (!value_.is_boolean()) return error("should be true or false");
    return value_.get<bool>();
}

Result<double> SceneNode::number() const {
    if (!value_.is_number()) return error("should be a number");
    const double number = value_.get<double>();
    if (!std::isfinite(number)) return error("should be a finite number");
    return number;
}

Result<double> SceneNode::positiveNumber() const {
    auto read = number();
    if (read && *read <= 0) return error("should be greater than 0");
    return read;
}

Result<double> SceneNode::nonNegativeNumber() const {
    auto read = number();
    if (read && *read < 0) return error("should not be negative");
    return read;
}

Result<std::int64_t> SceneNode::nonNegativeInteger() const {
    if (value_.is_number_unsigned()) {
        const auto number = value_.get<std::uint64_t>();
        if (number <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
            return static_cast<std::int64_t>(number);
        }
        return error("is too large");
    }
    if (value_.is_number_integer()) return error("should not be negative");
    return error("should be a whole number");
}

Result<std::string> SceneNode::string() const {
    if (!value_.is_string()) return error("should be a string");
    return value_.get<std::string>();
}

Result<std::string> SceneNode::nonEmptyString() const {
    auto read = string();
    if (read && read->empty()) return error("should not be empty");
    return read;
}

Result<std::vector<std::string>> SceneNode::strings() const {
    return readSceneArray<std::string>(*this, [](const SceneNode& node) { return node.nonEmptyString(); });
}

Result<std::string> SceneNode::filePath(bool mayBeFolder) const {
    auto text = nonEmptyString();
    if (!text) return text;
    std::string expanded;
    if (*text == "~" || text->starts_with("~/")) {
        std::string home = home_.string();
        while (!home.empty() && home.back() == '/') home.pop_back();
        expanded = home + (*text == "~" ? "/" : text->substr(1));
    } else if (text->starts_with("/")) {
        expanded = *text;
    } else {
        return error("should be an absolute path or start with ~/");
    }
    if (!mayBeFolder && expanded.ends_with("/")) return error("should name a file, not a folder");
    return expanded;
}

Result<std::string> SceneNode::fileURL() const {
    auto text = nonEmptyString();
    if (!text) return text;
    if (text->starts_with("file://")) {
        auto url = Url::parse(*text);
        if (!url || !url->isFileUrl()) return error("is not a file URL");
        return url->string();
    }
    auto expanded = filePath();
    if (!expanded) return expanded;
    const bool folder = expanded->ends_with("/");
    return Url::fileUrl(*expanded, folder).string();
}

template <class Space>
Result<BasicPoint<Space>> SceneNode::point() const {
    if (auto only = onlyMembers(*this, {"x", "y"}); !only) return only.error();
    auto x = numberMember(*this, "x");
    if (!x) return x.error();
    auto y = numberMember(*this, "y");
    if (!y) return y.error();
    return BasicPoint<Space>{*x, *y};
}

Result<Size> SceneNode::size() const {
    if (auto only = onlyMembers(*this, {"width", "height"}); !only) return only.error();
    return sizeMembers(*this);
}

template <class Space>
Result<BasicRect<Space>> SceneNode::rect() const {
    if (auto only = onlyMembers(*this, {"x", "y", "width", "height"}); !only) return only.error();
    auto x = numberMember(*this, "x");
    if (!x) return x.error();
    auto y = numberMember(*this, "y");
    if (!y) return y.error();
    auto size = sizeMembers(*this);
    if (!size) return size.error();
    return BasicRect<Space>{*x, *y, size->width, size->height};
}

template Result<ScreenPoint> SceneNode::point<ScreenSpace>() const;
template Result<AXPoint> SceneNode::point<AXSpace>() const;
template Result<ScreenRect> SceneNode::rect<ScreenSpace>() const;
template Result<AXRect> SceneNode::rect<AXSpace>() const;

}  // namespace tallowmere::platform
