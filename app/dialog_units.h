#pragma once
// Dialog layouts are given in dialog units of an 8-point base font: one unit
// is 1.5 pixels across and 1.625 pixels down.

#include <QFont>
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

/// The largest size of the base font whose letters fit these units: an
/// average letter at most 4 units (6 pixels) wide and a line at most 8 units
/// (13 pixels) high, so every text laid out in dialog units fits its place.
QFont DialogFont(QFont base);

/// Window flags of a fixed dialog with a caption and a close box, and no help button.
inline constexpr Qt::WindowFlags FixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint |
                                                    Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                    Qt::WindowCloseButtonHint;
