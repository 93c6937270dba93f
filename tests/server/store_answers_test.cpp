// The published levels through the worker's answers, against SQLite and
// PostgreSQL alike: the JSON API (publishing, reading by any form of the
// code, removing with the edit token, sets, reports, the limit per client),
// its refusals, hostile text on every page, the gallery by key, set pages,
// and the level page's link to its entry.

#include "server/store_answers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <regex>

#include "logic/canonical_code.h"
#include "logic/json.h"
#include "logic/level_code.h"
#include "server/secrets.h"
#include "server/store/migrations.h"
#include "server/store_setup.h"
#include "tests/server/store_databases.h"

namespace {

constexpr const char* TwoMoves = "3111221000110fbe5";
constexpr const char* LongSolution = "7003366663300d4dae70cec86baf110a5e554";
constexpr const char* NoSolution = "3001122221100fbe5";
constexpr const char* SolvedAtStart = "3000110000110fbe5";
constexpr const char* Site = "https://levels.example.org";
constexpr const char* Hostile = "<script>alert(\\\"x\\\")</script>'&<img src=x onerror=alert(1)>";

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

/// The value of a member of a JSON answer.
std::string Member(const std::string& body, std::string_view name) {
  auto parsed = ParseJson(body);
  if (!std::holds_alternative<JsonValue>(parsed)) return "(no JSON: " + body + ")";
  const JsonValue* value = std::get<JsonValue>(parsed).Member(name);
  if (value == nullptr) return "(none)";
  if (const std::string* text = value->String()) return *text;
  if (const bool* flag = std::get_if<bool>(&value->value)) return *flag ? "true" : "false";
  if (const double* number = std::get_if<double>(&value->value))
    return std::to_string(static_cast<long>(*number));
  return "(other)";
}

/// Another written form of the level: turned a quarter, in capitals.
std::string OtherForm(const std::string& code) {
  Level level;
  ParseLevelCode(level, code);
  std::string other = ImageCodes(level)[1];
  for (char& c : other) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return other;
}

std::string CanonicalOf(const std::string& code) {
  Level level;
  ParseLevelCode(level, code);
  return CanonicalCode(level);
}

class StoreAnswersTest : public testing::TestWithParam<Backend> {
 protected:
  StoreAnswersTest()
      : m_fresh(GetParam()),
        m_db(OpenMigrated(m_fresh.locator())),
        m_answers(*m_db, Site, {3, 2, 3600}),
        m_site(Site, &m_answers) {}

  HttpResponse Send(const std::string& method, const std::string& target,
                    const std::string& body = "", const std::string& token = "",
                    const std::string& client = "192.0.2.1") {
    Request request;
    request.method = method;
    request.target = target;
    request.body = body;
    request.clientAddress = client;
    if (!token.empty()) request.authorization = "Bearer " + token;
    return m_site.Respond(request);
  }

  HttpResponse PublishLevel(const std::string& code, const std::string& title = "A title",
                            const std::string& client = "192.0.2.1") {
    return Send("POST", "/api/levels",
                "{\"code\":\"" + code + "\",\"title\":\"" + title +
                    "\",\"author\":\"A. Designer\",\"description\":\"Short.\"}",
                "", client);
  }

  FreshDatabase m_fresh;
  std::unique_ptr<Database> m_db;
  StoreAnswers m_answers;
  SiteAnswers m_site;
};

TEST_P(StoreAnswersTest, PublishesOnceAndFindsTheLevelByAnyFormOfItsCode) {
  const HttpResponse published = PublishLevel(LongSolution);
  ASSERT_EQ(published.status, 201) << published.body;
  const std::string canonical = CanonicalOf(LongSolution);
  EXPECT_EQ(Member(published.body, "code"), canonical);
  EXPECT_EQ(Member(published.body, "address"), std::string(Site) + "/levels/" + canonical);
  EXPECT_EQ(published.Header("Location"), Member(published.body, "address"));
  const std::string token = Member(published.body, "token");
  EXPECT_TRUE(std::regex_match(token, std::regex("[0-9a-f]{32}"))) << token;
  // Only the token's hash is kept.
  const DbRows kept = m_db->Run("SELECT token_hash FROM levels");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].Text(0), Sha256Hex(token));

  const HttpResponse read = Send("GET", "/api/levels/" + OtherForm(LongSolution));
  ASSERT_EQ(read.status, 200) << read.body;
  EXPECT_EQ(Member(read.body, "code"), canonical);
  EXPECT_EQ(Member(read.body, "moves"), "35");
  EXPECT_EQ(Member(read.body, "author"), "A. Designer");
  EXPECT_EQ(read.Header("Cache-Control"), "public, max-age=60");
  Request again;
  again.target = "/api/levels/" + canonical;
  again.ifNoneMatch = read.Header("ETag");
  EXPECT_EQ(m_site.Respond(again).status, 304);

  const HttpResponse twice = PublishLevel(OtherForm(LongSolution), "Another title");
  EXPECT_EQ(twice.status, 200);
  EXPECT_EQ(Member(twice.body, "existing"), "true");
  EXPECT_EQ(Member(twice.body, "token"), "(none)");
  EXPECT_EQ(Member(twice.body, "address"), Member(published.body, "address"));
  EXPECT_EQ(m_db->Run("SELECT COUNT(*) FROM levels")[0].Int(0), 1);
}

