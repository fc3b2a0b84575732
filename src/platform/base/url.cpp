#include "platform/base/url.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/base/percent_codec.h"
#include "platform/base/text.h"

namespace tallowmere::platform {

namespace {

bool isValidScheme(std::string_view scheme) {
    if (scheme.empty() || !std::isalpha(static_cast<unsigned char>(scheme.front()))) return false;
    for (char character : scheme) {
        const auto byte = static_cast<unsigned char>(character);
        if (!std::isalnum(byte) && character != '+' && character != '-' && character != '.') return false;
    }
    return true;
}

bool isHex(char character) { return std::isxdigit(static_cast<unsigned char>(character)) != 0; }

// A part of a parsed URL with everything it may not hold escaped. Existing
// valid escapes are kept as written.
std::string escapeLeniently(std::string_view text, UrlComponent component) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        const char character = text[index];
        if (character == '%' && index + 2 < text.size() && isHex(text[index + 1]) && isHex(text[index + 2])) {
            result.append(text.substr(index, 3));
            index += 2;
        } else if (character != '%' && PercentCodec::isAllowed(static_cast<unsigned char>(character), component)) {
            result += character;
        } else {
            result += PercentCodec::encode(text.substr(index, 1), component);
        }
    }
    return result;
}

// "[...]" holding only what an IPv6 or future IP literal may hold.
bool isIpLiteral(std::string_view host) {
    if (host.size() < 2 || host.front() != '[' || host.back() != ']') return false;
    for (char character : host.substr(1, host.size() - 2)) {
        if (!isHex(character) && character != ':' && character != '.' && character != 'v' && character != 'V') {
            return false;
        }
    }
    return true;
}

std::string escapeHost(std::string_view host, bool lenient) {
    if (isIpLiteral(host)) return std::string(host);
    return lenient ? escapeLeniently(host, UrlComponent::host) : PercentCodec::encode(host, UrlComponent::host);
}

std::string decodeText(std::string_view text) {
    if (auto decoded = PercentCodec::decode(text)) return *decoded;
    return Text::repairUtf8(PercentCodec::decodeBytes(text));
}

std::optional<int> parsePort(std::string_view text, bool& valid) {
    valid = true;
    if (text.empty()) return std::nullopt;  // "host:" is allowed and means the default port
    if (text.size() > 5) {
        valid = false;
        return std::nullopt;
    }
    int port = 0;
    for (char character : text) {
        if (character < '0' || character > '9') {
            valid = false;
            return std::nullopt;
        }
        port = port * 10 + (character - '0');
    }
    if (port > 65535) valid = false;
    return port;
}

std::string removeDotSegments(std::string_view path) {
    const bool absolute = path.starts_with('/');
    std::vector<std::string_view> segments;
    std::size_t position = absolute ? 1 : 0;
    while (position <= path.size()) {
        std::size_t next = path.find('/', position);
        if (next == std::string_view::npos) next = path.size();
        const std::string_view segment = path.substr(position, next - position);
        const bool last = next == path.size();
        if (segment == "." || segment == "..") {
            if (segment == ".." && !segments.empty()) segments.pop_back();
            if (last) segments.emplace_back();  // "a/b/.." names the folder "a/"
        } else {
            segments.push_back(segment);
        }
        position = next + 1;
    }
    std::string result = absolute ? "/" : "";
    for (std::size_t index = 0; index < segments.size(); ++index) {
        if (index > 0) result += '/';
        result += segments[index];
    }
    return result;
}

std::string_view trimmedTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.ends_with('/')) path.remove_suffix(1);
    return path;
}

}  // namespace

