// The server program's answers, in-process: the level page, its picture, the
// compact page for frames, and the 400 page for every kind of bad address.

#include <gtest/gtest.h>

#include <QImage>
#include <regex>
#include <string>
#include <variant>

#include "logic/level_code.h"
#include "logic/solver.h"
#include "server/pages.h"
#include "server/query.h"
#include "server/responses.h"
#include "view/board_renderer.h"

namespace {

constexpr const char* TwoMoves = "3111221000110fbe5";
constexpr const char* LongSolution = "7003366663300d4dae70cec86baf110a5e554";  // 35 moves
constexpr const char* NoSolution = "3001122221100fbe5";

HttpResponse Get(const std::string& query, const std::string& host = "levels.example.org") {
  CgiRequest request;
  request.query = query;
  request.host = host;
  return Respond(request);
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// ------------------------------------------------------------ the query

struct GoodQuery {
  const char* query;
  const char* code;
  bool png;
  bool embed;
};

constexpr GoodQuery GoodQueries[] = {
    {"s=3111221000110fbe5", "3111221000110fbe5", false, false},
    {"s=3111221000110fbe5&png=1", "3111221000110fbe5", true, false},
    {"embed=1&s=3111221000110fbe5", "3111221000110fbe5", false, true},
    {"s=%33111221000110fbe5", "3111221000110fbe5", false, false},  // an escaped digit
    {"s=3111221000110fbe5&fbclid=IwAR0x-y_z&utm_source=chat", "3111221000110fbe5", false, false},
    {"&&s=3111221000110fbe5&", "3111221000110fbe5", false, false},             // empty parts
    {"s=3111221000110FBE5&ref=caf%C3%A9", "3111221000110FBE5", false, false},  // UTF-8 elsewhere
};

TEST(QueryTest, ReadsTheCodeAndTheSwitches) {
  for (const GoodQuery& c : GoodQueries) {
    SCOPED_TRACE(c.query);
    const auto read = ReadQuery(c.query);
    ASSERT_TRUE(std::holds_alternative<LevelQuery>(read)) << std::get<QueryError>(read).reason;
    const LevelQuery& query = std::get<LevelQuery>(read);
    EXPECT_EQ(query.code, c.code);
    EXPECT_EQ(query.png, c.png);
    EXPECT_EQ(query.embed, c.embed);
  }
}

// ------------------------------------------------------------ bad input

struct BadInput {
  const char* name;
  std::string query;
  const char* reason;  // part of the reason the page gives
};

const BadInput BadInputs[] = {
    {"no query", "", "names no level"},
    {"no code", "png=1", "names no level"},
    {"empty code", "s=", "is empty"},
    {"a code of another size", "s=9001122221100fbe5", "board size 3, 5 or 7"},
    {"a short code", "s=3001122221100fbe", "ends before its 4 wall digits"},
    {"two balls on one square", "s=3000022221100fbe5", "two balls or two holes"},
    {"a coordinate off the board", "s=3003122221100fbe5", "not a coordinate"},
    {"trailing digits", "s=3111221000110fbe5ff", "has 19 characters; a 3 x 3 level code has 17"},
    {"not hexadecimal", "s=3111221000110fbg5", "only the digits 0 to 9 and the letters a to f"},
    {"a script", "s=<script>alert(1)</script>", "no place in it"},
    {"an escaped script", "s=%3Cscript%3Ealert(1)%3C%2Fscript%3E", "no place in it"},
    {"a script elsewhere", "s=3111221000110fbe5&x=%3Cscript%3E", "no place in it"},
    {"double quotes", "s=3111221000110fbe5%22onmouseover=%22alert(1)", "no place in it"},
    {"single quotes", "s='3111221000110fbe5'", "no place in it"},
    {"a NUL byte", "s=3111221000110fbe5%00", "control characters"},
    {"a raw NUL byte", std::string("s=3111221000110fbe5\0x", 22), "control characters"},
    {"a line break", "s=3111221000110fbe5%0d%0aSet-Cookie:x=1", "control characters"},
    {"escaped bytes that are not UTF-8", "s=%ff%fe", "not valid UTF-8"},
    {"raw bytes that are not UTF-8", "s=3111221000110fbe5&x=\xc3\x28", "not valid UTF-8"},
    {"an overlong UTF-8 form", "x=%c0%bcscript%c0%be&s=3111221000110fbe5", "not valid UTF-8"},
    {"a UTF-8 surrogate", "x=%ed%a0%80&s=3111221000110fbe5", "not valid UTF-8"},
    {"a broken escape", "s=3111221000110fbe5%2", "broken %-escape"},
    {"an escape of non-digits", "s=%zz3111221000110fbe5", "broken %-escape"},
    {"the code twice", "s=3111221000110fbe5&s=3001122221100fbe5", "given twice"},
    {"png twice", "s=3111221000110fbe5&png=1&png=1", "given twice"},
    {"a switch with another value", "s=3111221000110fbe5&png=yes", "only the value 1"},
    {"over 1 KB", "s=3111221000110fbe5&pad=" + std::string(1010, 'a'), "too long"},
    {"far over 1 KB", "s=" + std::string(100000, '3'), "too long"},
};

TEST(BadInputTest, EveryBadAddressGetsA400PageThatSaysWhy) {
  for (const BadInput& c : BadInputs) {
    SCOPED_TRACE(c.name);
    const HttpResponse response = Get(c.query);
    EXPECT_EQ(response.status, 400);
    EXPECT_EQ(response.Header("Content-Type"), "text/html; charset=utf-8");
    EXPECT_EQ(response.Header("Content-Security-Policy"), ContentSecurityPolicy);
    EXPECT_EQ(response.Header("Cache-Control"), "no-store");
    EXPECT_EQ(response.Header("Content-Length"), std::to_string(response.body.size()));
    EXPECT_TRUE(Contains(response.body, EscapeHtml(c.reason))) << response.body;
  }
}

TEST(BadInputTest, NothingOfTheAddressComesBackUnescaped) {
  const char* const hostile[] = {"<script>", "<script", "\"onmouseover",
                                 "'3111",    "\xff",    "\xc3\x28"};
  for (const BadInput& c : BadInputs) {
    SCOPED_TRACE(c.name);
    const std::string body = Get(c.query).body;
    for (const char* payload : hostile) EXPECT_FALSE(Contains(body, payload)) << payload;
    EXPECT_EQ(body.find('\0'), std::string::npos);
    EXPECT_LT(body.size(), 2000u);  // a long query is not echoed back
  }
}

TEST(BadInputTest, OnlyGetAndHeadAreAnswered) {
  for (const char* method : {"POST", "PUT", "DELETE", "OPTIONS", ""}) {
    CgiRequest request;
    request.method = method;
    request.query = std::string("s=") + TwoMoves;
    const HttpResponse response = Respond(request);
    EXPECT_EQ(response.status, 405) << method;
    EXPECT_EQ(response.Header("Allow"), "GET, HEAD");
    EXPECT_EQ(response.Header("Content-Security-Policy"), ContentSecurityPolicy);
  }
}

// ------------------------------------------------------------ the level page

TEST(LevelPageTest, AnswersThePageCachedForever) {
  const HttpResponse response = Get(std::string("s=") + LongSolution);
  EXPECT_EQ(response.status, 200);
  EXPECT_EQ(response.Header("Content-Type"), "text/html; charset=utf-8");
  EXPECT_EQ(response.Header("Content-Security-Policy"), ContentSecurityPolicy);
  EXPECT_EQ(response.Header("Cache-Control"), "public, max-age=31536000, immutable");
  EXPECT_EQ(response.Header("Content-Length"), std::to_string(response.body.size()));
}

TEST(LevelPageTest, ShowsTheLevelItsShortestSolutionAndTheGamesStatus) {
  const std::string page = Get(std::string("s=") + LongSolution).body;
  EXPECT_TRUE(Contains(page, std::string("data-code=\"") + LongSolution + "\""));
  EXPECT_TRUE(
      Contains(page, std::string("id=\"code\" class=\"copy-text\" readonly size=\"40\" value=\"") +
                         LongSolution + "\""));
  EXPECT_TRUE(Contains(page, "<p id=\"shortest\">Shortest solution: 35 moves.</p>"));
  EXPECT_TRUE(Contains(page, "<p>Moves: 0</p><p>Shortest solution from here: 35 moves</p>"));
  EXPECT_TRUE(Contains(page, "<canvas id=\"board\" width=\"325\" height=\"315\""));
  EXPECT_TRUE(Contains(page, "href=\"/eng/pc/korvalo_editor.html\""));
}

TEST(LevelPageTest, SaysSoWhenTheLevelHasNoSolution) {
  const std::string page = Get(std::string("s=") + NoSolution).body;
  EXPECT_TRUE(Contains(page, "<p id=\"shortest\">This level has no solution.</p>"));
  EXPECT_TRUE(Contains(page, "<p>No solution from here</p>"));
}

TEST(LevelPageTest, LinkPreviewsGetTheTitleAndThePicture) {
  const std::string page = Get(std::string("s=") + TwoMoves, "levels.example.org:8080").body;
  const std::string level =
      std::string("http://levels.example.org:8080/cgi-bin/korvz?s=") + TwoMoves;
  EXPECT_TRUE(Contains(page, "<meta property=\"og:title\" content=\"Korvalo level " +
                                 std::string(TwoMoves) + "\">"));
  EXPECT_TRUE(Contains(page, "<meta property=\"og:url\" content=\"" + level + "\">"));
  EXPECT_TRUE(Contains(page, "<meta property=\"og:image\" content=\"" + level + "&amp;png=1\">"));
  EXPECT_TRUE(Contains(page, "takes 2 moves"));
}

TEST(LevelPageTest, EmbedBlockHoldsTheFrameForTheCompactPage) {
  const std::string page = Get(std::string("s=") + TwoMoves).body;
  const std::string frame =
      "&lt;iframe src=&quot;http://levels.example.org/cgi-bin/korvz?s=" + std::string(TwoMoves) +
      "&amp;amp;embed=1&quot; width=&quot;320&quot; height=&quot;397&quot;";
  EXPECT_TRUE(Contains(page, frame)) << page;

  const HttpResponse embedded = Get(std::string("s=") + TwoMoves + "&embed=1");
  EXPECT_EQ(embedded.status, 200);
  EXPECT_TRUE(Contains(embedded.body, "class=\"embedded-page\""));
  EXPECT_TRUE(Contains(embedded.body, "<canvas id=\"board\""));
  EXPECT_FALSE(Contains(embedded.body, "Embed"));
}

// The policy allows the site's own scripts and style sheet only: no inline
// script, no inline style, no script from elsewhere.
TEST(LevelPageTest, EveryScriptAndStyleComesFromTheSiteItself) {
  for (const std::string& query :
       {std::string("s=") + TwoMoves, std::string("s=") + TwoMoves + "&embed=1"}) {
    SCOPED_TRACE(query);
    const std::string page = Get(query).body;
    const std::regex script("<script([^>]*)>([^<]*)</script>");
    int scripts = 0;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), script);
         it != std::sregex_iterator(); ++it) {
      ++scripts;
      EXPECT_TRUE(std::regex_search((*it)[1].str(),
                                    std::regex("^ src=\"/korvalo/1\\.0/[a-z_]+\\.js\" defer$")))
          << (*it)[0];
      EXPECT_EQ((*it)[2].str(), "");
    }
    EXPECT_EQ(scripts, 2);
    EXPECT_EQ(page.find("<script"), page.find("<script src=\"/korvalo/"));
    EXPECT_FALSE(Contains(page, " style=\""));
    EXPECT_FALSE(Contains(page, "<style"));
    EXPECT_FALSE(
        std::regex_search(page, std::regex("<[^>]*\\son[a-z]+=")));  // no event handler attributes
  }
}