TEST_P(StoreAnswersTest, RefusesWhatCannotBePublishedWithTheReason) {
  const std::string longTitle(81, 'x');
  struct Case {
    const char* name;
    std::string body;
    const char* reason;
  } cases[] = {
      {"no JSON", "title=x", "not well-formed"},
      {"not an object", "[1]", "JSON object"},
      {"trailing text", "{} x", "more after"},
      {"unknown member", std::string("{\"code\":\"") + TwoMoves + "\",\"title\":\"t\",\"x\":1}",
       "does not take"},
      {"twice a name", std::string("{\"title\":\"a\",\"title\":\"b\"}"), "twice"},
      {"no title", std::string("{\"code\":\"") + TwoMoves + "\"}", "title is missing"},
      {"blank title", std::string("{\"code\":\"") + TwoMoves + "\",\"title\":\"  \"}",
       "title is empty"},
      {"title not text", std::string("{\"code\":\"") + TwoMoves + "\",\"title\":5}",
       "must be text"},
      {"title too long",
       std::string("{\"code\":\"") + TwoMoves + "\",\"title\":\"" + longTitle + "\"}",
       "longer than 80"},
      {"control character", std::string("{\"code\":\"") + TwoMoves + "\",\"title\":\"a\\u0007\"}",
       "control characters"},
      {"line break", std::string("{\"code\":\"") + TwoMoves + "\",\"title\":\"a\\nb\"}",
       "control characters"},
      {"C1 control", std::string("{\"code\":\"") + TwoMoves + "\",\"title\":\"a\\u0085\"}",
       "control characters"},
      {"not UTF-8", std::string("{\"code\":\"") + TwoMoves + "\",\"title\":\"\xff\"}", "UTF-8"},
      {"lone surrogate", std::string("{\"code\":\"") + TwoMoves + "\",\"title\":\"\\ud800\"}",
       "surrogate"},
      {"too deep", std::string(20, '[') + std::string(20, ']'), "too deeply"},
      {"no code", "{\"title\":\"t\"}", "code is missing"},
      {"unreadable code", "{\"code\":\"9zz\",\"title\":\"t\"}", "cannot be read"},
      {"code with more after it", std::string("{\"code\":\"") + TwoMoves + "ff\",\"title\":\"t\"}",
       "cannot be read"},
      {"no solution", std::string("{\"code\":\"") + NoSolution + "\",\"title\":\"t\"}",
       "no solution"},
      {"solved at the start", std::string("{\"code\":\"") + SolvedAtStart + "\",\"title\":\"t\"}",
       "before the first move"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HttpResponse response =
        Send("POST", "/api/levels", c.body, "", std::string("198.51.100.") + c.name);
    EXPECT_EQ(response.status, 400);
    EXPECT_TRUE(Contains(Member(response.body, "error"), c.reason)) << response.body;
    EXPECT_EQ(response.Header("Content-Type"), "application/json");
  }
  EXPECT_EQ(m_db->Run("SELECT COUNT(*) FROM levels")[0].Int(0), 0);
}

TEST_P(StoreAnswersTest, HostileTextIsNeverReflectedUnescaped) {
  const HttpResponse published = PublishLevel(TwoMoves, Hostile);
  ASSERT_EQ(published.status, 201) << published.body;
  const std::string canonical = CanonicalOf(TwoMoves);
  const HttpResponse pages[] = {
      Send("GET", "/api/levels/" + canonical),
      Send("GET", "/levels/" + canonical),
      Send("GET", "/gallery"),
      Send("GET", "/cgi-bin/korvz?s=" + std::string(TwoMoves)),
  };
  for (const HttpResponse& page : pages) {
    SCOPED_TRACE(page.body.substr(0, 200));
    EXPECT_EQ(page.status, 200);
    for (const char* raw : {"<script>", "<img src=x", "'&"})
      EXPECT_FALSE(Contains(page.body, raw)) << raw;
  }
  EXPECT_EQ(Member(pages[0].body, "title"),
            "<script>alert(\"x\")</script>'&<img src=x onerror=alert(1)>");
  EXPECT_TRUE(Contains(pages[1].body, "&lt;script&gt;"));
}

TEST_P(StoreAnswersTest, RemovingALevelTakesItsToken) {
  const HttpResponse published = PublishLevel(TwoMoves);
  const std::string token = Member(published.body, "token");
  const std::string address = "/api/levels/" + OtherForm(TwoMoves);
  struct Case {
    std::string token;
    int status;
  } cases[] = {
      {"", 401}, {"not a token", 401}, {std::string(32, 'a'), 403}, {token, 204}, {token, 404}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.token);
    Request request;
    request.method = "DELETE";
    request.target = address;
    if (!c.token.empty()) request.authorization = "Bearer " + c.token;
    EXPECT_EQ(m_site.Respond(request).status, c.status);
  }
  EXPECT_EQ(Send("GET", address).status, 404);
}

