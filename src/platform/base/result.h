#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace tallowmere::platform {

// What kind of failure happened, for callers that branch on it. The message
// is for people; the code is for code.
enum class ErrorCode {
    invalidArgument,   // the caller passed something malformed
    parseFailed,       // input text or bytes are not in the expected format
    wrongShape,        // well-formed, but not the structure that was asked for
    notFound,          // a file, key or item does not exist
    alreadyExists,     // exclusive creation found something in the way
    permissionDenied,  // the system refused access
    ioFailed,          // reading, writing or renaming failed
    unsupported,       // the operation has no meaning here
    cancelled,         // the person or the caller stopped it
    timedOut,          // it did not finish in the time allowed
    internal,          // a library or system call failed unexpectedly
};

struct Error {
    ErrorCode code = ErrorCode::internal;
    std::string message;
    int systemCode = 0;  // errno or a library's own code when one explains the failure

    bool operator==(const Error&) const = default;
};

namespace detail {
[[noreturn]] inline void resultAccessFailed(const char* what, const std::string& message) {
    // Reading the value of a failed result is a programming error, not a user
    // error; it stops here rather than reading garbage.
    std::fprintf(stderr, "Result: %s (%s)\n", what, message.c_str());
    std::abort();
}
}  // namespace detail

// A value or the Error that prevented it. User-caused failures travel as
// values of this type; nothing in the platform layer throws across it.
template <typename T>
class [[nodiscard]] Result {
    static_assert(!std::is_same_v<std::remove_cvref_t<T>, Error>, "Result<Error> is ambiguous");

public:
    Result(const T& value) : state_(std::in_place_index<0>, value) {}
    Result(T&& value) : state_(std::in_place_index<0>, std::move(value)) {}
    template <typename U>
        requires(std::is_constructible_v<T, U&&> && !std::is_same_v<std::remove_cvref_t<U>, T> &&
                 !std::is_same_v<std::remove_cvref_t<U>, Error> &&
                 !std::is_same_v<std::remove_cvref_t<U>, Result>)
    Result(U&& value) : state_(std::in_place_index<0>, T(std::forward<U>(value))) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& {
        if (!ok()) detail::resultAccessFailed("value() of a failed result", error().message);
        return *std::get_if<0>(&state_);
    }
    T& value() & {
        if (!ok()) detail::resultAccessFailed("value() of a failed result", error().message);
        return *std::get_if<0>(&state_);
    }
    T&& value() && {
        if (!ok()) detail::resultAccessFailed("value() of a failed result", error().message);
        return std::move(*std::get_if<0>(&state_));
    }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    template <typename U>
    T valueOr(U&& fallback) const& {
        return ok() ? value() : static_cast<T>(std::forward<U>(fallback));
    }

    const Error& error() const {
        if (ok()) detail::resultAccessFailed("error() of a successful result", "");
        return *std::get_if<1>(&state_);
    }

private:
    std::variant<T, Error> state_;
};

// Success carries nothing; `return {};` is success, `return Error{...};` is failure.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    void value() const {
        if (failed_) detail::resultAccessFailed("value() of a failed result", error_.message);
    }
    const Error& error() const {
        if (!failed_) detail::resultAccessFailed("error() of a successful result", "");
        return error_;
    }

private:
    Error error_;
    bool failed_ = false;
};

}  // namespace tallowmere::platform
