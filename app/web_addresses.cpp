#include "app/web_addresses.h"

#include "korvalo_constants.h"
#include "view/site_address.h"

namespace {

QString OnServer(std::string_view path) {
  return SiteAddress() + QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

}  // namespace

QString SharingPageAddress(std::string_view code) {
  return OnServer(SharingPagePath) + QStringLiteral("?s=") +
         QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size()));
}

QString ServerAddress() { return OnServer(""); }

QString HomePageAddress() { return OnServer(HomePagePath); }

QString MakerSiteAddress() { return OnServer(MakerSitePath); }
