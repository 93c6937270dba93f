// find_hard_levels: a hill climb over 7 x 7 levels in search of those on which
// the solver works hardest, either in absolute terms or against the plain
// search from the balls (bench/forward_search.h). Not part of the programs;
// its finds go into the solver's tests and benchmarks.
//
//   find_hard_levels [--goal work|ratio|time|backward|forward|length]
//                    [--solvable | --unsolvable] [--size 3|5|7] [--seconds S]
//                    [--seed N] [--keep K] [CODE ...]
//
// work:     the solver's work, in forward states (SearchEffort::work);
// ratio:    that work divided by the states the plain search expands;
// time:     the time SolutionExists takes divided by the time the plain
//           search takes, each the fastest of three runs by the wall clock
//           (slower, and noisy on levels that take microseconds, but it also
//           finds what the counts miss);
// backward: the work of the solver's backward side against the plain search;
// forward:  the states the plain search expands;
// length:   the moves of a shortest solution (solvable levels only).
// --solvable keeps to levels with a solution, where the solution step and
// the shortest solution have a path to rebuild; --unsolvable to levels
// without one. Codes given start the climb; otherwise random mazes with
// random pieces do. Each step flips a wall, moves a ball or a hole to a free
// square, or swaps two balls, two holes or a ball with its hole, and is kept
// when the goal does not get worse. A climb keeps the board size it starts
// with: that of its code, or --size (7 unless given) for random starts.
// After a long run without gain the climb starts afresh. The best levels are
// then timed: the solver's three searches against the plain one, and the
// solver's work against the plain search's. With --seconds 0 the levels
// given are timed so without a climb.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench/forward_search.h"
#include "logic/level_code.h"
#include "logic/maze.h"
#include "logic/solver.h"
#include "tests/support/search_effort.h"