TEST_P(StoreAnswersTest, ASetIsPublishedReadPlayedAndRemoved) {
  const std::string body =
      std::string("{\"title\":\"First steps\",\"author\":\"A. Designer\",\"levels\":[") +
      "{\"code\":\"" + TwoMoves + "\",\"title\":\"Warm-up\"},{\"code\":\"" + LongSolution + "\"}]}";
  const HttpResponse published = Send("POST", "/api/sets", body);
  ASSERT_EQ(published.status, 201) << published.body;
  const std::string id = Member(published.body, "id");
  ASSERT_TRUE(std::regex_match(id, std::regex("[0-9a-f]{16}"))) << id;

  const HttpResponse read = Send("GET", "/api/sets/" + id);
  ASSERT_EQ(read.status, 200);
  EXPECT_TRUE(Contains(read.body, "\"title\":\"Warm-up\""));
  EXPECT_TRUE(Contains(read.body, "\"title\":\"Level 2\""));
  EXPECT_EQ(Member(Send("GET", "/api/levels/" + std::string(TwoMoves)).body, "title"), "Warm-up");

  const HttpResponse page = Send("GET", "/sets/" + id);
  ASSERT_EQ(page.status, 200);
  EXPECT_TRUE(Contains(
      page.body, "data-codes=\"" + CanonicalOf(TwoMoves) + " " + CanonicalOf(LongSolution) + "\""));
  EXPECT_TRUE(Contains(page.body, "id=\"board\""));
  EXPECT_TRUE(Contains(page.body, "play.js"));
  // A level of a set is removed with its set, not alone.
  EXPECT_EQ(
      Send("DELETE", "/api/levels/" + std::string(TwoMoves), "", Member(published.body, "token"))
          .status,
      409);

  struct Refused {
    const char* name;
    std::string body;
    const char* reason;
  } refusals[] = {
      {"no levels", "{\"title\":\"t\",\"levels\":[]}", "list of levels"},
      {"same level twice",
       std::string("{\"title\":\"t\",\"levels\":[{\"code\":\"") + TwoMoves + "\"},{\"code\":\"" +
           OtherForm(TwoMoves) + "\"}]}",
       "same as an earlier"},
      {"a level without solution",
       std::string("{\"title\":\"t\",\"levels\":[{\"code\":\"") + NoSolution + "\"}]}",
       "Level 1 of the set: The level has no solution"},
  };
  for (const Refused& c : refusals) {
    SCOPED_TRACE(c.name);
    const HttpResponse response =
        Send("POST", "/api/sets", c.body, "", std::string("203.0.113.") + c.name);
    EXPECT_EQ(response.status, 400);
    EXPECT_TRUE(Contains(Member(response.body, "error"), c.reason)) << response.body;
  }

  EXPECT_EQ(Send("DELETE", "/api/sets/" + id, "", std::string(32, 'b')).status, 403);
  EXPECT_EQ(Send("DELETE", "/api/sets/" + id, "", Member(published.body, "token")).status, 204);
  EXPECT_EQ(Send("GET", "/api/sets/" + id).status, 404);
  EXPECT_EQ(Send("GET", "/sets/" + id).status, 404);
  EXPECT_EQ(Send("GET", "/api/levels/" + std::string(TwoMoves)).status, 404);
}

