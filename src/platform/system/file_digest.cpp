#include "platform/system/file_digest.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/system/system_error.h"

namespace tallowmere::platform::FileDigest {

namespace {

const EVP_MD* digestFor(DigestAlgorithm algorithm) {
    switch (algorithm) {
        case DigestAlgorithm::md5:
            return EVP_md5();
        case DigestAlgorithm::sha1:
            return EVP_sha1();
        case DigestAlgorithm::sha224:
            return EVP_sha224();
        case DigestAlgorithm::sha256:
            return EVP_sha256();
        case DigestAlgorithm::sha384:
            return EVP_sha384();
        case DigestAlgorithm::sha512:
            return EVP_sha512();
        case DigestAlgorithm::sha512_224:
            return EVP_sha512_224();
        case DigestAlgorithm::sha512_256:
            return EVP_sha512_256();
    }
    return EVP_sha1();
}

struct ContextDeleter {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Context = std::unique_ptr<EVP_MD_CTX, ContextDeleter>;

Context begin(DigestAlgorithm algorithm) {
    Context context(EVP_MD_CTX_new());
    if (context && EVP_DigestInit_ex(context.get(), digestFor(algorithm), nullptr) != 1)
        context.reset();
    return context;
}

std::string finish(EVP_MD_CTX* context) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context, digest, &length);
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        text += digits[digest[i] >> 4];
        text += digits[digest[i] & 0xF];
    }
    return text;
}

}  // namespace

std::string hex(std::string_view bytes, DigestAlgorithm algorithm) {
    Context context = begin(algorithm);
    if (!context) return {};
    EVP_DigestUpdate(context.get(), bytes.data(), bytes.size());
    return finish(context.get());
}

Result<std::string> hexOfFile(const std::filesystem::path& path, DigestAlgorithm algorithm) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return systemError(errno, path.string());
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) return systemError(EISDIR, path.string());

    Context context = begin(algorithm);
    if (!context) return Error{ErrorCode::internal, "The digest could not be started.", 0};
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    // Reads as large as the core's cache: few system calls, and the bytes
    // are still in the cache when they are digested. The buffer is all the
    // memory a file of any size takes.
    constexpr std::size_t bufferSize = 512 << 10;
    const auto buffer = std::make_unique<char[]>(bufferSize);
    for (;;) {
        ssize_t count = ::read(fd, buffer.get(), bufferSize);
        if (count < 0) {
            if (errno == EINTR) continue;
            return systemError(errno, path.string());
        }
        if (count == 0) break;
        EVP_DigestUpdate(context.get(), buffer.get(), static_cast<std::size_t>(count));
    }
    return finish(context.get());
}

}  // namespace tallowmere::platform::FileDigest
