#pragma once
// What the player has achieved on the levels of sets: for each level, by its
// canonical code, the fewest moves it was solved in. A level that turns up in
// another set, in another place, under another title or turned or mirrored
// keeps what was achieved on it.

#include <map>
#include <optional>
#include <string>

/// Where progress is kept: the program's settings, or memory in tests.
class ProgressStore {
 public:
  virtual ~ProgressStore() = default;

  /// The fewest moves the level was solved in; nullopt when it never was.
  virtual std::optional<int> FewestMoves(const std::string& canonicalCode) const = 0;

  /// Keeps moves as the level's fewest; false when it could not be kept.
  // moves >= 0
  virtual bool SetFewestMoves(const std::string& canonicalCode, int moves) = 0;
};

/// Progress kept in memory for as long as the store lives.
class MemoryProgressStore : public ProgressStore {
 public:
  std::optional<int> FewestMoves(const std::string& canonicalCode) const override;
  bool SetFewestMoves(const std::string& canonicalCode, int moves) override;

  /// Makes every later SetFewestMoves fail (and keep nothing), as a settings
  /// file that cannot be written does.
  void FailWrites() { m_failWrites = true; }

 private:
  std::map<std::string, int> m_fewestMoves;
  bool m_failWrites = false;
};