std::optional<Url> Url::parse(std::string_view text) {
    if (!Text::isValidUtf8(text)) return std::nullopt;
    for (char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte < 0x20 || byte == 0x7F) return std::nullopt;
    }

    Url url;
    std::string_view rest = text;
    const std::size_t schemeEnd = rest.find_first_of(":/?#");
    if (schemeEnd != std::string_view::npos && rest[schemeEnd] == ':') {
        const std::string_view scheme = rest.substr(0, schemeEnd);
        if (!isValidScheme(scheme)) return std::nullopt;
        url.scheme_ = std::string(scheme);
        rest.remove_prefix(schemeEnd + 1);
    }

    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const std::size_t authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
        std::string_view authority = rest.substr(0, authorityEnd);
        rest.remove_prefix(authorityEnd);

        if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
            const std::string_view userInfo = authority.substr(0, at);
            authority.remove_prefix(at + 1);
            const std::size_t colon = userInfo.find(':');
            url.user_ = escapeLeniently(userInfo.substr(0, colon), UrlComponent::user);
            if (colon != std::string_view::npos) {
                url.password_ = escapeLeniently(userInfo.substr(colon + 1), UrlComponent::password);
            }
        }
        std::string_view host = authority;
        std::string_view portText;
        bool hasPort = false;
        if (authority.starts_with('[')) {
            const std::size_t close = authority.find(']');
            if (close == std::string_view::npos) return std::nullopt;
            host = authority.substr(0, close + 1);
            const std::string_view after = authority.substr(close + 1);
            if (!after.empty()) {
                if (!after.starts_with(':')) return std::nullopt;
                portText = after.substr(1);
                hasPort = true;
            }
            if (!isIpLiteral(host)) return std::nullopt;
        } else if (const std::size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
            host = authority.substr(0, colon);
            portText = authority.substr(colon + 1);
            hasPort = true;
        }
        if (hasPort) {
            bool valid = true;
            url.port_ = parsePort(portText, valid);
            if (!valid) return std::nullopt;
        }
        url.host_ = escapeHost(host, true);
    }

    const std::size_t pathEnd = std::min(rest.find_first_of("?#"), rest.size());
    url.path_ = escapeLeniently(rest.substr(0, pathEnd), UrlComponent::path);
    rest.remove_prefix(pathEnd);
    if (rest.starts_with('?')) {
        const std::size_t queryEnd = std::min(rest.find('#'), rest.size());
        url.query_ = escapeLeniently(rest.substr(1, queryEnd - 1), UrlComponent::query);
        rest.remove_prefix(queryEnd);
    }
    if (rest.starts_with('#')) url.fragment_ = escapeLeniently(rest.substr(1), UrlComponent::fragment);
    return url;
}

Url Url::fileUrl(std::string_view path, bool isDirectory) {
    std::string absolute(path);
    if (!absolute.starts_with('/')) {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::current_path(error);
        absolute = ((error ? std::filesystem::path("/") : base) / absolute).string();
    }
    if (isDirectory && !absolute.ends_with('/')) absolute += '/';
    Url url;
    url.scheme_ = "file";
    url.host_ = "";
    url.path_ = PercentCodec::encode(absolute, UrlComponent::path);
    return url;
}

std::optional<std::string> Url::user() const {
    return user_ ? std::optional<std::string>(decodeText(*user_)) : std::nullopt;
}

std::optional<std::string> Url::password() const {
    return password_ ? std::optional<std::string>(decodeText(*password_)) : std::nullopt;
}

std::optional<std::string> Url::host() const {
    if (!host_ || host_->empty()) return std::nullopt;
    return decodeText(*host_);
}

std::string Url::path() const { return decodeText(path_); }

std::optional<std::string> Url::query() const {
    return query_ ? std::optional<std::string>(decodeText(*query_)) : std::nullopt;
}

std::vector<UrlQueryItem> Url::queryItems() const {
    std::vector<UrlQueryItem> items;
    if (!query_) return items;
    const std::string_view query = *query_;
    std::size_t position = 0;
    while (position <= query.size()) {
        std::size_t next = query.find('&', position);
        if (next == std::string_view::npos) next = query.size();
        const std::string_view piece = query.substr(position, next - position);
        if (!piece.empty()) {
            const std::size_t equals = piece.find('=');
            UrlQueryItem item{decodeText(piece.substr(0, equals)), std::nullopt};
            if (equals != std::string_view::npos) item.value = decodeText(piece.substr(equals + 1));
            items.push_back(std::move(item));
        }
        position = next + 1;
    }
    return items;
}

std::optional<std::string> Url::fragment() const {
    return fragment_ ? std::optional<std::string>(decodeText(*fragment_)) : std::nullopt;
}

bool Url::setScheme(std::string_view scheme) {
    if (!scheme.empty() && !isValidScheme(scheme)) return false;
    scheme_ = std::string(scheme);
    return true;
}