TEST_P(StoreAnswersTest, EachClientHasItsOwnLimitAndItsAddressIsNotKept) {
  // The limit here: 3 publications and 2 reports per client.
  const char* levels[] = {TwoMoves, LongSolution, "5020100030201ffbfeffbfe55",
                          "50022444422005eae44c9f644"};
  for (int i = 0; i < 3; ++i) EXPECT_NE(PublishLevel(levels[i]).status, 429) << i;
  const HttpResponse refused = PublishLevel(levels[3]);
  EXPECT_EQ(refused.status, 429);
  EXPECT_FALSE(refused.Header("Retry-After").empty());
  EXPECT_EQ(PublishLevel(levels[3], "t", "192.0.2.99").status, 201);

  const std::string report = "/api/levels/" + std::string(TwoMoves) + "/reports";
  EXPECT_EQ(Send("POST", report, "{\"reason\":\"rude\"}").status, 202);
  EXPECT_EQ(Send("POST", report, "{\"reason\":\"rude\"}").status, 202);
  EXPECT_EQ(Send("POST", report, "{\"reason\":\"rude\"}").status, 429);
  EXPECT_EQ(Send("POST", "/api/levels/" + std::string(NoSolution) + "/reports",
                 "{\"reason\":\"x\"}", "", "192.0.2.7")
                .status,
            404);
  const DbRows reporters = m_db->Run("SELECT reporter FROM reports");
  ASSERT_EQ(reporters.size(), 1u);
  EXPECT_FALSE(Contains(reporters[0].Text(0), "192.0.2"));
  EXPECT_EQ(reporters[0].Text(0).size(), 32u);
}

TEST_P(StoreAnswersTest, TheGalleryPagesByKeyAndTheLevelPageLinksItsEntry) {
  m_db->Run("DELETE FROM levels");
  // More levels than a page holds, straight into the store.
  LevelStore store(*m_db);
  for (int i = 0; i < GalleryPageSize + 5; ++i) {
    PublishedLevel level;
    level.code = std::to_string(51000 + i);
    level.boardSize = 5;
    level.moves = i % 7;
    level.grade = level.moves;
    level.title = "Level " + std::to_string(i);
    level.published = 1000 + i;
    store.PublishLevel({level, "h"});
  }
  for (const char* order : {"newest", "longest", "grade"}) {
    SCOPED_TRACE(order);
    const HttpResponse first = Send("GET", std::string("/gallery?order=") + order);
    ASSERT_EQ(first.status, 200);
    EXPECT_EQ(first.Header("Cache-Control"), "public, max-age=60");
    std::smatch next;
    ASSERT_TRUE(std::regex_search(first.body, next, std::regex("rel=\"next\" href=\"([^\"]+)\"")));
    const std::string target = std::regex_replace(next[1].str(), std::regex("&amp;"), "&");
    const HttpResponse second = Send("GET", target);
    ASSERT_EQ(second.status, 200) << target;
    EXPECT_TRUE(Contains(second.body, "That is all."));
    const auto items = [](const std::string& body) {
      int count = 0;
      for (std::size_t at = body.find("class=\"entry\""); at != std::string::npos;
           at = body.find("class=\"entry\"", at + 1))
        ++count;
      return count;
    };
    EXPECT_EQ(items(first.body), GalleryPageSize);
    EXPECT_EQ(items(second.body), 5);
  }
  for (const char* bad : {"/gallery?order=oldest", "/gallery?after=x", "/gallery?after=5.<b>",
                          "/gallery?after=99999999999999999999.5a"})
    EXPECT_EQ(Send("GET", bad).status, 400) << bad;
  EXPECT_EQ(Send("POST", "/gallery").status, 405);

  const std::string levelPage = "/cgi-bin/korvz?s=" + std::string(TwoMoves);
  const HttpResponse unpublished = Send("GET", levelPage);
  EXPECT_FALSE(Contains(unpublished.body, "id=\"published\""));
  PublishLevel(TwoMoves, "Two moves");
  const HttpResponse page = Send("GET", levelPage);
  EXPECT_TRUE(Contains(
      page.body, "Published as <a href=\"/levels/" + CanonicalOf(TwoMoves) + "\">Two moves</a>"));
  // The page is revalidated, and a copy from before the level was published
  // is no longer current: its tag names the published entry too.
  EXPECT_EQ(page.Header("Cache-Control"), "public, no-cache");
  EXPECT_NE(page.Header("ETag"), unpublished.Header("ETag"));
  for (const HttpResponse* held : {&unpublished, &page}) {
    Request revalidation;
    revalidation.target = levelPage;
    revalidation.ifNoneMatch = held->Header("ETag");
    EXPECT_EQ(m_site.Respond(revalidation).status, held == &page ? 304 : 200);
  }
  EXPECT_EQ(Send("GET", "/levels/" + OtherForm(TwoMoves)).status, 301);
  EXPECT_EQ(Send("GET", "/levels/" + CanonicalOf(LongSolution)).status, 404);
}

