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

// File names in any script read as typed; what could act on a terminal, or
// is no character at all, is escaped as EscapeText does it.
TEST(EscapeTextTest, FileNamesKeepValidUtf8AndEscapeTheRest) {
  const EscapeCase cases[] = {
      {"levels.txt", "levels.txt"},
      {"d\xc3\xa9/niveaux_\xc3\xa9.txt", "d\xc3\xa9/niveaux_\xc3\xa9.txt"},  // two-byte characters
      {"\xe6\xb0\xb4.txt", "\xe6\xb0\xb4.txt"},                              // three bytes
      {"\xf0\x9f\x8e\xb2", "\xf0\x9f\x8e\xb2"},                              // four bytes
      {"\xf4\x8f\xbf\xbf", "\xf4\x8f\xbf\xbf"},                              // U+10FFFF, the last
      {"a\x1b[2Jb\x7f", "a\\x1b[2Jb\\x7f"},                                  // C0 and DEL
      {"a\\b", "a\\x5cb"},                                                   // the backslash
      {"\xc2\x9b"
       "31m",
       "\\xc2\\x9b31m"},                                                 // a C1 control
      {"\xc2\xa0", "\xc2\xa0"},                                          // U+00A0, after the C1s
      {"abc\xe2\x80\xaetxt.exe", "abc\\xe2\\x80\\xaetxt.exe"},           // right-to-left override
      {"\xe2\x81\xa6x\xe2\x80\x8f", "\\xe2\\x81\\xa6x\\xe2\\x80\\x8f"},  // isolate, RLM
      {"caf\xe9", "caf\\xe9"},                                           // Latin-1, not UTF-8
      {"\xc3", "\\xc3"},                                                 // cut short at the end
      {"\xc3(", "\\xc3("},                                               // cut short before ASCII
      {"\xa9", "\\xa9"},                             // a stray continuation byte
      {"\xc0\xaf", "\\xc0\\xaf"},                    // an overlong '/'
      {"\xe0\x80\xaf", "\\xe0\\x80\\xaf"},           // an overlong '/' in three
      {"\xed\xa0\x80", "\\xed\\xa0\\x80"},           // a surrogate
      {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},  // above U+10FFFF
      {"\xf5\x80\x80\x80", "\\xf5\\x80\\x80\\x80"},  // no lead byte
  };
  for (const EscapeCase& c : cases) {
    SCOPED_TRACE(EscapeText(c.text));
    EXPECT_EQ(EscapeFileName(c.text), c.shown);
  }
  EXPECT_EQ(QuoteFileName("d\xc3\xa9.txt"), "'d\xc3\xa9.txt'");
  EXPECT_EQ(QuoteFileName("\x1b"), "'\\x1b'");
}

}  // namespace
