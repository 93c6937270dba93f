// How people fare, through the worker's answers, against SQLite and
// PostgreSQL alike: play records (replayed, bounded, limited per client),
// the figures and ratings they make, likes once per session, deleting a
// session's records, and what the attempts table can hold.

#include "server/store/play_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <utility>

#include "logic/canonical_code.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "server/json.h"
#include "server/store_answers.h"
#include "server/store_setup.h"
#include "tests/server/store_databases.h"

namespace {

constexpr const char* TwoMoves = "3111221000110fbe5";
constexpr const char* LongSolution = "7003366663300d4dae70cec86baf110a5e554";
constexpr const char* Site = "https://levels.example.org";
constexpr const char* SessionA = "0123456789abcdef0123456789abcdef";
constexpr const char* SessionB = "fedcba9876543210fedcba9876543210";

/// A member of a JSON answer as written: text unquoted, numbers and flags as they come.
std::string Member(const std::string& body, std::string_view name) {
  auto parsed = ParseJson(body);
  if (!std::holds_alternative<JsonValue>(parsed)) return "(no JSON: " + body + ")";
  const JsonValue* value = std::get<JsonValue>(parsed).Member(name);
  if (value == nullptr) return "(none)";
  if (const std::string* text = value->String()) return *text;
  if (const bool* flag = std::get_if<bool>(&value->value)) return *flag ? "true" : "false";
  if (const double* number = std::get_if<double>(&value->value)) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", *number);
    return text;
  }
  if (std::holds_alternative<std::nullptr_t>(value->value)) return "null";
  return "(other)";
}

double Number(const std::string& body, std::string_view name) {
  return std::stod(Member(body, name));
}

/// A shortest solution of the level as written in `code`, as letters.
std::string SolutionLetters(const std::string& code) {
  Level level;
  ParseLevelCode(level, code);
  std::string letters;
  for (Direction direction : ShortestSolution(level).moves) letters += DirectionLetter(direction);
  return letters;
}

/// The level written another way: turned a quarter, in capitals.
std::string OtherForm(const std::string& code) {
  Level level;
  ParseLevelCode(level, code);
  std::string other = ImageCodes(level)[1];
  for (char& c : other) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return other;
}

std::string Record(const std::string& level, const std::string& session, bool solved,
                   const std::string& moves, int seconds = 30) {
  return "{\"level\":\"" + level + "\",\"session\":\"" + session +
         "\",\"solved\":" + (solved ? "true" : "false") + ",\"moves\":\"" + moves +
         "\",\"undos\":1,\"hints\":0,\"restarts\":2,\"seconds\":" + std::to_string(seconds) +
         ",\"version\":\"1.4.0\"}";
}

class PlayRecordsTest : public testing::TestWithParam<Backend> {
 protected:
  PlayRecordsTest()
      : m_fresh(GetParam()),
        m_db(OpenMigrated(m_fresh.locator())),
        m_answers(*m_db, Site, {10, 10, 3600, 40}),
        m_site(Site, &m_answers) {
    for (const char* code : {TwoMoves, LongSolution})
      EXPECT_EQ(
          Send("POST", "/api/levels",
               std::string("{\"code\":\"") + code + "\",\"title\":\"A level\"}", "192.0.2.200")
              .status,
          201);
  }

  HttpResponse Send(const std::string& method, const std::string& target,
                    const std::string& body = "", const std::string& client = "192.0.2.1") {
    Request request;
    request.method = method;
    request.target = target;
    request.body = body;
    request.clientAddress = client;
    return m_site.Respond(request);
  }

  HttpResponse LevelInfo(const std::string& code) { return Send("GET", "/api/levels/" + code); }

  std::int64_t Attempts() { return m_db->Run("SELECT COUNT(*) FROM attempts")[0].Int(0); }

  FreshDatabase m_fresh;
  std::unique_ptr<Database> m_db;
  StoreAnswers m_answers;
  SiteAnswers m_site;
};

