#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tallowmere::platform {

// A 128-bit identifier. Text form is the canonical 36-character hyphenated
// hexadecimal, written upper-case as the Mac writes it; either case is read.
class Uuid {
public:
    using Bytes = std::array<std::uint8_t, 16>;

    // The all-zero identifier.
    constexpr Uuid() = default;
    constexpr explicit Uuid(const Bytes& bytes) : bytes_(bytes) {}

    // A fresh version-4 (random) identifier from the system's secure source.
    static Uuid random();
    // Nothing unless the text is exactly 8-4-4-4-12 hexadecimal digits.
    static std::optional<Uuid> fromString(std::string_view text);

    std::string uuidString() const;
    const Bytes& bytes() const { return bytes_; }

    constexpr auto operator<=>(const Uuid&) const = default;

private:
    Bytes bytes_{};
};

}  // namespace tallowmere::platform

template <>
struct std::hash<tallowmere::platform::Uuid> {
    std::size_t operator()(const tallowmere::platform::Uuid& uuid) const noexcept {
        std::size_t hash = 0;
        for (std::uint8_t byte : uuid.bytes()) hash = hash * 31 + byte;
        return hash;
    }
};
