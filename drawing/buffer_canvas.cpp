#include "drawing/buffer_canvas.h"

#include <utility>

#include "drawing/board_art.h"
#include "drawing/board_geometry.h"

bool HasBoardImageSizes(const BoardPixels& images) {
  for (BoardImage image : AllBoardImages) {
    const RgbImage& pixels = images[static_cast<std::size_t>(image)];
    const Rect expected = BoardImageRect(image);
    if (pixels.width != expected.width || pixels.height != expected.height ||
        pixels.pixels.size() != static_cast<std::size_t>(expected.width * expected.height))
      return false;
  }
  return true;
}

void BufferCanvas::Fill(const Rect& area, Rgb colour) {
  const Rect clipped = Intersection(area, m_target.rect());
  for (int y = clipped.y; y < clipped.y + clipped.height; ++y)
    for (int x = clipped.x; x < clipped.x + clipped.width; ++x) m_target.pixel(x, y) = colour;
}

void BufferCanvas::Copy(Point at, BoardImage source, const Rect& from) {
  Blit(at, source, from, [](Rgb, Rgb src) { return src; });
}

void BufferCanvas::And(Point at, BoardImage source, const Rect& from) {
  Blit(at, source, from, [](Rgb dst, Rgb src) { return dst & src; });
}

void BufferCanvas::Or(Point at, BoardImage source, const Rect& from) {
  Blit(at, source, from, [](Rgb dst, Rgb src) { return dst | src; });
}

template <class Combine>
void BufferCanvas::Blit(Point at, BoardImage source, const Rect& from, Combine combine) {
  const RgbImage& image = m_images[static_cast<std::size_t>(source)];
  // Keep only the part of `from` inside the image, moving the destination with it...
  const Rect inImage = Intersection(from, image.rect());
  const Point shift = inImage.topLeft() - from.topLeft();
  const Rect wanted{at.x + shift.x, at.y + shift.y, inImage.width, inImage.height};
  // ...then only the part of that inside the buffer.
  const Rect drawn = Intersection(wanted, m_target.rect());
  const Point offset = inImage.topLeft() - wanted.topLeft();  // buffer position to image position
  for (int y = drawn.y; y < drawn.y + drawn.height; ++y) {
    for (int x = drawn.x; x < drawn.x + drawn.width; ++x) {
      Rgb& destination = m_target.pixel(x, y);
      destination = combine(destination, image.pixel(x + offset.x, y + offset.y));
    }
  }
}

BufferRenderer::BufferRenderer(BoardPixels images)
    : m_shipped(std::move(images)), m_frame(ViewWidth, ViewHeight) {}

void BufferRenderer::SetOptions(const DrawOptions& options) {
  if (options.scale != m_options.scale) {
    m_scaled = options.scale.IsOne() ? BoardPixels{} : MakeBoardPixels(options.scale);
    const Rect size = FrameSize(options.scale);
    m_frame = RgbImage(size.width, size.height);
  }
  m_options = options;
}

const RgbImage& BufferRenderer::DrawFrame(const Level& level, const EditingState& editing) {
  BufferCanvas canvas(m_frame, images());
  DrawBoardFrame(canvas, level, editing, m_options);
  return m_frame;
}
