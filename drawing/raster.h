#pragma once
// Plain pixel types for drawing without a window system: points, rectangles
// and images of 32-bit pixels 0xffRRGGBB (the layout of QImage::Format_RGB32).

#include <cstdint>
#include <vector>

/// One pixel: 0xff in the top byte, then red, green and blue.
using Rgb = std::uint32_t;

constexpr Rgb MakeRgb(int red, int green, int blue) {
  return 0xff000000u | (static_cast<Rgb>(red & 0xff) << 16) |
         (static_cast<Rgb>(green & 0xff) << 8) | static_cast<Rgb>(blue & 0xff);
}

struct Point {
  int x = 0;
  int y = 0;
  friend constexpr Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
  friend constexpr Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
  friend constexpr bool operator==(Point, Point) = default;
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  constexpr Point topLeft() const { return {x, y}; }
  constexpr bool isEmpty() const { return width <= 0 || height <= 0; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

/// The part the two rectangles share; empty (zero size) when none.
constexpr Rect Intersection(const Rect& a, const Rect& b) {
  const int left = a.x > b.x ? a.x : b.x;
  const int top = a.y > b.y ? a.y : b.y;
  const int right = (a.x + a.width < b.x + b.width) ? a.x + a.width : b.x + b.width;
  const int bottom = (a.y + a.height < b.y + b.height) ? a.y + a.height : b.y + b.height;
  if (right <= left || bottom <= top) return {left, top, 0, 0};
  return {left, top, right - left, bottom - top};
}

/// An image held in one row-major buffer.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;

  RgbImage() = default;
  RgbImage(int w, int h, Rgb fill = MakeRgb(0, 0, 0))
      : width(w),
        height(h),
        pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

  Rect rect() const { return {0, 0, width, height}; }
  Rgb pixel(int x, int y) const { return pixels[Index(x, y)]; }
  Rgb& pixel(int x, int y) { return pixels[Index(x, y)]; }
  friend bool operator==(const RgbImage&, const RgbImage&) = default;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x);
  }
};