namespace {

// Levels the plain search finishes in fewer states than this count as this
// many for the ratio: on them everything takes microseconds.
constexpr double SmallestYardstick = 3000;
constexpr double SmallestYardstickMicroseconds = 30;
constexpr int StepsWithoutGain = 3000;
// Runs of each search behind the times of the final report.
constexpr int ReportRuns = 101;

enum class Goal { Work, Ratio, Time, Backward, Forward, Length };

/// Which levels the climb keeps to.
enum class Kind { Any, Solvable, Unsolvable };

struct Options {
  Goal goal = Goal::Ratio;
  Kind kind = Kind::Any;
  int size = 7;  // of the random starts
  double seconds = 60;
  unsigned seed = 1;
  std::size_t keep = 8;
};

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

/// The fastest of several runs, in microseconds of the wall clock: on a
/// loaded machine the fastest run is one that was not interrupted, while the
/// thread's processor clock, read around runs of microseconds, was seen to
/// misread there.
template <typename Run>
double FastestMicroseconds(int runs, Run run) {
  double best = 1e18;
  for (int round = 0; round < runs; ++round) {
    yardstick::AskAboutAnotherLevel();
    const double begin = WallSeconds();
    run();
    best = std::min(best, (WallSeconds() - begin) * 1e6);
  }
  return best;
}

struct Score {
  double work = 0;       // the solver's work in forward states
  double yardstick = 0;  // the plain search's states
  double value = 0;      // what the climb maximises
};

bool IsOfKind(const SearchEffort& effort, Kind kind) {
  switch (kind) {
    case Kind::Solvable: return effort.found;
    case Kind::Unsolvable: return !effort.found;
    default: return true;
  }
}

/// The goal's value for the level; times are the fastest of runs runs.
Score Evaluate(Level level, const Options& options, yardstick::ForwardSearch& plain, int runs = 3) {
  const SearchEffort effort = MeasureSolutionSearch(level);
  Score score;
  if (!IsOfKind(effort, options.kind)) return score;
  score.work = effort.work;
  score.yardstick = static_cast<double>(plain.Run(level).statesExpanded);
  const double yardstick = std::max(score.yardstick, SmallestYardstick);
  switch (options.goal) {
    case Goal::Work: score.value = score.work; break;
    case Goal::Ratio: score.value = score.work / yardstick; break;
    case Goal::Backward:
      score.value = (score.work - static_cast<double>(effort.forwardStates)) / yardstick;
      break;
    case Goal::Forward: score.value = score.yardstick; break;
    case Goal::Length:
      score.value = static_cast<double>(ShortestSolution(level).moves.size());
      break;
    case Goal::Time: {
      const double ours = FastestMicroseconds(runs, [&] { SolutionExists(level); });
      const double theirs = FastestMicroseconds(runs, [&] { plain.Run(level); });
      score.value = ours / std::max(theirs, SmallestYardstickMicroseconds);
      break;
    }
  }
  return score;
}

Level RandomStart(int size, std::mt19937& engine) {
  Level level;
  RandomMaze(level, size, [&engine]() { return static_cast<int>(engine() & 0x7fff); });
  // Extra passages now and then, so that open rooms get tried too.
  std::bernoulli_distribution extra(std::uniform_real_distribution<double>(0, 0.4)(engine));
  for (int square = 0; square < size * size; ++square) {
    if (square % size + 1 < size && extra(engine)) {
      level.cells[square] |= OpenEast;
      level.cells[square + 1] |= OpenWest;
    }
    if (square / size + 1 < size && extra(engine)) {
      level.cells[square] |= OpenSouth;
      level.cells[square + size] |= OpenNorth;
    }
  }
  std::uniform_int_distribution<int> anySquare(0, size * size - 1);
  for (Pieces* pieces : {&level.balls, &level.holes}) {
    std::vector<int> taken;
    for (Piece& piece : *pieces) {
      int square = anySquare(engine);
      while (std::find(taken.begin(), taken.end(), square) != taken.end()) {
        square = anySquare(engine);
      }
      taken.push_back(square);
      piece.column = static_cast<std::int8_t>(square % size);
      piece.row = static_cast<std::int8_t>(square / size);
    }
  }
  return level;
}

void FlipRandomWall(Level& level, std::mt19937& engine) {
  const int size = level.boardSize;
  std::uniform_int_distribution<int> anySquare(0, size * size - 1);
  while (true) {
    const int square = anySquare(engine);
    if (engine() % 2 == 0 && square % size + 1 < size) {
      level.cells[square] ^= OpenEast;
      level.cells[square + 1] ^= OpenWest;
      return;
    }
    if (square / size + 1 < size) {
      level.cells[square] ^= OpenSouth;
      level.cells[square + size] ^= OpenNorth;
      return;
    }
  }
}

void MovePieceToFreeSquare(Pieces& pieces, int size, std::mt19937& engine) {
  std::uniform_int_distribution<int> anySquare(0, size * size - 1);
  Piece& piece = pieces[engine() % 3];
  while (true) {
    const int square = anySquare(engine);
    const auto column = static_cast<std::int8_t>(square % size);
    const auto row = static_cast<std::int8_t>(square / size);
    const bool taken = std::any_of(pieces.begin(), pieces.end(), [&](const Piece& other) {
      return other.column == column && other.row == row;
    });
    if (taken) continue;
    piece.column = column;
    piece.row = row;
    return;
  }
}

void SwapSquares(Piece& a, Piece& b) {
  std::swap(a.column, b.column);
  std::swap(a.row, b.row);
}

Piece& OfColour(Pieces& pieces, std::int8_t colour) {
  for (Piece& piece : pieces) {
    if (piece.colour == colour) return piece;
  }
  return pieces[0];
}

void Mutate(Level& level, std::mt19937& engine) {
  const int steps = 1 + static_cast<int>(engine() % 3 == 0);
  for (int step = 0; step < steps; ++step) {
    switch (engine() % 8) {
      case 0:
      case 1:
      case 2: FlipRandomWall(level, engine); break;
      case 3: MovePieceToFreeSquare(level.balls, level.boardSize, engine); break;
      case 4: MovePieceToFreeSquare(level.holes, level.boardSize, engine); break;
      case 5: SwapSquares(level.balls[engine() % 3], level.balls[engine() % 3]); break;
      case 6: SwapSquares(level.holes[engine() % 3], level.holes[engine() % 3]); break;
      case 7: {
        const auto colour = static_cast<std::int8_t>(engine() % 3);
        // Balls and holes trade squares only when that keeps both sets apart.
        Level swapped = level;
        SwapSquares(OfColour(swapped.balls, colour), OfColour(swapped.holes, colour));
        if (!PlacementIsInvalid(swapped)) level = swapped;
        break;
      }
    }
  }
}

constexpr char Usage[] =
    "Usage: find_hard_levels [--goal work|ratio|time|backward|forward|length]\n"
    "                        [--solvable | --unsolvable] [--size 3|5|7] [--seconds S]\n"
    "                        [--seed N] [--keep K] [CODE ...]\n"
    "Hill-climbs levels (from the CODEs given, then from random ones of --size)\n"
    "towards those on which the solver works hardest, and prints the best.\n"
    "With --seconds 0, only times the CODEs given.\n";

std::optional<Goal> GoalNamed(const std::string& name) {
  const std::map<std::string, Goal> goals = {
      {"work", Goal::Work},         {"ratio", Goal::Ratio},     {"time", Goal::Time},
      {"backward", Goal::Backward}, {"forward", Goal::Forward}, {"length", Goal::Length}};
  const auto found = goals.find(name);
  if (found == goals.end()) return std::nullopt;
  return found->second;
}

/// The whole text as a number of the type, or nothing.
template <typename Number>
std::optional<Number> NumberIn(const std::string& text, Number least, Number most) {
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || errno != 0 || !(value >= static_cast<double>(least)) ||
      !(value <= static_cast<double>(most)) ||
      static_cast<double>(static_cast<Number>(value)) != value) {
    return std::nullopt;
  }
  return static_cast<Number>(value);
}

