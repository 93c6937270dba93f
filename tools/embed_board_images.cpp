// Build-time tool: writes a C++ source holding the editor's six board images
// (as the editor loads them) as pixel arrays, for the programs that draw
// without Qt (picture/).
//
//   embed_board_images OUTPUT.cpp

#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>
#include <cstdio>

#include "view/board_renderer.h"
#include "view/raster_conversion.h"

namespace {

constexpr const char* ArrayNames[BoardImageCount] = {
    "BallSheet", "WallHoverSheet",      "LampLit",
    "LampUnlit", "LabelSolutionExists", "LabelNoSolution"};

void WriteArray(QTextStream& out, const char* name, const RgbImage& image) {
  out << "const std::uint32_t " << name << "[] = {";
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    out << (i % 8 == 0 ? "\n   " : "") << " 0x" << QString::number(image.pixels[i], 16) << "u,";
  }
  out << "\n};\n\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: embed_board_images OUTPUT.cpp\n");
    return 2;
  }
  const BoardPixels images = ToBoardPixels(LoadBoardImages());
  if (!HasBoardImageSizes(images)) {
    std::fprintf(stderr, "embed_board_images: the board images do not have their sizes\n");
    return 1;
  }
  QSaveFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return 1;
  QTextStream out(&file);
  out << "// Made by embed_board_images from view/images at build time.\n\n"
         "#include \"picture/board_image_data.h\"\n\n#include <cstdint>\n#include "
         "<iterator>\n\nnamespace {\n\n";
  for (std::size_t i = 0; i < BoardImageCount; ++i) WriteArray(out, ArrayNames[i], images[i]);
  out << "RgbImage Image(int width, int height, const std::uint32_t* begin, const std::uint32_t* "
         "end) {\n"
         "  RgbImage image(width, height);\n  image.pixels.assign(begin, end);\n  return "
         "image;\n}\n\n"
         "}  // namespace\n\nBoardPixels BuiltInBoardPixels() {\n  return {\n";
  for (std::size_t i = 0; i < BoardImageCount; ++i) {
    out << "      Image(" << images[i].width << ", " << images[i].height << ", std::begin("
        << ArrayNames[i] << "), std::end(" << ArrayNames[i] << ")),\n";
  }
  out << "  };\n}\n";
  out.flush();
  return file.commit() ? 0 : 1;
}
