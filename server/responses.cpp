#include "server/responses.h"

#include <malloc.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <variant>

#include "drawing/board_drawing.h"
#include "korvalo_constants.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "picture/level_picture.h"
#include "play/game_state.h"
#include "server/gallery_pages.h"
#include "server/pages.h"
#include "server/query.h"
#include "server/site_headers.h"
#include "server/store_answers.h"

namespace {

// A canonical picture never changes: caches may keep it for a year; a page
// is revalidated before each use (CachingOf). A redirect to the canonical
// address is kept a day, so that a change of the canonical form could reach
// caches; answers that name no level are not kept at all. The tags change
// with the version: a release that changes what korvz answers has a new one.
constexpr const char* CachedForever = "public, max-age=31536000, immutable";
constexpr const char* CachedForADay = "public, max-age=86400";
constexpr const char* Revalidated = "public, no-cache";
constexpr const char* NotCached = "no-store";
constexpr const char* HtmlType = "text/html; charset=utf-8";
constexpr const char* PlainTextType = "text/plain; charset=utf-8";

/// Where the web server sends its health checks (server/lighttpd.conf.in).
constexpr std::string_view HealthPath = KORVALO_HEALTH_PATH;

std::string_view PathOf(std::string_view target) { return target.substr(0, target.find('?')); }

void AddSiteHeaders(HttpResponse& response) {
  for (const HeaderField& field : SiteHeaders())
    response.headers.emplace_back(std::string(field.name), std::string(field.value));
}

/// An answer with a body: its type, length, caching and the site's headers.
HttpResponse WithBody(int status, const char* reason, const char* type, std::string body,
                      const char* caching) {
  HttpResponse response{status, reason, {}, std::move(body)};
  response.headers = {{"Content-Type", type},
                      {"Content-Length", std::to_string(response.body.size())},
                      {"Cache-Control", caching}};
  AddSiteHeaders(response);
  return response;
}

HttpResponse BadRequest(const std::string& reason) {
  return WithBody(400, "Bad Request", HtmlType, BadRequestPage(reason), NotCached);
}

HttpResponse MethodNotAllowed() {
  HttpResponse response =
      WithBody(405, "Method Not Allowed", HtmlType, MethodNotAllowedPage(), NotCached);
  response.headers.emplace_back("Allow", "GET, HEAD");
  return response;
}

HttpResponse MovedTo(const std::string& target) {
  HttpResponse response =
      WithBody(301, "Moved Permanently", HtmlType, MovedPage(target), CachedForADay);
  response.headers.emplace_back("Location", target);
  return response;
}

/// Why the code names no level; nullopt when it does. Characters after the
/// last wall digit, which the editor's reader would ignore, are refused here:
/// they are more likely a mangled address than a level.
std::optional<std::string> CodeObjection(const std::string& code, const ParseResult& parsed,
                                         int boardSize) {
  const std::string shown = code.size() > 40 ? code.substr(0, 40) + "..." : code;
  if (!parsed.accepted)
    return "The level code \"" + shown + "\" cannot be read: " + EnglishReason(parsed.reason) + ".";
  const std::size_t length = LevelCodeLength(boardSize);
  if (code.size() != length)
    return "The level code \"" + shown + "\" has " + std::to_string(code.size()) +
           " characters; a " + std::to_string(boardSize) + " x " + std::to_string(boardSize) +
           " level code has " + std::to_string(length) + ".";
  return std::nullopt;
}

/// A strong validator: the version and a 64-bit FNV-1a hash of the parts the
/// answer depends on. A canonical answer's parts are known before it is
/// worked out (the site's public address, the canonical address, the level's
/// published entry), so a 304 costs no drawing and every machine gives the
/// same tag; a published level's answer hashes its own bytes.
std::string EntityTag(std::initializer_list<std::string_view> parts) {
  std::uint64_t hash = 14695981039346656037ull;
  const auto mix = [&hash](std::string_view bytes) {
    for (char c : bytes) {
      hash ^= static_cast<unsigned char>(c);
      hash *= 1099511628211ull;
    }
    // A byte no part holds ends each part, so that no two splits of the same
    // bytes mix alike.
    hash ^= 0xffu;
    hash *= 1099511628211ull;
  };
  mix(KorvaloVersion);
  for (std::string_view part : parts) mix(part);
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
  std::string tag = "\"";
  tag += KorvaloVersion;
  tag += '-';
  tag += digits;
  tag += '"';
  return tag;
}

/// Whether If-None-Match names the tag: "*", or a list of tags compared as
/// RFC 9110 says for this header (a weak W/ tag matches its strong form).
/// The tag of a compressed answer, which lighttpd sends with -gzip or
/// -deflate inside its quotes, names the same answer.
bool NamesTag(std::string_view ifNoneMatch, std::string_view tag) {
  while (!ifNoneMatch.empty()) {
    const std::size_t comma = ifNoneMatch.find(',');
    std::string_view item = ifNoneMatch.substr(0, comma);
    ifNoneMatch = comma == std::string_view::npos ? "" : ifNoneMatch.substr(comma + 1);
    while (!item.empty() && (item.front() == ' ' || item.front() == '\t')) item.remove_prefix(1);
    while (!item.empty() && (item.back() == ' ' || item.back() == '\t')) item.remove_suffix(1);
    if (item.substr(0, 2) == "W/") item.remove_prefix(2);
    if (item == "*" || item == tag) return true;
    for (std::string_view coding : {"-gzip\"", "-deflate\""}) {
      if (item.size() == tag.size() - 1 + coding.size() &&
          item.substr(0, tag.size() - 1) == tag.substr(0, tag.size() - 1) &&
          item.substr(tag.size() - 1) == coding)
        return true;
    }
  }
  return false;
}

/// The answer with a tag of its bytes, or 304 without its body when the client holds it.
HttpResponse Canonical(HttpResponse answer, const Request& request) {
  const std::string tag = EntityTag({answer.body});
  if (NamesTag(request.ifNoneMatch, tag)) {
    HttpResponse notModified{304,
                             "Not Modified",
                             {{"ETag", tag}, {"Cache-Control", answer.Header("Cache-Control")}},
                             {}};
    AddSiteHeaders(notModified);
    return notModified;
  }
  answer.headers.emplace_back("ETag", tag);
  return answer;
}

/// The compact page is made to be put in a frame on any site; every other
/// answer's policy denies frames (server/site_headers.txt).
void AllowAnyFrame(HttpResponse& response) {
  constexpr std::string_view denied = "frame-ancestors 'none'";
  for (auto& [name, value] : response.headers) {
    const std::size_t at =
        name == "Content-Security-Policy" ? value.find(denied) : std::string::npos;
    if (at != std::string::npos) value.replace(at, denied.size(), "frame-ancestors *");
  }
}

/// How long caches keep a canonical answer. A picture never changes. A page
/// names the scripts of its version's asset folder, which the next release
/// replaces: caches keep it but ask again (a 304, cheap) before each use.
const char* CachingOf(Answer answer) {
  return answer == Answer::Picture ? CachedForever : Revalidated;
}

}  // namespace

