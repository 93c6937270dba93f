#pragma once
// Which database korvz uses, from its environment, and the administrator's
// commands on it.

#include <memory>
#include <string>
#include <vector>

#include "server/store/database.h"
#include "server/store_answers.h"

/// The database KORVALO_DATABASE names (a SQLite file, or a postgresql://
/// address); without it, korvalo.sqlite in the service's state folder
/// (STATE_DIRECTORY, as systemd sets it). Empty when neither is set: the
/// worker then serves the level pages without published levels.
std::string ConfiguredDatabase();

/// The publishing limit: KORVALO_PUBLISH_LIMIT publications (levels or sets)
/// per client and hour in each worker, 60 when unset. Throws
/// std::invalid_argument with the reason for a value that is no number from 1
/// to 100000. KORVALO_RECORD_LIMIT likewise sets the play records, votes and
/// deletions per client and hour (2000 when unset).
StoreLimits LimitsFromEnvironment();

/// Opens the database and brings its schema up to date. Throws DatabaseError.
std::unique_ptr<Database> OpenMigrated(const std::string& locator);

/// `korvz --admin COMMAND [CODE]`: lists the reports, hides, shows or
/// removes a published level. Returns the exit status.
int RunAdmin(const std::vector<std::string>& arguments, Database& database);

/// The usage of --admin, for the help.
extern const char* const AdminHelp;
