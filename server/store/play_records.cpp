#include "server/store/play_records.h"

#include <cmath>
#include <optional>

namespace {

// Ratings are kept as whole thousandths, volatility as millionths.
std::int64_t Thousandths(double value) { return std::llround(value * 1000.0); }
std::int64_t Millionths(double value) { return std::llround(value * 1000000.0); }

Rating RatingOf(const DbRow& row, std::size_t first) {
  return {static_cast<double>(row.Int(first)) / 1000.0,
          static_cast<double>(row.Int(first + 1)) / 1000.0,
          static_cast<double>(row.Int(first + 2)) / 1000000.0};
}

/// PostgreSQL's rows read for an update are locked, so two workers rating one
/// level at once take turns; SQLite's write transaction holds the whole file.
std::string ForUpdate(const Database& db, std::string sql) {
  if (db.dialect() == Dialect::PostgreSQL) sql += " FOR UPDATE";
  return sql;
}

bool IsPublished(Database& db, const std::string& code) {
  return !db.Run("SELECT 1 FROM levels WHERE code = ? AND hidden = 0", {code}).empty();
}

/// Gives the level its row of figures, at the start, unless it has one.
void EnsureFigures(Database& db, const std::string& code) {
  const Rating start;
  db.Run(
      "INSERT INTO level_figures (code, rating, deviation, volatility) VALUES (?, ?, ?, ?) "
      "ON CONFLICT (code) DO NOTHING",
      {code, Thousandths(start.rating), Thousandths(start.deviation),
       Millionths(start.volatility)});
}

Rating SessionRating(Database& db, const std::string& session) {
  const DbRows rows = db.Run(
      ForUpdate(db, "SELECT rating, deviation, volatility FROM session_ratings WHERE session = ?"),
      {session});
  return rows.empty() ? Rating{} : RatingOf(rows[0], 0);
}

/// What a record needs to know of its level and session before it is stored,
/// read in one statement: the level's rating (its row locked in PostgreSQL)
/// and whether the session has played it before. Nullopt when the published
/// level has no row of figures yet, or is not published.
struct RecordStart {
  Rating level;
  bool first = false;
};
std::optional<RecordStart> ReadRecordStart(Database& db, const AttemptRecord& attempt) {
  std::string sql =
      "SELECT f.rating, f.deviation, f.volatility, "
      "CASE WHEN EXISTS (SELECT 1 FROM attempts WHERE session = ? AND level = ?) THEN 1 "
      "ELSE 0 END "
      "FROM level_figures AS f JOIN levels AS l ON l.code = f.code "
      "WHERE f.code = ? AND l.hidden = 0";
  if (db.dialect() == Dialect::PostgreSQL) sql += " FOR UPDATE OF f";
  const DbRows rows = db.Run(sql, {attempt.session, attempt.level, attempt.level});
  if (rows.empty()) return std::nullopt;
  return RecordStart{RatingOf(rows[0], 0), rows[0].Int(3) == 0};
}

/// Rates the first attempt: a solved level is the player's win.
void RateFirstAttempt(Database& db, const AttemptRecord& attempt, const Rating& level) {
  const Rating player = SessionRating(db, attempt.session);
  const double playerScore = attempt.solved ? 1.0 : 0.0;
  const Rating newLevel = BoundedUpdate(level, {{player, 1.0 - playerScore}});
  const Rating newPlayer = BoundedUpdate(player, {{level, playerScore}});
  db.Run(
      "UPDATE level_figures SET plays = plays + 1, first_plays = first_plays + 1, "
      "first_solved = first_solved + ?, rating = ?, deviation = ?, volatility = ? WHERE code = ?",
      {std::int64_t{attempt.solved ? 1 : 0}, Thousandths(newLevel.rating),
       Thousandths(newLevel.deviation), Millionths(newLevel.volatility), attempt.level});
  db.Run(
      "INSERT INTO session_ratings (session, rating, deviation, volatility) VALUES (?, ?, ?, ?) "
      "ON CONFLICT (session) DO UPDATE SET rating = excluded.rating, "
      "deviation = excluded.deviation, volatility = excluded.volatility",
      {attempt.session, Thousandths(newPlayer.rating), Thousandths(newPlayer.deviation),
       Millionths(newPlayer.volatility)});
}

/// Counts the level's figures again from the rows there are.
void Recount(Database& db, const std::string& code) {
  db.Run(
      "UPDATE level_figures SET "
      "plays = (SELECT COUNT(*) FROM attempts WHERE level = ?), "
      "first_plays = (SELECT COUNT(*) FROM attempts WHERE level = ? AND first_attempt = 1), "
      "first_solved = (SELECT COUNT(*) FROM attempts WHERE level = ? AND first_attempt = 1 "
      "AND solved = 1), "
      "likes = (SELECT COUNT(*) FROM votes WHERE code = ? AND vote = 1), "
      "dislikes = (SELECT COUNT(*) FROM votes WHERE code = ? AND vote = -1) "
      "WHERE code = ?",
      {code, code, code, code, code, code});
}

}  // namespace

