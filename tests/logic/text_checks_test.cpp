#include "logic/text_checks.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

struct Utf8Case {
  const char* name;
  std::string bytes;
  bool valid;
};

const Utf8Case Utf8Cases[] = {
    {"empty", "", true},
    {"ascii with controls", "level\t7\n\x7f", true},
    {"two bytes, least and most", "\xC2\x80 \xDF\xBF", true},
    {"three bytes, least and most", "\xE0\xA0\x80 \xEF\xBF\xBF", true},
    {"just below the surrogates", "\xED\x9F\xBF", true},
    {"just above the surrogates", "\xEE\x80\x80", true},
    {"four bytes, least", "\xF0\x90\x80\x80", true},
    {"U+10FFFF, the last", "\xF4\x8F\xBF\xBF", true},
    {"mixed text", "Kugel \xC3\xBC \xE2\x82\xAC \xF0\x9F\x8E\xB2", true},
    {"stray continuation byte", "a\x80", false},
    {"lone lead at the end", "abc\xC3", false},
    {"two bytes cut short", "\xC3(", false},
    {"three bytes cut short", "\xE2\x82", false},
    {"four bytes cut short", "\xF0\x9F\x8E", false},
    {"overlong slash in two bytes", "\xC0\xAF", false},
    {"overlong with lead C1", "\xC1\xBF", false},
    {"overlong in three bytes", "\xE0\x9F\xBF", false},
    {"overlong in four bytes", "\xF0\x8F\xBF\xBF", false},
    {"first surrogate", "\xED\xA0\x80", false},
    {"last surrogate", "\xED\xBF\xBF", false},
    {"just beyond U+10FFFF", "\xF4\x90\x80\x80", false},
    {"lead F5", "\xF5\x80\x80\x80", false},
    {"byte FF", "\xFF", false},
    {"good then bad", "\xC3\xBC\xC3", false},
};

// Every way a byte string can fail to be UTF-8, and the edges that pass.
TEST(TextChecksTest, IsValidUtf8) {
  for (const Utf8Case& c : Utf8Cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
  }
}

TEST(TextChecksTest, Utf8CharacterAtGivesLengthAndCodePoint) {
  const struct {
    std::string bytes;
    std::size_t length;
    char32_t codePoint;
  } cases[] = {
      {"A", 1, U'A'},
      {"\xC3\xBCx", 2, 0xfc},
      {"\xE2\x82\xAC", 3, 0x20ac},
      {"\xF4\x8F\xBF\xBF", 4, 0x10ffff},
      {"\xED\xA0\x80", 0, 0},
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    const Utf8Character character = Utf8CharacterAt(c.bytes);
    EXPECT_EQ(character.length, c.length);
    if (c.length > 0) {
      EXPECT_EQ(character.codePoint, c.codePoint);
    }
  }
}

TEST(TextChecksTest, HexValue) {
  const std::string digits = "0123456789abcdef";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    EXPECT_EQ(HexValue(digits[i]), static_cast<int>(i)) << digits[i];
    EXPECT_EQ(HexValue(static_cast<char>(std::toupper(digits[i]))), static_cast<int>(i));
  }
  for (const char c : {'g', 'G', '/', ':', '@', '`', ' ', '\0', '\xff'})
    EXPECT_EQ(HexValue(c), std::nullopt) << static_cast<int>(c);
}

}  // namespace
