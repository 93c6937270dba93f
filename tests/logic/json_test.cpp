// The API's strict JSON reader and the quoting of its answers.

#include "logic/json.h"

#include <gtest/gtest.h>

namespace {

TEST(Json, ReadsWhatRfc8259AllowsAndNothingElse) {
  struct Case {
    std::string text;
    bool accepted;
  } cases[] = {
      {"{}", true},
      {" {\"a\" : [1, -2.5e3, true, false, null, \"x\"]} \n", true},
      {"\"\\u00e9\\ud83d\\ude00\\/\"", true},
      {"0", true},
      {"[[[[[[[[1]]]]]]]]", true},  // as deep as it reads
      {"[[[[[[[[[1]]]]]]]]]", false},
      {"", false},
      {"{", false},
      {"{\"a\":1,}", false},
      {"[1,]", false},
      {"01", false},
      {"1.", false},
      {"-", false},
      {".5", false},
      {"+1", false},
      {"tru", false},
      {"NaN", false},
      {"{'a':1}", false},
      {"{\"a\":1 \"b\":2}", false},
      {"{\"a\":1,\"a\":2}", false},
      {"\"a\tb\"", false},
      {"\"\\x41\"", false},
      {"\"\\u12\"", false},
      {"\"\\udc00\"", false},
      {"\"\\ud800x\"", false},
      {"\"\xc0\xaf\"", false},
      {"\"\xed\xa0\x80\"", false},
      {"\"abc", false},
      {"1 2", false},
      {std::string("\"a\0b\"", 5), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(std::holds_alternative<JsonValue>(ParseJson(c.text)), c.accepted);
  }
}

TEST(Json, GivesTheValuesAndTheirMembers) {
  const auto parsed =
      ParseJson("{\"title\":\"caf\\u00e9 \\\"x\\\"\",\"levels\":[{\"code\":\"a\"}],\"n\":2}");
  ASSERT_TRUE(std::holds_alternative<JsonValue>(parsed));
  const JsonValue& value = std::get<JsonValue>(parsed);
  ASSERT_NE(value.Member("title"), nullptr);
  EXPECT_EQ(*value.Member("title")->String(), "caf\xc3\xa9 \"x\"");
  ASSERT_NE(value.Member("levels")->Array(), nullptr);
  EXPECT_EQ(*value.Member("levels")->Array()->at(0).Member("code")->String(), "a");
  EXPECT_EQ(value.Member("n")->String(), nullptr);
  EXPECT_EQ(value.Member("missing"), nullptr);
}

TEST(Json, QuotesTextSoThatNoMarkupAndNoControlGetsThrough) {
  EXPECT_EQ(JsonQuoted("a\"b\\c\n\x01<script>&'"),
            "\"a\\\"b\\\\c\\n\\u0001\\u003cscript\\u003e\\u0026\\u0027\"");
  EXPECT_EQ(JsonQuoted("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
  const std::string text = "<b>\"tricky\"</b>\t\\";
  const auto back = ParseJson(JsonQuoted(text));
  ASSERT_TRUE(std::holds_alternative<JsonValue>(back));
  EXPECT_EQ(*std::get<JsonValue>(back).String(), text);
}

}  // namespace
