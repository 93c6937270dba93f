#include "server/store/play_records.h"

#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace {

// Ratings are kept as whole thousandths, volatility as millionths.
std::int64_t Thousandths(double value) { return std::llround(value * 1000.0); }
std::int64_t Millionths(double value) { return std::llround(value * 1000000.0); }

/// The rating as the database keeps it.
Rating AsStored(const Rating& rating) {
  return {static_cast<double>(Thousandths(rating.rating)) / 1000.0,
          static_cast<double>(Thousandths(rating.deviation)) / 1000.0,
          static_cast<double>(Millionths(rating.volatility)) / 1000000.0};
}

Rating RatingOf(const DbRow& row, std::size_t first) {
  return {static_cast<double>(row.Int(first)) / 1000.0,
          static_cast<double>(row.Int(first + 1)) / 1000.0,
          static_cast<double>(row.Int(first + 2)) / 1000000.0};
}

/// The key of PostgreSQL's advisory lock that gives one transaction at a
/// time the turn to rate (SQLite's write lock holds the whole file anyway).
constexpr std::int64_t RatingTurn = 0x4b6f72767274;

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

// A record's steps: the attempt stored when its level is published, marked
// first when the session never played the level; the level's counts, its
// row made at the start rating when missing; a first attempt queued for its
// rating.
constexpr std::string_view StoreAttempt =
    "INSERT INTO attempts (level, session, first_attempt, solved, moves, undos, hints, restarts, "
    "seconds, version) "
    "SELECT code, CAST(? AS TEXT), "
    "CASE WHEN EXISTS (SELECT 1 FROM attempts WHERE session = ? AND level = ?) THEN 0 ELSE 1 END, "
    "CAST(? AS INTEGER), CAST(? AS TEXT), CAST(? AS INTEGER), CAST(? AS INTEGER), "
    "CAST(? AS INTEGER), CAST(? AS INTEGER), CAST(? AS TEXT) "
    "FROM levels WHERE code = ? AND hidden = 0 "
    "RETURNING level, session, first_attempt, solved";
constexpr std::string_view CountColumns =
    "INSERT INTO level_figures (code, plays, first_plays, first_solved, rating, deviation, "
    "volatility) ";
constexpr std::string_view CountOnConflict =
    " ON CONFLICT (code) DO UPDATE SET plays = level_figures.plays + 1, "
    "first_plays = level_figures.first_plays + excluded.first_plays, "
    "first_solved = level_figures.first_solved + excluded.first_solved";

std::vector<DbValue> StoreParameters(const AttemptRecord& attempt) {
  return {attempt.session,
          attempt.session,
          attempt.level,
          std::int64_t{attempt.solved ? 1 : 0},
          attempt.moves,
          std::int64_t{attempt.undos},
          std::int64_t{attempt.hints},
          std::int64_t{attempt.restarts},
          std::int64_t{attempt.seconds},
          attempt.version,
          attempt.level};
}

/// PostgreSQL: the steps as one statement, a single round trip that is its
/// own transaction; the level's row of figures is locked only for its
/// commit. Returns the attempt's first flag, nullopt for a level not published.
std::optional<bool> StoreInOneStatement(Database& db, const AttemptRecord& attempt) {
  static const std::string statement =
      "WITH stored AS (" + std::string(StoreAttempt) + "), counted AS (" +
      std::string(CountColumns) +
      "SELECT level, 1, first_attempt, first_attempt * solved, CAST(? AS BIGINT), "
      "CAST(? AS BIGINT), CAST(? AS BIGINT) FROM stored" +
      std::string(CountOnConflict) +
      "), queued AS (INSERT INTO rating_queue (level, session, solved) "
      "SELECT level, session, solved FROM stored WHERE first_attempt = 1) "
      "SELECT first_attempt FROM stored";
  const Rating start;
  std::vector<DbValue> parameters = StoreParameters(attempt);
  parameters.insert(parameters.end(), {Thousandths(start.rating), Thousandths(start.deviation),
                                       Millionths(start.volatility)});
  const DbRows rows = db.RunAlone(statement, parameters);
  if (rows.empty()) return std::nullopt;
  return rows[0].Int(0) == 1;
}

