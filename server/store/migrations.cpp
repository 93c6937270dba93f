#include "server/store/migrations.h"

#include <ctime>
#include <string>

namespace {

// Types both databases take alike: TEXT, INTEGER for small numbers and flags
// (0 or 1), BIGINT for times (seconds since 1970). No generated keys: levels
// are keyed by their canonical code and sets by a random id, so rows never
// depend on the order of inserts and machines sharing a database agree.
constexpr std::string_view Version1[] = {
    // One row per published level, under its canonical code. The grade is
    // the difficulty grade the gallery sorts by; the edit token is kept only
    // as its SHA-256 hash.
    "CREATE TABLE levels ("
    " code TEXT PRIMARY KEY,"
    " board_size INTEGER NOT NULL,"
    " moves INTEGER NOT NULL,"
    " grade INTEGER NOT NULL,"
    " title TEXT NOT NULL,"
    " author TEXT NOT NULL,"
    " description TEXT NOT NULL,"
    " token_hash TEXT NOT NULL,"
    " published BIGINT NOT NULL,"
    " hidden INTEGER NOT NULL DEFAULT 0)",
    // The gallery's orders, each read by key: the column descending, then the code.
    "CREATE INDEX levels_by_published ON levels (hidden, published DESC, code)",
    "CREATE INDEX levels_by_moves ON levels (hidden, moves DESC, code)",
    "CREATE INDEX levels_by_grade ON levels (hidden, grade DESC, code)",
    "CREATE TABLE sets ("
    " id TEXT PRIMARY KEY,"
    " title TEXT NOT NULL,"
    " author TEXT NOT NULL,"
    " description TEXT NOT NULL,"
    " token_hash TEXT NOT NULL,"
    " published BIGINT NOT NULL,"
    " hidden INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX sets_by_published ON sets (hidden, published DESC, id)",
    // A set's levels in order, each a published level, with its title in the set.
    "CREATE TABLE set_levels ("
    " set_id TEXT NOT NULL REFERENCES sets (id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL,"
    " code TEXT NOT NULL REFERENCES levels (code),"
    " title TEXT NOT NULL,"
    " PRIMARY KEY (set_id, position))",
    "CREATE INDEX set_levels_by_code ON set_levels (code)",
    // Visitors' reports of a level: one per reporter and level, the reporter
    // named by the day's keyed hash of its address, never by the address.
    "CREATE TABLE reports ("
    " code TEXT NOT NULL REFERENCES levels (code) ON DELETE CASCADE,"
    " reporter TEXT NOT NULL,"
    " reason TEXT NOT NULL,"
    " reported BIGINT NOT NULL,"
    " PRIMARY KEY (code, reporter))",
};

// How people fare on published levels. An attempt keeps exactly what the
// player's program sends, no address, time or browser; `first_attempt` marks
// the one attempt of a session at a level that is rated. Ratings are kept as
// whole thousandths (volatility: millionths), the types both databases share.
constexpr std::string_view Version2[] = {
    "CREATE TABLE attempts ("
    " level TEXT NOT NULL REFERENCES levels (code) ON DELETE CASCADE,"
    " session TEXT NOT NULL,"
    " first_attempt INTEGER NOT NULL,"
    " solved INTEGER NOT NULL,"
    " moves TEXT NOT NULL,"
    " undos INTEGER NOT NULL,"
    " hints INTEGER NOT NULL,"
    " restarts INTEGER NOT NULL,"
    " seconds INTEGER NOT NULL,"
    " version TEXT NOT NULL)",
    "CREATE INDEX attempts_by_session ON attempts (session, level)",
    // The median solving time is read by key, in order of seconds.
    "CREATE INDEX attempts_by_time ON attempts (level, solved, seconds)",
    // A level's figures, updated as attempts and votes arrive.
    "CREATE TABLE level_figures ("
    " code TEXT PRIMARY KEY REFERENCES levels (code) ON DELETE CASCADE,"
    " plays INTEGER NOT NULL DEFAULT 0,"
    " first_plays INTEGER NOT NULL DEFAULT 0,"
    " first_solved INTEGER NOT NULL DEFAULT 0,"
    " rating BIGINT NOT NULL,"
    " deviation BIGINT NOT NULL,"
    " volatility BIGINT NOT NULL,"
    " likes INTEGER NOT NULL DEFAULT 0,"
    " dislikes INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX level_figures_by_rating ON level_figures (rating DESC, code)",
    "CREATE INDEX level_figures_by_balance ON level_figures ((likes - dislikes) DESC, code)",
    "CREATE TABLE session_ratings ("
    " session TEXT PRIMARY KEY,"
    " rating BIGINT NOT NULL,"
    " deviation BIGINT NOT NULL,"
    " volatility BIGINT NOT NULL)",
    // One like or dislike per session and level: 1 or -1.
    "CREATE TABLE votes ("
    " code TEXT NOT NULL REFERENCES levels (code) ON DELETE CASCADE,"
    " session TEXT NOT NULL,"
    " vote INTEGER NOT NULL,"
    " PRIMARY KEY (code, session))",
    "CREATE INDEX votes_by_session ON votes (session)",
};

// First attempts wait in a queue for their rating, which a worker does for
// many at a time, apart from the record's own short transaction; a queued
// attempt is taken off the queue in the transaction that rates it, so each is
// rated once and none is lost. The queue is read in the order of `seq`, the
// order its attempts were stored. Each database makes `seq` its own way.
constexpr std::string_view Version3ForSqlite[] = {
    "CREATE TABLE rating_queue ("
    " seq INTEGER PRIMARY KEY,"
    " level TEXT NOT NULL REFERENCES levels (code) ON DELETE CASCADE,"
    " session TEXT NOT NULL,"
    " solved INTEGER NOT NULL)",
    // One session's two first attempts at a level (two pages sending at
    // once) keep only the earlier as the first, before the index below
    // forbids them.
    "UPDATE attempts SET first_attempt = 0 WHERE first_attempt = 1 AND rowid NOT IN "
    "(SELECT MIN(rowid) FROM attempts WHERE first_attempt = 1 GROUP BY session, level)",
};
constexpr std::string_view Version3ForPostgres[] = {
    "CREATE TABLE rating_queue ("
    " seq BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,"
    " level TEXT NOT NULL REFERENCES levels (code) ON DELETE CASCADE,"
    " session TEXT NOT NULL,"
    " solved INTEGER NOT NULL)",
    "UPDATE attempts SET first_attempt = 0 WHERE first_attempt = 1 AND ctid NOT IN "
    "(SELECT MIN(ctid) FROM attempts WHERE first_attempt = 1 GROUP BY session, level)",
};
// The queue holds only what waits for the next batch, so it has no index
// but its key: each would be one more page written per record.
constexpr std::string_view Version3[] = {
    // A session has one first attempt at a level, however many of its
    // records arrive at once: the second to be stored finds the first.
    "CREATE UNIQUE INDEX attempts_first ON attempts (session, level) WHERE first_attempt = 1",
    "UPDATE level_figures SET "
    "first_plays = (SELECT COUNT(*) FROM attempts WHERE attempts.level = level_figures.code AND "
    "first_attempt = 1), "
    "first_solved = (SELECT COUNT(*) FROM attempts WHERE attempts.level = level_figures.code AND "
    "first_attempt = 1 "
    "AND solved = 1)",
};

constexpr Migration AllMigrations[] = {
    {1, Version1},
    {2, Version2},
    {3, Version3, Version3ForSqlite, Version3ForPostgres},
};

void LockAgainstOtherWorkers(Database& database) {
  // SQLite's BEGIN IMMEDIATE already holds the file's write lock.
  if (database.dialect() == Dialect::PostgreSQL)
    database.Run("SELECT pg_advisory_xact_lock(?)", {std::int64_t{0x4b6f72766c6f}});
}

}  // namespace

