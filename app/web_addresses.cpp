#include "app/web_addresses.h"

#include "korvalo_constants.h"

namespace {

/// KORVALO_SERVER from the environment when it is set and not blank (a local
/// server, a test server), else the address set when the program was built;
/// without a trailing slash, since the paths bring their own.
QString ServerBase() {
  QString base = qEnvironmentVariable("KORVALO_SERVER").trimmed();
  if (base.isEmpty())
    base = QString::fromUtf8(BuiltInServer.data(), static_cast<qsizetype>(BuiltInServer.size()));
  while (base.endsWith(QLatin1Char('/'))) base.chop(1);
  return base;
}

QString OnServer(std::string_view path) {
  return ServerBase() + QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

}  // namespace

QString SharingPageAddress(std::string_view code) {
  return OnServer(SharingPagePath) + QStringLiteral("?s=") +
         QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size()));
}

QString ServerAddress() { return OnServer(""); }

QString HomePageAddress() { return OnServer(HomePagePath); }

QString MakerSiteAddress() { return OnServer(MakerSitePath); }
