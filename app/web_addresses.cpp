#include "app/web_addresses.h"

#ifndef KORVALO_SERVER
#define KORVALO_SERVER "http://www.vandrel.com"
#endif

namespace {

constexpr std::string_view ServerBase = KORVALO_SERVER;

QString OnServer(std::string_view path) {
  return QString::fromUtf8(ServerBase.data(), static_cast<qsizetype>(ServerBase.size())) +
         QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

}  // namespace

QString SharingPageAddress(std::string_view code) {
  return OnServer("/cgi-bin/korvz?s=") +
         QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size()));
}

QString ServerAddress() { return OnServer(""); }

QString HomePageAddress() { return OnServer("/eng/pc/korvalo_editor.html"); }

QString MakerSiteAddress() { return OnServer("/eng"); }
