#include "play/set_play.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "logic/level_code.h"
#include "logic/symmetry.h"
#include "tests/support/game_test_support.h"

namespace {

// 3 x 3 with open inner sides: N W solves it; S N N W solves it in four.
constexpr const char* TwoMoveCode = "3111221000110fbe5";
// 5 x 5 maze: E solves it.
constexpr const char* OneMoveCode = "5020100030201ffbfeffbfe55";
// 3 x 3 cleared with the default pieces: no solution.
constexpr const char* UnsolvableCode = "3001122221100fbe5";
// Every ball already on its hole.
constexpr const char* SolvedCode = "3001122001122fbe5";

std::string Line(const std::string& code, const std::string& title = "") {
  return title.empty() ? code + "\n" : code + "\t" + title + "\n";
}

/// "T1", "T2", ...: the title SetText gives the level of that number.
std::string TitleOf(std::size_t number) {
  // Appended, not "T" + ...: GCC 12 at -O3 takes that for a possible overlap (-Wrestrict).
  return std::string("T").append(std::to_string(number));
}

/// The set text of the codes, titled "T1", "T2", ... in their order.
std::string SetText(const std::vector<std::string>& codes) {
  std::string text = "# title: Test set\n";
  for (std::size_t i = 0; i < codes.size(); ++i) text += Line(codes[i], TitleOf(i + 1));
  return text;
}

/// The code of the level mirrored top to bottom.
std::string MirroredCode(const char* code) {
  Level level;
  EXPECT_TRUE(ParseLevelCode(level, code).accepted);
  XFlip(level);
  return WriteLevelCode(level);
}

struct Played {
  std::shared_ptr<MemoryProgressStore> store = std::make_shared<MemoryProgressStore>();
  SetPlay Open(const std::string& text) const { return SetPlay(PrepareSet(text), store); }
};

/// Plays the keys on the set's current level: N S W E tilt, u undoes, r restarts;
/// the set observes the game after each, as the window lets it.
GameState PlayCurrent(SetPlay& play, const std::string& keys) {
  GameState game(play.CurrentLevel());
  play.Observe(game);
  for (const char key : keys) {
    testsupport::PlayKey(game, key);
    play.Observe(game);
  }
  return game;
}

// ---------------------------------------------------------------------------
// Reading a set for play

struct PrepareCase {
  const char* name;
  std::string text;
  std::vector<std::string> codes;  // the levels played, in order
  std::vector<std::string> titles;
  std::vector<int> leftOutLines;
  std::string noticeStart;
};

class PrepareSetTest : public testing::TestWithParam<PrepareCase> {};

TEST_P(PrepareSetTest, PlaysTheValidLevelsInOrderAndCountsTheRest) {
  const PrepareCase& c = GetParam();
  const PlayableSet set = PrepareSet(c.text);
  std::vector<std::string> codes, titles;
  for (const SetLevelEntry& entry : set.levels) {
    codes.push_back(entry.code);
    titles.push_back(entry.title);
  }
  std::vector<int> lines;
  for (const SetLineError& error : set.leftOut) lines.push_back(error.line);
  EXPECT_EQ(codes, c.codes);
  EXPECT_EQ(titles, c.titles);
  EXPECT_EQ(lines, c.leftOutLines);
  const std::string notice = LeftOutNotice(set);
  if (c.noticeStart.empty()) {
    EXPECT_EQ(notice, "");
  } else {
    EXPECT_TRUE(notice.starts_with(c.noticeStart)) << notice;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PrepareSetTest,
    testing::Values(
        PrepareCase{"Valid",
                    "# title: First\n" + Line(OneMoveCode, "Corridor") + Line(TwoMoveCode) +
                        Line(UnsolvableCode, "Stuck"),
                    {OneMoveCode, TwoMoveCode, UnsolvableCode},
                    {"Corridor", "", "Stuck"},
                    {},
                    ""},
        PrepareCase{"OneBadLine",
                    Line(TwoMoveCode) + "3xyz\n" + Line(OneMoveCode),
                    {TwoMoveCode, OneMoveCode},
                    {"", ""},
                    {2},
                    "1 line of the set could not be read and was left out; it is line 2: "},
        PrepareCase{"TextAfterTheCodeAndABadTitle",
                    "# title: \xff\n" + Line(TwoMoveCode) + std::string(TwoMoveCode) + " x\n" +
                        Line(OneMoveCode, "\xc3("),
                    {TwoMoveCode},
                    {""},
                    {1, 3, 4},
                    "3 lines of the set could not be read and were left out; the first is line 1: "
                    "the line is not valid UTF-8."},
        PrepareCase{"NothingPlayable",
                    "# title: Empty\n\nhello\n",
                    {},
                    {},
                    {3},
                    "1 line of the set could not be read and was left out; it is line 3: "},
        PrepareCase{"Empty", "", {}, {}, {}, ""}),
    [](const testing::TestParamInfo<PrepareCase>& info) { return std::string(info.param.name); });

TEST(PrepareSetTest, NamesEachLevelByItsCanonicalCode) {
  const PlayableSet set =
      PrepareSet(Line(TwoMoveCode) + Line(MirroredCode(TwoMoveCode)) + Line(OneMoveCode));
  ASSERT_EQ(set.levels.size(), 3u);
  ASSERT_NE(set.levels[0].code, set.levels[1].code);
  EXPECT_EQ(set.levels[0].canonicalCode, set.levels[1].canonicalCode);
  EXPECT_NE(set.levels[0].canonicalCode, set.levels[2].canonicalCode);
}

// The reason of a bad code comes from the code reader; the notice quotes it whole.
TEST(PrepareSetTest, NoticeGivesTheReaderReason) {
  const PlayableSet set = PrepareSet(Line(TwoMoveCode) + "3xyz\n");
  ASSERT_EQ(set.leftOut.size(), 1u);
  ASSERT_NE(set.leftOut[0].reason.id, ReasonId::None);
  EXPECT_EQ(LeftOutNotice(set),
            "1 line of the set could not be read and was left out; it is line 2: " +
                EnglishReason(set.leftOut[0].reason) + ".");
}

// ---------------------------------------------------------------------------
// Order and the keys that move through the set

struct StepCase {
  const char* steps;  // n next, p previous, 0-9 go to that index
  std::vector<bool> answers;
  int index;
};

class SetStepsTest : public testing::TestWithParam<StepCase> {};

TEST_P(SetStepsTest, StopsAtBothEnds) {
  const StepCase& c = GetParam();
  Played played;
  SetPlay play = played.Open(SetText({TwoMoveCode, OneMoveCode, UnsolvableCode}));
  ASSERT_EQ(play.Index(), 0);
  std::vector<bool> answers;
  for (const char step : std::string(c.steps)) {
    if (step == 'n')
      answers.push_back(play.Next());
    else if (step == 'p')
      answers.push_back(play.Previous());
    else
      answers.push_back(play.GoTo(step - '0'));
  }
  EXPECT_EQ(answers, c.answers);
  EXPECT_EQ(play.Index(), c.index);
  const char* codes[] = {TwoMoveCode, OneMoveCode, UnsolvableCode};
  EXPECT_EQ(play.Current().code, codes[c.index]);
  EXPECT_EQ(play.Current().title, TitleOf(c.index + 1));
  EXPECT_EQ(WriteLevelCode(play.CurrentLevel()), codes[c.index]);
}

INSTANTIATE_TEST_SUITE_P(Steps, SetStepsTest,
                         testing::Values(StepCase{"", {}, 0}, StepCase{"p", {false}, 0},
                                         StepCase{"n", {true}, 1}, StepCase{"nn", {true, true}, 2},
                                         StepCase{"nnn", {true, true, false}, 2},
                                         StepCase{"nnnp", {true, true, false, true}, 1},
                                         StepCase{"nppp", {true, true, false, false}, 0},
                                         StepCase{"2", {true}, 2}, StepCase{"22", {true, false}, 2},
                                         StepCase{"3", {false}, 0}, StepCase{"0", {false}, 0}));

TEST(SetPlayTest, StartsAtTheFirstLevelNotSolved) {
  Played played;
  const std::string text = SetText({OneMoveCode, TwoMoveCode, UnsolvableCode});
  EXPECT_EQ(played.Open(text).Index(), 0);
  {
    SetPlay play = played.Open(text);
    PlayCurrent(play, "E");
  }
  EXPECT_EQ(played.Open(text).Index(), 1);
  {
    SetPlay play = played.Open(text);
    PlayCurrent(play, "NW");
  }
  EXPECT_EQ(played.Open(text).Index(), 2);
  // The last level has no solution: the set can never be all solved, and
  // opening it again still starts there.
  EXPECT_EQ(played.Open(text).Index(), 2);
}

TEST(SetPlayTest, StartsAtTheFirstLevelWhenEveryLevelIsSolved) {
  Played played;
  played.store->SetFewestMoves(played.Open(Line(OneMoveCode)).Current().canonicalCode, 1);
  played.store->SetFewestMoves(played.Open(Line(TwoMoveCode)).Current().canonicalCode, 2);
  EXPECT_EQ(played.Open(SetText({OneMoveCode, TwoMoveCode})).Index(), 0);
}

// ---------------------------------------------------------------------------
// Progress

struct ProgressCase {
  const char* keys;  // played on the two-move level; 'u' undo, 'r' restart
  std::optional<int> fewest;
};

class SetProgressTest : public testing::TestWithParam<ProgressCase> {};

// The fewest moves only ever improve; undo or restart after solving does not
// take the solution back.
TEST_P(SetProgressTest, KeepsTheFewestMoves) {
  const ProgressCase& c = GetParam();
  Played played;
  SetPlay play = played.Open(SetText({TwoMoveCode}));
  PlayCurrent(play, c.keys);
  EXPECT_EQ(play.FewestMoves(0), c.fewest);
  EXPECT_EQ(played.store->FewestMoves(play.Current().canonicalCode), c.fewest);
  EXPECT_FALSE(play.ProgressUnsaved());
}

INSTANTIATE_TEST_SUITE_P(Games, SetProgressTest,
                         testing::Values(ProgressCase{"", std::nullopt},
                                         ProgressCase{"N", std::nullopt}, ProgressCase{"NW", 2},
                                         ProgressCase{"SNNW", 4}, ProgressCase{"SNNWrNW", 2},
                                         ProgressCase{"NWrSNNW", 2}, ProgressCase{"NWuW", 2},
                                         ProgressCase{"Nr", std::nullopt}));

TEST(SetPlayTest, BestOfSeveralGamesAcrossOpenings) {
  Played played;
  const std::string text = SetText({TwoMoveCode});
  const char* games[] = {"SNNW", "NW", "SNNW"};
  const int best[] = {4, 2, 2};
  for (int i = 0; i < 3; ++i) {
    SetPlay play = played.Open(text);
    PlayCurrent(play, games[i]);
    EXPECT_EQ(play.FewestMoves(0), best[i]) << games[i];
  }
}

// Progress belongs to the level, whatever its place, title, set or image.
TEST(SetPlayTest, ProgressFollowsTheLevelNotItsPlace) {
  Played played;
  {
    SetPlay play = played.Open(SetText({TwoMoveCode, OneMoveCode, UnsolvableCode}));
    PlayCurrent(play, "SNNW");
  }
  const std::string mirrored = MirroredCode(TwoMoveCode);
  ASSERT_NE(mirrored, TwoMoveCode);
  struct Case {
    const char* name;
    std::string text;
    int twoMoveIndex;
  };
  const Case cases[] = {
      {"reordered", SetText({UnsolvableCode, OneMoveCode, TwoMoveCode}), 2},
      {"renamed and retitled",
       "# title: Another name\n" + Line(OneMoveCode, "a") + Line(TwoMoveCode, "b"), 1},
      {"mirrored", SetText({OneMoveCode, mirrored}), 1},
      {"alone", Line(TwoMoveCode), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SetPlay play = played.Open(c.text);
    for (int i = 0; i < play.LevelCount(); ++i) {
      EXPECT_EQ(play.FewestMoves(i), i == c.twoMoveIndex ? std::optional<int>(4) : std::nullopt)
          << i;
    }
    EXPECT_EQ(play.SolvedCount(), 1);
  }
}

TEST(SetPlayTest, SolvingALevelSolvesItsImagesInTheSameSet) {
  Played played;
  SetPlay play = played.Open(SetText({TwoMoveCode, OneMoveCode, MirroredCode(TwoMoveCode)}));
  PlayCurrent(play, "NW");
  EXPECT_EQ(play.FewestMoves(2), 2);
  EXPECT_EQ(play.SolvedCount(), 2);
  EXPECT_EQ(play.NextToPlay(), 1);
}

TEST(SetPlayTest, ALevelSolvedFromTheStartCountsAsSolvedInNoMoves) {
  Played played;
  SetPlay play = played.Open(SetText({SolvedCode, TwoMoveCode}));
  PlayCurrent(play, "");
  EXPECT_EQ(play.FewestMoves(0), 0);
}

TEST(SetPlayTest, AStoreThatFailsIsReportedAndTheGameStillCounts) {
  Played played;
  played.store->FailWrites();
  SetPlay play = played.Open(SetText({TwoMoveCode, OneMoveCode}));
  const GameState game = PlayCurrent(play, "NW");
  EXPECT_TRUE(play.ProgressUnsaved());
  EXPECT_EQ(play.FewestMoves(0), 2);
  EXPECT_EQ(played.store->FewestMoves(play.Current().canonicalCode), std::nullopt);
  EXPECT_EQ(LevelNotice(play, game), "Your progress could not be saved.");
}

// ---------------------------------------------------------------------------
// What the window says

struct TextCase {
  const char* name;
  std::vector<std::string> codes;
  std::vector<std::string> solvedBefore;  // codes the store holds as solved in 9 moves
  int index;                              // level played
  const char* keys;
  std::vector<std::string> lines;
  std::string offer;
  std::optional<int> next;
};

class SetTextsTest : public testing::TestWithParam<TextCase> {};

TEST_P(SetTextsTest, SayWhereThePlayerStandsInTheSet) {
  const TextCase& c = GetParam();
  Played played;
  for (const std::string& code : c.solvedBefore) {
    played.store->SetFewestMoves(played.Open(Line(code)).Current().canonicalCode, 9);
  }
  SetPlay play = played.Open(SetText(c.codes));
  play.GoTo(c.index);
  const GameState game = PlayCurrent(play, c.keys);
  EXPECT_EQ(SetLines(play), c.lines);
  EXPECT_EQ(OfferLine(play, game), c.offer);
  EXPECT_EQ(play.NextToPlay(), c.next);
}

INSTANTIATE_TEST_SUITE_P(
    Games, SetTextsTest,
    testing::Values(
        TextCase{"Start",
                 {TwoMoveCode, OneMoveCode, UnsolvableCode},
                 {},
                 0,
                 "",
                 {"Level 1 of 3: T1", "Not solved yet; 0 of 3 levels solved"},
                 "",
                 1},
        TextCase{"Playing",
                 {TwoMoveCode, OneMoveCode, UnsolvableCode},
                 {},
                 0,
                 "N",
                 {"Level 1 of 3: T1", "Not solved yet; 0 of 3 levels solved"},
                 "",
                 1},
        TextCase{"SolvedFirst",
                 {TwoMoveCode, OneMoveCode, UnsolvableCode},
                 {},
                 0,
                 "NW",
                 {"Level 1 of 3: T1", "Solved, best 2 moves; 1 of 3 levels solved"},
                 "Press Enter for level 2",
                 1},
        TextCase{"SolvedEarlierInMore",
                 {TwoMoveCode, OneMoveCode},
                 {TwoMoveCode},
                 0,
                 "NW",
                 {"Level 1 of 2: T1", "Solved, best 2 moves; 1 of 2 levels solved"},
                 "Press Enter for level 2",
                 1},
        TextCase{"SolvedInOneMove",
                 {OneMoveCode, TwoMoveCode},
                 {},
                 0,
                 "E",
                 {"Level 1 of 2: T1", "Solved, best 1 move; 1 of 2 levels solved"},
                 "Press Enter for level 2",
                 1},
        TextCase{
            "LastWithOthersUnsolved",
            {TwoMoveCode, UnsolvableCode, OneMoveCode},
            {},
            2,
            "E",
            {"Level 3 of 3: T3", "Solved, best 1 move; 1 of 3 levels solved"},
            "End of the set, 1 of 3 levels solved: press Enter for level 1, the first not solved",
            0},
        TextCase{"LastCompletesTheSet",
                 {TwoMoveCode, OneMoveCode},
                 {TwoMoveCode},
                 1,
                 "E",
                 {"Level 2 of 2: T2", "Solved, best 1 move; 2 of 2 levels solved"},
                 "Set complete: all 2 levels solved",
                 std::nullopt},
        TextCase{"EarlierCompletesTheSet",
                 {TwoMoveCode, OneMoveCode},
                 {OneMoveCode},
                 0,
                 "NW",
                 {"Level 1 of 2: T1", "Solved, best 2 moves; 2 of 2 levels solved"},
                 "Set complete: all 2 levels solved; press Enter for level 2",
                 1},
        TextCase{"OneLevel",
                 {SolvedCode},
                 {},
                 0,
                 "",
                 {"Level 1 of 1: T1", "Solved, best 0 moves; 1 of 1 level solved"},
                 "Set complete: all 1 level solved",
                 std::nullopt}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(SetTextsTest, LevelWithoutTitleShowsItsNumberAlone) {
  Played played;
  const SetPlay play = played.Open(Line(TwoMoveCode));
  EXPECT_EQ(SetLines(play)[0], "Level 1 of 1");
}

TEST(SetTextsTest, LevelWithoutSolutionIsPlayedWithANotice) {
  Played played;
  SetPlay play = played.Open(SetText({UnsolvableCode, TwoMoveCode}));
  const GameState stuck = PlayCurrent(play, "N");
  EXPECT_EQ(stuck.MoveCount(), 1);
  EXPECT_EQ(LevelNotice(play, stuck), "This level has no solution; the balls can still be moved.");
  play.Next();
  EXPECT_EQ(LevelNotice(play, PlayCurrent(play, "")), "");
}

}  // namespace
