// korvalo: plays a Korvalo level, given as a level code on the command line
// (as the level editor's Test command passes it) or made at random.

#include <QApplication>
#include <string>
#include <vector>

#include "game/game_window.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QCoreApplication::setOrganizationName("Vandrel");
  QCoreApplication::setApplicationName("Korvalo");
  QCoreApplication::setApplicationVersion("1.0");

  // QApplication has taken its own options out of argv by now.
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  RandomSource random = ClockSeededRandomSource();
  CGameWindow window(OpenGame(arguments, random), random);
  window.show();
  return QApplication::exec();
}
