#include "app/dialog_units.h"

#include <QFontMetrics>

namespace {

constexpr int SmallestPixelSize = 6;
constexpr int LargestPixelSize = 13;

bool FitsDialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int alphabet = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return alphabet <= 52 * DialogUnitsToPixelsX(4) && metrics.height() <= DialogUnitsToPixelsY(8);
}

}  // namespace

QFont DialogFont(QFont base) {
  for (int pixels = LargestPixelSize; pixels > SmallestPixelSize; --pixels) {
    base.setPixelSize(pixels);
    if (FitsDialogUnits(base)) return base;
  }
  base.setPixelSize(SmallestPixelSize);
  return base;
}
