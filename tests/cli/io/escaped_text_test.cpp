// Echoed text carries no byte that a terminal acts on, reads back unambiguously
// and grows at most fourfold.

#include "cli/io/escaped_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct EscapeCase {
  std::string text;
  std::string shown;
};

TEST(EscapeTextTest, OnlyPrintableAsciiStaysAsItIs) {
  const EscapeCase cases[] = {
      {"3111221000110fbe5", "3111221000110fbe5"},
      {"3001122221100fbe5 and more: ~!", "3001122221100fbe5 and more: ~!"},
      {"", ""},
      {"\x1b]0;title\x07", "\\x1b]0;title\\x07"},  // a terminal title change
      {"\x1b[2J", "\\x1b[2J"},                     // clearing the screen
      {"a\tb\r\n", "a\\x09b\\x0d\\x0a"},
      {std::string("\0", 1), "\\x00"},
      {"\x7f\x80\xff", "\\x7f\\x80\\xff"},
      {"caf\xc3\xa9", "caf\\xc3\\xa9"},
      {"\\x1b", "\\x5cx1b"},  // a typed backslash cannot pass for an escaped byte
  };
  for (const EscapeCase& c : cases) EXPECT_EQ(EscapeText(c.text), c.shown);
}

TEST(EscapeTextTest, QuotedTextIsTheEscapedTextInSingleQuotes) {
  EXPECT_EQ(QuoteText(""), "''");
  EXPECT_EQ(QuoteText("levels.txt"), "'levels.txt'");
  EXPECT_EQ(QuoteText("it's\\x1b"), "'it's\\x5cx1b'");
  EXPECT_EQ(QuoteText("\x1b[2J"), "'\\x1b[2J'");
}

TEST(EscapeTextTest, EveryByteGivesPrintableAsciiAndAtMostFourBytes) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string shown = EscapeText(std::string(1, static_cast<char>(byte)));
    SCOPED_TRACE(byte);
    EXPECT_LE(shown.size(), 4u);
    for (const char c : shown) EXPECT_TRUE(c >= 0x20 && c < 0x7f);
  }
}

}  // namespace
