// How people fare, through the worker's answers, against SQLite and
// PostgreSQL alike: play records (replayed, bounded, limited per client),
// the figures and ratings they make, likes once per session, deleting a
// session's records, and what the attempts table can hold.

#include "server/store/play_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <cctype>
#include <chrono>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <thread>
#include <utility>

#include "logic/canonical_code.h"
#include "logic/json.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "server/store/background_rater.h"
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

  /// What a worker's next round of ratings does.
  int RateWaiting() { return PlayRecords(*m_db).RatePending(1000); }

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

  EXPECT_EQ(RateWaiting(), 2);
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
  RateWaiting();
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

// The ratings' batches: a record is rated by the next batch, once, whatever
// the batches, and the worker that batches never changes the result.

/// A seeded run of records: sessions of a small population at the two
/// levels, some solving, some giving up, some coming back.
struct SeededRecord {
  std::string level;
  std::string session;
  bool solved;
};
std::vector<SeededRecord> SeededRecords(int count) {
  std::mt19937 engine(31);
  std::vector<SeededRecord> records;
  for (int i = 0; i < count; ++i) {
    char session[33];
    std::snprintf(session, sizeof session, "%032x", static_cast<unsigned>(engine() % 12));
    records.push_back({engine() % 3 == 0 ? TwoMoves : LongSolution, session, engine() % 2 == 0});
  }
  return records;
}

std::string Canonical(const std::string& code) {
  Level level;
  ParseLevelCode(level, code);
  return CanonicalCode(level);
}

/// The ratings of rating each first attempt as it arrived, each result kept
/// in whole thousandths (volatility millionths), from the start: a solved
/// attempt is the session's win against the level.
struct Computed {
  std::map<std::string, Rating> levels;
  std::map<std::string, Rating> sessions;
};
Rating Kept(const Rating& rating) {
  return {std::llround(rating.rating * 1000.0) / 1000.0,
          std::llround(rating.deviation * 1000.0) / 1000.0,
          std::llround(rating.volatility * 1000000.0) / 1000000.0};
}
Computed FromScratch(const std::vector<SeededRecord>& records) {
  Computed computed;
  std::set<std::pair<std::string, std::string>> played;
  for (const SeededRecord& record : records) {
    if (!played.insert({record.level, record.session}).second) continue;
    const std::string level = Canonical(record.level);
    Rating& levelRating = computed.levels[level];
    Rating& player = computed.sessions[record.session];
    const double score = record.solved ? 1.0 : 0.0;
    const Rating newLevel = Kept(BoundedUpdate(levelRating, {{player, 1.0 - score}}));
    player = Kept(BoundedUpdate(player, {{levelRating, score}}));
    levelRating = newLevel;
  }
  return computed;
}

TEST_P(PlayRecordsTest, ARecordIsRatedByTheNextBatchAndOnlyOnce) {
  ASSERT_EQ(Send("POST", "/api/attempts", Record(LongSolution, SessionA, false, "N")).status, 202);
  ASSERT_EQ(Send("POST", "/api/attempts", Record(LongSolution, SessionB, false, "N")).status, 202);
  ASSERT_EQ(Send("POST", "/api/attempts", Record(LongSolution, SessionA, false, "S")).status, 202);
  const std::string canonical = Canonical(LongSolution);
  // Counted at once; rated when the batch runs.
  HttpResponse before = LevelInfo(canonical);
  EXPECT_EQ(Member(before.body, "plays"), "3");
  EXPECT_EQ(Member(before.body, "rating"), "1500");
  PlayRecords records(*m_db);
  EXPECT_EQ(records.PendingRatings(), 2);

  // A batch of one takes the oldest; the next the other; then none is left.
  EXPECT_EQ(records.RatePending(1), 1);
  const DbRows rated = m_db->Run("SELECT session FROM session_ratings");
  ASSERT_EQ(rated.size(), 1u);
  EXPECT_EQ(rated[0].Text(0), SessionA);
  EXPECT_EQ(records.RatePending(1), 1);
  EXPECT_EQ(records.RatePending(100), 0);
  EXPECT_EQ(records.PendingRatings(), 0);
  const HttpResponse after = LevelInfo(canonical);
  EXPECT_GT(Number(after.body, "rating"), 1500);
  EXPECT_EQ(Member(after.body, "plays"), "3");
  const Computed computed = FromScratch({{LongSolution, SessionA, false},
                                         {LongSolution, SessionB, false},
                                         {LongSolution, SessionA, false}});
  EXPECT_NEAR(Number(after.body, "rating"), computed.levels.at(canonical).rating, 0.05);
}

