// A level set read a line at a time from a stream gives what the whole text
// gives, line numbers and header included; over-long lines are reported, not
// held, and a read error is not the end of the set.

#include "cli/set_stream.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "logic/level_set.h"

// Readable failures.
void PrintTo(const SetLevel& level, std::ostream* out) {
  *out << "{line " << level.line << ", " << level.code << ", '" << level.title << "'}";
}
void PrintTo(const SetLineError& error, std::ostream* out) {
  *out << "{line " << error.line << ", " << error.text << ", " << EnglishReason(error.reason)
       << "}";
}

namespace {

constexpr const char* Maze = "31011121121026ac5";
constexpr const char* Corridor = "5020100030201ffbfeffbfe55";

/// A stream over the text that hands out at most chunk bytes a read, then
/// fails with error (0: ends).
ReadBytes TextStream(std::string text, std::size_t chunk, int error = 0) {
  auto offset = std::make_shared<std::size_t>(0);
  return [text = std::move(text), chunk, error, offset](char* buffer, std::size_t size) {
    const std::size_t count = std::min({size, chunk, text.size() - *offset});
    if (count == 0 && error != 0) return ReadOutcome{0, error};
    std::memcpy(buffer, text.data() + *offset, count);
    *offset += count;
    return ReadOutcome{count, 0};
  };
}

/// Everything the stream gives, as ReadLevelSet would give it.
LevelSetReading ReadThroughStream(const std::string& text, std::size_t chunk) {
  SetStream stream(TextStream(text, chunk));
  LevelSetReading reading;
  for (SetEntry entry = stream.Next(); entry.kind != SetEntry::Kind::End; entry = stream.Next()) {
    const int line = static_cast<int>(entry.line);
    if (entry.kind == SetEntry::Kind::Level) {
      reading.set.levels.push_back({line, entry.code, entry.title});
    } else if (entry.kind == SetEntry::Kind::Invalid ||
               entry.kind == SetEntry::Kind::InvalidHeader) {
      reading.errors.push_back(
          {line, entry.code, entry.reason, entry.kind == SetEntry::Kind::InvalidHeader});
    } else {
      ADD_FAILURE() << "read error " << entry.error;
      break;
    }
  }
  reading.set.title = stream.Title();
  reading.set.author = stream.Author();
  return reading;
}

struct SameCase {
  const char* name;
  std::string text;
};

class SetStreamTest : public testing::TestWithParam<SameCase> {};

TEST_P(SetStreamTest, GivesWhatTheWholeTextGives) {
  const LevelSetReading whole = ReadLevelSet(GetParam().text);
  // In one piece, and a byte at a time across every line end.
  for (const std::size_t chunk : {std::size_t{1}, std::size_t{65536}}) {
    SCOPED_TRACE(chunk);
    const LevelSetReading streamed = ReadThroughStream(GetParam().text, chunk);
    EXPECT_EQ(streamed.set, whole.set);
    EXPECT_EQ(streamed.errors, whole.errors);
  }
}

const std::string M = Maze;
const std::string C = Corridor;

INSTANTIATE_TEST_SUITE_P(
    Texts, SetStreamTest,
    testing::Values(
        SameCase{"Empty", ""}, SameCase{"OneCodeWithoutLineEnd", M},
        SameCase{"HeaderTitlesAndComments",
                 "# title: First steps\n# author: A. Designer\n# a comment\n" + M +
                     "\tThe small maze\n" + C + "\n"},
        SameCase{"CrLfBlankLinesAndBlanksAround", "\r\n# Title:   Spaced out  \r\n\r\n   \t\r\n  " +
                                                      M + "  \t  Blanks around  \r\n" + C +
                                                      "\r\n\r\n"},
        SameCase{"ByteOrderMarkOnTheFirstLine", "\xEF\xBB\xBF# title: Marked\n" + M + "\n"},
        SameCase{"ByteOrderMarkOnTheFirstLineBeforeACode", "\xEF\xBB\xBF" + M + "\n"},
        SameCase{"ByteOrderMarkLaterIsNoBlank",
                 "\n\xEF\xBB\xBF" + M + "\n\xEF\xBB\xBF# title: x\n"},
        SameCase{"HeaderOnlyBeforeTheFirstLevel",
                 M + "\n# title: Too late\n# author: Too late\n# title: \xff\n"},
        SameCase{"TheFirstTitleAndAuthorStay",
                 "# author: First\n# title: One\n# title: Two\n# author: Second\n" + M + "\n"},
        SameCase{"AnEmptyTitleNamesNothing", "# title:\n# title:   \n# title: Real\n" + M},
        SameCase{"BadUtf8TitleThenAGoodOne",
                 "# title: \xff\xfe\n# title: Good\n# author: \xc0\xaf\n" + M},
        SameCase{"GoodTitleThenABadOne", "# title: Good\n# title: \xff\n" + M},
        SameCase{"TitleEndingInCarriageReturns",
                 "# title: ab\r \r\n# title: other\n# author: cd\r\r\n# author: x\n" + M},
        SameCase{"BadLines", "bogus\n" + M + "junk\n" + M + "\t\xff title\n3111221000110fbe5 x\n" +
                                 M + "\tfine\t with tabs\n#\n" + C + "\n9\n"},
        SameCase{"TabsAndCarriageReturnsAlone", "\t\n\r\n \t \r\n"},
        SameCase{"LinesThatStartWithATab",
                 "\tjust a title\n \t" + M + "\n\t# not a comment\n# title: Still\n" + M}),
    [](const testing::TestParamInfo<SameCase>& info) { return info.param.name; });

struct LongCase {
  const char* name;
  std::string text;
  std::vector<std::string> entries;  // "line: code (reason)" for each entry
  std::string title;
};

std::vector<std::string> Entries(const std::string& text, std::string& title) {
  SetStream stream(TextStream(text, 4000));
  std::vector<std::string> entries;
  for (SetEntry entry = stream.Next(); entry.kind != SetEntry::Kind::End; entry = stream.Next()) {
    const std::string reason = EnglishReason(entry.reason);
    entries.push_back(std::to_string(entry.line) + ": " + entry.code +
                      (reason.empty() ? "" : " (" + reason + ")"));
  }
  title = stream.Title();
  return entries;
}

TEST(SetStreamTest, OverlongLinesAreReportedUnlessTheyAreComments) {
  const std::string longText(5000, 'x');
  const std::string start = M + "\t" + std::string(TooLongShown - M.size() - 1, 'x') + "...";
  const LongCase cases[] = {
      {"LevelWithLongTitle",
       M + "\t" + longText + "\n" + C + "\n",
       {"1: " + start + " (line too long)", "2: " + C},
       ""},
      {"LongCommentBeforeTheLevels",
       "# " + longText + "\n# title: T\n" + M + "\n",
       {"3: " + M},
       "T"},
      {"LongTitleCannotBeHeld",
       "# title: " + longText + "\n" + M + "\n",
       {"1: # title: " + std::string(TooLongShown - 9, 'x') + "... (line too long)", "2: " + M},
       ""},
      {"LongTitleAfterAShortOneNamesNothing",
       "# title: Short\n# title: " + longText + "\n" + M + "\n",
       {"3: " + M},
       "Short"},
      {"LongHeaderAfterTheFirstLevel",
       M + "\n# title: " + longText + "\n" + C,
       {"1: " + M, "3: " + C},
       ""},
      {"LongBlankLineIsTooLong",
       std::string(5000, ' ') + "\n" + M,
       {"1: " + std::string(TooLongShown, ' ') + "... (line too long)", "2: " + M},
       ""},
  };
  for (const LongCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string title;
    EXPECT_EQ(Entries(c.text, title), c.entries);
    EXPECT_EQ(title, c.title);
  }
}

TEST(SetStreamTest, ReadErrorComesAfterTheLinesBeforeIt) {
  SetStream stream(TextStream(M + "\n# title: late\nbogus\n" + C, 7, EIO));
  EXPECT_EQ(stream.Next().code, M);
  EXPECT_EQ(stream.Next().code, "bogus");
  // The last line without its line end is not taken for a whole line.
  const SetEntry failure = stream.Next();
  EXPECT_EQ(failure.kind, SetEntry::Kind::ReadError);
  EXPECT_EQ(failure.error, EIO);
}

}  // namespace
