#include "server/store_answers.h"

#include <charconv>
#include <cstdio>
#include <ctime>

#include "logic/json.h"
#include "logic/level_code.h"
#include "server/attempts.h"
#include "server/gallery_pages.h"
#include "server/publishing.h"
#include "server/secrets.h"

namespace {

constexpr const char* JsonType = "application/json";
constexpr const char* HtmlType = "text/html; charset=utf-8";
constexpr const char* CachedForAMinute = "public, max-age=60";
constexpr const char* NotCached = "no-store";

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

HttpResponse Json(int status, const char* reason, std::string body,
                  const char* caching = NotCached) {
  return AnswerWithBody(status, reason, JsonType, std::move(body) + "\n", caching);
}

HttpResponse ApiError(int status, const char* reason, std::string_view text) {
  return Json(status, reason, "{\"error\":" + JsonQuoted(text) + "}");
}

HttpResponse NotAllowed(const char* allowed, bool json) {
  HttpResponse response =
      json ? ApiError(405, "Method Not Allowed", std::string("This address takes ") + allowed + ".")
           : AnswerWithBody(405, "Method Not Allowed", HtmlType,
                            StoreMessagePage("Not allowed", std::string("This address takes ") +
                                                                allowed + " only."),
                            NotCached);
  response.headers.emplace_back("Allow", allowed);
  return response;
}

HttpResponse HtmlMessage(int status, const char* reason, std::string_view title,
                         std::string_view text) {
  return AnswerWithBody(status, reason, HtmlType, StoreMessagePage(title, text), NotCached);
}

bool IsRead(const Request& request) { return request.method == "GET" || request.method == "HEAD"; }

/// The answer past a client's limit, naming what it sent too much of.
HttpResponse TooMany(std::string_view what) {
  HttpResponse response =
      ApiError(429, "Too Many Requests",
               "Too many " + std::string(what) + " from here this hour; try again later.");
  response.headers.emplace_back("Retry-After", "600");
  return response;
}

/// The edit token of "Authorization: Bearer TOKEN"; empty when there is none.
std::string BearerToken(std::string_view authorization) {
  constexpr std::string_view Scheme = "Bearer ";
  if (!StartsWith(authorization, Scheme)) return {};
  std::string_view token = authorization.substr(Scheme.size());
  while (!token.empty() && token.front() == ' ') token.remove_prefix(1);
  while (!token.empty() && token.back() == ' ') token.remove_suffix(1);
  if (token.size() != 32 || token.find_first_not_of("0123456789abcdef") != std::string_view::npos)
    return {};
  return std::string(token);
}

HttpResponse Removed(Removal removal, std::string_view what) {
  switch (removal) {
    case Removal::Removed: return AnswerWithBody(204, "No Content", JsonType, "", NotCached);
    case Removal::WrongToken:
      return ApiError(403, "Forbidden", "The edit token is not this " + std::string(what) + "'s.");
    case Removal::InSet:
      return ApiError(409, "Conflict",
                      "The level belongs to a published set; remove the set first.");
    case Removal::NotFound: break;
  }
  return ApiError(404, "Not Found", "No such " + std::string(what) + " is published.");
}

/// A set's id: 16 lowercase hexadecimal digits.
bool IsSetId(std::string_view id) {
  return id.size() == 16 && id.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

/// The value of one parameter of a query; nullopt when absent. Only the
/// gallery's own plain parameters are read (letters, digits and the dot).
std::optional<std::string_view> QueryValue(std::string_view query, std::string_view name) {
  while (!query.empty()) {
    const std::size_t end = query.find('&');
    const std::string_view part = query.substr(0, end);
    query = end == std::string_view::npos ? std::string_view() : query.substr(end + 1);
    if (part.size() > name.size() && StartsWith(part, name) && part[name.size()] == '=')
      return part.substr(name.size() + 1);
  }
  return std::nullopt;
}

/// "VALUE.CODE" of a gallery address; nullopt when it is not one.
std::optional<GalleryKey> ReadKey(std::string_view text) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos || dot == 0 || dot > 19) return std::nullopt;
  GalleryKey key;
  const auto [end, error] = std::from_chars(text.data(), text.data() + dot, key.value);
  if (error != std::errc() || end != text.data() + dot) return std::nullopt;
  key.code = std::string(text.substr(dot + 1));
  if (key.code.empty() || key.code.size() > 40 ||
      key.code.find_first_not_of("0123456789abcdef") != std::string::npos)
    return std::nullopt;
  return key;
}

}  // namespace

