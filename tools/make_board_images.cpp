// make_board_images: draws the board view's six images and the Korvalo icon
// and writes them into the repository.
//
//   make_board_images REPOSITORY_ROOT
//
// writes view/images/*.png, view/icons/korvalo_{32,16}.png and the desktop
// icons data/icons/hicolor/NxN/apps/*.png, with the scalable one as SVG in
// data/icons/hicolor/scalable/apps, under the root.
// Everything is drawn pixel by pixel, the board images by the rules of
// drawing/board_art.cpp at scale 1 (the editor draws them at other scales
// itself), the icons by the rules below, so running it again gives the same
// files.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "drawing/board_art.h"
#include "korvalo_constants.h"
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

constexpr std::array<IconBall, 3> IconBalls = {{{qRgb(255, 0, 0), qRgb(128, 0, 0)},
                                                {qRgb(0, 255, 0), qRgb(0, 128, 0)},
                                                {qRgb(0, 0, 255), qRgb(0, 0, 128)}}};

/// Where the icon's parts stand at a size: three compartments side by side,
/// each with walls `wall` thick around an inside `inner` wide, whose tops
/// step down from left to right; the floor wall's first row is `bottom`.
struct IconLayout {
  explicit IconLayout(int size)
      : size(size),
        wall(std::max(1, size / 16)),
        inner((size - 4 * wall) / 3),
        bottom(size - wall) {}
  int Left(int k) const { return k * (inner + wall); }  // left wall of compartment k
  int Top(int k) const { return size / 8 + k * (size / 4); }

  int size, wall, inner, bottom;
};

/// Three white compartments with olive walls whose tops step down from left
/// to right, a red, a green and a blue ball at their bottoms, and nothing
/// above them. Walls are size / 16 pixels thick. At 16 and 32 pixels the
/// balls come from the hand-set patterns in sixteen colours; larger sizes
/// draw a shaded sphere for their own size.
QImage Icon(int size) {
  const IconLayout layout(size);
  const int wall = layout.wall;
  const int inner = layout.inner;
  const auto& balls = IconBalls;
  const bool patterned = size == 16 || size == 32;
  const auto ballRows = [size](int row) { return size >= 32 ? IconBall32[row] : IconBall16[row]; };
  QImage icon(size, size, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  const int bottom = layout.bottom;
  for (int k = 0; k < 3; ++k) {
    const int left = layout.Left(k);
    const int top = layout.Top(k);
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

QString SvgColour(QRgb colour) { return QColor(colour).name(); }

/// The icon as scalable vector graphics on a 256-unit square, with the
/// compartments of the 256-pixel icon and each ball a sphere lit from the
/// upper left by a radial gradient, as the large sizes draw it.
QString IconSvg() {
  const IconLayout layout(256);
  QString gradients;
  QString shapes;
  for (int k = 0; k < 3; ++k) {
    const int left = layout.Left(k);
    const int top = layout.Top(k);
    const double radius = layout.inner / 2.0;
    gradients += QStringLiteral(
                     "    <radialGradient id=\"ball%1\" cx=\"0.4\" cy=\"0.35\" r=\"0.7\" "
                     "fx=\"0.25\" fy=\"0.2\">\n"
                     "      <stop offset=\"0\" stop-color=\"#ffffff\"/>\n"
                     "      <stop offset=\"0.2\" stop-color=\"%2\"/>\n"
                     "      <stop offset=\"1\" stop-color=\"%3\"/>\n"
                     "    </radialGradient>\n")
                     .arg(k)
                     .arg(SvgColour(IconBalls[k].light),
                          SvgColour(Mix(IconBalls[k].dark, IconBalls[k].light, 0.15)));
    shapes += QStringLiteral(
                  "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n"
                  "  <rect x=\"%6\" y=\"%7\" width=\"%8\" height=\"%9\" fill=\"#ffffff\"/>\n")
                  .arg(left)
                  .arg(top)
                  .arg(2 * layout.wall + layout.inner)
                  .arg(layout.size - top)
                  .arg(SvgColour(Olive))
                  .arg(left + layout.wall)
                  .arg(top + layout.wall)
                  .arg(layout.inner)
                  .arg(layout.bottom - top - layout.wall);
    shapes += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"url(#ball%4)\"/>\n")
                  .arg(left + layout.wall + radius)
                  .arg(layout.bottom - radius)
                  .arg(radius)
                  .arg(k);
  }
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
             "viewBox=\"0 0 256 256\">\n"
             "  <title>Korvalo</title>\n  <defs>\n%1  </defs>\n%2</svg>\n")
      .arg(gradients, shapes);
}

/// The sizes of the icon in the desktop's hicolor theme.
constexpr std::array<int, 7> ThemeIconSizes = {16, 24, 32, 48, 64, 128, 256};

// ---------------------------------------------------------------- main

bool Write(const QImage& image, const QString& path) {
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "make_board_images: cannot write %s\n", qPrintable(path));
  return false;
}

bool Write(const QString& text, const QString& path) {
  QFile file(path);
  const QByteArray bytes = text.toUtf8();
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) return true;
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
  const QString icons = root.filePath("view/icons/");
  if (!QDir().mkpath(images) || !QDir().mkpath(icons)) {
    std::fprintf(stderr, "make_board_images: cannot create the output folders\n");
    return 1;
  }
  // The icon's name in the theme is the editor's application id.
  const QString iconName = QLatin1String(EditorDesktopId);
  for (const int size : ThemeIconSizes) {
    const QString folder =
        root.filePath(QStringLiteral("data/icons/hicolor/%1x%1/apps/").arg(size));
    if (!QDir().mkpath(folder) || !Write(Icon(size), folder + iconName + ".png")) return 1;
  }
  const BoardPixels board = MakeBoardPixels(BoardScale());
  for (const BoardImage image : AllBoardImages) {
    if (!Write(ToQImage(board[static_cast<std::size_t>(image)]),
               images + BoardImageFileName(image)))
      return 1;
  }
  const QString scalable = root.filePath("data/icons/hicolor/scalable/apps/");
  if (!QDir().mkpath(scalable) || !Write(IconSvg(), scalable + iconName + ".svg")) return 1;
  const bool written =
      Write(Icon(32), icons + "korvalo_32.png") && Write(Icon(16), icons + "korvalo_16.png");
  return written ? 0 : 1;
}
