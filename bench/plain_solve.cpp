// plain_solve: the work of `korvalo-level solve` as a small program, with
// either search, so that whole processes can be timed side by side (e.g.
// with farm-bench) without the tool's start-up:
//
//   plain_solve [--forward] FILE
//
// FILE holds one level code per line. Each code is read and answered with a
// shortest solution, as solve does; with --forward, with the plain search from
// the balls of bench/forward_search.h instead (which only says whether there
// is a solution). Prints the number of solvable levels.

#include <cstdio>
#include <fstream>
#include <string>

#include "bench/forward_search.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "tests/support/level_code_reading.h"

int main(int argc, char** argv) {
  const bool forward = argc == 3 && std::string(argv[1]) == "--forward";
  if (argc != 2 && !forward) {
    std::fprintf(stderr, "usage: plain_solve [--forward] FILE\n");
    return 2;
  }
  std::ifstream codes(argv[argc - 1]);
  yardstick::ForwardSearch plain;
  int solvable = 0;
  for (std::string code; std::getline(codes, code);) {
    Level level;
    if (ReadLevelCode(level, code).outcome == CodeReading::Rejected) continue;
    solvable += forward ? plain.Run(level).found : ShortestSolution(level).exists;
  }
  std::printf("%d\n", solvable);
  return 0;
}