StoreAnswers::StoreAnswers(Database& database, std::string site, StoreLimits limits)
    : m_database(database),
      m_store(database),
      m_plays(database),
      m_site(std::move(site)),
      m_publications(limits.publications, limits.windowSeconds),
      m_reports(limits.reports, limits.windowSeconds),
      m_records(limits.attempts, limits.windowSeconds) {}

std::optional<HttpResponse> StoreAnswers::Respond(const Request& request) {
  return Respond(request, std::time(nullptr));
}

std::optional<HttpResponse> StoreAnswers::Respond(const Request& request, std::int64_t now) {
  const std::size_t question = request.target.find('?');
  const std::string_view path = std::string_view(request.target).substr(0, question);
  const std::string_view query = question == std::string::npos
                                     ? std::string_view()
                                     : std::string_view(request.target).substr(question + 1);
  const bool api = StartsWith(path, "/api/");
  try {
    if (api) return Api(request, path.substr(5), now);
    if (path == "/gallery" || path == "/gallery/") return Gallery(request, query);
    if (StartsWith(path, "/levels/")) return Entry(request, path.substr(8));
    if (StartsWith(path, "/sets/")) return Set(request, path.substr(6));
  } catch (const DatabaseError& error) {
    // The reason goes to no visitor, only to the log: it may name the
    // database's address.
    HttpResponse response =
        api ? ApiError(503, "Service Unavailable", "The site's levels cannot be reached just now.")
            : HtmlMessage(503, "Service Unavailable", "Try again in a moment",
                          "The site's levels cannot be reached just now.");
    response.headers.emplace_back("Retry-After", "5");
    response.failure = error.what();
    return response;
  }
  return std::nullopt;
}

std::optional<PublishedLink> StoreAnswers::EntryLink(const std::string& code) {
  const std::optional<std::string> canonical = CanonicalCodeOf(code);
  if (!canonical) return std::nullopt;
  const std::optional<PublishedLevel> level = m_store.FindLevel(*canonical);
  if (!level || level->hidden) return std::nullopt;
  return PublishedLink{EntryAddress("", level->code), level->title};
}

HttpResponse StoreAnswers::Api(const Request& request, std::string_view path, std::int64_t now) {
  if (path == "levels" || StartsWith(path, "levels/"))
    return LevelsApi(request, path.substr(6), now);
  if (path == "sets" || StartsWith(path, "sets/")) return SetsApi(request, path.substr(4), now);
  if (path == "attempts") {
    if (request.method != "POST") return NotAllowed("POST", true);
    return RecordAttempt(request, now);
  }
  if (StartsWith(path, "sessions/")) {
    if (request.method != "DELETE") return NotAllowed("DELETE", true);
    return ForgetSession(request, path.substr(9), now);
  }
  return ApiError(404, "Not Found", "The API has no such address.");
}

namespace {

/// How people fared on the level, as members of its JSON object.
std::string FiguresJson(const LevelFigures& figures) {
  const auto number = [](double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return std::string(text);
  };
  return ",\"plays\":" + std::to_string(figures.plays) +
         ",\"solved_first\":" + number(figures.SolvedFirst(), 3) + ",\"median_seconds\":" +
         (figures.medianSeconds ? std::to_string(*figures.medianSeconds) : "null") +
         ",\"rating\":" + number(figures.rating.rating, 1) +
         ",\"deviation\":" + number(figures.rating.deviation, 1) +
         ",\"provisional\":" + (IsSettled(figures.rating) ? "false" : "true") +
         ",\"likes\":" + std::to_string(figures.likes) +
         ",\"dislikes\":" + std::to_string(figures.dislikes);
}

}  // namespace