/// The options, or the reason the command line is wrong. Every start code is
/// read here, so that the climb only meets levels.
struct ParsedOptions {
  Options options;
  std::vector<Level> starts;
  std::string mistake;
  bool help = false;
};

ParsedOptions ParseOptions(int argc, char** argv) {
  ParsedOptions parsed;
  Options& options = parsed.options;
  const auto refuse = [&](std::string mistake) {
    parsed.mistake = std::move(mistake);
    return parsed;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool takesValue = arg == "--goal" || arg == "--seconds" || arg == "--seed" ||
                            arg == "--keep" || arg == "--size";
    if (takesValue && i + 1 >= argc) return refuse(arg + " needs a value");
    const std::string value = takesValue ? argv[++i] : "";
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
      return parsed;
    } else if (arg == "--goal") {
      const std::optional<Goal> goal = GoalNamed(value);
      if (!goal) return refuse("unknown goal '" + value + "'");
      options.goal = *goal;
    } else if (arg == "--solvable") {
      options.kind = Kind::Solvable;
    } else if (arg == "--unsolvable") {
      options.kind = Kind::Unsolvable;
    } else if (arg == "--seconds") {
      const std::optional<double> seconds = NumberIn(value, 0.0, 1e7);
      if (!seconds) return refuse("--seconds takes a number of seconds, not '" + value + "'");
      options.seconds = *seconds;
    } else if (arg == "--seed") {
      const std::optional<unsigned> seed = NumberIn(value, 0u, 4294967295u);
      if (!seed) return refuse("--seed takes a whole number, not '" + value + "'");
      options.seed = *seed;
    } else if (arg == "--keep") {
      const std::optional<std::size_t> keep = NumberIn<std::size_t>(value, 1, 1000000);
      if (!keep) return refuse("--keep takes a whole number from 1, not '" + value + "'");
      options.keep = *keep;
    } else if (arg == "--size") {
      const std::optional<int> size = NumberIn(value, 3, 7);
      if (!size || *size % 2 == 0) return refuse("--size takes 3, 5 or 7, not '" + value + "'");
      options.size = *size;
    } else if (!arg.empty() && arg[0] == '-') {
      return refuse("unknown option '" + arg + "'");
    } else {
      Level level;
      const ParseResult read = ParseLevelCode(level, arg);
      if (!read.accepted)
        return refuse("'" + arg + "' is not a level code: " + EnglishReason(read.reason));
      parsed.starts.push_back(level);
    }
  }
  return parsed;
}

