#include "logic/search_support.h"

#include <utility>
#include <vector>

#include "logic/canonical_code.h"
#include "logic/level_code.h"
#include "logic/maze.h"
#include "logic/moves.h"

const char* SearchEndName(SearchEnd end) {
  switch (end) {
    case SearchEnd::Done: return "done";
    case SearchEnd::OutOfReach: return "out of reach";
    case SearchEnd::TimeUp: return "time up";
    case SearchEnd::Cancelled: return "cancelled";
  }
  return "?";
}

SearchRun::SearchRun(const SearchControl& control, std::chrono::milliseconds timeLimit)
    : m_control(control),
      m_start(std::chrono::steady_clock::now()),
      m_nextProgress(m_start + control.progressInterval),
      m_timeLimit(timeLimit) {}

SearchEnd SearchRun::StopReason() const {
  if (m_control.cancel && m_control.cancel->load(std::memory_order_relaxed)) {
    return SearchEnd::Cancelled;
  }
  if (m_timeLimit.count() > 0 && std::chrono::steady_clock::now() - m_start >= m_timeLimit) {
    return SearchEnd::TimeUp;
  }
  return SearchEnd::Done;
}

void SearchRun::CountTried() {
  ++m_progress.levelsTried;
  if (m_control.progress && std::chrono::steady_clock::now() >= m_nextProgress) SendProgress();
}

void SearchRun::Report(const FoundLevel& level) {
  ++m_progress.levelsFound;
  if (level.moves > m_progress.bestMoves) m_progress.bestMoves = level.moves;
  if (m_control.found) m_control.found(level);
}

void SearchRun::Finish() {
  if (m_control.progress) SendProgress();
}

void SearchRun::SendProgress() {
  const auto now = std::chrono::steady_clock::now();
  m_progress.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_start);
  m_nextProgress = now + m_control.progressInterval;
  m_control.progress(m_progress);
}

void BuildRandomMaze(Level& level, int size, SeededRandom& random) {
  // Balls on their own holes: a valid placement that the build keeps, and a
  // solved level needs no search.
  for (std::size_t i = 0; i < 3; ++i) {
    const std::int8_t colour = ColourNumber(ColoursRedFirst[i]);
    level.balls[i] = {static_cast<std::int8_t>(i), 0, 0, colour};
    level.holes[i] = level.balls[i];
  }
  RandomMaze(level, size, MazeSource(random));
}

void ToggleInnerSide(Level& level, int side) {
  const int n = level.boardSize;
  const int eastSides = n * (n - 1);
  if (side < eastSides) {
    const int square = side / (n - 1) * n + side % (n - 1);
    level.cells[square] ^= OpenEast;
    level.cells[square + 1] ^= OpenWest;
  } else {
    const int square = side - eastSides;  // the south sides are numbered like their squares
    level.cells[square] ^= OpenSouth;
    level.cells[square + n] ^= OpenNorth;
  }
}

namespace {

bool InnerSideIsOpen(const Level& level, int side) {
  const int n = level.boardSize;
  const int eastSides = n * (n - 1);
  if (side < eastSides) return level.cells[side / (n - 1) * n + side % (n - 1)] & OpenEast;
  return level.cells[side - eastSides] & OpenSouth;
}

}  // namespace

void OpenRandomWalls(Level& level, int count, SeededRandom& random) {
  std::vector<int> closed;
  for (int side = 0; side < InnerSideCount(level.boardSize); ++side) {
    if (!InnerSideIsOpen(level, side)) closed.push_back(side);
  }
  // The first `count` places of a shuffle, drawn one by one.
  for (std::size_t i = 0; i < closed.size() && i < static_cast<std::size_t>(count); ++i) {
    const std::size_t pick = i + random.Below(static_cast<std::uint32_t>(closed.size() - i));
    std::swap(closed[i], closed[pick]);
    ToggleInnerSide(level, closed[i]);
  }
}

StateIndex RandomPlacement(int size, SeededRandom& random) {
  const auto squares = static_cast<std::uint32_t>(size * size);
  const auto blue = static_cast<StateIndex>(random.Below(squares));
  auto green = static_cast<StateIndex>(random.Below(squares));
  while (green == blue) green = static_cast<StateIndex>(random.Below(squares));
  auto red = static_cast<StateIndex>(random.Below(squares));
  while (red == blue || red == green) red = static_cast<StateIndex>(random.Below(squares));
  const auto m = static_cast<StateIndex>(squares);
  return (red * m + green) * m + blue;
}

FoundLevel DescribeLevel(Level& level, StateIndex balls, StateIndex holes, int moves) {
  DecodeState(level, balls, level.balls);
  DecodeState(level, holes, level.holes);
  return {WriteLevelCode(level), CanonicalCode(level), moves};
}
