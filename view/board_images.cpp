// The six board images, compiled in with the Qt resource system and converted
// once to the surfaces' pixel format, or made for another scale.

#include <QString>
#include <utility>

#include "drawing/board_art.h"
#include "view/board_renderer.h"
#include "view/raster_conversion.h"

namespace {

/// The image as stored, in Format_RGB32. The PNG files carry no colour space,
/// and none is converted here, so every pixel keeps its exact value.
QImage LoadImage(BoardImage image) {
  return QImage(QStringLiteral(":/images/") + QString::fromLatin1(BoardImageFileName(image)))
      .convertToFormat(QImage::Format_RGB32);
}

}  // namespace

const char* BoardImageFileName(BoardImage image) {
  return BoardImageFileNames.at(static_cast<std::size_t>(image));
}

const QImage& ImageOf(const BoardImages& images, BoardImage image) {
  switch (image) {
    case BoardImage::BallSheet: return images.ballSheet;
    case BoardImage::WallHoverSheet: return images.wallHoverSheet;
    case BoardImage::LampLit: return images.lampLit;
    case BoardImage::LampUnlit: return images.lampUnlit;
    case BoardImage::LabelSolutionExists: return images.labelSolutionExists;
    case BoardImage::LabelNoSolution: return images.labelNoSolution;
  }
  return images.ballSheet;
}

QImage& ImageOf(BoardImages& images, BoardImage image) {
  return const_cast<QImage&>(ImageOf(std::as_const(images), image));
}

BoardImages LoadBoardImages() {
  BoardImages images;
  for (const BoardImage image : AllBoardImages) ImageOf(images, image) = LoadImage(image);
  return images;
}

BoardImages BoardImagesFor(const BoardScale& scale) {
  return scale.IsOne() ? LoadBoardImages() : ToBoardImages(MakeBoardPixels(scale));
}