void Url::setHost(std::optional<std::string_view> host) {
    if (!host) {
        host_.reset();
        user_.reset();
        password_.reset();
        port_.reset();
        return;
    }
    host_ = escapeHost(*host, false);
}

void Url::setUser(std::optional<std::string_view> user) {
    if (!user) {
        user_.reset();
        return;
    }
    user_ = PercentCodec::encode(*user, UrlComponent::user);
    if (!host_) host_ = "";
}

void Url::setPassword(std::optional<std::string_view> password) {
    if (!password) {
        password_.reset();
        return;
    }
    password_ = PercentCodec::encode(*password, UrlComponent::password);
    if (!user_) user_ = "";
    if (!host_) host_ = "";
}

bool Url::setPort(std::optional<int> port) {
    if (port && (*port < 0 || *port > 65535)) return false;
    port_ = port;
    if (port_ && !host_) host_ = "";
    return true;
}

void Url::setPath(std::string_view path) { path_ = PercentCodec::encode(path, UrlComponent::path); }

void Url::setQueryItems(const std::vector<UrlQueryItem>& items) {
    if (items.empty()) {
        query_.reset();
        return;
    }
    std::string query;
    for (const UrlQueryItem& item : items) {
        if (!query.empty()) query += '&';
        query += PercentCodec::encode(item.name, UrlComponent::queryItem);
        if (item.value) {
            query += '=';
            query += PercentCodec::encode(*item.value, UrlComponent::queryItem);
        }
    }
    query_ = std::move(query);
}

void Url::setFragment(std::optional<std::string_view> fragment) {
    if (fragment) {
        fragment_ = PercentCodec::encode(*fragment, UrlComponent::fragment);
    } else {
        fragment_.reset();
    }
}

std::string Url::string() const {
    std::string text;
    if (!scheme_.empty()) text.append(scheme_).append(":");
    if (host_) {
        text += "//";
        if (user_) {
            text += *user_;
            if (password_) text.append(":").append(*password_);
            text += '@';
        }
        text += *host_;
        if (port_) text.append(":").append(std::to_string(*port_));
        if (!path_.empty() && !path_.starts_with('/')) text += '/';
    } else if (path_.starts_with("//")) {
        text += "//";  // an empty authority keeps "//x" from reading as a host
    }
    text += path_;
    if (query_) text.append("?").append(*query_);
    if (fragment_) text.append("#").append(*fragment_);
    return text;
}

bool Url::isFileUrl() const {
    return scheme_.size() == 4 && std::tolower(static_cast<unsigned char>(scheme_[0])) == 'f' &&
           std::tolower(static_cast<unsigned char>(scheme_[1])) == 'i' &&
           std::tolower(static_cast<unsigned char>(scheme_[2])) == 'l' &&
           std::tolower(static_cast<unsigned char>(scheme_[3])) == 'e';
}

std::optional<std::string> Url::fileSystemPath() const {
    if (!isFileUrl() || path_.empty()) return std::nullopt;
    return std::string(trimmedTrailingSlashes(PercentCodec::decodeBytes(path_)));
}

Url Url::standardized() const {
    Url url = *this;
    url.path_ = removeDotSegments(path_);
    return url;
}

std::string Url::lastPathComponent() const {
    const std::string_view path = trimmedTrailingSlashes(path_);
    if (path == "/") return "/";
    const std::size_t slash = path.rfind('/');
    return decodeText(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string Url::pathExtension() const {
    const std::string component = lastPathComponent();
    const std::size_t dot = component.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == component.size()) return "";
    return component.substr(dot + 1);
}

Url Url::deletingLastPathComponent() const {
    Url url = *this;
    const std::string_view path = trimmedTrailingSlashes(path_);
    if (path == "/") return url;
    const std::size_t slash = path.rfind('/');
    url.path_ = slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
    return url;
}

Url Url::appendingPathComponent(std::string_view component, bool isDirectory) const {
    Url url = *this;
    if (!url.path_.empty() && !url.path_.ends_with('/')) url.path_ += '/';
    url.path_ += PercentCodec::encode(component, UrlComponent::path);
    if (isDirectory && !url.path_.ends_with('/')) url.path_ += '/';
    return url;
}

}  // namespace tallowmere::platform
