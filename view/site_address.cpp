#include "view/site_address.h"

#include "korvalo_constants.h"

QString SiteAddress() {
  QString base = qEnvironmentVariable("KORVALO_SERVER").trimmed();
  if (base.isEmpty())
    base = QString::fromUtf8(BuiltInServer.data(), static_cast<qsizetype>(BuiltInServer.size()));
  while (base.endsWith(QLatin1Char('/'))) base.chop(1);
  return base;
}