TEST_P(PlayRecordsTest, FirstAttemptsAreRatedAndLaterOnesCounted) {
  const std::string canonical = CanonicalCode([] {
    Level level;
    ParseLevelCode(level, LongSolution);
    return level;
  }());
  const HttpResponse fresh = LevelInfo(canonical);
  EXPECT_EQ(Member(fresh.body, "plays"), "0");
  EXPECT_EQ(Member(fresh.body, "median_seconds"), "null");
  EXPECT_EQ(Member(fresh.body, "rating"), "1500");
  EXPECT_EQ(Member(fresh.body, "deviation"), "350");
  EXPECT_EQ(Member(fresh.body, "provisional"), "true");

  // Session A solves it at once (in a turned form of the level, with its own
  // moves); session B gives up, then solves it at its second attempt.
  const std::string other = OtherForm(LongSolution);
  const HttpResponse first =
      Send("POST", "/api/attempts", Record(other, SessionA, true, SolutionLetters(other), 90));
  ASSERT_EQ(first.status, 202) << first.body;
  EXPECT_EQ(Member(first.body, "rated"), "true");
  EXPECT_EQ(Send("POST", "/api/attempts", Record(LongSolution, SessionB, false, "NNS", 20)).status,
            202);
  const HttpResponse again =
      Send("POST", "/api/attempts",
           Record(LongSolution, SessionB, true, SolutionLetters(LongSolution), 40));
  ASSERT_EQ(again.status, 202) << again.body;
  EXPECT_EQ(Member(again.body, "rated"), "false");

  const HttpResponse figures = LevelInfo(canonical);
  EXPECT_EQ(Member(figures.body, "plays"), "3");
  EXPECT_EQ(Member(figures.body, "solved_first"), "0.5");
  EXPECT_EQ(Member(figures.body, "median_seconds"), "40");  // of 40 and 90, the lower
  EXPECT_EQ(Member(figures.body, "provisional"), "true");
  EXPECT_LT(Number(figures.body, "deviation"), 350);
  const DbRows sessions = m_db->Run("SELECT session FROM session_ratings ORDER BY session");
  ASSERT_EQ(sessions.size(), 2u);
  // A won and B lost against the same level: A ends rated above B.
  const DbRows ratings = m_db->Run("SELECT rating FROM session_ratings ORDER BY session");
  EXPECT_GT(ratings[0].Int(0), ratings[1].Int(0));
}

TEST_P(PlayRecordsTest, HostileRecordsChangeNothingAndGetAClear4xx) {
  const std::string solution = SolutionLetters(TwoMoves);
  std::string reversed = SolutionLetters(LongSolution);
  std::reverse(reversed.begin(), reversed.end());
  const std::string good = Record(TwoMoves, SessionA, true, solution);
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string body = good;
    body.replace(body.find(from), from.size(), to);
    return body;
  };
  struct Case {
    const char* name;
    std::string body;
    int status;
    const char* reason;
  } cases[] = {
      {"no JSON", "level=x", 400, "not well-formed"},
      {"not an object", "[]", 400, "JSON object"},
      {"a member missing", replaced(",\"hints\":0", ""), 400, "hints is missing"},
      {"a member more", replaced("{", "{\"address\":\"192.0.2.1\","), 400, "does not take"},
      {"solved as text", replaced("\"solved\":true", "\"solved\":\"yes\""), 400, "true or false"},
      {"seconds as text", replaced("\"seconds\":30", "\"seconds\":\"30\""), 400, "a number"},
      {"huge seconds", replaced("\"seconds\":30", "\"seconds\":1e300"), 400, "whole number"},
      {"negative undos", replaced("\"undos\":1", "\"undos\":-1"), 400, "whole number"},
      {"fractional hints", replaced("\"hints\":0", "\"hints\":0.5"), 400, "whole number"},
      {"too many restarts", replaced("\"restarts\":2", "\"restarts\":100001"), 400, "whole number"},
      {"session too short", replaced(SessionA, "0123"), 400, "32 lowercase"},
      {"session in capitals", replaced(SessionA, "0123456789ABCDEF0123456789ABCDEF"), 400,
       "32 lowercase"},
      {"no level code", replaced(TwoMoves, "<script>"), 400, "level code"},
      {"moves not letters", replaced(solution, solution + "X"), 400, "letters N, S, W and E"},
      {"forged moves", Record(LongSolution, SessionA, true, reversed), 400, "do not solve"},
      {"no moves but solved", replaced("\"moves\":\"" + solution, "\"moves\":\""), 400,
       "do not solve"},
      {"faster than a person", Record(TwoMoves, SessionA, false, std::string(2000, 'N'), 1), 400,
       "than anyone plays"},
      {"too many moves", Record(TwoMoves, SessionA, false, std::string(5001, 'N'), 3600), 400,
       "more than 5000"},
      {"version with a space", replaced("1.4.0", "1.4 beta"), 400, "printable"},
      {"version too long", replaced("1.4.0", std::string(41, 'v')), 400, "1 to 40"},
      {"a level not published", Record("5020100030201ffbfeffbfe55", SessionA, false, ""), 404,
       "No such level"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HttpResponse response =
        Send("POST", "/api/attempts", c.body, std::string("198.51.100.") + c.name);
    EXPECT_EQ(response.status, c.status) << response.body;
    EXPECT_NE(Member(response.body, "error").find(c.reason), std::string::npos) << response.body;
  }
  EXPECT_EQ(Attempts(), 0);
  EXPECT_TRUE(m_db->Run("SELECT 1 FROM session_ratings").empty());
  EXPECT_EQ(Member(LevelInfo(TwoMoves).body, "rating"), "1500");
  // The well-formed record is taken.
  EXPECT_EQ(Send("POST", "/api/attempts", good).status, 202);
}

