// Fuzz target for the level code reader and writer, for every input text:
// - a rejected text gives a reason and leaves the level exactly as it was,
//   every field and buffer;
// - an accepted text gives a consistent level whose written code reads back,
//   into another level, as the same level with the same verdict, and is
//   written again as the same code.
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

/// Every field and buffer equal.
bool Identical(const Level& a, const Level& b) {
  return a.boardSize == b.boardSize && a.cells == b.cells && SamePieces(a.holes, b.holes) &&
         SamePieces(a.balls, b.balls) && a.targetState == b.targetState &&
         a.startState == b.startState && a.predecessors == b.predecessors &&
         a.solvable == b.solvable;
}

/// The same board and the same squares for the records, colour by colour.
bool SameLevel(const Level& a, const Level& b) {
  auto squares = [](const Pieces& x, const Pieces& y) {
    for (std::size_t i = 0; i < x.size(); ++i) {
      if (x[i].column != y[i].column || x[i].row != y[i].row || x[i].colour != y[i].colour) {
        return false;
      }
    }
    return true;
  };
  return a.boardSize == b.boardSize && a.cells == b.cells && squares(a.balls, b.balls) &&
         squares(a.holes, b.holes);
}

Level Read(std::string_view code) {
  Level level;
  ReadLevelCode(level, code);
  RecheckLevel(level);
  return level;
}

/// The levels a text is read into: none yet, a checked 5 x 5 level, and a
/// 7 x 7 level after a solution step (balls listed blue, green, red).
Level StartingLevel(std::size_t which) {
  switch (which % 3) {
    case 0:
      return Level{};
    case 1:
      return Read("50022444422005eae44c9f644");
    default: {
      Level level = Read("7003366663300d4dae70cec86baf110a5e554");
      StepTowardSolution(level);
      return level;
    }
  }
}

const Level Starting[3] = {StartingLevel(0), StartingLevel(1), StartingLevel(2)};

void CheckRejected(const ReadResult& result, const Level& level, const Level& before,
                   std::string_view text) {
  Require(!result.reason.empty(), "a rejection gives a reason", text);
  Require(Identical(level, before), "a rejected text leaves the level as it was", text);
}

void CheckAccepted(const ReadResult& result, const Level& level, const Level& into,
                   std::string_view text) {
  Require(result.reason.empty(), "an accepted text gives no reason", text);
  Require(LevelIsConsistent(level), "an accepted text gives a consistent level", text);
  const std::string code = WriteLevelCode(level);
  Require(code.size() == static_cast<std::size_t>(13 + level.boardSize * level.boardSize / 2),
          "the written code has the length of its board", text);
  Require(text.substr(0, 13) == std::string_view(code).substr(0, 13),
          "the size and the squares are written as they were read", text);
  Level again = into;
  const ReadResult reread = ReadLevelCode(again, code);
  Require(reread.outcome == result.outcome, "the written code reads with the same verdict", text);
  Require(SameLevel(again, level), "the written code reads as the same level", text);
  Require(WriteLevelCode(again) == code, "the level read back is written as the same code", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Level& before = Starting[size % 3];
  Level level = before;
  const ReadResult result = ReadLevelCode(level, text);
  if (result.outcome == CodeReading::Rejected) {
    CheckRejected(result, level, before, text);
  } else {
    CheckAccepted(result, level, Starting[(size + 1) % 3], text);
  }
  return 0;
}
