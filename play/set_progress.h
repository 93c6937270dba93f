#pragma once
// What the player has achieved on the levels of sets: for each level, by its
// canonical code, the fewest moves it was solved in. A level that turns up in
// another set, in another place, under another title or turned or mirrored
// keeps what was achieved on it.

#include <map>
#include <optional>
#include <string>

/// Where progress is kept: the player's progress file, or memory in tests.
class ProgressStore {
 public:
  virtual ~ProgressStore() = default;

  /// The fewest moves the level was solved in; nullopt when it never was.
  virtual std::optional<int> FewestMoves(const std::string& canonicalCode) const = 0;

  /// Keeps moves as the level's fewest; false when it could not be kept.
  // moves >= 0
  virtual bool SetFewestMoves(const std::string& canonicalCode, int moves) = 0;

  /// The canonical code of the level played last, where the game resumes;
  /// empty when none.
  virtual std::string LastPlayed() const = 0;
  /// Keeps the level played last; false when it could not be kept.
  virtual bool SetLastPlayed(const std::string& canonicalCode) = 0;
};

/// Progress kept in memory for as long as the store lives.
class MemoryProgressStore : public ProgressStore {
 public:
  std::optional<int> FewestMoves(const std::string& canonicalCode) const override;
  bool SetFewestMoves(const std::string& canonicalCode, int moves) override;
  std::string LastPlayed() const override { return m_lastPlayed; }
  bool SetLastPlayed(const std::string& canonicalCode) override;

  /// Makes every later SetFewestMoves fail (and keep nothing), as a settings
  /// file that cannot be written does.
  void FailWrites() { m_failWrites = true; }

 private:
  std::map<std::string, int> m_fewestMoves;
  std::string m_lastPlayed;
  bool m_failWrites = false;
};
