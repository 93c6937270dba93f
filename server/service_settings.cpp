#include "server/service_settings.h"

#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <string_view>

#include "server/site_address.h"

namespace {

/// The bounds of the pool. Each worker's socket keeps a backlog of 1024
/// connections (server/lighttpd.conf.in), so a queue up to that size never
/// overflows it.
constexpr long MostWorkers = 256;
constexpr long MostQueued = 1024;
/// Publications, and play records, per client and hour in each worker.
constexpr long MostPerHour = 100000;

std::optional<std::string> Required(std::string_view name, const char* value) {
  if (value == nullptr || *value == '\0')
    return std::string(name) + " is not set: the service needs it (see korvz --help)";
  return std::nullopt;
}

/// Why the value is no whole number from `least` to `most`; nullopt when it is one.
std::optional<std::string> NumberObjection(std::string_view name, const char* value, long least,
                                           long most) {
  if (auto missing = Required(name, value)) return missing;
  std::string_view digits(value);
  const bool allDigits =
      digits.size() <= 9 && digits.find_first_not_of("0123456789") == std::string_view::npos;
  const long number = allDigits ? std::strtol(value, nullptr, 10) : -1;
  if (!allDigits || number < least || number > most)
    return std::string(name) + " is \"" + std::string(digits.substr(0, 40)) +
           "\": it must be a whole number from " + std::to_string(least) + " to " +
           std::to_string(most);
  return std::nullopt;
}

std::optional<std::string> FolderObjection(std::string_view name, const char* value) {
  if (auto missing = Required(name, value)) return missing;
  struct stat found {};
  if (stat(value, &found) != 0 || !S_ISDIR(found.st_mode))
    return std::string(name) + " is \"" + value + "\", which is no folder";
  return std::nullopt;
}

/// KORVALO_DATABASE names an SQLite file by its absolute path, or holds a
/// postgresql:// address; empty or unset means no database.
std::optional<std::string> DatabaseObjection(const char* value) {
  if (value == nullptr || *value == '\0') return std::nullopt;
  const std::string_view database(value);
  if (database.rfind("postgresql://", 0) == 0 || database.rfind("postgres://", 0) == 0)
    return std::nullopt;
  if (database.front() != '/')
    return "KORVALO_DATABASE is \"" + std::string(database.substr(0, 80)) +
           "\": it must be the absolute path of an SQLite file or a postgresql:// address";
  return std::nullopt;
}

/// The database: KORVALO_DATABASE, else korvalo.sqlite in the state folder.
std::string DatabaseOf(const SettingLookup& lookup) {
  if (const char* named = lookup("KORVALO_DATABASE"); named != nullptr && *named != '\0')
    return named;
  if (const char* state = lookup("STATE_DIRECTORY"); state != nullptr && *state != '\0') {
    // systemd may list several folders, separated by colons: the first is ours.
    const std::string folder(state);
    return folder.substr(0, folder.find(':')) + "/korvalo.sqlite";
  }
  return {};
}

std::optional<std::string> ServiceObjection(const SettingLookup& lookup) {
  if (auto wrong = NumberObjection("KORVALO_WORKERS", lookup("KORVALO_WORKERS"), 1, MostWorkers))
    return wrong;
  if (auto wrong = NumberObjection("KORVALO_QUEUE", lookup("KORVALO_QUEUE"), 0, MostQueued))
    return wrong;
  if (auto wrong = NumberObjection("KORVALO_PORT", lookup("KORVALO_PORT"), 1, 65535)) return wrong;
  if (auto wrong = Required("KORVALO_BIND", lookup("KORVALO_BIND"))) return wrong;
  if (auto wrong = FolderObjection("KORVALO_SITE", lookup("KORVALO_SITE"))) return wrong;
  return FolderObjection("KORVALO_RUN", lookup("KORVALO_RUN"));
}

/// A limit per client and hour: unset or empty leaves `limit` unset (the
/// store's own); else it must be a whole number from 1 to MostPerHour.
std::optional<std::string> HourlyLimit(const SettingLookup& lookup, const char* name,
                                       std::optional<int>& limit) {
  const char* value = lookup(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  if (auto wrong = NumberObjection(name, value, 1, MostPerHour)) return wrong;
  limit = static_cast<int>(std::strtol(value, nullptr, 10));
  return std::nullopt;
}

}  // namespace

std::variant<ServiceSettings, SettingsError> ReadSettings(const SettingLookup& lookup,
                                                          SettingsScope scope) {
  if (scope == SettingsScope::Service)
    if (auto wrong = ServiceObjection(lookup)) return SettingsError{*wrong};
  const char* configured = lookup("KORVALO_PUBLIC_ADDRESS");
  auto address = NormalisedPublicAddress(configured == nullptr ? "" : configured);
  if (const auto* error = std::get_if<AddressError>(&address)) return SettingsError{error->reason};
  ServiceSettings settings{std::get<std::string>(std::move(address)), DatabaseOf(lookup), {}, {}};
  if (auto wrong = DatabaseObjection(settings.database.c_str())) return SettingsError{*wrong};
  if (auto wrong = HourlyLimit(lookup, "KORVALO_PUBLISH_LIMIT", settings.publishLimit))
    return SettingsError{*wrong};
  if (auto wrong = HourlyLimit(lookup, "KORVALO_RECORD_LIMIT", settings.recordLimit))
    return SettingsError{*wrong};
  return settings;
}

std::variant<ServiceSettings, SettingsError> ReadSettingsFromEnvironment(SettingsScope scope) {
  return ReadSettings([](const char* name) { return std::getenv(name); }, scope);
}
