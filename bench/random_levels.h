#pragma once
// Random levels for the benchmarks: a random maze with the balls and holes on
// random distinct squares, the same for the same engine on every run.

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "logic/level.h"
#include "logic/maze.h"
#include "logic/solver.h"

namespace bench {

/// A random level of the size, rechecked (its solvable flag set).
inline Level RandomLevel(int size, std::mt19937& engine) {
  Level level;
  RandomMaze(level, size, [&engine]() { return static_cast<int>(engine() & 0x7fff); });
  std::uniform_int_distribution<int> square(0, size * size - 1);
  for (Pieces* pieces : {&level.balls, &level.holes}) {
    std::vector<int> taken;
    for (const Colour c : ColoursRedFirst) {
      const std::int8_t colour = ColourNumber(c);
      int s = square(engine);
      while (std::find(taken.begin(), taken.end(), s) != taken.end()) s = square(engine);
      taken.push_back(s);
      (*pieces)[static_cast<std::size_t>(2 - colour)] = {
          static_cast<std::int8_t>(s % size), static_cast<std::int8_t>(s / size), 0, colour};
    }
  }
  RecheckLevel(level);
  return level;
}

}  // namespace bench