HttpResponse AnswerWithBody(int status, const char* reason, const char* type, std::string body,
                            const char* caching) {
  return WithBody(status, reason, type, std::move(body), caching);
}

HttpResponse WithValidator(HttpResponse answer, const Request& request) {
  return Canonical(std::move(answer), request);
}

LevelFacts LevelFactsOf(Level level) {
  LevelFacts facts;
  facts.code = WriteLevelCode(level);
  facts.boardSize = level.boardSize;
  const GameState game(std::move(level));
  facts.shortest = game.ShortestFromStart();
  facts.statusLines = StatusLines(game);
  const Rect area = BoardArea(facts.boardSize);
  facts.areaWidth = area.width;
  facts.areaHeight = area.height;
  return facts;
}

std::string HttpResponse::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (key == name) return value;
  return {};
}

std::span<const HeaderField> SiteHeaders() { return GeneratedSiteHeaders; }

std::string_view SiteHeader(std::string_view name) {
  for (const HeaderField& field : SiteHeaders())
    if (field.name == name) return field.value;
  return {};
}

SiteAnswers::SiteAnswers(std::string siteAddress) : m_site(std::move(siteAddress)) {}

SiteAnswers::SiteAnswers(std::string siteAddress, StoreAnswers* store)
    : m_site(std::move(siteAddress)), m_store(store) {
  if (m_store != nullptr)
    AddHealthCheck({"database", [store] { return store->database().HealthProblem(); }});
}

void SiteAnswers::AddHealthCheck(HealthCheck check) { m_healthChecks.push_back(std::move(check)); }

HttpResponse SiteAnswers::Respond(const Request& request) {
  if (m_store == nullptr) return AnswerOf(request);
  const Database& database = m_store->database();
  const std::chrono::nanoseconds before = database.TimeSpent();
  HttpResponse response = AnswerOf(request);
  response.databaseMicroseconds = static_cast<long>(
      std::chrono::duration_cast<std::chrono::microseconds>(database.TimeSpent() - before).count());
  return response;
}

