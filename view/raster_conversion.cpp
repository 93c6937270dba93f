#include "view/raster_conversion.h"

RgbImage ToRgbImage(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  RgbImage pixels(image.width(), image.height());
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) pixels.pixel(x, y) = line[x] | 0xff000000u;
  }
  return pixels;
}

QImage ToQImage(const RgbImage& pixels) {
  QImage image(pixels.width, pixels.height, QImage::Format_RGB32);
  for (int y = 0; y < pixels.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < pixels.width; ++x) line[x] = pixels.pixel(x, y);
  }
  return image;
}

BoardPixels ToBoardPixels(const BoardImages& images) {
  BoardPixels pixels;
  for (const BoardImage image : AllBoardImages)
    pixels[static_cast<std::size_t>(image)] = ToRgbImage(ImageOf(images, image));
  return pixels;
}

BoardImages ToBoardImages(const BoardPixels& pixels) {
  BoardImages images;
  for (const BoardImage image : AllBoardImages)
    ImageOf(images, image) = ToQImage(pixels[static_cast<std::size_t>(image)]);
  return images;
}
