// make_board_images: draws the board view's six images and the Korvalo icon
// and writes them into the repository.
//
//   make_board_images REPOSITORY_ROOT
//
// writes view/images/*.png, view/icons/korvalo_{32,16}.png and the desktop
// icons data/icons/hicolor/NxN/apps/*.png, with the scalable one as SVG in
// data/icons/hicolor/scalable/apps, under the root.
// Everything is drawn pixel by pixel from the rules below, so running it again
// gives the same files.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "korvalo_constants.h"

namespace {

constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Black = qRgb(0, 0, 0);
constexpr QRgb ViewGrey = qRgb(128, 128, 128);  // the view's background

QImage SolidImage(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

int Clamp255(double value) { return std::clamp(static_cast<int>(std::lround(value)), 0, 255); }

/// Linear mix of two colours, t = 0 gives a, t = 1 gives b.
QRgb Mix(QRgb a, QRgb b, double t) {
  return qRgb(Clamp255(qRed(a) + (qRed(b) - qRed(a)) * t),
              Clamp255(qGreen(a) + (qGreen(b) - qGreen(a)) * t),
              Clamp255(qBlue(a) + (qBlue(b) - qBlue(a)) * t));
}

// ---------------------------------------------------------------- balls

constexpr int BallFrame = 27;
constexpr int BallCentre = 13;
constexpr int DiscRadiusSquared = 185;

bool InDisc(int u, int v) {
  const int du = u - BallCentre;
  const int dv = v - BallCentre;
  return du * du + dv * dv <= DiscRadiusSquared;
}

struct BallTones {
  QRgb mid;  // near the centre
  QRgb rim;  // the darkest, along the lower-right rim
};

constexpr std::array<BallTones, 3> BallColours = {{
    {qRgb(148, 148, 255), qRgb(57, 57, 123)},  // blue
    {qRgb(148, 247, 148), qRgb(57, 115, 57)},  // green
    {qRgb(255, 148, 148), qRgb(123, 57, 57)},  // red
}};

struct Vec3 {
  double x, y, z;
};

double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

/// Surface normal of the sphere seen from the front at pixel (u, v).
Vec3 SphereNormal(int u, int v) {
  constexpr double radius = 14.0;  // a little beyond the disc, so the rim still faces the viewer
  const double x = (u - BallCentre) / radius;
  const double y = (v - BallCentre) / radius;
  return {x, y, std::sqrt(std::max(0.0, 1.0 - x * x - y * y))};
}

/// Lights the sphere so that its specular peak lands exactly on pixel (10, 8):
/// the light is the view direction mirrored about the normal there.
struct SphereLight {
  Vec3 halfway = SphereNormal(10, 8);
  Vec3 light{2 * (halfway.z * halfway.x), 2 * (halfway.z * halfway.y),
             2 * (halfway.z * halfway.z) - 1};
};

/// One ball frame: white outside the disc, a glossy sphere inside. The tones
/// run from the rim colour (least lit pixel) through the mid tone (the centre
/// pixel) to a paler tint toward the light, with a white specular spot.
void DrawBallFrame(QImage& sheet, int left, BallTones tones) {
  const SphereLight lighting;
  double darkest = 1.0, brightest = -1.0;
  for (int v = 0; v < BallFrame; ++v)
    for (int u = 0; u < BallFrame; ++u)
      if (InDisc(u, v)) {
        const double d = Dot(SphereNormal(u, v), lighting.light);
        darkest = std::min(darkest, d);
        brightest = std::max(brightest, d);
      }
  const double centre = Dot(SphereNormal(BallCentre, BallCentre), lighting.light);
  const QRgb pale = Mix(tones.mid, White, 0.45);
  for (int v = 0; v < BallFrame; ++v) {
    for (int u = 0; u < BallFrame; ++u) {
      if (!InDisc(u, v)) {
        sheet.setPixel(left + u, v, White);
        continue;
      }
      const Vec3 normal = SphereNormal(u, v);
      const double d = Dot(normal, lighting.light);
      QRgb colour =
          d <= centre ? Mix(tones.rim, tones.mid, std::pow((d - darkest) / (centre - darkest), 0.8))
                      : Mix(tones.mid, pale, (d - centre) / (brightest - centre));
      const double gloss = std::pow(std::clamp(Dot(normal, lighting.halfway), 0.0, 1.0), 60.0);
      colour = gloss > 0.999 ? White : Mix(colour, White, gloss);
      sheet.setPixel(left + u, v, colour);
    }
  }
}

/// ball_sheet.png: blue, green and red frames, then the mask (white disc on black).
QImage BallSheet() {
  QImage sheet = SolidImage(4 * BallFrame, BallFrame, White);
  for (int colour = 0; colour < 3; ++colour)
    DrawBallFrame(sheet, BallFrame * colour, BallColours[colour]);
  // The green frame carries one near-white pixel outside its disc; it is kept
  // because the shipped sheet has always had it.
  sheet.setPixel(BallFrame + 26, 18, qRgb(247, 255, 247));
  for (int v = 0; v < BallFrame; ++v)
    for (int u = 0; u < BallFrame; ++u)
      sheet.setPixel(3 * BallFrame + u, v, InDisc(u, v) ? White : Black);
  return sheet;
}

// ---------------------------------------------------------------- wall hover

/// The vertical wall marker, 11 x 31: B black, G light grey, R red.
constexpr std::array<std::string_view, 31> VerticalMarker = {
    "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB",
    "BBBBBBBBBBB", "BGBBBBBBBGB", "GGGBBBBBGGG", "GGGGBBBGGGG", "GRGGGBGGGRG", "RRRGGGGGRRR",
    "GRRRGGGRRRG", "GGRRRGRRRGG", "GGGRRRRRGGG", "BGGGRRRGGGB", "GGGRRRRRGGG", "GGRRRGRRRGG",
    "GRRRGGGRRRG", "RRRGGGGGRRR", "GRGGGBGGGRG", "GGGGBBBGGGG", "GGGBBBBBGGG", "BGBBBBBBBGB",
    "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB",
    "BBBBBBBBBBB",
};

QRgb MarkerColour(char code) {
  switch (code) {
    case 'G': return qRgb(222, 222, 222);
    case 'R': return qRgb(255, 0, 0);
    default: return Black;
  }
}

/// wall_hover_sheet.png: the hatch strips along the left and top edges, the vertical
/// marker at (22, 12) and the horizontal one (its transpose) at (12, 22).
/// The two markers overlap in the middle, where the X is its own transpose.
QImage WallHoverSheet() {
  QImage sheet = SolidImage(51, 51, White);
  for (int y = 0; y < 51; ++y)
    for (int x = 0; x < 51; ++x)
      if ((x <= 10 || y <= 10) && (x + y) % 5 == 0) sheet.setPixel(x, y, Black);
  for (int row = 0; row < 31; ++row) {
    for (int column = 0; column < 11; ++column) {
      const QRgb colour = MarkerColour(VerticalMarker[row][column]);
      sheet.setPixel(22 + column, 12 + row, colour);
      sheet.setPixel(12 + row, 22 + column, colour);
    }
  }
  return sheet;
}

// ---------------------------------------------------------------- lamps

// Both bulbs share one shape, given in the unlit lamp's 21 x 30 frame; the lit
// lamp is 6 pixels wider on each side and 6 taller for its halo.
constexpr double GlassX = 10.0, GlassY = 9.0, GlassRadius = 9.6;

bool InGlass(int u, int v) {
  const double dx = u - GlassX, dy = v - GlassY;
  if (dx * dx + dy * dy <= GlassRadius * GlassRadius) return true;
  // the neck narrows from the glass down to the base
  if (v < 14 || v > 21) return false;
  const double halfWidth = 7.0 - (v - 14) * (2.6 / 7.0);
  return std::abs(dx) <= halfWidth;
}

/// The screw base below the neck: rows 22 to 29, grey bands and a dark tip.
std::optional<QRgb> BaseColour(int u, int v) {
  const int dx = std::abs(u - 10);
  if (v >= 22 && v <= 27 && dx <= 4) {
    const int band = (v - 22) % 2 == 0 ? 176 : 104;
    return qRgb(band - 6 * (u - 10), band - 6 * (u - 10), band - 6 * (u - 10));
  }
  if (v == 28 && dx <= 3) return qRgb(88, 88, 88);
  if (v == 29 && dx <= 1) return qRgb(48, 48, 48);
  return std::nullopt;
}

/// Position across the glass from the lit upper left (0) to the right edge (1).
double GlassShade(int u, int v) {
  const double t = ((u - GlassX) * 0.9 + (v - GlassY) * 0.3) / GlassRadius;
  return std::clamp((t + 0.7) / 1.5, 0.0, 1.0);
}

/// The filament: a zigzag across the middle of the glass on two supports.
bool OnFilament(int u, int v) {
  if (v == 8 || v == 9) return u >= 7 && u <= 13 && (u + v) % 2 == 1;
  return (u == 7 || u == 13) && v >= 10 && v <= 17;
}

/// lamp_unlit.png: the grey bulb of an unsolvable level.
QImage LampUnlit() {
  QImage lamp = SolidImage(21, 30, ViewGrey);
  for (int v = 0; v < 30; ++v) {
    for (int u = 0; u < 21; ++u) {
      if (const auto base = BaseColour(u, v)) {
        lamp.setPixel(u, v, *base);
      } else if (InGlass(u, v)) {
        QRgb glass = Mix(qRgb(224, 224, 224), qRgb(63, 63, 63), GlassShade(u, v));
        if (OnFilament(u, v)) glass = Mix(glass, qRgb(40, 40, 40), 0.5);
        lamp.setPixel(u, v, glass);
      }
    }
  }
  return lamp;
}

/// lamp_lit.png: the same bulb glowing green with a pale-yellow filament and a
/// faint green halo around the glass.
QImage LampLit() {
  constexpr int margin = 6;
  QImage lamp = SolidImage(33, 36, ViewGrey);
  for (int y = 0; y < 36; ++y) {
    for (int x = 0; x < 33; ++x) {
      const int u = x - margin, v = y - margin;
      if (const auto base = BaseColour(u, v)) {
        lamp.setPixel(x, y, *base);
      } else if (InGlass(u, v)) {
        const QRgb glass = Mix(qRgb(252, 255, 252), qRgb(172, 255, 172), GlassShade(u, v));
        lamp.setPixel(x, y, OnFilament(u, v) ? qRgb(255, 255, 192) : glass);
      } else {
        const double outside = std::hypot(u - GlassX, v - GlassY) - GlassRadius;
        if (outside < 6.5 && v < 22) {
          const double glow = std::pow(1.0 - outside / 6.5, 1.6);
          lamp.setPixel(x, y, Mix(ViewGrey, qRgb(120, 200, 120), glow * 0.8));
        }
      }
    }
  }
  return lamp;
}

// ---------------------------------------------------------------- labels

/// Capitals 12 pixels high with 2-pixel strokes; only the letters the two
/// labels need.
struct Glyph {
  char letter;
  std::array<std::string_view, 12> rows;
};

constexpr std::array<Glyph, 9> Font = {{
    {'S',
     {".#####.", "#######", "##...##", "##.....", "##.....", "######.", ".######", ".....##",
      ".....##", "##...##", "#######", ".#####."}},
    {'O',
     {".######.", "########", "##....##", "##....##", "##....##", "##....##", "##....##",
      "##....##", "##....##", "##....##", "########", ".######."}},
    {'L',
     {"##....", "##....", "##....", "##....", "##....", "##....", "##....", "##....", "##....",
      "##....", "######", "######"}},
    {'U',
     {"##....##", "##....##", "##....##", "##....##", "##....##", "##....##", "##....##",
      "##....##", "##....##", "##....##", "########", ".######."}},
    {'T',
     {"########", "########", "...##...", "...##...", "...##...", "...##...", "...##...",
      "...##...", "...##...", "...##...", "...##...", "...##..."}},
    {'I', {"##", "##", "##", "##", "##", "##", "##", "##", "##", "##", "##", "##"}},
    {'N',
     {"###...##", "###...##", "####..##", "####..##", "##.##.##", "##.##.##", "##..####",
      "##..####", "##...###", "##...###", "##....##", "##....##"}},
    {'E',
     {"######", "######", "##....", "##....", "##....", "#####.", "#####.", "##....", "##....",
      "##....", "######", "######"}},
    {'X',
     {"##....##", "##....##", ".##..##.", ".##..##.", "..####..", "...##...", "...##...",
      "..####..", ".##..##.", ".##..##.", "##....##", "##....##"}},
}};

const Glyph& GlyphOf(char letter) {
  return *std::find_if(Font.begin(), Font.end(),
                       [letter](const Glyph& g) { return g.letter == letter; });
}

int GlyphWidth(char letter) {
  const auto& rows = GlyphOf(letter).rows;
  return static_cast<int>(std::max_element(rows.begin(), rows.end(), [](auto a, auto b) {
                            return a.size() < b.size();
                          })->size());
}

/// Writes text in ink from x = left, letterGap pixels between letters and
/// wordGap pixels for a space. Returns the x just past the last ink column.
int DrawText(QImage& image, std::string_view text, int left, int letterGap, int wordGap, QRgb ink) {
  constexpr int top = 2;  // 12-pixel capitals centred in 16 rows
  int x = left;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') {
      x += wordGap - letterGap;  // replaces the gap already added after the letter
      continue;
    }
    const Glyph& glyph = GlyphOf(text[i]);
    for (int row = 0; row < 12; ++row)
      for (int column = 0; column < static_cast<int>(glyph.rows[row].size()); ++column)
        if (glyph.rows[row][column] == '#') image.setPixel(x + column, top + row, ink);
    x += GlyphWidth(text[i]);
    if (i + 1 < text.size()) x += letterGap;
  }
  return x;
}