HttpResponse SiteAnswers::AnswerOf(const Request& request) {
  // The health address comes first: it names no level and needs no database.
  if (PathOf(request.target) == HealthPath) {
    if (request.method != "GET" && request.method != "HEAD") return MethodNotAllowed();
    return Health();
  }
  if (m_store != nullptr) {
    if (auto answer = m_store->Respond(request)) return std::move(*answer);
  } else if (request.target.compare(0, SharingPagePath.size(), SharingPagePath) != 0) {
    // The published levels' addresses, on a worker without a database: the
    // gallery, which the site's pages link to, says so; the rest is not found.
    const bool gallery = request.target.compare(0, 8, "/gallery") == 0;
    return WithBody(gallery ? 200 : 404, gallery ? "OK" : "Not Found", HtmlType,
                    StoreMessagePage("The gallery", "This server keeps no published levels."),
                    NotCached);
  }
  if (request.method != "GET" && request.method != "HEAD") return MethodNotAllowed();
  const std::size_t question = request.target.find('?');
  const std::string_view query = question == std::string::npos
                                     ? std::string_view()
                                     : std::string_view(request.target).substr(question + 1);
  const std::variant<LevelQuery, QueryError> read = ReadQuery(query);
  if (const auto* error = std::get_if<QueryError>(&read)) return BadRequest(error->reason);
  const LevelQuery& wanted = std::get<LevelQuery>(read);

  Level level;
  const ParseResult parsed = ParseLevelCode(level, wanted.code);
  if (auto objection = CodeObjection(wanted.code, parsed, level.boardSize))
    return BadRequest(*objection);

  // One address per level: the code as the writer writes it (small letters,
  // border sides closed), the switch of the answer, nothing else.
  const std::string code = WriteLevelCode(level);
  const std::string canonical =
      std::string(SharingPagePath) + "?" + CanonicalQuery({code, wanted.answer});
  if (request.target != canonical) return MovedTo(canonical);

  // The level page links to the level's published entry, which may come and
  // go: the link is part of the page's tag. Pictures do not show it.
  std::optional<PublishedLink> published;
  if (wanted.answer == Answer::Page) published = PublishedEntry(code);
  const std::string tag = published
                              ? EntityTag({m_site, canonical, published->address, published->title})
                              : EntityTag({m_site, canonical});

  // The client's copy is current: 304, without working the answer out.
  const char* caching = CachingOf(wanted.answer);
  HttpResponse answer;
  if (NamesTag(request.ifNoneMatch, tag)) {
    answer = {304, "Not Modified", {{"ETag", tag}, {"Cache-Control", caching}}, {}};
    AddSiteHeaders(answer);
  } else {
    answer = Answered(std::move(level), wanted.answer, std::move(published));
    answer.headers.emplace_back("ETag", tag);
  }
  if (wanted.answer == Answer::Embedded) AllowAnyFrame(answer);
  return answer;
}

HttpResponse SiteAnswers::Answered(Level level, Answer kind,
                                   std::optional<PublishedLink> published) {
  switch (kind) {
    case Answer::Picture: return Picture(std::move(level));
    case Answer::Embedded:
      return WithBody(200, "OK", HtmlType,
                      EmbeddedLevelPage(LevelFactsOf(std::move(level)), m_site), Revalidated);
    case Answer::Page: break;
  }
  LevelFacts facts = LevelFactsOf(std::move(level));
  facts.published = std::move(published);
  return WithBody(200, "OK", HtmlType, LevelPage(facts, m_site), Revalidated);
}

std::optional<PublishedLink> SiteAnswers::PublishedEntry(const std::string& code) {
  if (m_store == nullptr) return std::nullopt;
  try {
    return m_store->EntryLink(code);
  } catch (const std::exception&) {
    // The level plays without its database: the page leaves the link out.
    return std::nullopt;
  }
}

/// The worker answers, so the pool works; then every check is asked.
HttpResponse SiteAnswers::Health() const {
  std::string failures;
  for (const HealthCheck& check : m_healthChecks)
    if (auto failure = check.failure()) failures += check.name + ": " + *failure + "\n";
  if (failures.empty()) return WithBody(200, "OK", PlainTextType, "ok\n", NotCached);
  return WithBody(503, "Service Unavailable", PlainTextType, failures, NotCached);
}

// The picture's lamp needs only whether there is a solution: one search, and
// no shortest solution.
HttpResponse SiteAnswers::Picture(Level level) {
  RecheckLevel(level);
  return WithBody(200, "OK", "image/png", m_pictures.Png(level), CachedForever);
}

void KeepFreedMemoryForTheNextAnswer() {
  // Blocks up to 32 MB come from the heap, and up to 64 MB of free heap is kept.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
}

HttpResponse TooLarge() {
  return WithBody(413, "Content Too Large", "application/json",
                  "{\"error\":\"The request is too large.\"}\n", NotCached);
}

HttpResponse InternalError() {
  return WithBody(500, "Internal Server Error", PlainTextType, "The level could not be served.\n",
                  NotCached);
}

std::string ResponderOutput(const HttpResponse& response, bool head) {
  std::string out = "Status: " + std::to_string(response.status) + " " + response.reason + "\r\n";
  for (const auto& [name, value] : response.headers) out += name + ": " + value + "\r\n";
  if (response.databaseMicroseconds > 0)
    out += "X-Korvalo-Database-Microseconds: " + std::to_string(response.databaseMicroseconds) +
           "\r\n";
  out += "\r\n";
  if (!head) out += response.body;
  return out;
}
