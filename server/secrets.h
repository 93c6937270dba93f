#pragma once
// Random tokens from the system's random source, and the hashes the site
// keeps of them.

#include <string>
#include <string_view>

/// `bytes` random bytes from the system (getrandom) as lowercase hexadecimal
/// digits. Throws std::runtime_error when the system gives none.
std::string RandomHex(std::size_t bytes);

/// A new edit token: 128 random bits, 32 hexadecimal digits.
std::string NewEditToken();

/// The SHA-256 hash of the text, in hexadecimal: what the store keeps of a token.
std::string Sha256Hex(std::string_view text);

/// HMAC-SHA-256 of the text under the key, in hexadecimal.
std::string KeyedHashHex(std::string_view key, std::string_view text);
