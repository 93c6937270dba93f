// module_board_picture CODE FILE.png: writes the board area that the web
// page's module draws for the level at its start, natively and with the
// shipped images, as the page's browser test expects the canvas to show it.

#include <QImage>
#include <QString>
#include <cstdio>

#include "view/board_renderer.h"
#include "view/raster_conversion.h"
#include "web/module/play_session.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: module_board_picture CODE FILE.png\n");
    return 2;
  }
  PlaySession session;
  if (session.Open(argv[1]).outcome == CodeReading::Rejected) return 1;
  const BoardPixels images = ToBoardPixels(LoadBoardImages());
  for (const BoardImage image : AllBoardImages) {
    const RgbImage& pixels = images[static_cast<std::size_t>(image)];
    std::vector<std::uint8_t> rgba;
    for (const Rgb pixel : pixels.pixels) {
      rgba.insert(rgba.end(),
                  {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                   static_cast<std::uint8_t>(pixel), 0xff});
    }
    if (!session.SetImage(image, pixels.width, pixels.height, rgba.data())) return 1;
  }
  const std::vector<std::uint8_t>& area = session.DrawBoardArea();
  const Rect size = BoardArea(session.BoardSize());
  RgbImage picture(size.width, size.height);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i)
    picture.pixels[i] = MakeRgb(area[4 * i], area[4 * i + 1], area[4 * i + 2]);
  return ToQImage(picture).save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
