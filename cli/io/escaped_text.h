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
