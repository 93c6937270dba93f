// Every image is drawn by evaluating its rule at the centre of each device
// pixel, in the coordinates of the image at scale 1 (where pixel i's centre
// is i). At scale 1 the centres are whole numbers, and the rules give the
// shipped pixels; at other scales the same rules give finer pixels.

#include "drawing/board_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>

#include "drawing/board_geometry.h"

namespace {

constexpr Rgb White = MakeRgb(255, 255, 255);
constexpr Rgb Black = MakeRgb(0, 0, 0);
constexpr Rgb ViewGrey = ClassicBackground;  // the lamps and labels stand on it

int Red(Rgb c) { return static_cast<int>((c >> 16) & 0xff); }
int Green(Rgb c) { return static_cast<int>((c >> 8) & 0xff); }
int Blue(Rgb c) { return static_cast<int>(c & 0xff); }

int Clamp255(double value) { return std::clamp(static_cast<int>(std::lround(value)), 0, 255); }

Rgb Mix(Rgb a, Rgb b, double t) { return MixColours(a, b, t); }

Rgb Grey(int level) { return MakeRgb(level, level, level); }

/// Maps the device pixels of a part (width x height) to the coordinates of
/// the part at scale 1 (shippedWidth x shippedHeight): pixel centres, the
/// part's edges on each other.
class PartGrid {
 public:
  PartGrid(Rect device, int shippedWidth, int shippedHeight)
      : m_device(device),
        m_xRatio(static_cast<double>(shippedWidth) / device.width),
        m_yRatio(static_cast<double>(shippedHeight) / device.height) {}

  double U(int x) const { return (x + 0.5) * m_xRatio - 0.5; }
  double V(int y) const { return (y + 0.5) * m_yRatio - 0.5; }

  /// Calls paint(x, y, u, v) for every device pixel (x, y) of the part, with
  /// (u, v) its centre at scale 1.
  template <class Paint>
  void ForEach(Paint paint) const {
    for (int y = 0; y < m_device.height; ++y)
      for (int x = 0; x < m_device.width; ++x) paint(m_device.x + x, m_device.y + y, U(x), V(y));
  }