std::string StoreAnswers::LevelJson(const PublishedLevel& level) {
  std::string sets;
  for (const PublishedSet& set : m_store.SetsHolding(level.code))
    sets += std::string(sets.empty() ? "" : ",") + "{\"id\":" + JsonQuoted(set.id) +
            ",\"title\":" + JsonQuoted(set.title) +
            ",\"address\":" + JsonQuoted(SetAddress(m_site, set.id)) + "}";
  return "{\"code\":" + JsonQuoted(level.code) + ",\"size\":" + std::to_string(level.boardSize) +
         ",\"moves\":" + std::to_string(level.moves) + ",\"grade\":" + std::to_string(level.grade) +
         ",\"title\":" + JsonQuoted(level.title) + ",\"author\":" + JsonQuoted(level.author) +
         ",\"description\":" + JsonQuoted(level.description) +
         ",\"published\":" + std::to_string(level.published) +
         ",\"address\":" + JsonQuoted(EntryAddress(m_site, level.code)) +
         ",\"play\":" + JsonQuoted(LevelAddress(m_site, level.code)) +
         ",\"picture\":" + JsonQuoted(PictureAddress(m_site, level.code)) +
         FiguresJson(m_plays.Figures(level.code)) + ",\"sets\":[" + sets + "]}";
}

HttpResponse StoreAnswers::LevelsApi(const Request& request, std::string_view rest,
                                     std::int64_t now) {
  if (rest.empty()) {
    if (request.method != "POST") return NotAllowed("POST", true);
    return PublishLevel(request, now);
  }
  rest.remove_prefix(1);  // the slash
  const std::size_t slash = rest.find('/');
  const std::optional<std::string> code = CanonicalCodeOf(rest.substr(0, slash));
  if (slash != std::string_view::npos) {
    const std::string_view tail = rest.substr(slash);
    if ((tail != "/reports" && tail != "/votes") || !code)
      return ApiError(404, "Not Found", "The API has no such address.");
    if (request.method != "POST") return NotAllowed("POST", true);
    if (tail == "/votes") return VoteOnLevel(request, *code, now);
    return ReportLevel(request, *code, now);
  }
  if (!code) return ApiError(404, "Not Found", "That is no level code.");
  if (request.method == "DELETE") {
    const std::string token = BearerToken(request.authorization);
    if (token.empty())
      return ApiError(401, "Unauthorized",
                      "Removing a level needs its edit token (Authorization: Bearer TOKEN).");
    return Removed(m_store.RemoveLevel(*code, Sha256Hex(token)), "level");
  }
  if (!IsRead(request)) return NotAllowed("GET, HEAD, DELETE", true);
  const std::optional<PublishedLevel> level = m_store.FindLevel(*code);
  if (!level || level->hidden) return ApiError(404, "Not Found", "No such level is published.");
  return WithValidator(Json(200, "OK", LevelJson(*level), CachedForAMinute), request);
}

HttpResponse StoreAnswers::PublishLevel(const Request& request, std::int64_t now) {
  if (!m_publications.Allow(request.clientAddress, now)) return TooMany("publications");
  auto read = ReadLevelPublication(request.body, now);
  if (const auto* refusal = std::get_if<Refusal>(&read))
    return ApiError(400, "Bad Request", refusal->reason);
  const std::string token = NewEditToken();
  const PublishOutcome outcome =
      m_store.PublishLevel({std::get<PublishedLevel>(read), Sha256Hex(token)});
  if (outcome.level.hidden) return ApiError(409, "Conflict", "This level was taken off the site.");
  const std::string address = EntryAddress(m_site, outcome.level.code);
  std::string body = "{\"code\":" + JsonQuoted(outcome.level.code) +
                     ",\"address\":" + JsonQuoted(address) +
                     ",\"play\":" + JsonQuoted(LevelAddress(m_site, outcome.level.code)) +
                     ",\"existing\":" + (outcome.stored ? "false" : "true");
  // The token is given once, to whoever published the level first.
  if (outcome.stored) body += ",\"token\":" + JsonQuoted(token);
  HttpResponse response =
      outcome.stored ? Json(201, "Created", body + "}") : Json(200, "OK", body + "}");
  response.headers.emplace_back("Location", address);
  return response;
}

HttpResponse StoreAnswers::ReportLevel(const Request& request, const std::string& code,
                                       std::int64_t now) {
  if (!m_reports.Allow(request.clientAddress, now)) return TooMany("reports");
  auto reason = ReadReport(request.body);
  if (const auto* refusal = std::get_if<Refusal>(&reason))
    return ApiError(400, "Bad Request", refusal->reason);
  if (!m_store.AddReport(code, m_reports.ClientName(request.clientAddress, now),
                         std::get<std::string>(reason), now))
    return ApiError(404, "Not Found", "No such level is published.");
  return Json(202, "Accepted", "{\"reported\":true}");
}

