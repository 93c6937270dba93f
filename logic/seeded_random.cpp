#include "logic/seeded_random.h"

RandomSource MazeSource(SeededRandom& random) {
  return [&random]() { return random.Draw31(); };
}
