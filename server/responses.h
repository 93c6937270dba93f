#pragma once
// What the worker answers, worked out from the request's method, address and
// If-None-Match (and, for the published levels' API, its body, edit token and
// client address): the worker holds no state but its drawing buffers and the
// database, so every machine on one database gives the same answers.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "picture/level_picture.h"
#include "server/query.h"

/// What the web server tells the worker about a request; nothing else of it is read.
struct Request {
  std::string method = "GET";  // REQUEST_METHOD
  std::string target;          // REQUEST_URI: the path and query as the client sent them
  std::string ifNoneMatch;     // the If-None-Match header
  // For the published levels' API only:
  std::string body;           // at most MaxBodyBytes, read only for POST
  std::string authorization;  // the Authorization header, for an edit token
  std::string clientAddress;  // REMOTE_ADDR, for the publishing limit; never stored
};

struct HttpResponse {
  int status = 200;
  std::string reason = "OK";
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  /// The time the answer spent in the database, for the site's metrics: it
  /// goes to the web server in a header of its own, which no client sees.
  long databaseMicroseconds = 0;
  /// Why an answer tells of a failure, for the worker's log only (its body
  /// says it to the visitor in words that give nothing away); empty when the
  /// body says it all.
  std::string failure{};
  /// The value of the header; empty when the answer has none.
  std::string Header(std::string_view name) const;
};

struct HeaderField {
  std::string_view name;
  std::string_view value;
};

/// The headers every answer of the site carries, the server's own error pages
/// included (server/site_headers.txt): a policy that allows the site's own
/// scripts, style sheet and images only, and so on.
std::span<const HeaderField> SiteHeaders();

/// The value of one of the site headers.
std::string_view SiteHeader(std::string_view name);

class StoreAnswers;
struct PublishedLink;

/// Something the service depends on, asked at the health address: its name,
/// and a check that says why it fails, or nullopt when it works.
struct HealthCheck {
  std::string name;
  std::function<std::optional<std::string>()> failure;
};

/// The answers of the sharing page. Built once per worker; `siteAddress` is
/// the normalised public address (NormalisedPublicAddress), or empty for
/// links relative to the site.
class SiteAnswers {
 public:
  explicit SiteAnswers(std::string siteAddress);
  /// With the published levels: the API, the gallery and the set pages, and
  /// the level pages' links to their published entries.
  SiteAnswers(std::string siteAddress, StoreAnswers* store);

  /// The answer to one request: the level's page, picture or compact page at
  /// its canonical address (or 304 when If-None-Match names it), a 301 to the
  /// canonical address from any other address of a level, 400 for an address
  /// that names no level, 405 for a method other than GET and HEAD.
  /// The health address (/health) answers 200 when every check passes, else
  /// 503 with the failures. With the published levels the answer carries the
  /// time it spent in the database, and the health address asks the database.
  HttpResponse Respond(const Request& request);

  /// Adds a check that the health address runs.
  void AddHealthCheck(HealthCheck check);

  const std::string& siteAddress() const { return m_site; }
  /// The published levels' answers; null without a database.
  StoreAnswers* store() const { return m_store; }

 private:
  HttpResponse AnswerOf(const Request& request);
  HttpResponse Answered(Level level, Answer kind, std::optional<PublishedLink> published);
  /// The level's published entry; nullopt without one, or when the database fails.
  std::optional<PublishedLink> PublishedEntry(const std::string& code);
  HttpResponse Picture(Level level);
  HttpResponse Health() const;

  std::string m_site;
  StoreAnswers* m_store = nullptr;
  LevelPictures m_pictures;
  std::vector<HealthCheck> m_healthChecks;
};

struct LevelFacts;
/// What the level's pages say about it: its code, shortest solution and the game's status lines.
LevelFacts LevelFactsOf(Level level);

/// An answer with a body: its type, length, caching and the site's headers.
HttpResponse AnswerWithBody(int status, const char* reason, const char* type, std::string body,
                            const char* caching);

/// The answer with its strong validator (ETag), or 304 without its body when
/// If-None-Match names it.
HttpResponse WithValidator(HttpResponse answer, const Request& request);

/// Has the C library keep the memory that an answer frees for the next one
/// (mallopt), instead of giving it back to the system and taking it anew,
/// which costs page faults: the solver's tables and the picture's buffers are
/// hundreds of kilobytes, allocated for every answer. A worker holds at most
/// what its largest answer needed (a few megabytes). Called once, at the start.
void KeepFreedMemoryForTheNextAnswer();

/// The 413 answer for a request body over MaxBodyBytes.
HttpResponse TooLarge();

/// The 500 answer for when working out an answer failed (out of memory):
/// nothing of the request in it.
HttpResponse InternalError();

/// The answer as a CGI or FastCGI responder writes it: a Status line, the
/// headers (with X-Korvalo-Database-Microseconds when the answer asked the
/// database) and the body; no body for HEAD.
std::string ResponderOutput(const HttpResponse& response, bool head);
