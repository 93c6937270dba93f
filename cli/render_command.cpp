// korvalo-level render: the editor's picture of a level, written as a PNG file.

#include <QSaveFile>
#include <QString>
#include <iostream>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "view/board_renderer.h"

namespace {

constexpr std::string_view RenderHelp =
    "Usage: korvalo-level render CODE FILE.png\n"
    "\n"
    "Writes the 325 x 359 picture the editor shows for the level: the board, its\n"
    "pieces and the solvability indicator, with nothing hovered or carried.\n"
    "The file is written as PNG whatever its name, and only once complete.\n"
    "\n"
    "Exit status: 0 when the file was written, 1 for an invalid code or a\n"
    "failed write (no file is then written), 2 for a wrong command line.\n";

/// Writes the image to path as a whole or not at all: an earlier file of that
/// name survives a failed write.
bool WritePng(const QImage& image, const std::string& path) {
  QSaveFile file(QString::fromStdString(path));
  return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << RenderHelp;
    return 0;
  }
  if (args.size() != 2) {
    std::cerr << RenderHelp;
    return UsageError;
  }
  const std::string& code = args[0];
  const std::string& path = args[1];
  Level level;
  const ParseResult reading = ParseLevelCode(level, code);
  if (!reading.accepted) {
    std::cerr << "korvalo-level render: invalid code '" << code << "': " << reading.reason << '\n';
    return 1;
  }
  // As in the editor after a code is read: the indicator follows the recheck.
  RecheckLevel(level);
  BoardRenderer renderer;
  if (!WritePng(renderer.DrawFrame(level), path)) {
    std::cerr << "korvalo-level render: cannot write '" << path << "'\n";
    return 1;
  }
  return 0;
}
