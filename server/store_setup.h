#pragma once
// korvz's database, opened with its schema up to date, and the
// administrator's commands on it.

#include <memory>
#include <string>
#include <vector>

#include "server/store/database.h"
#include "server/store_answers.h"

/// Opens the database and brings its schema up to date. Throws DatabaseError.
std::unique_ptr<Database> OpenMigrated(const std::string& locator);

/// `korvz --admin COMMAND [CODE]`: lists the reports, hides, shows or
/// removes a published level. Returns the exit status.
int RunAdmin(const std::vector<std::string>& arguments, Database& database);

/// The usage of --admin, for the help.
extern const char* const AdminHelp;