TEST_P(PlayRecordsTest, AFloodIsCutOffAndOnlyTakenRecordsAreStored) {
  // The limit here: 40 records per client.
  int taken = 0;
  int refused = 0;
  HttpResponse last;
  for (int i = 0; i < 50; ++i) {
    last = Send("POST", "/api/attempts", Record(TwoMoves, SessionA, false, "N", 5));
    taken += last.status == 202;
    refused += last.status == 429;
  }
  EXPECT_EQ(taken, 40);
  EXPECT_EQ(refused, 10);
  // The refusal says what was too much and when to come back.
  EXPECT_EQ(Member(last.body, "error"),
            "Too many play records, likes or deletions from here this hour; try again later.");
  EXPECT_NE(std::find(last.headers.begin(), last.headers.end(),
                      std::pair<std::string, std::string>{"Retry-After", "600"}),
            last.headers.end());
  const std::string votes = "/api/levels/" + std::string(TwoMoves) + "/votes";
  EXPECT_EQ(Send("POST", votes, "{\"session\":\"" + std::string(SessionA) + "\",\"vote\":\"like\"}")
                .status,
            429);
  EXPECT_EQ(Attempts(), taken);
  EXPECT_EQ(
      Send("POST", "/api/attempts", Record(TwoMoves, SessionB, false, "N", 5), "192.0.2.9").status,
      202);
}

TEST_P(PlayRecordsTest, ASessionLikesOrDislikesALevelOnce) {
  const std::string votes = "/api/levels/" + std::string(TwoMoves) + "/votes";
  const auto vote = [&](const char* session, const char* choice) {
    return Send("POST", votes,
                std::string("{\"session\":\"") + session + "\",\"vote\":\"" + choice + "\"}")
        .status;
  };
  EXPECT_EQ(vote(SessionA, "like"), 202);
  EXPECT_EQ(vote(SessionA, "dislike"), 409);
  EXPECT_EQ(vote(SessionB, "dislike"), 202);
  EXPECT_EQ(vote(SessionB, "love"), 400);
  EXPECT_EQ(Send("POST", "/api/levels/5020100030201ffbfeffbfe55/votes",
                 std::string("{\"session\":\"") + SessionA + "\",\"vote\":\"like\"}")
                .status,
            404);
  const HttpResponse figures = LevelInfo(TwoMoves);
  EXPECT_EQ(Member(figures.body, "likes"), "1");
  EXPECT_EQ(Member(figures.body, "dislikes"), "1");
}

TEST_P(PlayRecordsTest, ASessionsRecordsAreDeletedByItsId) {
  const std::string solution = SolutionLetters(TwoMoves);
  for (const char* session : {SessionA, SessionB})
    ASSERT_EQ(Send("POST", "/api/attempts", Record(TwoMoves, session, true, solution)).status, 202);
  ASSERT_EQ(Send("POST", "/api/levels/" + std::string(TwoMoves) + "/votes",
                 std::string("{\"session\":\"") + SessionA + "\",\"vote\":\"like\"}")
                .status,
            202);

  const HttpResponse deleted = Send("DELETE", "/api/sessions/" + std::string(SessionA));
  ASSERT_EQ(deleted.status, 200) << deleted.body;
  EXPECT_EQ(Member(deleted.body, "deleted"), "2");
  for (const char* table : {"attempts", "votes", "session_ratings"})
    EXPECT_TRUE(
        m_db->Run(std::string("SELECT 1 FROM ") + table + " WHERE session = ?", {SessionA}).empty())
        << table;
  const HttpResponse figures = LevelInfo(TwoMoves);
  EXPECT_EQ(Member(figures.body, "plays"), "1");
  EXPECT_EQ(Member(figures.body, "likes"), "0");
  EXPECT_EQ(Send("DELETE", "/api/sessions/not-a-session").status, 404);
  EXPECT_EQ(Send("GET", "/api/sessions/" + std::string(SessionB)).status, 405);
}

