#include "app/instance_request.h"

#include <charconv>

#include "platform/base/text.h"
#include "platform/base/url.h"

namespace tallowmere {

using platform::Error;
using platform::ErrorCode;

namespace {

constexpr std::string_view header = "tallowmere-open/1 ";
constexpr std::string_view snapshotHeader = "tallowmere-snapshot/1\n";

Error malformed(std::string why) { return Error{ErrorCode::parseFailed, std::move(why), 0}; }

}  // namespace

InstanceRequest InstanceRequest::fromLaunchArguments(const std::vector<std::string>& arguments) {
    InstanceRequest request;
    for (const std::string& argument : arguments) {
        if (!argument.starts_with("-")) request.urls.push_back(argument);
    }
    return request;
}

std::string InstanceRequest::encoded() const {
    if (snapshotPath) return std::string(snapshotHeader) + *snapshotPath + "\n";
    std::string message(header);
    message += std::to_string(urls.size()) + "\n";
    for (const std::string& url : urls) message += url + "\n";
    return message;
}

platform::Result<void> InstanceRequest::checkURL(std::string_view url) {
    if (url.empty()) return malformed("an empty URL");
    if (!platform::Text::isValidUtf8(url)) return malformed("a URL that is not UTF-8");
    for (unsigned char c : url) {
        if (c < 0x20 || c == 0x7f) return malformed("a URL with a control character");
    }
    auto parsed = platform::Url::parse(url);
    if (!parsed || parsed->scheme().empty()) return malformed("text that is not a URL");
    return {};
}

platform::Result<void> InstanceRequest::checkSnapshotPath(std::string_view path) {
    if (path.empty()) return malformed("an empty path");
    if (path.size() > maximumPathBytes) return malformed("a path over the size limit");
    if (!platform::Text::isValidUtf8(path)) return malformed("a path that is not UTF-8");
    for (unsigned char c : path) {
        if (c < 0x20 || c == 0x7f) return malformed("a path with a control character");
    }
    if (path.front() != '/') return malformed("a path that is not absolute");
    return {};
}

platform::Result<InstanceRequest> InstanceRequest::decode(std::string_view message) {
    if (message.size() > maximumBytes) return malformed("a message over the size limit");
    if (message.starts_with(snapshotHeader)) {
        message.remove_prefix(snapshotHeader.size());
        if (message.empty() || message.back() != '\n') return malformed("a path without its line end");
        message.remove_suffix(1);
        if (auto valid = checkSnapshotPath(message); !valid) return valid.error();
        InstanceRequest request;
        request.snapshotPath = std::string(message);
        return request;
    }
    if (!message.starts_with(header)) return malformed("a message without the header");
    message.remove_prefix(header.size());
    const auto countEnd = message.find('\n');
    if (countEnd == std::string_view::npos) return malformed("a header without its line end");
    const std::string_view countText = message.substr(0, countEnd);
    std::size_t count = 0;
    const auto [end, error] = std::from_chars(countText.data(), countText.data() + countText.size(), count);
    if (countText.empty() || error != std::errc() || end != countText.data() + countText.size()) {
        return malformed("a header whose count is not a number");
    }
    if (count > maximumURLs) return malformed("more URLs than allowed");
    message.remove_prefix(countEnd + 1);

    InstanceRequest request;
    request.urls.reserve(count);
    while (!message.empty()) {
        const auto lineEnd = message.find('\n');
        if (lineEnd == std::string_view::npos) return malformed("a URL without its line end");
        const std::string_view url = message.substr(0, lineEnd);
        if (request.urls.size() == count) return malformed("more URLs than the header counts");
        if (auto valid = checkURL(url); !valid) return valid.error();
        request.urls.emplace_back(url);
        message.remove_prefix(lineEnd + 1);
    }
    if (request.urls.size() != count) return malformed("fewer URLs than the header counts");
    return request;
}

}  // namespace tallowmere
