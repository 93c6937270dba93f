#pragma once
// The checks of text that come in from outside: whether bytes are well-formed
// UTF-8, character by character, and the value of a hexadecimal digit. The
// set reader, the sharing page's address and the tool's echo of file names
// all decide by these.

#include <cstddef>
#include <optional>
#include <string_view>

/// One character at the start of a text.
struct Utf8Character {
  std::size_t length = 0;  // bytes; 0 when the bytes there are no character
  char32_t codePoint = 0;
};

/// The well-formed UTF-8 character at the start of text. Its length is 0 for
/// an empty text, a stray continuation byte, a sequence cut short, an overlong
/// form, a surrogate or a code point beyond U+10FFFF.
Utf8Character Utf8CharacterAt(std::string_view text);

/// True when the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

/// The value of a hexadecimal digit, in either case.
std::optional<int> HexValue(char c);
