#pragma once
// The settings of the sharing service, read from the environment and checked
// once at the start: a value that cannot be used stops the service with the
// reason, instead of failing later on every request.

#include <functional>
#include <optional>
#include <string>
#include <variant>

/// The settings a worker answers with.
struct ServiceSettings {
  std::string publicAddress;  // normalised (NormalisedPublicAddress); empty for relative links
  /// KORVALO_DATABASE as given, else korvalo.sqlite in the service's state
  /// folder (STATE_DIRECTORY, as systemd sets it); empty when neither is set.
  std::string database;
  std::optional<int> publishLimit;  // KORVALO_PUBLISH_LIMIT; unset: the store's own
  std::optional<int> recordLimit;   // KORVALO_RECORD_LIMIT; unset: the store's own
};

/// Why a setting cannot be used, naming the setting, in words for the log.
struct SettingsError {
  std::string reason;
};

/// Looks a setting up by name; nullptr when it is not set.
using SettingLookup = std::function<const char*(const char*)>;

/// Which settings are checked: a worker needs only its own; the whole service
/// (lighttpd's settings too) is checked before lighttpd starts.
enum class SettingsScope { Worker, Service };

/// The settings, or the first one that cannot be used and why. In the service
/// scope KORVALO_WORKERS, KORVALO_QUEUE, KORVALO_PORT, KORVALO_BIND,
/// KORVALO_SITE and KORVALO_RUN are required too.
std::variant<ServiceSettings, SettingsError> ReadSettings(const SettingLookup& lookup,
                                                          SettingsScope scope);

/// The settings from the process's environment.
std::variant<ServiceSettings, SettingsError> ReadSettingsFromEnvironment(SettingsScope scope);