HttpResponse StoreAnswers::RecordAttempt(const Request& request, std::int64_t now) {
  if (!m_records.Allow(request.clientAddress, now))
    return TooMany("play records, likes or deletions");
  auto read = ReadAttempt(request.body);
  if (const auto* refusal = std::get_if<Refusal>(&read))
    return ApiError(400, "Bad Request", refusal->reason);
  switch (m_plays.Record(std::get<AttemptRecord>(read))) {
    case RecordOutcome::Rated: return Json(202, "Accepted", "{\"recorded\":true,\"rated\":true}");
    case RecordOutcome::Counted:
      return Json(202, "Accepted", "{\"recorded\":true,\"rated\":false}");
    case RecordOutcome::NoLevel: break;
  }
  return ApiError(404, "Not Found", "No such level is published.");
}

HttpResponse StoreAnswers::VoteOnLevel(const Request& request, const std::string& code,
                                       std::int64_t now) {
  if (!m_records.Allow(request.clientAddress, now))
    return TooMany("play records, likes or deletions");
  auto read = ReadVote(request.body);
  if (const auto* refusal = std::get_if<Refusal>(&read))
    return ApiError(400, "Bad Request", refusal->reason);
  const VoteRequest& vote = std::get<VoteRequest>(read);
  switch (m_plays.Vote(code, vote.session, vote.vote)) {
    case VoteOutcome::Taken: return Json(202, "Accepted", "{\"voted\":true}");
    case VoteOutcome::AlreadyVoted:
      return ApiError(409, "Conflict", "This session has liked or disliked the level already.");
    case VoteOutcome::NoLevel: break;
  }
  return ApiError(404, "Not Found", "No such level is published.");
}

HttpResponse StoreAnswers::ForgetSession(const Request& request, std::string_view session,
                                         std::int64_t now) {
  if (!m_records.Allow(request.clientAddress, now))
    return TooMany("play records, likes or deletions");
  if (!IsSessionId(session))
    return ApiError(404, "Not Found", "A session is 32 lowercase hexadecimal digits.");
  const int forgotten = m_plays.ForgetSession(std::string(session));
  return Json(200, "OK", "{\"deleted\":" + std::to_string(forgotten) + "}");
}

HttpResponse StoreAnswers::SetsApi(const Request& request, std::string_view rest,
                                   std::int64_t now) {
  if (rest.empty()) {
    if (request.method != "POST") return NotAllowed("POST", true);
    return PublishSet(request, now);
  }
  const std::string_view id = rest.substr(1);
  if (!IsSetId(id)) return ApiError(404, "Not Found", "No such set is published.");
  if (request.method == "DELETE") {
    const std::string token = BearerToken(request.authorization);
    if (token.empty())
      return ApiError(401, "Unauthorized",
                      "Removing a set needs its edit token (Authorization: Bearer TOKEN).");
    return Removed(m_store.RemoveSet(std::string(id), Sha256Hex(token)), "set");
  }
  if (!IsRead(request)) return NotAllowed("GET, HEAD, DELETE", true);
  const std::optional<PublishedSet> set = m_store.FindSet(std::string(id));
  if (!set || set->hidden) return ApiError(404, "Not Found", "No such set is published.");
  std::string levels;
  for (const PublishedSetLevel& level : set->levels)
    levels += std::string(levels.empty() ? "" : ",") + "{\"code\":" + JsonQuoted(level.code) +
              ",\"title\":" + JsonQuoted(level.title) +
              ",\"play\":" + JsonQuoted(LevelAddress(m_site, level.code)) + "}";
  return WithValidator(
      Json(200, "OK",
           "{\"id\":" + JsonQuoted(set->id) + ",\"title\":" + JsonQuoted(set->title) +
               ",\"author\":" + JsonQuoted(set->author) + ",\"description\":" +
               JsonQuoted(set->description) + ",\"published\":" + std::to_string(set->published) +
               ",\"address\":" + JsonQuoted(SetAddress(m_site, set->id)) + ",\"levels\":[" +
               levels + "]}",
           CachedForAMinute),
      request);
}

