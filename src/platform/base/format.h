#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace tallowmere::platform {

// One value handed to a template: text, an integer or a real.
class FormatArgument {
public:
    using Value = std::variant<std::string, std::int64_t, double>;

    FormatArgument(std::string text) : value_(std::move(text)) {}
    FormatArgument(std::string_view text) : value_(std::string(text)) {}
    FormatArgument(const char* text) : value_(std::string(text ? text : "")) {}
    template <std::integral I>
        requires(!std::same_as<I, bool> && !std::same_as<I, char>)
    FormatArgument(I number) : value_(static_cast<std::int64_t>(number)) {}
    FormatArgument(double number) : value_(number) {}
    FormatArgument(float number) : value_(static_cast<double>(number)) {}

    const Value& value() const { return value_; }

private:
    Value value_;
};

// Fills a translated template. Every program text with placeholders goes
// through here, never through printf with a template read at run time.
//
// Placeholders: "%@" and "%s" (text), "%d" "%i" "%u" "%x" "%X" "%o"
// (integers), "%f" "%e" "%g" and upper-case forms (reals), "%%"; flags
// "-" "0" "+" " " "#", a width, a precision (".1"), the length modifiers
// h hh l ll q z t j L (accepted and ignored: every integer is 64-bit), and
// positions ("%2$d", counted from 1) mixed freely with plain placeholders,
// which take the arguments in order. Always the POSIX locale: "." decimal
// point, no grouping.
//
// A template never reads past its arguments and never fails:
// - a placeholder without an argument (too few, or "%0$@", "%9$@") renders
//   nothing, so a short translation loses a value but shows no garbage;
// - extra arguments are ignored;
// - a mismatched argument is converted: a real for "%d" is truncated, an
//   integer for "%f" is widened, text for a number placeholder is shown as
//   it is, and "%@" shows numbers in their shortest form ("2.5", "3");
// - an unknown or unfinished placeholder ("%k", "%*d", "%" at the end) is
//   copied as written;
// - widths and precisions above 1024 are capped there.
std::string formatTemplate(std::string_view templateText, std::span<const FormatArgument> arguments);

template <typename... Arguments>
    requires(std::constructible_from<FormatArgument, const Arguments&> && ...)
std::string formatTemplate(std::string_view templateText, const Arguments&... arguments) {
    const std::array<FormatArgument, sizeof...(Arguments)> list{FormatArgument(arguments)...};
    return formatTemplate(templateText, std::span<const FormatArgument>(list));
}

}  // namespace tallowmere::platform