TEST_P(PlayRecordsTest, AWorkersRatingThreadRatesWhatWaitsAndStopsWhenAsked) {
  ASSERT_EQ(Send("POST", "/api/attempts", Record(TwoMoves, SessionA, false, "N")).status, 202);
  {
    const BackgroundRater rater(m_fresh.locator(), std::chrono::milliseconds(10));
    ASSERT_EQ(Send("POST", "/api/attempts", Record(TwoMoves, SessionB, false, "N")).status, 202);
    PlayRecords records(*m_db);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (records.PendingRatings() > 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(records.PendingRatings(), 0);
  }
  EXPECT_EQ(m_db->Run("SELECT COUNT(*) FROM session_ratings")[0].Int(0), 2);
  EXPECT_LT(Number(LevelInfo(TwoMoves).body, "deviation"), 350);
  // Stopped, it rates nothing more.
  ASSERT_EQ(Send("POST", "/api/attempts", Record(LongSolution, SessionA, false, "N")).status, 202);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(PlayRecords(*m_db).PendingRatings(), 1);
}

TEST_P(PlayRecordsTest, TheFiguresEqualAFromScratchComputationWhateverTheBatches) {
  const std::vector<SeededRecord> records = SeededRecords(60);
  struct Schedule {
    const char* name;
    int batch;        // the most a batch rates
    int recordsEach;  // records between batches
  } schedules[] = {{"each record at once", 1, 1},
                   {"batches of 7 after every 11 records", 7, 11},
                   {"one batch at the end", 1000, 1000}};
  const Computed computed = FromScratch(records);
  for (const Schedule& schedule : schedules) {
    SCOPED_TRACE(schedule.name);
    FreshDatabase fresh(GetParam());
    auto db = OpenMigrated(fresh.locator());
    StoreAnswers answers(*db, Site, {10, 10, 3600, 1000});
    const auto send = [&](const std::string& target, const std::string& body) {
      Request request;
      request.method = "POST";
      request.target = target;
      request.body = body;
      request.clientAddress = "192.0.2.1";
      return answers.Respond(request)->status;
    };
    for (const char* code : {TwoMoves, LongSolution})
      ASSERT_EQ(send("/api/levels", std::string("{\"code\":\"") + code + "\",\"title\":\"x\"}"),
                201);
    PlayRecords plays(*db);
    int sent = 0;
    for (const SeededRecord& record : records) {
      ASSERT_EQ(send("/api/attempts", Record(record.level, record.session, record.solved,
                                             record.solved ? SolutionLetters(record.level) : "N")),
                202);
      if (++sent % schedule.recordsEach == 0) plays.RatePending(schedule.batch);
    }
    while (plays.RatePending(schedule.batch) > 0) {
    }
    for (const auto& [code, rating] : computed.levels) {
      const DbRows row =
          db->Run("SELECT rating, deviation, volatility FROM level_figures WHERE code = ?", {code});
      ASSERT_EQ(row.size(), 1u);
      EXPECT_EQ(row[0].Int(0), std::llround(rating.rating * 1000)) << code;
      EXPECT_EQ(row[0].Int(1), std::llround(rating.deviation * 1000)) << code;
      EXPECT_EQ(row[0].Int(2), std::llround(rating.volatility * 1000000)) << code;
    }
    for (const auto& [session, rating] : computed.sessions) {
      const DbRows row =
          db->Run("SELECT rating, deviation FROM session_ratings WHERE session = ?", {session});
      ASSERT_EQ(row.size(), 1u);
      EXPECT_EQ(row[0].Int(0), std::llround(rating.rating * 1000)) << session;
      EXPECT_EQ(row[0].Int(1), std::llround(rating.deviation * 1000)) << session;
    }
    EXPECT_EQ(db->Run("SELECT COUNT(*) FROM session_ratings")[0].Int(0),
              static_cast<std::int64_t>(computed.sessions.size()));
  }
}

TEST_P(PlayRecordsTest, TwoWorkersBatchingAtOnceRateEachAttemptOnce) {
  const std::vector<SeededRecord> records = SeededRecords(120);
  // From several clients, each under the limit.
  const char* const clients[] = {"203.0.113.1", "203.0.113.2", "203.0.113.3", "203.0.113.4"};
  for (std::size_t i = 0; i < records.size(); ++i)
    ASSERT_EQ(Send("POST", "/api/attempts",
                   Record(records[i].level, records[i].session, records[i].solved,
                          records[i].solved ? SolutionLetters(records[i].level) : "N"),
                   clients[i / 30])
                  .status,
              202);
  const int queued = PlayRecords(*m_db).PendingRatings();
  std::atomic<int> rated{0};
  const auto worker = [&] {
    auto own = OpenDatabase(m_fresh.locator());
    PlayRecords plays(*own);
    while (plays.PendingRatings() > 0) {
      rated += plays.RatePending(3);
      std::this_thread::yield();
    }
  };
  std::thread first(worker), second(worker);
  first.join();
  second.join();
  EXPECT_EQ(rated.load(), queued);
  const Computed computed = FromScratch(records);
  for (const auto& [session, rating] : computed.sessions)
    EXPECT_EQ(
        m_db->Run("SELECT rating FROM session_ratings WHERE session = ?", {session})[0].Int(0),
        std::llround(rating.rating * 1000))
        << session;
  for (const auto& [code, rating] : computed.levels)
    EXPECT_EQ(m_db->Run("SELECT rating FROM level_figures WHERE code = ?", {code})[0].Int(0),
              std::llround(rating.rating * 1000))
        << code;
}

TEST_P(PlayRecordsTest, TwoRecordsOfASessionAtOnceMakeOneFirstAttempt) {
  // Two pages of each session send their records at the same moment.
  constexpr int Sessions = 12;
  std::vector<AttemptRecord> attempts;
  for (int i = 0; i < Sessions; ++i) {
    char session[33];
    std::snprintf(session, sizeof session, "%032x", static_cast<unsigned>(i));
    attempts.push_back({Canonical(TwoMoves), session, false, "N", 0, 0, 0, 5, "1.0"});
  }
  std::barrier together(2);
  const auto page = [&] {
    auto own = OpenDatabase(m_fresh.locator());
    PlayRecords plays(*own);
    for (const AttemptRecord& attempt : attempts) {
      together.arrive_and_wait();
      plays.Record(attempt);
    }
  };
  std::thread first(page), second(page);
  first.join();
  second.join();
  EXPECT_EQ(Attempts(), 2 * Sessions);
  EXPECT_EQ(m_db->Run("SELECT COUNT(*) FROM attempts WHERE first_attempt = 1")[0].Int(0), Sessions);
  EXPECT_EQ(PlayRecords(*m_db).PendingRatings(), Sessions);
  EXPECT_EQ(Member(LevelInfo(TwoMoves).body, "plays"), std::to_string(2 * Sessions));
}

TEST_P(PlayRecordsTest, ASessionDeletedBeforeItsBatchIsNeverRated) {
  ASSERT_EQ(Send("POST", "/api/attempts", Record(TwoMoves, SessionA, false, "N")).status, 202);
  ASSERT_EQ(Send("POST", "/api/attempts", Record(TwoMoves, SessionB, false, "N")).status, 202);
  ASSERT_EQ(Send("DELETE", "/api/sessions/" + std::string(SessionA)).status, 200);
  EXPECT_EQ(RateWaiting(), 1);
  const DbRows rated = m_db->Run("SELECT session FROM session_ratings");
  ASSERT_EQ(rated.size(), 1u);
  EXPECT_EQ(rated[0].Text(0), SessionB);
  EXPECT_EQ(Member(LevelInfo(TwoMoves).body, "plays"), "1");
}

INSTANTIATE_TEST_SUITE_P(Backends, PlayRecordsTest,
                         testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName());

}  // namespace
