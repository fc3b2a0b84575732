#pragma once

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace tallowmere::platform {

// Owns one file descriptor and closes it when it goes.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { close(); }

    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) reset(std::exchange(other.fd_, -1));
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool isValid() const { return fd_ >= 0; }
    // Closes what it held and takes `fd` (none by default).
    void reset(int fd = -1) {
        close();
        fd_ = fd;
    }
    // Closes now and reports the close's own failure as an errno (0 when
    // none): a write error the system deferred shows up here.
    int close() {
        if (fd_ < 0) return 0;
        const int result = ::close(std::exchange(fd_, -1));
        return result == 0 ? 0 : errno;
    }

private:
    int fd_ = -1;
};

}  // namespace tallowmere::platform
