// Fuzz target for the level code parser, reader and writer, for every text:
// - a rejected text gives a reason and leaves the level exactly as it was,
//   every field and buffer;
// - an accepted text gives a consistent level whose written code parses,
//   into another level, as the same level, and is written again as the same
//   code;
// - the reader (parse and search) rejects the same texts with the same
//   reasons and builds the same level; checked on 3 x 3 and 5 x 5 boards,
//   whose searches are quick.
// A broken law aborts, which libFuzzer reports with the input.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "logic/level.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "tests/support/level_code_reading.h"

namespace {

void Require(bool law, const char* what, std::string_view text) {
  if (law) return;
  std::fprintf(stderr, "broken: %s\ninput: '%.*s'\n", what, static_cast<int>(text.size()),
               text.data());
  std::abort();
}

bool SamePieces(const Pieces& a, const Pieces& b) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].column != b[i].column || a[i].row != b[i].row || a[i].sortKey != b[i].sortKey ||
        a[i].colour != b[i].colour) {
      return false;
    }
  }
  return true;
}

/// Every field and buffer equal but `solvable`, which only a recheck writes.
bool SameParse(const Level& a, const Level& b) {
  return a.boardSize == b.boardSize && a.cells == b.cells && SamePieces(a.holes, b.holes) &&
         SamePieces(a.balls, b.balls) && a.targetState == b.targetState &&
         a.startState == b.startState;
}

/// Every field and buffer equal.
bool Identical(const Level& a, const Level& b) {
  return SameParse(a, b) && a.solvable == b.solvable;
}

Level Checked(std::string_view code) {
  Level level;
  ReadLevelCode(level, code);
  RecheckLevel(level);
  return level;
}

/// The levels a text is read into: none yet, a checked 5 x 5 level, and a
/// 7 x 7 level after a solution step (balls listed blue, green, red).
Level StartingLevel(std::size_t which) {
  switch (which % 3) {
    case 0: return Level{};
    case 1: return Checked("50022444422005eae44c9f644");
    default: {
      Level level = Checked("7003366663300d4dae70cec86baf110a5e554");
      StepTowardSolution(level);
      return level;
    }
  }
}

const Level Starting[3] = {StartingLevel(0), StartingLevel(1), StartingLevel(2)};

void CheckRejected(const ParseResult& result, const Level& level, const Level& before,
                   std::string_view text) {
  Require(result.reason.id != ReasonId::None, "a rejection gives a reason", text);
  Require(Identical(level, before), "a rejected text leaves the level as it was", text);
}

void CheckAccepted(const ParseResult& result, const Level& level, const Level& into,
                   std::string_view text) {
  Require(result.reason.id == ReasonId::None, "an accepted text gives no reason", text);
  Require(LevelIsConsistent(level), "an accepted text gives a consistent level", text);
  const std::string code = WriteLevelCode(level);
  Require(code.size() == static_cast<std::size_t>(13 + level.boardSize * level.boardSize / 2),
          "the written code has the length of its board", text);
  Require(text.substr(0, 13) == std::string_view(code).substr(0, 13),
          "the size and the squares are written as they were read", text);
  Level again = into;
  Require(ParseLevelCode(again, code).accepted, "the written code is accepted", text);
  Require(SameParse(again, level), "the written code parses as the same level", text);
  Require(WriteLevelCode(again) == code, "the level parsed back is written as the same code", text);
}

void CheckReaderAgrees(const ParseResult& parsed, const Level& level, const Level& before,
                       std::string_view text) {
  if (parsed.accepted && level.boardSize > 5) return;
  Level read = before;
  const ReadResult result = ReadLevelCode(read, text);
  Require((result.outcome == CodeReading::Rejected) == !parsed.accepted,
          "the reader rejects what the parser rejects", text);
  Require(result.reason == parsed.reason, "the reader gives the parser's reason", text);
  Require(Identical(read, level), "the reader builds the parser's level", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Level& before = Starting[size % 3];
  Level level = before;
  const ParseResult parsed = ParseLevelCode(level, text);
  if (parsed.accepted) {
    CheckAccepted(parsed, level, Starting[(size + 1) % 3], text);
  } else {
    CheckRejected(parsed, level, before, text);
  }
  CheckReaderAgrees(parsed, level, before, text);
  return 0;
}
