#include "server/store_setup.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <stdexcept>

#include "server/publishing.h"
#include "server/store/level_store.h"
#include "server/store/migrations.h"

const char* const AdminHelp =
    "  --admin reports       list the visitors' reports, newest first: the time\n"
    "                        (UTC), the level's code and the reason, tab-separated\n"
    "  --admin hide CODE     take a published level off the gallery, the API and\n"
    "                        its entry page (its level page still plays it)\n"
    "  --admin show CODE     show a hidden level again\n"
    "  --admin delete CODE   remove a published level, from its sets too\n";

std::unique_ptr<Database> OpenMigrated(const std::string& locator) {
  std::unique_ptr<Database> database = OpenDatabase(locator);
  Migrate(*database);
  return database;
}

namespace {

std::string UtcTime(std::int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  return text;
}

/// Text of the store with control characters shown as spaces, for a terminal.
std::string Printable(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  return text;
}

}  // namespace

int RunAdmin(const std::vector<std::string>& arguments, Database& database) {
  LevelStore store(database);
  if (arguments.size() == 1 && arguments[0] == "reports") {
    for (const Report& report : store.Reports())
      std::printf("%s\t%s\t%s\n", UtcTime(report.reported).c_str(), report.code.c_str(),
                  Printable(report.reason).c_str());
    return 0;
  }
  if (arguments.size() != 2) {
    std::fprintf(stderr, "Usage:\n%s", AdminHelp);
    return 2;
  }
  const std::string& command = arguments[0];
  const std::optional<std::string> code = CanonicalCodeOf(arguments[1]);
  if (!code || (command != "hide" && command != "show" && command != "delete")) {
    std::fprintf(stderr, code ? "Usage:\n%s" : "korvz: that is no level code\n", AdminHelp);
    return 2;
  }
  const bool done = command == "delete" ? store.RemoveLevelAsAdministrator(*code)
                                        : store.SetHidden(*code, command == "hide");
  if (!done) {
    std::fprintf(stderr, "korvz: the level %s is not published\n", code->c_str());
    return 1;
  }
  std::printf("%s: %s\n", code->c_str(),
              command == "delete" ? "deleted"
              : command == "hide" ? "hidden"
                                  : "shown");
  return 0;
}
