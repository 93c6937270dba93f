#include "cli/io/escaped_text.h"

#include <cstddef>

namespace {

bool ShownAsItIs(unsigned char byte) { return byte >= 0x20 && byte < 0x7f && byte != '\\'; }

void AppendEscaped(std::string& out, char c) {
  constexpr char Hex[] = "0123456789abcdef";
  const auto byte = static_cast<unsigned char>(c);
  out += "\\x";
  out += Hex[byte >> 4];
  out += Hex[byte & 15];
}

std::string Quoted(const std::string& shown) {
  // Appended in place: GCC 12 at -O3 takes `"'" + shown`, an insertion at the
  // front, for a possible overlap of the copy (-Wrestrict).
  std::string quoted;
  quoted.reserve(shown.size() + 2);
  quoted += '\'';
  quoted += shown;
  quoted += '\'';
  return quoted;
}

/// The length of the valid UTF-8 sequence of a character above ASCII at the
/// start of text, with its code point; 0 when the bytes there are no such
/// sequence (a stray continuation byte, a cut or overlong sequence, a
/// surrogate, a code point above U+10FFFF).
std::size_t Utf8Sequence(std::string_view text, char32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  char32_t least = 0;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2, least = 0x80, codePoint = lead & 0x1f;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3, least = 0x800, codePoint = lead & 0x0f;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4, least = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xc0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (next & 0x3f);
  }
  const bool surrogate = codePoint >= 0xd800 && codePoint <= 0xdfff;
  if (codePoint < least || surrogate || codePoint > 0x10ffff) return 0;
  return length;
}

/// The C1 controls and the characters that steer bidirectional text: shown
/// as they are, they could act on a terminal or make the line read otherwise.
bool IsControlAboveAscii(char32_t c) {
  return (c >= 0x80 && c <= 0x9f) || c == 0x061c || c == 0x200e || c == 0x200f ||
         (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

std::string EscapeText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    // The backslash is escaped too, so \x1b in the echo always means the byte.
    if (ShownAsItIs(static_cast<unsigned char>(c))) {
      escaped += c;
    } else {
      AppendEscaped(escaped, c);
    }
  }
  return escaped;
}

std::string QuoteText(std::string_view text) { return Quoted(EscapeText(text)); }

std::string EscapeFileName(std::string_view name) {
  std::string shown;
  shown.reserve(name.size());
  std::size_t i = 0;
  while (i < name.size()) {
    char32_t codePoint = 0;
    const bool ascii = static_cast<unsigned char>(name[i]) < 0x80;
    const std::size_t length = ascii ? 0 : Utf8Sequence(name.substr(i), codePoint);
    if (length > 0 && !IsControlAboveAscii(codePoint)) {
      shown.append(name.substr(i, length));
    } else {
      // An ASCII byte, a byte of no valid sequence, or a whole control character.
      shown += EscapeText(name.substr(i, length > 0 ? length : 1));
    }
    i += length > 0 ? length : 1;
  }
  return shown;
}

std::string QuoteFileName(std::string_view name) { return Quoted(EscapeFileName(name)); }
