// korvz: the worker of the level-sharing page. For `?s=CODE` it answers the
// page where the level is played in the browser, for `&png=1` its picture,
// for `&embed=1` the page for a frame on another site; any other address of a
// level is sent on to that one, and an address that names no level gets a
// 400 page that says why. With a database (KORVALO_DATABASE) it also
// answers the published levels: the JSON API, the gallery and the set pages.
//
// It runs as a FastCGI worker: lighttpd (server/lighttpd.conf.in) starts a
// fixed pool of them. Its settings (KORVALO_PUBLIC_ADDRESS, the site's public
// address for the absolute links of its pages, KORVALO_DATABASE,
// KORVALO_PUBLISH_LIMIT and KORVALO_RECORD_LIMIT) are checked once at the
// start: a value that cannot be used stops the worker with a message on
// standard error (the web server's error log, the journal).
// `korvz --check-settings` checks the whole service's settings alone, the
// pool's and lighttpd's too, so that lighttpd refuses to start with a value
// that cannot be used, and says why.

#include <fcgiapp.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "korvalo_constants.h"
#include "server/fastcgi_worker.h"
#include "server/service_settings.h"
#include "server/store/background_rater.h"
#include "server/store_answers.h"
#include "server/store_setup.h"

namespace {

constexpr const char* Help =
    "Usage: korvz [--check-settings | --admin COMMAND [CODE]]\n"
    "The worker of the Korvalo level-sharing page, for a FastCGI web server: it\n"
    "answers the requests of the listening socket given as standard input until\n"
    "it gets SIGTERM. lighttpd starts a pool of them with server/lighttpd.conf.in\n"
    "(as built into build/server/lighttpd.conf).\n"
    "\n"
    "  --check-settings  check the service's settings below, open the database\n"
    "                    and bring its schema up to date, and end: status 0 when\n"
    "                    they can be used, else 2 with the reason on standard\n"
    "                    error (lighttpd's configuration runs this first)\n"
    "\n"
    "Environment (the worker itself reads the last four):\n"
    "  KORVALO_WORKERS   how many workers answer at once, 1 to 256\n"
    "  KORVALO_QUEUE     how many requests may wait for a worker, 0 to 1024\n"
    "  KORVALO_PORT      the port lighttpd listens on, 1 to 65535\n"
    "  KORVALO_BIND      the address lighttpd listens on\n"
    "  KORVALO_SITE      the folder of the site's static files\n"
    "  KORVALO_RUN       the folder of the workers' sockets\n"
    "  KORVALO_PUBLIC_ADDRESS  the site's address as the public sees it, such as\n"
    "                          https://www.example.org, for the absolute links of\n"
    "                          the pages (Open Graph, Embed); without it the pages\n"
    "                          link relative to the site and leave those out\n"
    "  KORVALO_DATABASE        the published levels' database: the absolute path of\n"
    "                          a SQLite file, or a postgresql:// address; without it\n"
    "                          korvalo.sqlite in STATE_DIRECTORY, and without that\n"
    "                          no published levels\n"
    "  KORVALO_PUBLISH_LIMIT   levels or sets one client may publish an hour in each\n"
    "                          worker (1 to 100000, default 60)\n"
    "  KORVALO_RECORD_LIMIT    play records, likes and deletions one client may send\n"
    "                          an hour in each worker (1 to 100000, default 2000)\n"
    "\n"
    "The administrator's commands on the published levels (KORVALO_DATABASE as above):\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(Help, stdout);
    std::fputs(AdminHelp, stdout);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("korvz %s\n", KorvaloVersion);
    return 0;
  }
  const bool checkOnly = argc == 2 && std::strcmp(argv[1], "--check-settings") == 0;
  const bool admin = argc > 1 && std::strcmp(argv[1], "--admin") == 0;
  if (argc > 1 && !checkOnly && !admin) {
    std::fputs(Help, stderr);
    return 2;
  }
  auto read =
      ReadSettingsFromEnvironment(checkOnly ? SettingsScope::Service : SettingsScope::Worker);
  if (const auto* error = std::get_if<SettingsError>(&read)) {
    std::fprintf(stderr, "korvz: %s\n", error->reason.c_str());
    return 2;
  }
  const ServiceSettings settings = std::get<ServiceSettings>(std::move(read));
  // The schema is brought up to date by the settings' check (once, before
  // lighttpd starts the workers) and again by every worker, which finds it done.
  std::unique_ptr<Database> database;
  try {
    if (!settings.database.empty()) database = OpenMigrated(settings.database);
  } catch (const DatabaseError& error) {
    std::fprintf(stderr, "korvz: KORVALO_DATABASE: %s\n", error.what());
    return 2;
  }
  if (admin) {
    if (!database) {
      std::fputs("korvz: --admin needs KORVALO_DATABASE\n", stderr);
      return 2;
    }
    return RunAdmin(std::vector<std::string>(argv + 2, argv + argc), *database);
  }
  if (checkOnly) return 0;
  if (FCGX_IsCGI()) {
    std::fputs(
        "korvz: standard input is no listening socket: korvz is a FastCGI worker, "
        "started by the web server (see korvz --help)\n",
        stderr);
    return 2;
  }
  KeepFreedMemoryForTheNextAnswer();
  std::unique_ptr<StoreAnswers> store;
  std::unique_ptr<BackgroundRater> rater;
  if (database) {
    rater = std::make_unique<BackgroundRater>(settings.database);
    StoreLimits limits;
    if (settings.publishLimit) limits.publications = *settings.publishLimit;
    if (settings.recordLimit) limits.attempts = *settings.recordLimit;
    store = std::make_unique<StoreAnswers>(*database, settings.publicAddress, limits);
  }
  SiteAnswers answers(settings.publicAddress, store.get());
  return ServeFastCgi(answers);
}
