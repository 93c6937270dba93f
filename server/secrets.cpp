#include "server/secrets.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <sys/random.h>

#include <cerrno>
#include <stdexcept>
#include <vector>

namespace {

std::string Hex(const unsigned char* bytes, std::size_t count) {
  static constexpr char Digits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    hex += Digits[bytes[i] >> 4];
    hex += Digits[bytes[i] & 15];
  }
  return hex;
}

}  // namespace

std::string RandomHex(std::size_t bytes) {
  std::vector<unsigned char> random(bytes);
  std::size_t filled = 0;
  while (filled < bytes) {
    const ssize_t got = getrandom(random.data() + filled, bytes - filled, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) throw std::runtime_error("the system gives no random bytes");
    filled += static_cast<std::size_t>(got);
  }
  return Hex(random.data(), bytes);
}

std::string NewEditToken() { return RandomHex(16); }

std::string Sha256Hex(std::string_view text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(text.data(), text.size(), digest, &length, EVP_sha256(), nullptr) != 1)
    throw std::runtime_error("SHA-256 failed");
  return Hex(digest, length);
}

std::string KeyedHashHex(std::string_view key, std::string_view text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()),
           reinterpret_cast<const unsigned char*>(text.data()), text.size(), digest,
           &length) == nullptr)
    throw std::runtime_error("HMAC-SHA-256 failed");
  return Hex(digest, length);
}
