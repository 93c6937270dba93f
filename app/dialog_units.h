#pragma once
// Dialog layouts are given in dialog units of an 8-point base font: one unit
// is 1.5 pixels across and 1.625 pixels down.

#include <QRect>
#include <QSize>

constexpr int DialogUnitsToPixelsX(int units) { return (units * 3 + 1) / 2; }
constexpr int DialogUnitsToPixelsY(int units) { return (units * 13 + 4) / 8; }

constexpr QSize DialogUnitSize(int width, int height) {
  return {DialogUnitsToPixelsX(width), DialogUnitsToPixelsY(height)};
}

constexpr QRect DialogUnitRect(int x, int y, int width, int height) {
  return {DialogUnitsToPixelsX(x), DialogUnitsToPixelsY(y), DialogUnitsToPixelsX(width),
          DialogUnitsToPixelsY(height)};
}

/// Window flags of a fixed dialog with a caption and a close box, and no help button.
inline constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint;