void Report(const std::map<std::string, Score>& best, std::size_t keep) {
  std::vector<std::pair<std::string, Score>> ranked(best.begin(), best.end());
  std::sort(ranked.begin(), ranked.end(),
            [](const auto& a, const auto& b) { return a.second.value > b.second.value; });
  if (ranked.size() > keep) ranked.resize(keep);
  std::printf("%-38s %9s %9s %7s %9s %9s %9s %9s %7s\n", "code", "work", "plain", "w_ratio",
              "exists_us", "short_us", "step_us", "plain_us", "worst");
  yardstick::ForwardSearch plain;
  for (const auto& [code, score] : ranked) {
    Level level;
    ParseLevelCode(level, code);
    const double exists = FastestMicroseconds(ReportRuns, [&] { SolutionExists(level); });
    const double shortest = FastestMicroseconds(ReportRuns, [&] { ShortestSolution(level); });
    const double step = FastestMicroseconds(ReportRuns, [&] {
      Level copy = level;
      StepTowardSolution(copy);
    });
    const double yard = FastestMicroseconds(ReportRuns, [&] { plain.Run(level); });
    std::printf("%-38s %9.0f %9.0f %7.3f %9.1f %9.1f %9.1f %9.1f %7.3f\n", code.c_str(), score.work,
                score.yardstick, score.work / std::max(score.yardstick, 1.0), exists, shortest,
                step, yard, std::max({exists, shortest, step}) / yard);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedOptions parsed = ParseOptions(argc, argv);
  if (parsed.help) {
    std::fputs(Usage, stdout);
    return 0;
  }
  if (!parsed.mistake.empty()) {
    std::fprintf(stderr, "find_hard_levels: %s\n%s", parsed.mistake.c_str(), Usage);
    return 2;
  }
  const Options& options = parsed.options;
  std::mt19937 engine(options.seed);
  yardstick::ForwardSearch plain;
  std::map<std::string, Score> best;  // the best level of every climb, by code
  if (options.seconds == 0) {
    // No climb: the levels given are only timed and reported.
    for (const Level& start : parsed.starts) {
      best[WriteLevelCode(start)] = Evaluate(start, options, plain);
    }
    Report(best, options.keep);
    return 0;
  }
  std::size_t nextStart = 0;
  const double end = WallSeconds() + options.seconds;
  while (WallSeconds() < end) {
    Level current;
    if (nextStart < parsed.starts.size()) {
      current = parsed.starts[nextStart++];
    } else {
      current = RandomStart(options.size, engine);
    }
    Score currentScore = Evaluate(current, options, plain);
    Score climbBest = currentScore;
    std::string climbBestCode = WriteLevelCode(current);
    int sinceGain = 0;
    while (sinceGain < StepsWithoutGain && WallSeconds() < end) {
      Level candidate = current;
      Mutate(candidate, engine);
      Score score = Evaluate(candidate, options, plain);
      ++sinceGain;
      if (score.value < currentScore.value) continue;
      // A time that beats the best may be noise: it counts once confirmed.
      if (options.goal == Goal::Time && score.value > climbBest.value) {
        score = Evaluate(candidate, options, plain, 11);
        if (score.value < currentScore.value) continue;
      }
      current = candidate;
      currentScore = score;
      if (score.value > climbBest.value) {
        climbBest = score;
        climbBestCode = WriteLevelCode(candidate);
        sinceGain = 0;
      }
    }
    best[climbBestCode] = climbBest;
    std::fprintf(stderr, "climb ended: %s %.0f / %.0f = %.3f\n", climbBestCode.c_str(),
                 climbBest.work, climbBest.yardstick, climbBest.value);
  }
  Report(best, options.keep);
  return 0;
}