TEST_P(StoreAnswersTest, TheHealthAddressAsksTheDatabaseAndAnswersGiveTheirDatabaseTime) {
  const std::chrono::nanoseconds before = m_db->TimeSpent();
  const HttpResponse health = Send("GET", "/health");
  EXPECT_EQ(health.status, 200);
  EXPECT_EQ(health.body, "ok\n");
  EXPECT_GT(m_db->TimeSpent(), before);

  // Publishing writes to the database; a picture never asks it.
  EXPECT_GT(PublishLevel(TwoMoves).databaseMicroseconds, 0);
  const HttpResponse picture = Send("GET", "/cgi-bin/korvz?s=" + std::string(TwoMoves) + "&png=1");
  EXPECT_EQ(picture.status, 200);
  EXPECT_EQ(picture.databaseMicroseconds, 0);
}

TEST_P(StoreAnswersTest, TheAdministratorHidesAndRemoves) {
  PublishLevel(TwoMoves);
  const std::string canonical = CanonicalOf(TwoMoves);
  EXPECT_EQ(RunAdmin({"hide", TwoMoves}, *m_db), 0);
  EXPECT_EQ(Send("GET", "/api/levels/" + canonical).status, 404);
  EXPECT_EQ(Send("GET", "/levels/" + canonical).status, 404);
  EXPECT_EQ(PublishLevel(TwoMoves, "t", "192.0.2.50").status, 409);
  EXPECT_EQ(RunAdmin({"show", canonical}, *m_db), 0);
  EXPECT_EQ(Send("GET", "/levels/" + canonical).status, 200);
  EXPECT_EQ(RunAdmin({"delete", canonical}, *m_db), 0);
  EXPECT_EQ(RunAdmin({"delete", canonical}, *m_db), 1);
  EXPECT_EQ(RunAdmin({"hide", "nonsense"}, *m_db), 2);
  EXPECT_EQ(RunAdmin({"reports", "extra"}, *m_db), 2);
}

TEST_P(StoreAnswersTest, AddressesAndMethodsTheApiDoesNotTake) {
  struct Case {
    const char* method;
    const char* target;
    int status;
  } cases[] = {
      {"GET", "/api/levels", 405},
      {"PUT", "/api/levels/3111221000110fbe5", 405},
      {"GET", "/api/nothing", 404},
      {"GET", "/api/levels/zz", 404},
      {"GET", "/api/sets/<script>", 404},
      {"GET", "/api/levels/3111221000110fbe5/other", 404},
      {"GET", "/sets/0123456789abcdef", 404},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    const HttpResponse response = Send(c.method, c.target);
    EXPECT_EQ(response.status, c.status);
    EXPECT_FALSE(response.Header("Content-Security-Policy").empty());
    EXPECT_FALSE(Contains(response.body, "<script>"));
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, StoreAnswersTest,
                         testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName());

TEST(StoreAnswersWithoutDatabase, AnswersUnavailableWhenTheDatabaseIsGone) {
  FreshDatabase fresh(Backend::SQLite);
  auto db = OpenMigrated(fresh.locator());
  db->Run("DROP TABLE levels");
  StoreAnswers answers(*db, "");
  Request request;
  request.target = "/api/levels/3111221000110fbe5";
  const auto response = answers.Respond(request);
  ASSERT_TRUE(response);
  EXPECT_EQ(response->status, 503);
  EXPECT_FALSE(Contains(response->body, "levels\""));  // no word of the database's own
  EXPECT_TRUE(Contains(response->failure, "levels"));  // which the worker's log gets
}

}  // namespace