/// label_solution_exists.png: green "SOLUTION EXISTS" over the whole 111 pixels.
QImage LabelSolutionExists() {
  QImage label = SolidImage(111, 16, ViewGrey);
  DrawText(label, "SOLUTION EXISTS", 0, 1, 6, qRgb(0, 255, 0));
  return label;
}

/// label_no_solution.png: grey "NO SOLUTION", right-aligned with its ink from x 14 to 110.
QImage LabelNoSolution() {
  QImage label = SolidImage(111, 16, ViewGrey);
  DrawText(label, "NO SOLUTION", 14, 2, 10, qRgb(150, 150, 150));
  return label;
}

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
  const QString scalable = root.filePath("data/icons/hicolor/scalable/apps/");
  if (!QDir().mkpath(scalable) || !Write(IconSvg(), scalable + iconName + ".svg")) return 1;
  const bool written =
      Write(BallSheet(), images + "ball_sheet.png") &&
      Write(WallHoverSheet(), images + "wall_hover_sheet.png") &&
      Write(LampLit(), images + "lamp_lit.png") && Write(LampUnlit(), images + "lamp_unlit.png") &&
      Write(LabelSolutionExists(), images + "label_solution_exists.png") &&
      Write(LabelNoSolution(), images + "label_no_solution.png") &&
      Write(Icon(32), icons + "korvalo_32.png") && Write(Icon(16), icons + "korvalo_16.png");
  return written ? 0 : 1;
}
