#include "platform/base/base64.h"

#include <algorithm>

#include <openssl/evp.h>

namespace tallowmere::platform {

std::string base64Encoded(std::span<const std::uint8_t> bytes) {
    std::string text(4 * ((bytes.size() + 2) / 3), '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes.data(),
                                       static_cast<int>(bytes.size()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

}  // namespace tallowmere::platform