TEST(LevelPageTest, CodeWithCapitalsIsShownInItsWrittenForm) {
  const std::string page = Get("s=3111221000110FBE5").body;
  EXPECT_TRUE(Contains(page, "data-code=\"3111221000110fbe5\""));
}

// ------------------------------------------------------------ the picture

TEST(PictureTest, IsTheFrameTheEditorShowsForTheLevel) {
  BoardRenderer renderer;
  for (const char* code : {TwoMoves, LongSolution, NoSolution, "50022444422005eae44c9f644"}) {
    SCOPED_TRACE(code);
    const HttpResponse response = Get(std::string("s=") + code + "&png=1");
    ASSERT_EQ(response.status, 200);
    EXPECT_EQ(response.Header("Content-Type"), "image/png");
    EXPECT_EQ(response.Header("Cache-Control"), "public, max-age=31536000, immutable");
    EXPECT_EQ(response.Header("Content-Security-Policy"), ContentSecurityPolicy);
    const QImage picture = QImage::fromData(reinterpret_cast<const uchar*>(response.body.data()),
                                            static_cast<int>(response.body.size()), "PNG")
                               .convertToFormat(QImage::Format_RGB32);
    Level level;
    ASSERT_NE(ReadLevelCode(level, code).outcome, CodeReading::Rejected);
    RecheckLevel(level);  // as korvalo-level render does
    EXPECT_EQ(picture, renderer.DrawFrame(level, EditingState{}));
  }
}

