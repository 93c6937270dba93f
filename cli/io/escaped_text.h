#pragma once
// Text from the user echoed back safely: no byte of it can act on a terminal.

#include <string>
#include <string_view>

/// The text with every byte outside printable ASCII (below 0x20, 0x7f and
/// above) and every backslash written as \xNN with two lowercase hex digits;
/// at most four bytes out for each byte in.
std::string EscapeText(std::string_view text);

/// EscapeText in single quotes, as messages name a user's text: 'text'.
std::string QuoteText(std::string_view text);

/// A file name as messages show it: characters of valid UTF-8 as they are,
/// so that a name in any script reads as it was typed; every byte of a
/// control character (C0, DEL, C1, and the bidirectional controls that could
/// reorder the line on screen), every byte that is not part of valid UTF-8,
/// and the backslash as in EscapeText.
std::string EscapeFileName(std::string_view name);

/// EscapeFileName in single quotes: 'name'.
std::string QuoteFileName(std::string_view name);
