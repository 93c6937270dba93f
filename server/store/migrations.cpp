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

constexpr Migration AllMigrations[] = {
    {1, Version1},
    {2, Version2},
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
      for (std::string_view statement : migration.statements) database.Run(statement);
      database.Run("INSERT INTO schema_migrations (version, applied) VALUES (?, ?)",
                   {std::int64_t{migration.version}, std::int64_t{std::time(nullptr)}});
      version = migration.version;
    }
  });
  return version;
}
