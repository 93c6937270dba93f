#pragma once
// A random source of our own, so that a seed gives the same levels with every
// compiler and standard library: the standard engines are portable, but their
// distributions are not.

#include <cstdint>

#include "logic/maze.h"

/// SplitMix64 (Steele, Lea and Flood, 2014), written out in full below: the
/// state advances by 0x9e3779b97f4a7c15 per draw, and each state is mixed by
/// z = (z ^ z >> 30) * 0xbf58476d1ce4e5b9; z = (z ^ z >> 27) * 0x94d049bb133111eb;
/// z ^ z >> 31. A seed of 0 starts 0xe220a8397b1dcdaf, 0x6e789e6aa1b965f4.
class SeededRandom {
 public:
  explicit SeededRandom(std::uint64_t seed) : m_state(seed) {}

  /// The next 64 random bits.
  std::uint64_t Next() {
    m_state += 0x9e3779b97f4a7c15u;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
  }

  /// A number from 0 to bound - 1 (bound at least 1): the top 32 bits of a draw
  /// scaled by bound, with no division and the same result everywhere.
  std::uint32_t Below(std::uint32_t bound) {
    return static_cast<std::uint32_t>(((Next() >> 32) * bound) >> 32);
  }

  /// The top 31 bits of a draw: a non-negative int, as RandomMaze takes them.
  int Draw31() { return static_cast<int>(Next() >> 33); }

 private:
  std::uint64_t m_state;
};

/// A RandomSource drawing Draw31 from random, which must outlive it.
RandomSource MazeSource(SeededRandom& random);
