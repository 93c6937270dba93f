// korvz: the worker of the level-sharing page. For `?s=CODE` it answers the
// page where the level is played in the browser, for `&png=1` its picture,
// for `&embed=1` the page for a frame on another site; any other address of a
// level is sent on to that one, and an address that names no level gets a
// 400 page that says why. It holds no state and reads no file.
//
// It runs as a FastCGI worker: lighttpd (server/lighttpd.conf.in) starts a
// fixed pool of them. KORVALO_PUBLIC_ADDRESS, the site's public address for
// the absolute links of its pages, is checked once at the start: a value that
// cannot be used stops the worker with a message on standard error (the web
// server's error log). `korvz --check-settings` makes the same check alone, so
// that lighttpd can refuse to start with such a value.

#include <fcgiapp.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "korvalo_constants.h"
#include "server/fastcgi_worker.h"
#include "server/site_address.h"
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
    "  --check-settings  check the environment below and end: status 0 when the\n"
    "                    worker can use it, else 2 with the reason on standard\n"
    "                    error (lighttpd's configuration runs this first)\n"
    "\n"
    "Environment:\n"
    "  KORVALO_PUBLIC_ADDRESS  the site's address as the public sees it, such as\n"
    "                          https://www.example.org, for the absolute links of\n"
    "                          the pages (Open Graph, Embed); without it the pages\n"
    "                          link relative to the site and leave those out\n"
    "  KORVALO_DATABASE        the published levels' database: a SQLite file, or a\n"
    "                          postgresql:// address; without it korvalo.sqlite in\n"
    "                          STATE_DIRECTORY, and without that no published levels\n"
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
  const char* configured = std::getenv("KORVALO_PUBLIC_ADDRESS");
  auto address = NormalisedPublicAddress(configured == nullptr ? "" : configured);
  if (const auto* error = std::get_if<AddressError>(&address)) {
    std::fprintf(stderr, "korvz: %s\n", error->reason.c_str());
    return 2;
  }
  // The schema is brought up to date by the settings' check (once, before
  // lighttpd starts the workers) and again by every worker, which finds it done.
  const std::string databaseName = ConfiguredDatabase();
  std::unique_ptr<Database> database;
  StoreLimits limits;
  try {
    limits = LimitsFromEnvironment();
    if (!databaseName.empty()) database = OpenMigrated(databaseName);
  } catch (const DatabaseError& error) {
    std::fprintf(stderr, "korvz: KORVALO_DATABASE: %s\n", error.what());
    return 2;
  } catch (const std::invalid_argument& error) {
    std::fprintf(stderr, "korvz: %s\n", error.what());
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
  const std::string site = std::get<std::string>(std::move(address));
  std::unique_ptr<StoreAnswers> store;
  if (database) store = std::make_unique<StoreAnswers>(*database, site, limits);
  SiteAnswers answers(site, store.get());
  return ServeFastCgi(answers);
}
