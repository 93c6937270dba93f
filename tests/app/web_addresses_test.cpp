// The server of the three web addresses: the build constant, overridden at run
// time by the environment variable KORVALO_SERVER.

#include "app/web_addresses.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <optional>

namespace {

/// Sets KORVALO_SERVER (or removes it, for nullopt) and puts the old value back afterwards.
class ServerVariable {
 public:
  explicit ServerVariable(std::optional<QByteArray> value)
      : m_wasSet(qEnvironmentVariableIsSet("KORVALO_SERVER")), m_old(qgetenv("KORVALO_SERVER")) {
    if (value)
      qputenv("KORVALO_SERVER", *value);
    else
      qunsetenv("KORVALO_SERVER");
  }
  ~ServerVariable() {
    if (m_wasSet)
      qputenv("KORVALO_SERVER", m_old);
    else
      qunsetenv("KORVALO_SERVER");
  }

 private:
  bool m_wasSet;
  QByteArray m_old;
};

struct ServerCase {
  const char* name;
  std::optional<QByteArray> variable;
  QString server;  // the base of every address
};

const QString BuiltIn = QStringLiteral(KORVALO_SERVER);

const ServerCase ServerCases[] = {
    {"not set", std::nullopt, BuiltIn},
    {"empty", QByteArray(""), BuiltIn},
    {"blank", QByteArray("  "), BuiltIn},
    {"a local server", QByteArray("http://127.0.0.1:8080"), "http://127.0.0.1:8080"},
    {"with a trailing slash", QByteArray("http://127.0.0.1:8080/"), "http://127.0.0.1:8080"},
    {"with slashes and blanks", QByteArray(" https://levels.example.org// "),
     "https://levels.example.org"},
};

TEST(WebAddressesTest, EnvironmentOverridesTheBuiltInServer) {
  for (const ServerCase& c : ServerCases) {
    SCOPED_TRACE(c.name);
    const ServerVariable variable(c.variable);
    EXPECT_EQ(ServerAddress(), c.server);
    EXPECT_EQ(SharingPageAddress("3111221000110fbe5"),
              c.server + "/cgi-bin/korvz?s=3111221000110fbe5");
    EXPECT_EQ(HomePageAddress(), c.server + "/eng/pc/korvalo_editor.html");
    EXPECT_EQ(MakerSiteAddress(), c.server + "/eng");
  }
}

// Read when an address is made, not once at start: a change takes effect at once.
TEST(WebAddressesTest, EnvironmentIsReadForEveryAddress) {
  const ServerVariable first(QByteArray("http://first.example"));
  EXPECT_EQ(MakerSiteAddress(), "http://first.example/eng");
  const ServerVariable second(QByteArray("http://second.example"));
  EXPECT_EQ(MakerSiteAddress(), "http://second.example/eng");
}

}  // namespace