TEST_P(PlayRecordsTest, TheGallerySortsByRatingAndPopularityAndShowsTheFigures) {
  // The long level beats a newcomer, the short one is solved at once and liked.
  ASSERT_EQ(Send("POST", "/api/attempts", Record(LongSolution, SessionA, false, "N", 50)).status,
            202);
  ASSERT_EQ(
      Send("POST", "/api/attempts", Record(TwoMoves, SessionA, true, SolutionLetters(TwoMoves), 75))
          .status,
      202);
  ASSERT_EQ(Send("POST", "/api/levels/" + std::string(TwoMoves) + "/votes",
                 std::string("{\"session\":\"") + SessionB + "\",\"vote\":\"like\"}")
                .status,
            202);
  const auto firstEntry = [&](const std::string& order) {
    const std::string page = Send("GET", "/gallery?order=" + order).body;
    const std::size_t at = page.find("href=\"/levels/");
    return at == std::string::npos ? std::string() : page.substr(at + 14, 10);
  };
  const std::string longCode = CanonicalCode([] {
    Level level;
    ParseLevelCode(level, LongSolution);
    return level;
  }());
  const std::string shortCode = CanonicalCode([] {
    Level level;
    ParseLevelCode(level, TwoMoves);
    return level;
  }());
  EXPECT_EQ(firstEntry("rating"), longCode.substr(0, 10));
  EXPECT_NE(Send("GET", "/gallery?order=rating").body.find("(provisional)"), std::string::npos);
  EXPECT_EQ(firstEntry("popular"), shortCode.substr(0, 10));

  const std::string entry = Send("GET", "/levels/" + shortCode).body;
  EXPECT_NE(entry.find("1 play &middot; 100% solved at the first try &middot; median time 1:15 "
                       "&middot; rating "),
            std::string::npos)
      << entry;
  EXPECT_NE(entry.find("(provisional) &middot; 1 like, 0 dislikes"), std::string::npos);
  EXPECT_EQ(Send("GET", "/gallery?order=rating&after=1400000." + longCode).status, 200);
  EXPECT_EQ(Send("GET", "/gallery?order=popular&after=-1." + longCode).status, 200);
}

TEST_P(PlayRecordsTest, AnAttemptKeepsOnlyWhatThePlayerSent) {
  // No address, no time, no browser: the fields of a record and the flag of
  // the rated first attempt.
  const std::string sql =
      m_db->dialect() == Dialect::SQLite
          ? "SELECT name FROM pragma_table_info('attempts')"
          : "SELECT column_name FROM information_schema.columns WHERE table_name = 'attempts'";
  std::set<std::string> columns;
  for (const DbRow& row : m_db->Run(sql)) columns.insert(row.Text(0));
  EXPECT_EQ(columns, (std::set<std::string>{"level", "session", "first_attempt", "solved", "moves",
                                            "undos", "hints", "restarts", "seconds", "version"}));
  columns.clear();
  for (const DbRow& row : m_db->Run(
           m_db->dialect() == Dialect::SQLite
               ? "SELECT name FROM pragma_table_info('votes')"
               : "SELECT column_name FROM information_schema.columns WHERE table_name = 'votes'"))
    columns.insert(row.Text(0));
  EXPECT_EQ(columns, (std::set<std::string>{"code", "session", "vote"}));

  // No table anywhere in the schema has a column for a client's address or
  // browser.
  const std::string everyColumn =
      m_db->dialect() == Dialect::SQLite
          ? "SELECT p.name FROM sqlite_master AS t, pragma_table_info(t.name) AS p "
            "WHERE t.type = 'table'"
          : "SELECT column_name FROM information_schema.columns WHERE table_schema = "
            "current_schema()";
  const std::set<std::string> telling = {"ip",      "address",  "addr",   "agent",     "browser",
                                         "referer", "referrer", "cookie", "useragent", "host"};
  const DbRows all = m_db->Run(everyColumn);
  EXPECT_GT(all.size(), 20u);
  for (const DbRow& row : all) {
    std::string name = row.Text(0);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::size_t start = 0;
    while (start <= name.size()) {
      const std::size_t end = std::min(name.find('_', start), name.size());
      EXPECT_EQ(telling.count(name.substr(start, end - start)), 0u) << row.Text(0);
      start = end + 1;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, PlayRecordsTest,
                         testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName());

}  // namespace
