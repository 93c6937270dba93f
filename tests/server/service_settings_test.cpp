// The service's settings as the start checks them: every setting that cannot
// be used is refused with its name and the reason, before any request.

#include "server/service_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

/// A whole, usable set of settings, with one setting changed (nullptr: unset).
struct SettingsCase {
  const char* name;
  const char* value;
  const char* reason;  // nullptr when the settings can be used
};

const SettingsCase Cases[] = {
    {"KORVALO_QUEUE", "256", nullptr},
    {"KORVALO_QUEUE", "0", nullptr},
    {"KORVALO_QUEUE", nullptr, "KORVALO_QUEUE is not set"},
    {"KORVALO_QUEUE", "", "KORVALO_QUEUE is not set"},
    {"KORVALO_QUEUE", "lots",
     "KORVALO_QUEUE is \"lots\": it must be a whole number from 0 to 1024"},
    {"KORVALO_QUEUE", "-1", "from 0 to 1024"},
    {"KORVALO_QUEUE", "1025", "from 0 to 1024"},
    {"KORVALO_QUEUE", "12 ", "from 0 to 1024"},
    {"KORVALO_QUEUE", "99999999999999999999", "from 0 to 1024"},
    {"KORVALO_WORKERS", nullptr, "KORVALO_WORKERS is not set"},
    {"KORVALO_WORKERS", "0", "KORVALO_WORKERS is \"0\": it must be a whole number from 1 to 256"},
    {"KORVALO_WORKERS", "2.5", "from 1 to 256"},
    {"KORVALO_PORT", "65536", "KORVALO_PORT is \"65536\""},
    {"KORVALO_PORT", "http", "from 1 to 65535"},
    {"KORVALO_BIND", nullptr, "KORVALO_BIND is not set"},
    {"KORVALO_SITE", "/nowhere/at/all", "KORVALO_SITE is \"/nowhere/at/all\", which is no folder"},
    {"KORVALO_RUN", nullptr, "KORVALO_RUN is not set"},
    {"KORVALO_PUBLIC_ADDRESS", "https://example.org/levels", "KORVALO_PUBLIC_ADDRESS"},
    {"KORVALO_PUBLIC_ADDRESS", nullptr, nullptr},
    {"KORVALO_DATABASE", "/var/lib/korvalo/levels.sqlite", nullptr},
    {"KORVALO_DATABASE", "postgresql://korvalo@db.example.org/korvalo", nullptr},
    {"KORVALO_DATABASE", "levels.sqlite",
     "KORVALO_DATABASE is \"levels.sqlite\": it must be the absolute path"},
    {"KORVALO_PUBLISH_LIMIT", nullptr, nullptr},
    {"KORVALO_PUBLISH_LIMIT", "", nullptr},
    {"KORVALO_PUBLISH_LIMIT", "1", nullptr},
    {"KORVALO_PUBLISH_LIMIT", "100000", nullptr},
    {"KORVALO_PUBLISH_LIMIT", "0",
     "KORVALO_PUBLISH_LIMIT is \"0\": it must be a whole number from 1 to 100000"},
    {"KORVALO_PUBLISH_LIMIT", "100001", "from 1 to 100000"},
    {"KORVALO_PUBLISH_LIMIT", "12x", "from 1 to 100000"},
    {"KORVALO_PUBLISH_LIMIT", "-5", "from 1 to 100000"},
    {"KORVALO_PUBLISH_LIMIT", " 7", "from 1 to 100000"},
    {"KORVALO_RECORD_LIMIT", nullptr, nullptr},
    {"KORVALO_RECORD_LIMIT", "100000", nullptr},
    {"KORVALO_RECORD_LIMIT", "0",
     "KORVALO_RECORD_LIMIT is \"0\": it must be a whole number from 1 to 100000"},
    {"KORVALO_RECORD_LIMIT", "2e3", "from 1 to 100000"},
};

