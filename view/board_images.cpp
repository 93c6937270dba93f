// The six board images, compiled in with the Qt resource system and converted
// once to the surfaces' pixel format.

#include <QString>

#include "view/board_renderer.h"

namespace {

/// The image as stored, in Format_RGB32. The PNG files carry no colour space,
/// and none is converted here, so every pixel keeps its exact value.
QImage LoadImage(const char* name) {
  return QImage(QStringLiteral(":/images/") + QString::fromLatin1(name))
      .convertToFormat(QImage::Format_RGB32);
}

}  // namespace

BoardImages LoadBoardImages() {
  BoardImages images;
  images.ballSheet = LoadImage("ball_sheet.png");
  images.wallHoverSheet = LoadImage("wall_hover_sheet.png");
  images.lampLit = LoadImage("lamp_lit.png");
  images.lampUnlit = LoadImage("lamp_unlit.png");
  images.labelSolutionExists = LoadImage("label_solution_exists.png");
  images.labelNoSolution = LoadImage("label_no_solution.png");
  return images;
}
