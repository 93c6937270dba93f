#include "cli/io/escaped_text.h"

#include <cstddef>

#include "logic/text_checks.h"

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
    const bool ascii = static_cast<unsigned char>(name[i]) < 0x80;
    const Utf8Character character = ascii ? Utf8Character{} : Utf8CharacterAt(name.substr(i));
    const std::size_t length = character.length;
    if (length > 0 && !IsControlAboveAscii(character.codePoint)) {
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
