#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tallowmere {

// The answer of a UI string lookup. It refers to the text a translation table
// stores (which lives as long as the process) or to a literal key, so a
// lookup copies nothing; only a key that may not outlive the answer is kept
// as a copy. Converts to std::string where the caller keeps the text, and
// to std::string_view where it only reads it.
class LocalizedText {
public:
    // A text stored for the whole run: a table's text or a string literal.
    static LocalizedText lasting(std::string_view text) { return LocalizedText(text); }
    // A copy of `text`, for a key the caller may free before the answer.
    static LocalizedText copied(std::string_view text);

    LocalizedText(const LocalizedText& other);
    LocalizedText(LocalizedText&& other) noexcept;
    LocalizedText& operator=(const LocalizedText& other);
    LocalizedText& operator=(LocalizedText&& other) noexcept;
    ~LocalizedText() = default;

    std::string_view view() const { return text_; }
    std::string str() const { return std::string(text_); }
    operator std::string_view() const { return text_; }
    operator std::string() const { return std::string(text_); }

    bool empty() const { return text_.empty(); }
    std::size_t size() const { return text_.size(); }
    const char* data() const { return text_.data(); }

    friend bool operator==(const LocalizedText& a, const LocalizedText& b) { return a.text_ == b.text_; }
    friend bool operator==(const LocalizedText& a, std::string_view b) { return a.text_ == b; }
    friend bool operator==(const LocalizedText& a, const std::string& b) { return a.text_ == b; }
    friend bool operator==(const LocalizedText& a, const char* b) { return a.text_ == b; }

    friend std::string operator+(const LocalizedText& a, const LocalizedText& b);
    friend std::string operator+(const LocalizedText& a, std::string_view b);
    friend std::string operator+(std::string_view a, const LocalizedText& b);
    friend std::string operator+(const LocalizedText& a, const char* b) { return a + std::string_view(b); }
    friend std::string operator+(const char* a, const LocalizedText& b) { return std::string_view(a) + b; }
    friend std::string operator+(const LocalizedText& a, const std::string& b) { return a + std::string_view(b); }
    friend std::string operator+(const std::string& a, const LocalizedText& b) { return std::string_view(a) + b; }

    friend std::ostream& operator<<(std::ostream& stream, const LocalizedText& text);

private:
    explicit LocalizedText(std::string_view text) : text_(text) {}
    void adopt(const LocalizedText& other);

    std::string_view text_;
    std::string owned_;  // the copied key, when there is one; text_ views it
    bool owns_ = false;
};

}  // namespace tallowmere