/// SQLite: the steps in one write transaction, each statement in-process.
std::optional<bool> StoreInTransaction(Database& db, const AttemptRecord& attempt) {
  static const std::string count =
      std::string(CountColumns) + "VALUES (?, 1, ?, ?, ?, ?, ?)" + std::string(CountOnConflict);
  std::optional<bool> first;
  db.WriteTransaction([&] {
    first.reset();
    const DbRows stored = db.Run(StoreAttempt, StoreParameters(attempt));
    if (stored.empty()) return;
    first = stored[0].Int(2) == 1;
    const Rating start;
    const std::int64_t solved = attempt.solved ? 1 : 0;
    db.Run(count,
           {attempt.level, std::int64_t{*first ? 1 : 0}, *first ? solved : 0,
            Thousandths(start.rating), Thousandths(start.deviation), Millionths(start.volatility)});
    if (*first)
      db.Run("INSERT INTO rating_queue (level, session, solved) VALUES (?, ?, ?)",
             {attempt.level, attempt.session, solved});
  });
  return first;
}

/// A batch of values as one parameter: a JSON array of arrays, which
/// statements read as the rows of `e`, the inner array in `e.value`.
std::string BatchRows(const Database& db) {
  return db.dialect() == Dialect::SQLite ? "json_each(?) AS e"
                                         : "jsonb_array_elements(CAST(? AS JSONB)) AS e (value)";
}

/// A batch of rows as one JSON array of arrays. Its values are level codes,
/// session ids and numbers, none of which holds a quote or a backslash.
class JsonBatch {
 public:
  template <typename... Values>
  void Add(const Values&... values) {
    m_text.append(m_text.size() > 1 ? ",[" : "[");
    bool first = true;
    (Append(values, first), ...);
    m_text.push_back(']');
  }
  std::string Text() const { return m_text + "]"; }

 private:
  void Append(const std::string& text, bool& first) {
    Separate(first);
    m_text.push_back('"');
    m_text.append(text);
    m_text.push_back('"');
  }
  void Append(std::int64_t number, bool& first) {
    Separate(first);
    m_text.append(std::to_string(number));
  }
  void Separate(bool& first) {
    if (!first) m_text.push_back(',');
    first = false;
  }

  std::string m_text = "[";
};

/// A first attempt waiting for its rating.
struct QueuedAttempt {
  std::int64_t seq = 0;
  std::string level;
  std::string session;
  bool solved = false;
};

/// Reads the ratings of the keys (level codes or sessions) that `sql` selects
/// from a batch of keys, as key, rating, deviation and volatility.
void ReadRatings(Database& db, const std::string& sql, const std::set<std::string>& keys,
                 std::map<std::string, Rating>& ratings) {
  JsonBatch batch;
  for (const std::string& key : keys) {
    batch.Add(key);
    ratings[key] = Rating{};
  }
  for (const DbRow& row : db.Run(sql, {batch.Text()})) ratings[row.Text(0)] = RatingOf(row, 1);
}

std::vector<QueuedAttempt> ReadQueue(Database& db, int most) {
  std::vector<QueuedAttempt> queued;
  for (const DbRow& row :
       db.Run("SELECT seq, level, session, solved FROM rating_queue ORDER BY seq LIMIT ?",
              {std::int64_t{most}}))
    queued.push_back({row.Int(0), row.Text(1), row.Text(2), row.Int(3) == 1});
  return queued;
}

/// Whether this transaction has the turn to rate. Another worker's batch
/// under way means there is nothing to do now.
bool TakeRatingTurn(Database& db) {
  if (db.dialect() == Dialect::SQLite) return true;
  return db.Run("SELECT CASE WHEN pg_try_advisory_xact_lock(?) THEN 1 ELSE 0 END", {RatingTurn})[0]
             .Int(0) == 1;
}

/// Waits for the turn to rate, for a change that must not cross a batch.
void WaitForRatingTurn(Database& db) {
  if (db.dialect() == Dialect::PostgreSQL) db.Run("SELECT pg_advisory_xact_lock(?)", {RatingTurn});
}

/// Rates the attempts one after another, each a rating period of its own
/// for its level and session: a solved attempt is the player's win. Each
/// result is kept as the database keeps it, so that where a batch ends
/// changes nothing.
void RateInOrder(const std::vector<QueuedAttempt>& queued, std::map<std::string, Rating>& levels,
                 std::map<std::string, Rating>& sessions) {
  for (const QueuedAttempt& attempt : queued) {
    Rating& level = levels[attempt.level];
    Rating& player = sessions[attempt.session];
    const double playerScore = attempt.solved ? 1.0 : 0.0;
    const Rating newLevel = AsStored(BoundedUpdate(level, {{player, 1.0 - playerScore}}));
    player = AsStored(BoundedUpdate(player, {{level, playerScore}}));
    level = newLevel;
  }
}

