#include "view/board_description.h"

#include <QCoreApplication>
#include <QStringList>

QString ColourWord(Colour colour) {
  switch (colour) {
    case Colour::Blue: return QCoreApplication::translate("BoardDescription", "blue");
    case Colour::Green: return QCoreApplication::translate("BoardDescription", "green");
    case Colour::Red: return QCoreApplication::translate("BoardDescription", "red");
  }
  return {};
}

QString SquareText(int column, int row) {
  return QCoreApplication::translate("BoardDescription", "column %1, row %2")
      .arg(column + 1)
      .arg(row + 1);
}

QString BoardPiecesText(const Level& level) {
  QStringList parts;
  parts
      << QCoreApplication::translate("BoardDescription", "A %1 by %1 board.").arg(level.boardSize);
  for (const Colour colour : ColoursRedFirst) {
    for (const Piece& ball : level.balls) {
      if (ColourOf(ball) != colour) continue;
      parts << QCoreApplication::translate("BoardDescription", "The %1 ball on %2.")
                   .arg(ColourWord(colour), SquareText(ball.column, ball.row));
    }
    for (const Piece& hole : level.holes) {
      if (ColourOf(hole) != colour) continue;
      parts << QCoreApplication::translate("BoardDescription", "The %1 hole on %2.")
                   .arg(ColourWord(colour), SquareText(hole.column, hole.row));
    }
  }
  return parts.join(QLatin1Char(' '));
}
