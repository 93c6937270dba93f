// make_board_images: draws the board view's six images and the editor's icon
// and writes them as PNG files into the repository.
//
//   make_board_images REPOSITORY_ROOT
//
// writes view/images/*.png, app/icons/korvalo_{32,16}.png and the desktop
// icons data/icons/hicolor/NxN/apps/*.png under the root.
// Everything is drawn pixel by pixel, the board images by the rules of
// drawing/board_art.cpp at scale 1 (the editor draws them at other scales
// itself), the icons by the rules below, so running it again gives the same
// files.

#include <QDir>
#include <QImage>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "drawing/board_art.h"
#include "view/raster_conversion.h"

namespace {

constexpr QRgb White = qRgb(255, 255, 255);

/// Linear mix of two colours, t = 0 gives a, t = 1 gives b.
QRgb Mix(QRgb a, QRgb b, double t) { return MixColours(a, b, t); }

// ---------------------------------------------------------------- icon

// The sixteen colours of the classic icon palette that the icon uses.
constexpr QRgb Olive = qRgb(128, 128, 0);

struct IconBall {
  QRgb light, dark;
};

// The balls as drawn pixel by pixel for each icon size: L lit, D shadowed,
// W highlight, '.' the white of the compartment.
constexpr std::array<std::string_view, 8> IconBall32 = {
    "..LLLL..", ".LWWLLL.", "LLWLLLLL", "LLLLLLLD", "LLLLLLLD", "LLLLLLDD", ".LLLLDD.", "..DDDD..",
};
constexpr std::array<std::string_view, 4> IconBall16 = {".LL.", "LWLL", "LLLD", ".DD."};

/// The ball of a large icon, drawn for its size: a sphere lit from the upper
/// left from the ball's dark to its light colour, with a white highlight.
/// '.' outside the disc, as in the small patterns.
QRgb LargeIconBallPixel(const IconBall& ball, int row, int column, int diameter, bool& inside) {
  const double radius = diameter / 2.0;
  const double dx = (column + 0.5 - radius) / radius;
  const double dy = (row + 0.5 - radius) / radius;
  const double distance = dx * dx + dy * dy;
  inside = distance <= 1.0;
  if (!inside) return White;
  const double dz = std::sqrt(1.0 - distance);
  // Light from the upper left and a little toward the viewer.
  const double lx = -0.5, ly = -0.6, lz = 0.62;
  const double lit = std::clamp(dx * lx + dy * ly + dz * lz, 0.0, 1.0);
  const QRgb body = Mix(ball.dark, ball.light, std::min(1.0, 0.15 + lit));
  const double highlight = std::pow(lit, 24.0);
  return Mix(body, White, highlight);
}

/// Three white compartments with olive walls whose tops step down from left
/// to right, a red, a green and a blue ball at their bottoms, and nothing
/// above them. Walls are size / 16 pixels thick. At 16 and 32 pixels the
/// balls come from the hand-set patterns in sixteen colours; larger sizes
/// draw a shaded sphere for their own size.
QImage Icon(int size) {
  const int wall = std::max(1, size / 16);
  const int inner = (size - 4 * wall) / 3;
  const std::array<IconBall, 3> balls = {{{qRgb(255, 0, 0), qRgb(128, 0, 0)},
                                          {qRgb(0, 255, 0), qRgb(0, 128, 0)},
                                          {qRgb(0, 0, 255), qRgb(0, 0, 128)}}};
  const bool patterned = size == 16 || size == 32;
  const auto ballRows = [size](int row) { return size >= 32 ? IconBall32[row] : IconBall16[row]; };
  QImage icon(size, size, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  const int bottom = size - wall;  // first row of the floor wall
  for (int k = 0; k < 3; ++k) {
    const int left = k * (inner + wall);  // left wall of compartment k
    const int top = size / 8 + k * (size / 4);
    // walls, roof and floor first, then the white inside
    for (int y = top; y < size; ++y)
      for (int x = left; x < left + 2 * wall + inner; ++x) icon.setPixel(x, y, Olive);
    for (int y = top + wall; y < bottom; ++y)
      for (int x = left + wall; x < left + wall + inner; ++x) icon.setPixel(x, y, White);
    // the ball fills the compartment's width and sits on its floor
    for (int row = 0; row < inner; ++row) {
      for (int column = 0; column < inner; ++column) {
        QRgb colour = White;
        if (patterned) {
          const char code = ballRows(row)[column];
          if (code == '.') continue;
          colour = code == 'W' ? White : code == 'D' ? balls[k].dark : balls[k].light;
        } else {
          bool inside = false;
          colour = LargeIconBallPixel(balls[k], row, column, inner, inside);
          if (!inside) continue;
        }
        icon.setPixel(left + wall + column, bottom - inner + row, colour);
      }
    }
  }
  return icon;
}

/// The sizes of the icon in the desktop's hicolor theme.
constexpr std::array<int, 7> ThemeIconSizes = {16, 24, 32, 48, 64, 128, 256};

/// The icon's file name in the hicolor theme: the application's id.
constexpr const char* ThemeIconName = "com.vandrel.KorvaloLevelEditor.png";

// ---------------------------------------------------------------- main

bool Write(const QImage& image, const QString& path) {
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "make_board_images: cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: make_board_images REPOSITORY_ROOT\n");
    return 2;
  }
  const QDir root(QString::fromLocal8Bit(argv[1]));
  const QString images = root.filePath("view/images/");
  const QString icons = root.filePath("app/icons/");
  if (!QDir().mkpath(images) || !QDir().mkpath(icons)) {
    std::fprintf(stderr, "make_board_images: cannot create the output folders\n");
    return 1;
  }
  for (const int size : ThemeIconSizes) {
    const QString folder =
        root.filePath(QStringLiteral("data/icons/hicolor/%1x%1/apps/").arg(size));
    if (!QDir().mkpath(folder) || !Write(Icon(size), folder + ThemeIconName)) return 1;
  }
  const BoardPixels board = MakeBoardPixels(BoardScale());
  for (const BoardImage image : AllBoardImages) {
    if (!Write(ToQImage(board[static_cast<std::size_t>(image)]),
               images + BoardImageFileName(image)))
      return 1;
  }
  const bool written =
      Write(Icon(32), icons + "korvalo_32.png") && Write(Icon(16), icons + "korvalo_16.png");
  return written ? 0 : 1;
}
