#include "view/program_icon.h"

QIcon KorvaloIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/korvalo_32.png"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/icons/korvalo_16.png"), QSize(16, 16));
  return icon;
}
