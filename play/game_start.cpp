#include "play/game_start.h"

#include <cassert>
#include <utility>

#include "logic/level_code.h"
#include "logic/moves.h"
#include "logic/solver.h"

namespace {

/// Random levels tried before the longest one found so far is taken.
constexpr int MaxAttempts = 20;
/// Random tilts from the balls' squares to where the holes go.
constexpr int WalkLength(int size) { return 8 * size; }
/// Longest quoted part of an unreadable text in the notice.
constexpr std::size_t MaxQuotedLength = 40;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

/// A draw from 0 to count - 1; count > 0.
int Draw(const RandomSource& random, int count) {
  return static_cast<int>(static_cast<unsigned>(random()) % static_cast<unsigned>(count));
}

/// Puts the balls red, green, blue on three different random squares.
void PlaceBallsAtRandom(Level& level, const RandomSource& random) {
  std::vector<int> free(static_cast<std::size_t>(level.boardSize * level.boardSize));
  for (std::size_t i = 0; i < free.size(); ++i) free[i] = static_cast<int>(i);
  for (std::size_t i = 0; i < 3; ++i) {
    const auto pick = free.begin() + Draw(random, static_cast<int>(free.size()));
    level.balls[i].column = static_cast<std::int8_t>(*pick % level.boardSize);
    level.balls[i].row = static_cast<std::int8_t>(*pick / level.boardSize);
    level.balls[i].colour = ColourNumber(ColoursRedFirst[i]);
    free.erase(pick);
  }
}

/// Places each hole where its ball ends after random tilts, so the balls'
/// squares lead to the holes by construction.
void PlaceHolesAlongWalk(Level& level, const RandomSource& random) {
  Pieces walked = level.balls;
  for (int step = 0; step < WalkLength(level.boardSize); ++step) {
    Move(level, walked, AllDirections[static_cast<std::size_t>(Draw(random, 4))]);
  }
  level.holes = walked;
}

int ShortestLength(Level& level) {
  const Solution solution = ShortestSolution(level);
  return solution.exists ? static_cast<int>(solution.moves.size()) : -1;
}

GameText UnreadableNotice(const GameParameter& parameter, const Reason& reason) {
  if (parameter.code.empty()) return {GameTextId::NoCodeGiven, {DefaultBoardSize}};
  return {
      GameTextId::CodeUnreadable, {DefaultBoardSize}, {QuotedForNotice(parameter.code)}, reason};
}

}  // namespace

std::string QuotedForNotice(std::string_view text) {
  std::string quoted;
  for (const char c : text.substr(0, MaxQuotedLength)) {
    quoted += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
  }
  if (text.size() > MaxQuotedLength) quoted += "...";
  return "\"" + quoted + "\"";
}

std::string RandomLevelInstead() { return EnglishRandomLevelInstead(DefaultBoardSize); }

GameParameter ParseParameterText(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) {
    if (!text.empty()) text += ' ';
    text += argument;
  }
  std::string_view rest = Trimmed(text);
  GameParameter parameter;
  if (rest.ends_with(EditorSuffix)) {
    parameter.fromEditor = true;
    rest.remove_suffix(EditorSuffix.size());
  }
  parameter.code = std::string(Trimmed(rest));
  return parameter;
}

Level RandomSolvableLevel(int size, const RandomSource& random) {
  Level best;
  int bestLength = -1;
  for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
    Level level;  // its all-zero pieces give the maze the default placement first
    RandomMaze(level, size, random);
    PlaceBallsAtRandom(level, random);
    PlaceHolesAlongWalk(level, random);
    RecheckLevel(level);
    const int length = ShortestLength(level);
    if (length > bestLength) {
      bestLength = length;
      best = std::move(level);
    }
    if (bestLength >= size) break;
  }
  assert(best.solvable == 1);
  return best;
}

GameStart OpenGame(const std::vector<std::string>& arguments, const RandomSource& random) {
  const GameParameter parameter = ParseParameterText(arguments);
  if (parameter.code.empty() && !parameter.fromEditor) {
    return {RandomSolvableLevel(DefaultBoardSize, random), false, {}};
  }
  Level level;
  const ParseResult read = ParseLevelCode(level, parameter.code);
  // The consistency test guards the play against a code the reader let through
  // with a placement the moves cannot take.
  if (!read.accepted || !LevelIsConsistent(level)) {
    return {RandomSolvableLevel(DefaultBoardSize, random),
            false,
            {UnreadableNotice(parameter, read.reason)}};
  }
  RecheckLevel(level);
  std::vector<GameText> notice;
  if (level.solvable == 0) notice.push_back({GameTextId::NoSolution});
  return {std::move(level), parameter.fromEditor, std::move(notice)};
}
