#include "tests/support/level_code_reading.h"

#include <utility>

#include "logic/level_code.h"
#include "logic/solver.h"

ReadResult ReadLevelCode(Level& level, std::string_view code) {
  ParseResult parsed = ParseLevelCode(level, code);
  if (!parsed.accepted) return {CodeReading::Rejected, std::move(parsed.reason)};
  return {SolutionExists(level) ? CodeReading::Solvable : CodeReading::Unsolvable, {}};
}
