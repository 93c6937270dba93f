#include "cli/io/escaped_text.h"

namespace {

bool ShownAsItIs(unsigned char byte) { return byte >= 0x20 && byte < 0x7f && byte != '\\'; }

}  // namespace

std::string EscapeText(std::string_view text) {
  constexpr char Hex[] = "0123456789abcdef";
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (ShownAsItIs(byte)) {
      escaped += c;
    } else {
      // The backslash is escaped too, so \x1b in the echo always means the byte.
      escaped += "\\x";
      escaped += Hex[byte >> 4];
      escaped += Hex[byte & 15];
    }
  }
  return escaped;
}

std::string QuoteText(std::string_view text) {
  // Appended in place: GCC 12 at -O3 takes `"'" + EscapeText(text)`, an
  // insertion at the front, for a possible overlap of the copy (-Wrestrict).
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '\'';
  quoted += EscapeText(text);
  quoted += '\'';
  return quoted;
}
