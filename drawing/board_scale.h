#pragma once
// The board drawn for a screen with more device pixels per board pixel than
// one (1.25, 1.5, 2, 3, ...): every edge of the 325 x 359 layout lands on the
// device pixel nearest to it, so things that touch at 1x still touch, and a
// part of a picture keeps its size wherever it stands.

#include <cmath>

#include "drawing/raster.h"

class BoardScale {
 public:
  /// One device pixel per board pixel: the classic drawing.
  constexpr BoardScale() = default;
  /// Device pixels per board pixel; kept within [MinFactor, MaxFactor], and 1
  /// for a factor that is no number.
  explicit BoardScale(double factor)
      : m_factor(factor >= MinFactor  ? (factor <= MaxFactor ? factor : MaxFactor)
                 : factor < MinFactor ? MinFactor
                                      : 1.0) {}

  static constexpr double MinFactor = 0.5;
  static constexpr double MaxFactor = 4.0;

  double factor() const { return m_factor; }
  bool IsOne() const { return m_factor == 1.0; }

  /// The device pixel edge where the board pixel edge x falls.
  int Edge(int x) const { return IsOne() ? x : static_cast<int>(std::floor(x * m_factor + 0.5)); }
  /// A length of board pixels in device pixels, the same wherever it stands:
  /// the size of a part of a picture.
  int Length(int length) const { return Edge(length); }
  Point At(Point p) const { return {Edge(p.x), Edge(p.y)}; }
  /// The device pixels of a board area: from the edge of its first pixel to
  /// the edge after its last, so neighbouring areas stay neighbours.
  Rect Area(const Rect& r) const {
    const int left = Edge(r.x), top = Edge(r.y);
    return {left, top, Edge(r.x + r.width) - left, Edge(r.y + r.height) - top};
  }
  /// The board position (in board pixels, edges at whole numbers) of the
  /// centre of device pixel `device`.
  double CentreOf(int device) const { return (device + 0.5) / m_factor; }

  friend bool operator==(const BoardScale&, const BoardScale&) = default;

 private:
  double m_factor = 1.0;
};
