#include "app/editor_icon.h"

QIcon EditorIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/korvalo_32.png"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/icons/korvalo_16.png"), QSize(16, 16));
  return icon;
}