// ------------------------------------------------------------ addresses and output

struct SiteCase {
  const char* name;
  CgiRequest request;
  const char* site;
};

const SiteCase SiteCases[] = {
    {"host and port",
     {"GET", "", "example.org:8080", false, "", "", ""},
     "http://example.org:8080"},
    {"https", {"GET", "", "example.org", true, "", "", ""}, "https://example.org"},
    {"IPv6", {"GET", "", "[::1]:8080", false, "", "", ""}, "http://[::1]:8080"},
    {"public address wins",
     {"GET", "", "example.org", false, "", "", "https://levels.example.com"},
     "https://levels.example.com"},
    {"bad public address is ignored",
     {"GET", "", "example.org", false, "", "", "javascript:alert(1)"},
     "http://example.org"},
    {"hostile host, server name instead",
     {"GET", "", "x\"><script>", false, "example.net", "8080", ""},
     "http://example.net:8080"},
    {"host with a path, default port",
     {"GET", "", "a.org/evil", false, "example.net", "80", ""},
     "http://example.net"},
    {"nothing usable", {"GET", "", "a b", false, "", "", ""}, ""},
};

TEST(SiteAddressTest, TakesOnlyPlainHostNames) {
  for (const SiteCase& c : SiteCases) EXPECT_EQ(SiteAddress(c.request), c.site) << c.name;
}

TEST(CgiOutputTest, StatusLineHeadersAndBodyExceptForHead) {
  const HttpResponse response = Get(std::string("s=") + TwoMoves);
  const std::string get = CgiOutput(response, false);
  const std::string head = CgiOutput(response, true);
  EXPECT_EQ(get.rfind("Status: 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n", 0), 0u);
  const std::size_t end = get.find("\r\n\r\n");
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(get.substr(end + 4), response.body);
  EXPECT_EQ(head, get.substr(0, end + 4));
  EXPECT_TRUE(Contains(head, "Content-Length: " + std::to_string(response.body.size()) + "\r\n"));
}

}  // namespace
