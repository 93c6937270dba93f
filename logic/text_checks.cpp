#include "logic/text_checks.h"

namespace {

/// The length of the sequence a lead byte begins, the bits the lead byte
/// holds and the least code point that needs that many bytes; length 0 for a
/// byte no sequence begins with (a continuation byte, the overlong leads C0
/// and C1, and F5 and above, which lie beyond U+10FFFF).
struct Lead {
  std::size_t length = 0;
  char32_t bits = 0;
  char32_t least = 0;
};

Lead LeadOf(unsigned char byte) {
  if (byte < 0x80) return {1, byte, 0};
  if (byte >= 0xc2 && byte <= 0xdf) return {2, byte & 0x1fu, 0x80};
  if (byte >= 0xe0 && byte <= 0xef) return {3, byte & 0x0fu, 0x800};
  if (byte >= 0xf0 && byte <= 0xf4) return {4, byte & 0x07u, 0x10000};
  return {};
}

bool IsSurrogate(char32_t c) { return c >= 0xd800 && c <= 0xdfff; }

}  // namespace

Utf8Character Utf8CharacterAt(std::string_view text) {
  if (text.empty()) return {};
  const Lead lead = LeadOf(static_cast<unsigned char>(text[0]));
  if (lead.length == 0 || text.size() < lead.length) return {};
  char32_t codePoint = lead.bits;
  for (std::size_t i = 1; i < lead.length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xc0) != 0x80) return {};
    codePoint = (codePoint << 6) | (next & 0x3fu);
  }
  if (codePoint < lead.least || IsSurrogate(codePoint) || codePoint > 0x10ffff) return {};
  return {lead.length, codePoint};
}

bool IsValidUtf8(std::string_view text) {
  while (!text.empty()) {
    const std::size_t length = Utf8CharacterAt(text).length;
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

std::optional<int> HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}