HttpResponse StoreAnswers::PublishSet(const Request& request, std::int64_t now) {
  if (!m_publications.Allow(request.clientAddress, now)) return TooMany("publications");
  auto read = ReadSetPublication(request.body, now);
  if (const auto* refusal = std::get_if<Refusal>(&read))
    return ApiError(400, "Bad Request", refusal->reason);
  const SetSubmission& submission = std::get<SetSubmission>(read);
  for (const PublishedLevel& level : submission.levels) {
    const std::optional<PublishedLevel> there = m_store.FindLevel(level.code);
    if (there && there->hidden)
      return ApiError(409, "Conflict",
                      "Level " + level.code + " of the set was taken off the site.");
  }
  const std::string token = NewEditToken();
  const std::string id = RandomHex(8);
  SetSubmission stored = submission;
  stored.tokenHash = Sha256Hex(token);
  m_store.PublishSet(id, stored);
  const std::string address = SetAddress(m_site, id);
  HttpResponse response = Json(201, "Created",
                               "{\"id\":" + JsonQuoted(id) + ",\"address\":" + JsonQuoted(address) +
                                   ",\"token\":" + JsonQuoted(token) + "}");
  response.headers.emplace_back("Location", address);
  return response;
}

HttpResponse StoreAnswers::Gallery(const Request& request, std::string_view query) {
  if (!IsRead(request)) return NotAllowed("GET, HEAD", false);
  const std::string_view view = QueryValue(query, "order").value_or("newest");
  std::optional<GalleryKey> after;
  if (const auto text = QueryValue(query, "after")) {
    after = ReadKey(*text);
    if (!after)
      return HtmlMessage(400, "Bad Request", "No such page", "The gallery has no such page.");
  }
  std::string html;
  if (view == "sets") {
    html = GallerySetsPage(m_store.Sets(after, GalleryPageSize), !after);
  } else {
    GalleryOrder order;
    if (view == "newest")
      order = GalleryOrder::Newest;
    else if (view == "longest")
      order = GalleryOrder::Longest;
    else if (view == "grade")
      order = GalleryOrder::Grade;
    else if (view == "rating")
      order = GalleryOrder::Rating;
    else if (view == "popular")
      order = GalleryOrder::Popularity;
    else
      return HtmlMessage(400, "Bad Request", "No such page", "The gallery has no such order.");
    const GalleryPage page = m_store.Gallery(order, after, GalleryPageSize);
    std::vector<LevelFigures> figures;
    for (const PublishedLevel& level : page.levels) figures.push_back(m_plays.Figures(level.code));
    html = GalleryLevelsPage(view, page, figures, !after);
  }
  return WithValidator(AnswerWithBody(200, "OK", HtmlType, std::move(html), CachedForAMinute),
                       request);
}

HttpResponse StoreAnswers::Entry(const Request& request, std::string_view code) {
  if (!IsRead(request)) return NotAllowed("GET, HEAD", false);
  const std::optional<std::string> canonical = CanonicalCodeOf(code);
  if (!canonical)
    return HtmlMessage(404, "Not Found", "No such level", "This address names no level code.");
  if (*canonical != code) {
    const std::string target = EntryAddress("", *canonical);
    HttpResponse moved =
        AnswerWithBody(301, "Moved Permanently", HtmlType, MovedPage(target), CachedForAMinute);
    moved.headers.emplace_back("Location", target);
    return moved;
  }
  const std::optional<PublishedLevel> level = m_store.FindLevel(*canonical);
  if (!level || level->hidden)
    return HtmlMessage(404, "Not Found", "Not published",
                       "This level is not published on this site; its page still plays it.");
  return WithValidator(AnswerWithBody(200, "OK", HtmlType,
                                      EntryPage(*level, m_store.SetsHolding(level->code),
                                                m_plays.Figures(level->code)),
                                      CachedForAMinute),
                       request);
}

HttpResponse StoreAnswers::Set(const Request& request, std::string_view id) {
  if (!IsRead(request)) return NotAllowed("GET, HEAD", false);
  std::optional<PublishedSet> set;
  if (IsSetId(id)) set = m_store.FindSet(std::string(id));
  if (!set || set->hidden || set->levels.empty())
    return HtmlMessage(404, "Not Found", "No such set", "No set is published at this address.");
  Level first;
  ParseLevelCode(first, set->levels[0].code);
  return WithValidator(
      AnswerWithBody(200, "OK", HtmlType, SetPage(*set, LevelFactsOf(std::move(first))),
                     CachedForAMinute),
      request);
}
