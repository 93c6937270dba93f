#pragma once
// How people fare on published levels: their attempts, each level's and each
// session's rating, and likes. A session is a player's anonymous random id;
// nothing else of the player is kept. The first attempt of a session at a
// level is rated (Glicko-2, the player against the level) as it arrives;
// later attempts are counted only. Everything handed in here is checked
// already (server/attempts.h).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "logic/glicko2.h"
#include "server/store/database.h"

/// One attempt at a published level, as the player's program sent it.
struct AttemptRecord {
  std::string level;    // canonical code
  std::string session;  // 32 lowercase hexadecimal digits
  bool solved = false;
  std::string moves;  // letters N, S, W, E of the line played
  int undos = 0;
  int hints = 0;
  int restarts = 0;
  int seconds = 0;  // active
  std::string version;
};

enum class RecordOutcome { Rated, Counted, NoLevel };

/// What people made of a level.
struct LevelFigures {
  int plays = 0;                     // attempts
  int firstPlays = 0;                // sessions that played it
  int firstSolved = 0;               // of those, solved at their first attempt
  std::optional<int> medianSeconds;  // of solved attempts; none before the first
  Rating rating;
  int likes = 0;
  int dislikes = 0;

  /// The share solved at the first attempt, 0 to 1 (0 before any play).
  double SolvedFirst() const {
    return firstPlays == 0 ? 0.0 : static_cast<double>(firstSolved) / firstPlays;
  }
};

enum class VoteOutcome { Taken, AlreadyVoted, NoLevel };

class PlayRecords {
 public:
  explicit PlayRecords(Database& database) : m_db(database) {}

  /// Stores the attempt and, when it is the session's first at the level,
  /// updates both ratings, in one short transaction.
  RecordOutcome Record(const AttemptRecord& attempt);
  /// The level's figures (the starting ones for a level nobody played).
  LevelFigures Figures(const std::string& code);
  /// A like (+1) or dislike (-1); one per session and level.
  VoteOutcome Vote(const std::string& code, const std::string& session, int vote);
  /// Deletes every attempt, vote and rating of the session, and the counts
  /// they made; the levels' ratings keep what they learnt, which names no one.
  /// Returns the attempts and votes deleted.
  int ForgetSession(const std::string& session);

 private:
  Database& m_db;
};
