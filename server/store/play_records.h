#pragma once
// How people fare on published levels: their attempts, each level's and each
// session's rating, and likes. A session is a player's anonymous random id;
// nothing else of the player is kept. The first attempt of a session at a
// level is rated (Glicko-2, the player against the level); later attempts
// are counted only. A record is stored and counted in one short statement
// and its rating waits in a queue, which RatePending works off many at a
// time in the order the records were stored (server/store/background_rater.h
// runs it in every worker). Everything handed in here is checked already
// (server/attempts.h).

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

/// Rated: the session's first attempt at the level, queued for its rating.
/// Counted: a later attempt, counted only.
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

  /// Stores and counts the attempt and, when it is the session's first at
  /// the level, queues it for its rating, in one short transaction (one
  /// statement on PostgreSQL).
  RecordOutcome Record(const AttemptRecord& attempt);
  /// Rates up to `most` of the queued first attempts, oldest first, and
  /// takes them off the queue, in one transaction. Each is one rating period
  /// of its own for the level and the session, so the ratings are those of
  /// rating every first attempt as it arrived, whatever the batches. Returns
  /// how many it rated: 0 when none waits or another worker holds the turn.
  int RatePending(int most);
  /// The first attempts waiting for their rating.
  int PendingRatings();
  /// The level's figures (the starting ones for a level nobody played).
  LevelFigures Figures(const std::string& code);
  /// A like (+1) or dislike (-1); one per session and level.
  VoteOutcome Vote(const std::string& code, const std::string& session, int vote);
  /// Deletes every attempt, vote and rating of the session, its attempts
  /// still waiting for their rating, and the counts they made; the levels'
  /// ratings keep what they learnt, which names no one.
  /// Returns the attempts and votes deleted.
  int ForgetSession(const std::string& session);

 private:
  Database& m_db;
};