 private:
  Rect m_device;
  double m_xRatio, m_yRatio;
};

RgbImage& ImageOf(BoardPixels& images, BoardImage image) {
  return images[static_cast<std::size_t>(image)];
}

// ---------------------------------------------------------------- balls

constexpr int BallCentre = 13;
constexpr int DiscRadiusSquared = 185;

bool InDisc(double u, double v) {
  const double du = u - BallCentre;
  const double dv = v - BallCentre;
  return du * du + dv * dv <= DiscRadiusSquared;
}

struct BallTones {
  Rgb mid;  // near the centre
  Rgb rim;  // the darkest, along the lower-right rim
};

constexpr std::array<BallTones, 3> BallColours = {{
    {MakeRgb(148, 148, 255), MakeRgb(57, 57, 123)},  // blue
    {MakeRgb(148, 247, 148), MakeRgb(57, 115, 57)},  // green
    {MakeRgb(255, 148, 148), MakeRgb(123, 57, 57)},  // red
}};

struct Vec3 {
  double x, y, z;
};

double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

/// Surface normal of the sphere seen from the front at (u, v).
Vec3 SphereNormal(double u, double v) {
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

/// The tones' range over the pixels of the disc at scale 1, so that every
/// scale shades from the same darkest to the same brightest light.
struct LightRange {
  double darkest = 1.0, brightest = -1.0, centre = 0.0;
};

LightRange RangeOf(const SphereLight& lighting) {
  LightRange range;
  for (int v = 0; v < BallSize; ++v)
    for (int u = 0; u < BallSize; ++u)
      if (InDisc(u, v)) {
        const double d = Dot(SphereNormal(u, v), lighting.light);
        range.darkest = std::min(range.darkest, d);
        range.brightest = std::max(range.brightest, d);
      }
  range.centre = Dot(SphereNormal(BallCentre, BallCentre), lighting.light);
  return range;
}

/// One pixel of a ball: white outside the disc, a glossy sphere inside. The
/// tones run from the rim colour (least lit) through the mid tone (the centre)
/// to a paler tint toward the light, with a white specular spot.
Rgb BallPixel(double u, double v, BallTones tones, const SphereLight& lighting,
              const LightRange& range) {
  if (!InDisc(u, v)) return White;
  const Vec3 normal = SphereNormal(u, v);
  const double d = Dot(normal, lighting.light);
  const Rgb pale = Mix(tones.mid, White, 0.45);
  Rgb colour = d <= range.centre
                   ? Mix(tones.rim, tones.mid,
                         std::pow((d - range.darkest) / (range.centre - range.darkest), 0.8))
                   : Mix(tones.mid, pale, (d - range.centre) / (range.brightest - range.centre));
  const double gloss = std::pow(std::clamp(Dot(normal, lighting.halfway), 0.0, 1.0), 60.0);
  return gloss > 0.999 ? White : Mix(colour, White, gloss);
}

/// The ball sheet: blue, green and red balls, then the mask (white disc on black).
RgbImage BallSheet(const BoardScale& scale) {
  const Rect size = BoardImageRect(BoardImage::BallSheet, scale);
  RgbImage sheet(size.width, size.height, White);
  const SphereLight lighting;
  const LightRange range = RangeOf(lighting);
  for (int colour = 0; colour < 3; ++colour) {
    const PartGrid grid(PlaceOf(static_cast<ImagePart>(colour), scale).rect, BallSize, BallSize);
    grid.ForEach([&](int x, int y, double u, double v) {
      sheet.pixel(x, y) = BallPixel(u, v, BallColours[colour], lighting, range);
    });
  }
  // The shipped green ball carries one near-white pixel outside its disc; it
  // is kept because the shipped sheet has always had it.
  if (scale.IsOne()) sheet.pixel(BallSize + 26, 18) = MakeRgb(247, 255, 247);
  const PartGrid mask(PlaceOf(ImagePart::BallMask, scale).rect, BallSize, BallSize);
  mask.ForEach(
      [&](int x, int y, double u, double v) { sheet.pixel(x, y) = InDisc(u, v) ? White : Black; });
  return sheet;
}

// ---------------------------------------------------------------- wall hover

/// The hatch: diagonal lines rising to the right, five pixels apart, where
/// u + v is a multiple of five.
Rgb HatchPixel(double u, double v) {
  const double sum = u + v;
  return std::abs(sum - 5.0 * std::round(sum / 5.0)) <= 0.5 ? Black : White;
}

/// The vertical wall marker, 11 x 31: a red X in its middle whose strokes are
/// bordered in light grey, on black. With a and b the distances from the
/// marker's centre pixel across and along, the strokes are where a and b are
/// nearly equal, and they end in points.
Rgb MarkerPixel(double u, double v) {
  const double a = std::abs(u - 5), b = std::abs(v - 15);
  if (std::abs(a - b) <= 1 && a + b <= 9) return MakeRgb(255, 0, 0);
  if (std::abs(a - b) <= 4 && a + b <= 12) return Grey(222);
  return Black;
}

/// The wall-hover sheet: the hatch strips along the left and top edges and the
/// two markers. At scale 1 the markers cross in the middle, where the X is its
/// own transpose.
RgbImage WallHoverSheet(const BoardScale& scale) {
  const Rect size = BoardImageRect(BoardImage::WallHoverSheet, scale);
  RgbImage sheet(size.width, size.height, White);
  for (const ImagePart strip : {ImagePart::LeftHatch, ImagePart::TopHatch}) {
    const Rect rect = PlaceOf(strip, scale).rect;
    const PartGrid grid(rect, rect.width > rect.height ? 51 : GapSize,
                        rect.width > rect.height ? GapSize : 51);
    grid.ForEach([&](int x, int y, double u, double v) { sheet.pixel(x, y) = HatchPixel(u, v); });
  }
  const PartGrid vertical(PlaceOf(ImagePart::VerticalMarker, scale).rect, GapSize, SquareSize);
  vertical.ForEach(
      [&](int x, int y, double u, double v) { sheet.pixel(x, y) = MarkerPixel(u, v); });
  const PartGrid horizontal(PlaceOf(ImagePart::HorizontalMarker, scale).rect, SquareSize, GapSize);
  horizontal.ForEach(
      [&](int x, int y, double u, double v) { sheet.pixel(x, y) = MarkerPixel(v, u); });
  return sheet;
}

// ---------------------------------------------------------------- lamps

// Both bulbs share one shape, given in the unlit lamp's 21 x 30 frame; the lit
// lamp is 6 pixels wider on each side and 6 taller for its halo.
constexpr double GlassX = 10.0, GlassY = 9.0, GlassRadius = 9.6;
constexpr int LitMargin = 6;

bool InGlass(double u, double v) {
  const double dx = u - GlassX, dy = v - GlassY;
  if (dx * dx + dy * dy <= GlassRadius * GlassRadius) return true;
  // the neck narrows from the glass down to the base
  if (v < 14 || v > 21) return false;
  const double halfWidth = 7.0 - (v - 14) * (2.6 / 7.0);
  return std::abs(dx) <= halfWidth;
}

/// The screw base below the neck, rows 22 to 29: grey bands and a dark tip.
std::optional<Rgb> BaseColour(double u, double v) {
  const double dx = std::abs(u - 10);
  const int row = static_cast<int>(std::floor(v + 0.5));  // the bands are whole rows
  if (row >= 22 && row <= 27 && dx <= 4.5) {
    const int band = (row - 22) % 2 == 0 ? 176 : 104;
    return Grey(Clamp255(band - 6 * (u - 10)));
  }
  if (row == 28 && dx <= 3.5) return Grey(88);
  if (row == 29 && dx <= 1.5) return Grey(48);
  return std::nullopt;
}

/// Position across the glass from the lit upper left (0) to the right edge (1).
double GlassShade(double u, double v) {
  const double t = ((u - GlassX) * 0.9 + (v - GlassY) * 0.3) / GlassRadius;
  return std::clamp((t + 0.7) / 1.5, 0.0, 1.0);
}

/// The filament: a zigzag from (7, 8) down to (8, 9), up to (9, 8) and so on
/// to (13, 8), on two supports down to row 17.
bool OnFilament(double u, double v) {
  if (u >= 6.5 && u <= 13.5 && v >= 7.5 && v <= 9.5) {
    // The zigzag's row at u: 8 on odd columns, 9 on even ones, straight between.
    const double along = std::clamp(u, 7.0, 13.0) - 7.0;
    const double phase = std::abs(std::fmod(along, 2.0) - 1.0);  // 1 on odd columns, 0 on even
    const double zigzag = 9.0 - phase;
    if (std::abs(v - zigzag) <= 0.5) return true;
  }
  return (std::abs(u - 7) <= 0.5 || std::abs(u - 13) <= 0.5) && v >= 9.5 && v <= 17.5;
}

/// The grey bulb of an unsolvable level.
RgbImage LampUnlit(const BoardScale& scale) {
  const Rect size = BoardImageRect(BoardImage::LampUnlit, scale);
  RgbImage lamp(size.width, size.height, ViewGrey);
  const Rect shipped = BoardImageRect(BoardImage::LampUnlit);
  PartGrid(size, shipped.width, shipped.height).ForEach([&](int x, int y, double u, double v) {
    if (const auto base = BaseColour(u, v)) {
      lamp.pixel(x, y) = *base;
    } else if (InGlass(u, v)) {
      Rgb glass = Mix(Grey(224), Grey(63), GlassShade(u, v));
      if (OnFilament(u, v)) glass = Mix(glass, Grey(40), 0.5);
      lamp.pixel(x, y) = glass;
    }
  });
  return lamp;
}

/// The same bulb glowing green with a pale-yellow filament and a faint green
/// halo around the glass.
RgbImage LampLit(const BoardScale& scale) {
  const Rect size = BoardImageRect(BoardImage::LampLit, scale);
  RgbImage lamp(size.width, size.height, ViewGrey);
  const Rect shipped = BoardImageRect(BoardImage::LampLit);
  PartGrid(size, shipped.width, shipped.height).ForEach([&](int x, int y, double lu, double lv) {
    const double u = lu - LitMargin, v = lv - LitMargin;
    if (const auto base = BaseColour(u, v)) {
      lamp.pixel(x, y) = *base;
    } else if (InGlass(u, v)) {
      const Rgb glass = Mix(MakeRgb(252, 255, 252), MakeRgb(172, 255, 172), GlassShade(u, v));
      lamp.pixel(x, y) = OnFilament(u, v) ? MakeRgb(255, 255, 192) : glass;
    } else {
      const double outside = std::hypot(u - GlassX, v - GlassY) - GlassRadius;
      if (outside < 6.5 && v < 21.5) {
        const double glow = std::pow(1.0 - outside / 6.5, 1.6);
        lamp.pixel(x, y) = Mix(ViewGrey, MakeRgb(120, 200, 120), glow * 0.8);
      }
    }
  });
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
/// wordGap pixels for a space.
void DrawText(RgbImage& image, std::string_view text, int left, int letterGap, int wordGap,
              Rgb ink) {
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
        if (glyph.rows[row][column] == '#') image.pixel(x + column, top + row) = ink;
    x += GlyphWidth(text[i]);
    if (i + 1 < text.size()) x += letterGap;
  }
}

/// The picture with each of its pixels made a block of device pixels, from
/// the edge where the scale puts the pixel to the edge where it puts the next:
/// the labels' letters are a pixel font, and stay one at every scale.
RgbImage InBlocks(const RgbImage& picture, const BoardScale& scale) {
  RgbImage blocks(scale.Length(picture.width), scale.Length(picture.height));
  // The board pixel whose block holds device pixel d.
  const auto pixelOf = [&scale](int d) {
    return static_cast<int>(std::ceil(scale.CentreOf(d))) - 1;
  };
  for (int y = 0; y < blocks.height; ++y)
    for (int x = 0; x < blocks.width; ++x)
      blocks.pixel(x, y) = picture.pixel(pixelOf(x), pixelOf(y));
  return blocks;
}

/// Green "SOLUTION EXISTS" over the whole 111 pixels.
RgbImage LabelSolutionExists(const BoardScale& scale) {
  const Rect shipped = BoardImageRect(BoardImage::LabelSolutionExists);
  RgbImage label(shipped.width, shipped.height, ViewGrey);
  DrawText(label, "SOLUTION EXISTS", 0, 1, 6, MakeRgb(0, 255, 0));
  return InBlocks(label, scale);
}

/// Grey "NO SOLUTION", right-aligned with its ink from x 14 to 110.
RgbImage LabelNoSolution(const BoardScale& scale) {
  const Rect shipped = BoardImageRect(BoardImage::LabelNoSolution);
  RgbImage label(shipped.width, shipped.height, ViewGrey);
  DrawText(label, "NO SOLUTION", 14, 2, 10, MakeRgb(150, 150, 150));
  return InBlocks(label, scale);
}

}  // namespace

Rgb MixColours(Rgb a, Rgb b, double t) {
  return MakeRgb(Clamp255(Red(a) + (Red(b) - Red(a)) * t),
                 Clamp255(Green(a) + (Green(b) - Green(a)) * t),
                 Clamp255(Blue(a) + (Blue(b) - Blue(a)) * t));
}

BoardPixels MakeBoardPixels(const BoardScale& scale) {
  BoardPixels images;
  ImageOf(images, BoardImage::BallSheet) = BallSheet(scale);
  ImageOf(images, BoardImage::WallHoverSheet) = WallHoverSheet(scale);
  ImageOf(images, BoardImage::LampLit) = LampLit(scale);
  ImageOf(images, BoardImage::LampUnlit) = LampUnlit(scale);
  ImageOf(images, BoardImage::LabelSolutionExists) = LabelSolutionExists(scale);
  ImageOf(images, BoardImage::LabelNoSolution) = LabelNoSolution(scale);
  return images;
}
