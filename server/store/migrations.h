#pragma once
// The site's schema as numbered migrations, applied in order at the start of
// every worker. A migration, once released, never changes: a change of the
// schema is a new migration at the end of the list.

#include <span>
#include <string_view>

#include "server/store/database.h"

struct Migration {
  int version;
  /// The statements, run in order in one transaction; each written so that
  /// both SQLite and PostgreSQL take it.
  std::span<const std::string_view> statements;
  /// What the two databases write differently (a generated key, a row's own
  /// address), run in the same transaction before `statements`.
  std::span<const std::string_view> sqliteStatements = {};
  std::span<const std::string_view> postgresStatements = {};
};

/// Every migration, in order of version (1, 2, ...).
std::span<const Migration> Migrations();

/// Brings the database's schema to the newest version, in one transaction.
/// Safe when several workers (or machines) start at once: the first takes
/// the lock (SQLite's write lock, PostgreSQL's advisory lock) and applies
/// what is missing; the others then find nothing to do. Throws DatabaseError,
/// also for a database whose schema is newer than this program knows.
/// Returns the schema's version.
int Migrate(Database& database);
