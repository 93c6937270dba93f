#pragma once
// The answers that come from the store: the JSON API of published levels and
// sets (/api/), the gallery (/gallery), a published level's entry
// (/levels/CODE) and a set's page (/sets/ID).

#include <cstdint>
#include <optional>
#include <string>

#include "server/pages.h"
#include "server/rate_limit.h"
#include "server/responses.h"
#include "server/store/level_store.h"
#include "server/store/play_records.h"

/// How much one client may do, per worker (see server/rate_limit.h).
struct StoreLimits {
  int publications = 60;  // levels and sets published
  int reports = 20;
  std::int64_t windowSeconds = 3600;
  int attempts = 2000;  // play records, likes and deletions of a session's records
};

/// Levels per page of the gallery.
inline constexpr int GalleryPageSize = 24;

class StoreAnswers {
 public:
  /// `site` as for SiteAnswers; the database's schema must be migrated.
  StoreAnswers(Database& database, std::string site, StoreLimits limits = {});

  /// The answer when the address is one of the store's; nullopt otherwise.
  std::optional<HttpResponse> Respond(const Request& request);
  std::optional<HttpResponse> Respond(const Request& request, std::int64_t now);

  /// The link to the published entry of the level (any form of its code).
  std::optional<PublishedLink> EntryLink(const std::string& code);

  /// The database, for the health check (Database::HealthProblem) and the
  /// metrics' database time (Database::TimeSpent).
  Database& database() const { return m_database; }

 private:
  HttpResponse Api(const Request& request, std::string_view path, std::int64_t now);
  HttpResponse LevelsApi(const Request& request, std::string_view rest, std::int64_t now);
  HttpResponse SetsApi(const Request& request, std::string_view rest, std::int64_t now);
  HttpResponse PublishLevel(const Request& request, std::int64_t now);
  HttpResponse PublishSet(const Request& request, std::int64_t now);
  HttpResponse ReportLevel(const Request& request, const std::string& code, std::int64_t now);
  HttpResponse RecordAttempt(const Request& request, std::int64_t now);
  HttpResponse VoteOnLevel(const Request& request, const std::string& code, std::int64_t now);
  HttpResponse ForgetSession(const Request& request, std::string_view session, std::int64_t now);
  HttpResponse Gallery(const Request& request, std::string_view query);
  HttpResponse Entry(const Request& request, std::string_view code);
  HttpResponse Set(const Request& request, std::string_view id);
  std::string LevelJson(const PublishedLevel& level);

  Database& m_database;
  LevelStore m_store;
  PlayRecords m_plays;
  std::string m_site;
  RateLimiter m_publications;
  RateLimiter m_reports;
  RateLimiter m_records;
};
