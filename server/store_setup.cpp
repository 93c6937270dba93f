#include "server/store_setup.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <stdexcept>
#include <string>

#include "logic/level_analysis.h"
#include "logic/level_code.h"
#include "server/publishing.h"
#include "server/store/level_store.h"
#include "server/store/migrations.h"
#include "server/store/play_records.h"

const char* const AdminHelp =
    "  --admin reports       list the visitors' reports, newest first: the time\n"
    "                        (UTC), the level's code and the reason, tab-separated\n"
    "  --admin hide CODE     take a published level off the gallery, the API and\n"
    "                        its entry page (its level page still plays it)\n"
    "  --admin show CODE     show a hidden level again\n"
    "  --admin delete CODE   remove a published level, from its sets too\n"
    "  --admin export        every published level's figures and computed measures\n"
    "                        as CSV, for korvalo-level calibrate: code, rating,\n"
    "                        deviation, plays, solved_first, median_seconds,\n"
    "                        popularity, moves, solutions, counter_intuitive,\n"
    "                        greedy_effort\n";

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

/// Every published level's figures beside its computed measures, as CSV.
void ExportFigures(Database& database) {
  PlayRecords plays(database);
  LevelAnalyzer analyzer;
  std::printf(
      "code,rating,deviation,plays,solved_first,median_seconds,popularity,moves,solutions,"
      "counter_intuitive,greedy_effort\n");
  for (const DbRow& row : database.Run("SELECT code FROM levels ORDER BY code")) {
    const std::string code = row.Text(0);
    const LevelFigures figures = plays.Figures(code);
    Level level;
    ParseLevelCode(level, code);
    const LevelAnalysis& analysis = analyzer.Analyze(level);
    std::printf("%s,%.1f,%.1f,%d,%.3f,%s,%d,%d,%u,%zu,%d\n", code.c_str(), figures.rating.rating,
                figures.rating.deviation, figures.plays, figures.SolvedFirst(),
                figures.medianSeconds ? std::to_string(*figures.medianSeconds).c_str() : "",
                figures.likes - figures.dislikes, analysis.moves,
                static_cast<unsigned>(analysis.solutions), analysis.counterIntuitiveSteps.size(),
                analysis.greedyEffort);
  }
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
  if (arguments.size() == 1 && arguments[0] == "export") {
    ExportFigures(database);
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
