// The worker's answers, in-process: the level page, its picture, the compact
// page for frames, the one address of each level (301 from every other), the
// validators (ETag, 304), the 400 page for every kind of bad address, and the
// site's public address.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <optional>
#include <regex>
#include <string>
#include <variant>
#include <vector>

#include "logic/level_code.h"
#include "logic/solver.h"
#include "server/pages.h"
#include "server/query.h"
#include "server/responses.h"
#include "server/site_address.h"
#include "tests/support/level_code_reading.h"
#include "view/board_renderer.h"

namespace {

constexpr const char* TwoMoves = "3111221000110fbe5";
constexpr const char* LongSolution = "7003366663300d4dae70cec86baf110a5e554";  // 35 moves
constexpr const char* NoSolution = "3001122221100fbe5";

constexpr const char* PublicAddress = "https://levels.example.org";
constexpr const char* Forever = "public, max-age=31536000, immutable";
constexpr const char* Revalidated = "public, no-cache";

/// A picture is kept forever; a page, which names its version's scripts, is
/// asked for again before each use.
const char* CachingOf(const std::string& target) {
  return target.find("&png=1") != std::string::npos ? Forever : Revalidated;
}

/// The answer of a worker with the public address to GET of the target.
HttpResponse GetTarget(const std::string& target, const std::string& site = PublicAddress) {
  SiteAnswers answers(site);
  Request request;
  request.target = target;
  return answers.Respond(request);
}

/// The answer to the query at the program's address.
HttpResponse Get(const std::string& query, const std::string& site = PublicAddress) {
  return GetTarget("/cgi-bin/korvz?" + query, site);
}

/// The value the site's headers give every answer; the compact page for
/// frames (framed) lets any site put it in a frame, and no other page does.
void ExpectSiteHeaders(const HttpResponse& response, bool framed = false) {
  for (const HeaderField& field : SiteHeaders()) {
    std::string value(field.value);
    if (framed && field.name == "Content-Security-Policy") {
      const std::size_t at = value.find("frame-ancestors 'none'");
      ASSERT_NE(at, std::string::npos);
      value.replace(at, 22, "frame-ancestors *");
    }
    EXPECT_EQ(response.Header(field.name), value) << field.name;
  }
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// ------------------------------------------------------------ the query

struct GoodQuery {
  const char* query;
  const char* code;
  Answer answer;
};

constexpr GoodQuery GoodQueries[] = {
    {"s=3111221000110fbe5", "3111221000110fbe5", Answer::Page},
    {"s=3111221000110fbe5&png=1", "3111221000110fbe5", Answer::Picture},
    {"embed=1&s=3111221000110fbe5", "3111221000110fbe5", Answer::Embedded},
    {"s=%33111221000110fbe5", "3111221000110fbe5", Answer::Page},  // an escaped digit
    {"s=3111221000110fbe5&fbclid=IwAR0x-y_z&utm_source=chat", "3111221000110fbe5", Answer::Page},
    {"&&s=3111221000110fbe5&", "3111221000110fbe5", Answer::Page},             // empty parts
    {"s=3111221000110FBE5&ref=caf%C3%A9", "3111221000110FBE5", Answer::Page},  // UTF-8 elsewhere
};

TEST(QueryTest, ReadsTheCodeAndTheSwitches) {
  for (const GoodQuery& c : GoodQueries) {
    SCOPED_TRACE(c.query);
    const auto read = ReadQuery(c.query);
    ASSERT_TRUE(std::holds_alternative<LevelQuery>(read)) << std::get<QueryError>(read).reason;
    const LevelQuery& query = std::get<LevelQuery>(read);
    EXPECT_EQ(query.code, c.code);
    EXPECT_EQ(query.answer, c.answer);
  }
}

TEST(QueryTest, TheCanonicalQueryNamesTheCodeThenTheSwitch) {
  EXPECT_EQ(CanonicalQuery({"3111221000110fbe5", Answer::Page}), "s=3111221000110fbe5");
  EXPECT_EQ(CanonicalQuery({"3111221000110fbe5", Answer::Picture}), "s=3111221000110fbe5&png=1");
  EXPECT_EQ(CanonicalQuery({"3111221000110fbe5", Answer::Embedded}), "s=3111221000110fbe5&embed=1");
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
    {"two switches", "s=3111221000110fbe5&png=1&embed=1", "two different answers"},
    {"over 1 KB", "s=3111221000110fbe5&pad=" + std::string(1010, 'a'), "too long"},
    {"far over 1 KB", "s=" + std::string(100000, '3'), "too long"},
};

TEST(BadInputTest, EveryBadAddressGetsA400PageThatSaysWhy) {
  for (const BadInput& c : BadInputs) {
    SCOPED_TRACE(c.name);
    const HttpResponse response = Get(c.query);
    EXPECT_EQ(response.status, 400);
    EXPECT_EQ(response.Header("Content-Type"), "text/html; charset=utf-8");
    ExpectSiteHeaders(response);
    EXPECT_EQ(response.Header("Cache-Control"), "no-store");
    EXPECT_EQ(response.Header("ETag"), "");
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
  SiteAnswers answers(PublicAddress);
  for (const char* method : {"POST", "PUT", "DELETE", "OPTIONS", ""}) {
    SCOPED_TRACE(method);
    Request request;
    request.method = method;
    request.target = std::string("/cgi-bin/korvz?s=") + TwoMoves;
    const HttpResponse response = answers.Respond(request);
    EXPECT_EQ(response.status, 405);
    EXPECT_EQ(response.Header("Allow"), "GET, HEAD");
    ExpectSiteHeaders(response);
  }
}

// ------------------------------------------------------------ the level page

TEST(LevelPageTest, AnswersThePageRevalidatedBeforeEachUse) {
  const HttpResponse response = Get(std::string("s=") + LongSolution);
  EXPECT_EQ(response.status, 200);
  EXPECT_EQ(response.Header("Content-Type"), "text/html; charset=utf-8");
  ExpectSiteHeaders(response);
  EXPECT_EQ(response.Header("Cache-Control"), Revalidated);
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
  const std::string page =
      Get(std::string("s=") + TwoMoves, "https://levels.example.org:8443").body;
  const std::string level =
      std::string("https://levels.example.org:8443/cgi-bin/korvz?s=") + TwoMoves;
  EXPECT_TRUE(Contains(page, "<meta property=\"og:title\" content=\"Korvalo level " +
                                 std::string(TwoMoves) + "\">"));
  EXPECT_TRUE(Contains(page, "<meta property=\"og:url\" content=\"" + level + "\">"));
  EXPECT_TRUE(Contains(page, "<meta property=\"og:image\" content=\"" + level + "&amp;png=1\">"));
  EXPECT_TRUE(Contains(page, "<link rel=\"canonical\" href=\"" + level + "\">"));
  EXPECT_TRUE(Contains(page, "takes 2 moves"));
}

// Without a public address nothing absolute is written: the links are
// relative to the site and the tags that need an absolute address are left out.
TEST(LevelPageTest, WithoutAPublicAddressTheLinksAreRelative) {
  for (const char* suffix : {"", "&embed=1"}) {
    SCOPED_TRACE(suffix);
    const std::string page = Get(std::string("s=") + TwoMoves + suffix, "").body;
    EXPECT_FALSE(Contains(page, "http:")) << page;
    EXPECT_FALSE(Contains(page, "https:"));
    EXPECT_FALSE(Contains(page, "og:url"));
    EXPECT_FALSE(Contains(page, "og:image"));
    EXPECT_FALSE(Contains(page, "embed-code"));
  }
  const std::string page = Get(std::string("s=") + TwoMoves, "").body;
  EXPECT_TRUE(Contains(
      page, std::string("<link rel=\"canonical\" href=\"/cgi-bin/korvz?s=") + TwoMoves + "\">"));
}

// The page's policy allows pictures of the site itself only: the picture
// shown without scripts is named relative to the site whatever the public
// address, so it loads under every address a visitor may use.
TEST(LevelPageTest, ThePictureWithoutScriptsIsRelativeToTheSite) {
  for (const char* site : {"", PublicAddress}) {
    const std::string page = Get(std::string("s=") + TwoMoves, site).body;
    EXPECT_TRUE(
        Contains(page, std::string("<noscript><img class=\"picture\" src=\"/cgi-bin/korvz?s=") +
                           TwoMoves + "&amp;png=1\""))
        << site;
  }
}

TEST(LevelPageTest, EmbedBlockHoldsTheFrameForTheCompactPage) {
  const std::string page = Get(std::string("s=") + TwoMoves).body;
  const std::string frame =
      "&lt;iframe src=&quot;https://levels.example.org/cgi-bin/korvz?s=" + std::string(TwoMoves) +
      "&amp;amp;embed=1&quot;";
  EXPECT_TRUE(Contains(page, frame)) << page;
  EXPECT_TRUE(Contains(page, "<label for=\"embed-code\">"));

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

TEST(LevelPageTest, OnlyTheCompactPageMayBeFramed) {
  for (const char* suffix : {"", "&png=1", "&embed=1"}) {
    SCOPED_TRACE(suffix);
    const bool framed = std::string(suffix) == "&embed=1";
    ExpectSiteHeaders(Get(std::string("s=") + TwoMoves + suffix), framed);
    // A cache that revalidates takes the policy of the 304 too.
    Request request;
    request.target = std::string("/cgi-bin/korvz?s=") + TwoMoves + suffix;
    request.ifNoneMatch = "*";
    ExpectSiteHeaders(SiteAnswers(PublicAddress).Respond(request), framed);
  }
}

// ------------------------------------------------------------ the picture

TEST(PictureTest, IsTheFrameTheEditorShowsForTheLevel) {
  BoardRenderer renderer;
  for (const char* code : {TwoMoves, LongSolution, NoSolution, "50022444422005eae44c9f644"}) {
    SCOPED_TRACE(code);
    const HttpResponse response = Get(std::string("s=") + code + "&png=1");
    ASSERT_EQ(response.status, 200);
    EXPECT_EQ(response.Header("Content-Type"), "image/png");
    EXPECT_EQ(response.Header("Cache-Control"), Forever);
    ExpectSiteHeaders(response);
    const QImage picture = QImage::fromData(reinterpret_cast<const uchar*>(response.body.data()),
                                            static_cast<int>(response.body.size()), "PNG")
                               .convertToFormat(QImage::Format_RGB32);
    Level level;
    ASSERT_NE(ReadLevelCode(level, code).outcome, CodeReading::Rejected);
    RecheckLevel(level);  // as korvalo-level render does
    EXPECT_EQ(picture, renderer.DrawFrame(level, EditingState{}));
  }
}

// ------------------------------------------------------------ one address per level

/// The code with one wall bit of the border opened: another code of the same
/// level, which the reader closes again. Empty when no digit has such a bit.
std::string WithABorderBitOpened(const std::string& code) {
  for (std::size_t position = 13; position < code.size(); ++position) {
    for (int bit = 1; bit < 16; bit <<= 1) {
      std::string changed = code;
      const int value = std::stoi(code.substr(position, 1), nullptr, 16) | bit;
      changed[position] = "0123456789abcdef"[value];
      Level level;
      if (changed != code && ParseLevelCode(level, changed).accepted &&
          WriteLevelCode(level) == code)
        return changed;
    }
  }
  return {};
}

struct OtherAddress {
  const char* name;
  std::string target;
  std::string canonical;
};

std::vector<OtherAddress> OtherAddresses() {
  const std::string page = std::string("/cgi-bin/korvz?s=") + TwoMoves;
  const std::string bordered = WithABorderBitOpened(TwoMoves);
  return {
      {"capital wall digits", "/cgi-bin/korvz?s=3111221000110FBE5", page},
      {"an opened border bit", "/cgi-bin/korvz?s=" + bordered, page},
      {"an unknown parameter", page + "&utm_source=chat", page},
      {"an unknown parameter first", std::string("/cgi-bin/korvz?fbclid=x&s=") + TwoMoves, page},
      {"the switch first", std::string("/cgi-bin/korvz?png=1&s=") + TwoMoves, page + "&png=1"},
      {"capitals and the switch first", "/cgi-bin/korvz?embed=1&s=3111221000110FBE5",
       page + "&embed=1"},
      {"an escaped digit", "/cgi-bin/korvz?s=%33111221000110fbe5", page},
      {"empty parts", std::string("/cgi-bin/korvz?&s=") + TwoMoves + "&", page},
      {"a path after the program", std::string("/cgi-bin/korvz/x/y?s=") + TwoMoves, page},
      {"a slash after the program", std::string("/cgi-bin/korvz/?s=") + TwoMoves + "&png=1",
       page + "&png=1"},
  };
}

TEST(CanonicalAddressTest, EveryOtherAddressOfALevelMovesToItsOneAddress) {
  ASSERT_NE(WithABorderBitOpened(TwoMoves), "");
  for (const OtherAddress& c : OtherAddresses()) {
    SCOPED_TRACE(c.name);
    const HttpResponse moved = GetTarget(c.target);
    EXPECT_EQ(moved.status, 301);
    EXPECT_EQ(moved.Header("Location"), c.canonical);
    // Kept a while, never forever: the canonical form may change with a version.
    EXPECT_EQ(moved.Header("Cache-Control"), "public, max-age=86400");
    EXPECT_EQ(moved.Header("ETag"), "");
    ExpectSiteHeaders(moved);
    const HttpResponse canonical = GetTarget(c.canonical);
    EXPECT_EQ(canonical.status, 200);
    EXPECT_EQ(canonical.Header("Cache-Control"), CachingOf(c.canonical));
  }
}

TEST(CanonicalAddressTest, TheRedirectNamesNothingButTheLevel) {
  const HttpResponse moved =
      GetTarget(std::string("/cgi-bin/korvz/%3Cscript%3E%22/<b>?s=") + TwoMoves + "&x=1");
  EXPECT_EQ(moved.status, 301);
  EXPECT_EQ(moved.Header("Location"), std::string("/cgi-bin/korvz?s=") + TwoMoves);
  EXPECT_FALSE(Contains(moved.body, "script"));
  EXPECT_FALSE(Contains(moved.body, "%3E"));
  EXPECT_FALSE(Contains(moved.body, "<b>"));
}

// ------------------------------------------------------------ validators

TEST(ValidatorTest, EachAnswerHasAStrongTagOfItsOwn) {
  std::vector<std::string> tags;
  for (const char* code : {TwoMoves, LongSolution}) {
    for (const char* suffix : {"", "&png=1", "&embed=1"}) {
      const HttpResponse response = Get(std::string("s=") + code + suffix);
      const std::string tag = response.Header("ETag");
      EXPECT_TRUE(std::regex_match(tag, std::regex("\"1\\.0-[0-9a-f]{16}\""))) << tag;
      EXPECT_EQ(std::count(tags.begin(), tags.end(), tag), 0) << tag;
      EXPECT_EQ(Get(std::string("s=") + code + suffix).Header("ETag"), tag);  // the same bytes
      tags.push_back(tag);
    }
  }
  // The answer's bytes differ with the public address, and so does its tag.
  EXPECT_NE(Get(std::string("s=") + TwoMoves, "").Header("ETag"),
            Get(std::string("s=") + TwoMoves).Header("ETag"));
  // Another worker (on another machine) gives the same tag, even to its first answer.
  SiteAnswers other(PublicAddress);
  Request request;
  request.target = std::string("/cgi-bin/korvz?s=") + LongSolution + "&png=1";
  request.ifNoneMatch = Get(std::string("s=") + LongSolution + "&png=1").Header("ETag");
  EXPECT_EQ(other.Respond(request).status, 304);
}

struct Validation {
  const char* name;
  std::string ifNoneMatch;  // $ stands for the answer's tag
  int status;
};

const Validation Validations[] = {
    {"the tag", "$", 304},
    {"the tag among others", "\"1.0-0000000000000000\", $", 304},
    {"the weak form of the tag", "W/$", 304},
    {"any tag", "*", 304},
    {"the tag of the gzip answer", "%-gzip\"", 304},  // % stands for the tag without its last quote
    {"the tag of the deflate answer", "W/%-deflate\"", 304},
    {"the tag with another coding", "%-br\"", 200},
    {"another tag", "\"1.0-0000000000000000\"", 200},
    {"the tag of another version", "\"0.9-0000000000000000\"", 200},
    {"the tag without quotes", "@", 200},  // @ stands for the tag's inside
    {"nothing", "", 200},
};

TEST(ValidatorTest, IfNoneMatchWithTheTagGets304WithoutABody) {
  SiteAnswers answers(PublicAddress);
  for (const char* suffix : {"", "&png=1", "&embed=1"}) {
    Request request;
    request.target = std::string("/cgi-bin/korvz?s=") + TwoMoves + suffix;
    const HttpResponse full = answers.Respond(request);
    const std::string tag = full.Header("ETag");
    for (const Validation& c : Validations) {
      SCOPED_TRACE(std::string(c.name) + " " + suffix);
      request.ifNoneMatch = c.ifNoneMatch;
      if (const std::size_t at = request.ifNoneMatch.find('$'); at != std::string::npos)
        request.ifNoneMatch.replace(at, 1, tag);
      if (request.ifNoneMatch == "@") request.ifNoneMatch = tag.substr(1, tag.size() - 2);
      if (const std::size_t at = request.ifNoneMatch.find('%'); at != std::string::npos)
        request.ifNoneMatch.replace(at, 1, tag.substr(0, tag.size() - 1));
      const HttpResponse response = answers.Respond(request);
      EXPECT_EQ(response.status, c.status);
      EXPECT_EQ(response.Header("ETag"), tag);
      EXPECT_EQ(response.Header("Cache-Control"), CachingOf(request.target));
      ExpectSiteHeaders(response, std::string(suffix) == "&embed=1");
      EXPECT_EQ(response.body, c.status == 304 ? "" : full.body);
    }
  }
}

TEST(ValidatorTest, ARedirectOrARefusalIgnoresIfNoneMatch) {
  SiteAnswers answers(PublicAddress);
  Request request;
  request.ifNoneMatch = "*";
  request.target = "/cgi-bin/korvz?s=3111221000110FBE5";
  EXPECT_EQ(answers.Respond(request).status, 301);
  request.target = "/cgi-bin/korvz?s=3111";
  EXPECT_EQ(answers.Respond(request).status, 400);
}

// ------------------------------------------------------------ the public address

struct AddressCase {
  const char* configured;
  const char* normalised;  // nullptr: refused
  const char* reason;      // part of the refusal
};

const AddressCase AddressCases[] = {
    {"", "", ""},
    {"https://www.example.org", "https://www.example.org", ""},
    {"https://www.example.org/", "https://www.example.org", ""},
    {"HTTPS://WWW.Example.ORG/", "https://www.example.org", ""},
    {"http://example.org:80", "http://example.org", ""},
    {"https://example.org:443/", "https://example.org", ""},
    {"https://example.org:8443", "https://example.org:8443", ""},
    {"http://127.0.0.1:8080/", "http://127.0.0.1:8080", ""},
    {"http://[::1]:8080", "http://[::1]:8080", ""},
    {"http://xn--caf-dma.example", "http://xn--caf-dma.example", ""},
    {"www.example.org", nullptr, "does not start with http:// or https://"},
    {"javascript:alert(1)", nullptr, "does not start with http:// or https://"},
    {"ftp://example.org", nullptr, "does not start with http:// or https://"},
    {"https://example.org/levels", nullptr, "has a path, query or fragment (/levels)"},
    {"https://example.org//", nullptr, "has a path"},
    {"https://example.org?x=1", nullptr, "has a path"},
    {"https://example.org#top", nullptr, "has a path"},
    {"https://user@example.org", nullptr, "names a user"},
    {"https://example.org:0", nullptr, "no port from 1 to 65535"},
    {"https://example.org:65536", nullptr, "no port from 1 to 65535"},
    {"https://example.org:", nullptr, "no port from 1 to 65535"},
    {"https://", nullptr, "no valid host name"},
    {"https://exa mple.org", nullptr, "no valid host name"},
    {"https://-example.org", nullptr, "no valid host name"},
    {"https://example..org", nullptr, "no valid host name"},
    {"https://ex\"><script>.org", nullptr, "no valid host name"},
    {"https://café.example", nullptr, "xn-- form"},
};

TEST(PublicAddressTest, IsNormalisedOrRefusedWithTheReason) {
  for (const AddressCase& c : AddressCases) {
    SCOPED_TRACE(c.configured);
    const auto result = NormalisedPublicAddress(c.configured);
    if (c.normalised != nullptr) {
      ASSERT_TRUE(std::holds_alternative<std::string>(result))
          << std::get<AddressError>(result).reason;
      EXPECT_EQ(std::get<std::string>(result), c.normalised);
    } else {
      ASSERT_TRUE(std::holds_alternative<AddressError>(result)) << std::get<std::string>(result);
      const std::string& reason = std::get<AddressError>(result).reason;
      EXPECT_TRUE(Contains(reason, c.reason)) << reason;
      EXPECT_TRUE(Contains(reason, "KORVALO_PUBLIC_ADDRESS")) << reason;
    }
  }
}

// ------------------------------------------------------------ health

TEST(HealthTest, AnswersOkOnlyWhenEveryCheckPasses) {
  struct HealthCase {
    const char* target;
    std::vector<std::optional<std::string>> failures;  // one check each
    int status;
    const char* body;
  };
  const HealthCase cases[] = {
      {"/health", {}, 200, "ok\n"},
      {"/health?from=balancer", {std::nullopt}, 200, "ok\n"},
      {"/health",
       {std::nullopt, std::string("no answer in 2 s")},
       503,
       "check1: no answer in 2 s\n"},
  };
  for (const HealthCase& c : cases) {
    SCOPED_TRACE(c.target);
    SiteAnswers answers(PublicAddress);
    for (std::size_t i = 0; i < c.failures.size(); ++i)
      answers.AddHealthCheck(
          {"check" + std::to_string(i), [failure = c.failures[i]] { return failure; }});
    Request request;
    request.target = c.target;
    const HttpResponse response = answers.Respond(request);
    EXPECT_EQ(response.status, c.status);
    EXPECT_EQ(response.body, c.body);
    EXPECT_EQ(response.Header("Cache-Control"), "no-store");
    ExpectSiteHeaders(response);
  }
}

// ------------------------------------------------------------ output

TEST(ResponderOutputTest, StatusLineHeadersAndBodyExceptForHead) {
  const HttpResponse response = Get(std::string("s=") + TwoMoves);
  const std::string get = ResponderOutput(response, false);
  const std::string head = ResponderOutput(response, true);
  EXPECT_EQ(get.rfind("Status: 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n", 0), 0u);
  const std::size_t end = get.find("\r\n\r\n");
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(get.substr(end + 4), response.body);
  EXPECT_EQ(head, get.substr(0, end + 4));
  EXPECT_TRUE(Contains(head, "Content-Length: " + std::to_string(response.body.size()) + "\r\n"));
  EXPECT_TRUE(Contains(head, "ETag: " + response.Header("ETag") + "\r\n"));
}

TEST(ResponderOutputTest, TheTimeInTheDatabaseGoesToTheWebServerOnlyWhenThereIsSome) {
  HttpResponse response = Get(std::string("s=") + TwoMoves);
  EXPECT_FALSE(Contains(ResponderOutput(response, false), "X-Korvalo-Database-Microseconds"));
  response.databaseMicroseconds = 1234;
  EXPECT_TRUE(
      Contains(ResponderOutput(response, true), "\r\nX-Korvalo-Database-Microseconds: 1234\r\n"));
}

TEST(ResponderOutputTest, TheInternalErrorCarriesTheSiteHeadersAndNoRequest) {
  const HttpResponse error = InternalError();
  EXPECT_EQ(error.status, 500);
  EXPECT_EQ(error.Header("Cache-Control"), "no-store");
  ExpectSiteHeaders(error);
}

}  // namespace
