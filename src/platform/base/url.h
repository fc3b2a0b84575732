#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere::platform {

// One "name=value" pair of a query. A name without "=" has no value, which
// is not the same as an empty value ("name=").
struct UrlQueryItem {
    std::string name;
    std::optional<std::string> value;

    bool operator==(const UrlQueryItem&) const = default;
};

// A URL or relative reference (RFC 3986), kept as its percent-encoded parts
// so that escapes such as "%2F" survive a parse and rebuild. Accessors
// without "percentEncoded" in their name decode with PercentCodec; ill-formed
// UTF-8 in a decoded part reads as U+FFFD.
//
// Parsing is lenient but safe, so hand-typed and hand-built text works:
// - spaces, non-ASCII text and characters a part may not hold are
//   percent-encoded as their UTF-8 bytes ("?directory=/Users/a/My Folder"
//   reads back the value "/Users/a/My Folder");
// - a "%" that does not start a valid escape stands for itself ("%25");
// - text that is not UTF-8, control characters (U+0000–U+001F, U+007F), a
//   malformed scheme or a port that is not a number up to 65535 make the
//   parse fail;
// - an unescaped "#" still starts the fragment and "&" still separates query
//   items: callers that build URLs must use the setters, which escape them.
// Without "//" there is no authority and host() is absent
// ("tallowmere-finder:copy" has the path "copy"); "file:///a" has an empty
// authority, and host() is absent for it too.
class Url {
public:
    // An empty relative reference.
    Url() = default;

    static std::optional<Url> parse(std::string_view text);
    // A "file:" URL for a path; a relative path is taken from the current
    // directory, and a directory gets a trailing "/". Any bytes are allowed.
    static Url fileUrl(std::string_view path, bool isDirectory = false);

    const std::string& scheme() const { return scheme_; }
    std::optional<std::string> user() const;
    std::optional<std::string> password() const;
    std::optional<std::string> host() const;  // absent when empty
    std::optional<int> port() const { return port_; }
    bool hasAuthority() const { return host_.has_value(); }
    std::string path() const;
    std::optional<std::string> query() const;
    // Items in order; repeated names are kept, empty pieces ("a&&b") skipped.
    std::vector<UrlQueryItem> queryItems() const;
    std::optional<std::string> fragment() const;

    const std::string& percentEncodedPath() const { return path_; }
    const std::optional<std::string>& percentEncodedQuery() const { return query_; }

    // False, leaving the URL unchanged, for a scheme that is not a letter
    // followed by letters, digits, "+", "-" or "."; an empty scheme removes it.
    bool setScheme(std::string_view scheme);
    // Absent removes the whole authority (user, password, port too).
    void setHost(std::optional<std::string_view> host);
    void setUser(std::optional<std::string_view> user);
    void setPassword(std::optional<std::string_view> password);
    // False for a port outside 0–65535.
    bool setPort(std::optional<int> port);
    void setPath(std::string_view path);
    // An empty list removes the query.
    void setQueryItems(const std::vector<UrlQueryItem>& items);
    void setFragment(std::optional<std::string_view> fragment);

    // The whole URL as text, percent-encoded.
    std::string string() const;

    bool isFileUrl() const;
    // The decoded path of a file URL without a trailing "/" (except for the
    // root); absent for other schemes. Escapes are decoded to raw bytes.
    std::optional<std::string> fileSystemPath() const;

    // "." and ".." segments resolved; ".." never climbs above the root.
    Url standardized() const;
    // The last non-empty segment, decoded ("/" for the root path).
    std::string lastPathComponent() const;
    // Text after the last "." of the last component, empty when there is
    // none or the component starts with its only ".".
    std::string pathExtension() const;
    Url deletingLastPathComponent() const;
    // `component` may hold "/" to add several segments.
    Url appendingPathComponent(std::string_view component, bool isDirectory = false) const;

    bool operator==(const Url& other) const { return string() == other.string(); }

private:
    std::string scheme_;
    std::optional<std::string> user_;
    std::optional<std::string> password_;
    std::optional<std::string> host_;  // present (maybe empty) when there is an authority
    std::optional<int> port_;
    std::string path_;
    std::optional<std::string> query_;
    std::optional<std::string> fragment_;
};

}  // namespace tallowmere::platform