RecordOutcome PlayRecords::Record(const AttemptRecord& attempt) {
  RecordOutcome outcome = RecordOutcome::NoLevel;
  // Few statements while the write lock is held: each is a round trip to
  // PostgreSQL, and every other worker's record waits for SQLite's lock.
  m_db.WriteTransaction([&] {
    outcome = RecordOutcome::NoLevel;
    std::optional<RecordStart> start = ReadRecordStart(m_db, attempt);
    if (!start) {
      // The level's first record, or no published level.
      if (!IsPublished(m_db, attempt.level)) return;
      EnsureFigures(m_db, attempt.level);
      start = ReadRecordStart(m_db, attempt);
      if (!start) return;
    }
    m_db.Run(
        "INSERT INTO attempts (level, session, first_attempt, solved, moves, undos, hints, "
        "restarts, seconds, version) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {attempt.level, attempt.session, std::int64_t{start->first ? 1 : 0},
         std::int64_t{attempt.solved ? 1 : 0}, attempt.moves, std::int64_t{attempt.undos},
         std::int64_t{attempt.hints}, std::int64_t{attempt.restarts}, std::int64_t{attempt.seconds},
         attempt.version});
    if (start->first) {
      RateFirstAttempt(m_db, attempt, start->level);
      outcome = RecordOutcome::Rated;
    } else {
      m_db.Run("UPDATE level_figures SET plays = plays + 1 WHERE code = ?", {attempt.level});
      outcome = RecordOutcome::Counted;
    }
  });
  return outcome;
}

LevelFigures PlayRecords::Figures(const std::string& code) {
  LevelFigures figures;
  const DbRows rows = m_db.Run(
      "SELECT plays, first_plays, first_solved, rating, deviation, volatility, likes, dislikes "
      "FROM level_figures WHERE code = ?",
      {code});
  if (rows.empty()) return figures;
  const DbRow& row = rows[0];
  figures.plays = static_cast<int>(row.Int(0));
  figures.firstPlays = static_cast<int>(row.Int(1));
  figures.firstSolved = static_cast<int>(row.Int(2));
  figures.rating = RatingOf(row, 3);
  figures.likes = static_cast<int>(row.Int(6));
  figures.dislikes = static_cast<int>(row.Int(7));
  // The median of the solved attempts' times, read by key at the middle.
  const std::int64_t solved =
      m_db.Run("SELECT COUNT(*) FROM attempts WHERE level = ? AND solved = 1", {code})[0].Int(0);
  if (solved > 0) {
    const DbRows middle = m_db.Run(
        "SELECT seconds FROM attempts WHERE level = ? AND solved = 1 ORDER BY seconds "
        "LIMIT 1 OFFSET ?",
        {code, (solved - 1) / 2});
    if (!middle.empty()) figures.medianSeconds = static_cast<int>(middle[0].Int(0));
  }
  return figures;
}

VoteOutcome PlayRecords::Vote(const std::string& code, const std::string& session, int vote) {
  VoteOutcome outcome = VoteOutcome::NoLevel;
  m_db.WriteTransaction([&] {
    outcome = VoteOutcome::NoLevel;
    if (!IsPublished(m_db, code)) return;
    if (m_db.Run("INSERT INTO votes (code, session, vote) VALUES (?, ?, ?) "
                 "ON CONFLICT (code, session) DO NOTHING RETURNING code",
                 {code, session, std::int64_t{vote}})
            .empty()) {
      outcome = VoteOutcome::AlreadyVoted;
      return;
    }
    EnsureFigures(m_db, code);
    m_db.Run(vote > 0 ? "UPDATE level_figures SET likes = likes + 1 WHERE code = ?"
                      : "UPDATE level_figures SET dislikes = dislikes + 1 WHERE code = ?",
             {code});
    outcome = VoteOutcome::Taken;
  });
  return outcome;
}

int PlayRecords::ForgetSession(const std::string& session) {
  int forgotten = 0;
  m_db.WriteTransaction([&] {
    std::vector<std::string> levels;
    for (const DbRow& row :
         m_db.Run("SELECT level FROM attempts WHERE session = ? UNION SELECT code FROM votes "
                  "WHERE session = ?",
                  {session, session}))
      levels.push_back(row.Text(0));
    forgotten = static_cast<int>(
        m_db.Run("DELETE FROM attempts WHERE session = ? RETURNING level", {session}).size() +
        m_db.Run("DELETE FROM votes WHERE session = ? RETURNING code", {session}).size());
    m_db.Run("DELETE FROM session_ratings WHERE session = ?", {session});
    for (const std::string& level : levels) Recount(m_db, level);
  });
  return forgotten;
}