std::span<const Migration> Migrations() { return AllMigrations; }

int Migrate(Database& database) {
  int version = 0;
  database.WriteTransaction([&] {
    LockAgainstOtherWorkers(database);
    database.Run(
        "CREATE TABLE IF NOT EXISTS schema_migrations ("
        " version INTEGER PRIMARY KEY, applied BIGINT NOT NULL)");
    version = static_cast<int>(
        database.Run("SELECT COALESCE(MAX(version), 0) FROM schema_migrations")[0].Int(0));
    const int newest = Migrations().back().version;
    if (version > newest)
      throw DatabaseError("the database's schema is version " + std::to_string(version) +
                          ", newer than this program's " + std::to_string(newest) +
                          ": run the newer program");
    for (const Migration& migration : Migrations()) {
      if (migration.version <= version) continue;
      const auto own = database.dialect() == Dialect::SQLite ? migration.sqliteStatements
                                                             : migration.postgresStatements;
      for (std::string_view statement : own) database.Run(statement);
      for (std::string_view statement : migration.statements) database.Run(statement);
      database.Run("INSERT INTO schema_migrations (version, applied) VALUES (?, ?)",
                   {std::int64_t{migration.version}, std::int64_t{std::time(nullptr)}});
      version = migration.version;
    }
  });
  return version;
}