/// Writes the levels' and sessions' new ratings, each kind in one statement.
void WriteRatings(Database& db, const std::map<std::string, Rating>& levels,
                  const std::map<std::string, Rating>& sessions) {
  const auto batchOf = [](const std::map<std::string, Rating>& ratings) {
    JsonBatch batch;
    for (const auto& [key, rating] : ratings)
      batch.Add(key, Thousandths(rating.rating), Thousandths(rating.deviation),
                Millionths(rating.volatility));
    return batch.Text();
  };
  const std::string newRatings =
      "SELECT e.value ->> 0 AS key, CAST(e.value ->> 1 AS BIGINT) AS rating, "
      "CAST(e.value ->> 2 AS BIGINT) AS deviation, CAST(e.value ->> 3 AS BIGINT) AS volatility "
      "FROM " +
      BatchRows(db);
  db.Run(
      "UPDATE level_figures SET rating = n.rating, deviation = n.deviation, "
      "volatility = n.volatility FROM (" +
          newRatings + ") AS n WHERE level_figures.code = n.key",
      {batchOf(levels)});
  db.Run("INSERT INTO session_ratings (session, rating, deviation, volatility) " + newRatings +
             " WHERE true ON CONFLICT (session) DO UPDATE SET rating = excluded.rating, "
             "deviation = excluded.deviation, volatility = excluded.volatility",
         {batchOf(sessions)});
}

/// Takes exactly the attempts rated off the queue: one stored meanwhile
/// waits for the next batch, whatever its place in the queue.
void TakeOffQueue(Database& db, const std::vector<QueuedAttempt>& queued) {
  JsonBatch done;
  for (const QueuedAttempt& attempt : queued) done.Add(attempt.seq);
  db.Run("DELETE FROM rating_queue WHERE seq IN (SELECT CAST(e.value ->> 0 AS BIGINT) FROM " +
             BatchRows(db) + ")",
         {done.Text()});
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
  const std::optional<bool> first = m_db.dialect() == Dialect::PostgreSQL
                                        ? StoreInOneStatement(m_db, attempt)
                                        : StoreInTransaction(m_db, attempt);
  if (!first) return RecordOutcome::NoLevel;
  return *first ? RecordOutcome::Rated : RecordOutcome::Counted;
}

int PlayRecords::RatePending(int most) {
  // Most rounds find nothing: they read without taking the write lock.
  if (PendingRatings() == 0) return 0;
  int rated = 0;
  m_db.WriteTransaction([&] {
    rated = 0;
    if (!TakeRatingTurn(m_db)) return;
    const std::vector<QueuedAttempt> queued = ReadQueue(m_db, most);
    if (queued.empty()) return;
    std::set<std::string> levelCodes, sessionIds;
    for (const QueuedAttempt& attempt : queued) {
      levelCodes.insert(attempt.level);
      sessionIds.insert(attempt.session);
    }
    std::map<std::string, Rating> levels, sessions;
    ReadRatings(m_db,
                "SELECT code, rating, deviation, volatility FROM level_figures WHERE code IN "
                "(SELECT e.value ->> 0 FROM " +
                    BatchRows(m_db) + ")",
                levelCodes, levels);
    ReadRatings(m_db,
                "SELECT session, rating, deviation, volatility FROM session_ratings WHERE "
                "session IN (SELECT e.value ->> 0 FROM " +
                    BatchRows(m_db) + ")",
                sessionIds, sessions);
    RateInOrder(queued, levels, sessions);
    WriteRatings(m_db, levels, sessions);
    TakeOffQueue(m_db, queued);
    rated = static_cast<int>(queued.size());
  });
  return rated;
}

int PlayRecords::PendingRatings() {
  return static_cast<int>(m_db.Run("SELECT COUNT(*) FROM rating_queue")[0].Int(0));
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
    // Not while a batch rates this session: it would write its rating anew.
    WaitForRatingTurn(m_db);
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
    m_db.Run("DELETE FROM rating_queue WHERE session = ?", {session});
    for (const std::string& level : levels) Recount(m_db, level);
  });
  return forgotten;
}