std::map<std::string, std::string> UsableSettings() {
  const std::string folder = std::filesystem::temp_directory_path().string();
  return {{"KORVALO_WORKERS", "2"},
          {"KORVALO_QUEUE", "256"},
          {"KORVALO_PORT", "8080"},
          {"KORVALO_BIND", "127.0.0.1"},
          {"KORVALO_SITE", folder},
          {"KORVALO_RUN", folder},
          {"KORVALO_PUBLIC_ADDRESS", "https://www.example.org/"}};
}

TEST(ServiceSettingsTest, EverySettingIsCheckedWithTheReasonWhenWrong) {
  for (const SettingsCase& c : Cases) {
    SCOPED_TRACE(std::string(c.name) + "=" + (c.value == nullptr ? "(unset)" : c.value));
    std::map<std::string, std::string> settings = UsableSettings();
    if (c.value == nullptr)
      settings.erase(c.name);
    else
      settings[c.name] = c.value;
    const auto lookup = [&settings](const char* name) -> const char* {
      const auto found = settings.find(name);
      return found == settings.end() ? nullptr : found->second.c_str();
    };
    const auto read = ReadSettings(lookup, SettingsScope::Service);
    if (c.reason == nullptr) {
      EXPECT_TRUE(std::holds_alternative<ServiceSettings>(read))
          << std::get<SettingsError>(read).reason;
    } else {
      ASSERT_TRUE(std::holds_alternative<SettingsError>(read));
      EXPECT_TRUE(Contains(std::get<SettingsError>(read).reason, c.reason))
          << std::get<SettingsError>(read).reason;
    }
  }
}

TEST(ServiceSettingsTest, AWorkerNeedsOnlyItsOwnSettings) {
  const auto lookup = [](const char* name) -> const char* {
    return std::string(name) == "KORVALO_PUBLIC_ADDRESS" ? "https://WWW.Example.org/" : nullptr;
  };
  const auto read = ReadSettings(lookup, SettingsScope::Worker);
  ASSERT_TRUE(std::holds_alternative<ServiceSettings>(read));
  EXPECT_EQ(std::get<ServiceSettings>(read).publicAddress, "https://www.example.org");
  EXPECT_EQ(std::get<ServiceSettings>(read).database, "");
  EXPECT_TRUE(std::holds_alternative<SettingsError>(ReadSettings(lookup, SettingsScope::Service)));
}

TEST(ServiceSettingsTest, AWorkerTakesItsDatabaseAndPublishingLimit) {
  struct Case {
    const char* database;  // KORVALO_DATABASE; nullptr: unset
    const char* state;     // STATE_DIRECTORY; nullptr: unset
    const char* limit;     // KORVALO_PUBLISH_LIMIT; nullptr: unset
    std::string expectedDatabase;
    std::optional<int> expectedLimit;
  } cases[] = {
      {nullptr, nullptr, nullptr, "", std::nullopt},
      {nullptr, "/var/lib/korvalo", "7", "/var/lib/korvalo/korvalo.sqlite", 7},
      {nullptr, "/var/lib/korvalo:/var/lib/other", nullptr, "/var/lib/korvalo/korvalo.sqlite",
       std::nullopt},
      {"/srv/levels.sqlite", "/var/lib/korvalo", "100000", "/srv/levels.sqlite", 100000},
      {"", "/var/lib/korvalo", "", "/var/lib/korvalo/korvalo.sqlite", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expectedDatabase);
    const auto lookup = [&c](const char* name) -> const char* {
      const std::string wanted(name);
      if (wanted == "KORVALO_DATABASE") return c.database;
      if (wanted == "STATE_DIRECTORY") return c.state;
      if (wanted == "KORVALO_PUBLISH_LIMIT") return c.limit;
      return nullptr;
    };
    const auto read = ReadSettings(lookup, SettingsScope::Worker);
    ASSERT_TRUE(std::holds_alternative<ServiceSettings>(read))
        << std::get<SettingsError>(read).reason;
    EXPECT_EQ(std::get<ServiceSettings>(read).database, c.expectedDatabase);
    EXPECT_EQ(std::get<ServiceSettings>(read).publishLimit, c.expectedLimit);
  }
}

}  // namespace
