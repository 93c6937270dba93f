#include "logic/reason.h"

#include <string_view>

// lupdate reads the forms below for the windowed programs' translations; in
// this standard-library room the marker hands its text on unchanged.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

const char* ReasonForm(ReasonId id) {
  switch (id) {
    case ReasonId::None: return "";
    case ReasonId::NoBoardSize:
      return QT_TRANSLATE_NOOP("Reason", "the first character must be the board size 3, 5 or 7");
    case ReasonId::CodeEndsBeforeCoordinates:
      return QT_TRANSLATE_NOOP("Reason", "the code ends before its %1 coordinate digits");
    case ReasonId::NotACoordinate:
      return QT_TRANSLATE_NOOP("Reason", "character %1 is not a coordinate from 0 to %2");
    case ReasonId::TwoPiecesOnOneSquare:
      return QT_TRANSLATE_NOOP("Reason", "two balls or two holes stand on one square");
    case ReasonId::CodeEndsBeforeWalls:
      return QT_TRANSLATE_NOOP("Reason", "the code ends before its %1 wall digits");
    case ReasonId::NotAWallDigit:
      return QT_TRANSLATE_NOOP("Reason", "character %1 is not a hexadecimal wall digit");
    case ReasonId::TextAfterCode:
      return QT_TRANSLATE_NOOP(
          "Reason", "text follows the %1 characters of the code; a title goes after a tab");
    case ReasonId::LineNotUtf8: return QT_TRANSLATE_NOOP("Reason", "the line is not valid UTF-8");
    case ReasonId::NoCodeBeforeTab:
      return QT_TRANSLATE_NOOP("Reason", "the line has no code before its tab");
    case ReasonId::TitleNotUtf8: return QT_TRANSLATE_NOOP("Reason", "the title is not valid UTF-8");
    case ReasonId::UnplayablePieces:
      return QT_TRANSLATE_NOOP("Reason", "its pieces cannot be played");
    case ReasonId::LineTooLong: return QT_TRANSLATE_NOOP("Reason", "line too long");
    case ReasonId::BoardSize:
      return QT_TRANSLATE_NOOP("Reason", "the board size must be 3, 5 or 7");
    case ReasonId::NegativeLeastMoves:
      return QT_TRANSLATE_NOOP("Reason", "the least number of moves must not be negative");
    case ReasonId::TooManyMoves:
      return QT_TRANSLATE_NOOP("Reason",
                               "a shortest solution on a %1 x %1 board has at most %2 moves");
    case ReasonId::LargestMovesBelowLeast:
      return QT_TRANSLATE_NOOP("Reason", "the largest number of moves must not be below the least");
    case ReasonId::NegativeLevelCount:
      return QT_TRANSLATE_NOOP("Reason", "the number of levels must not be negative");
    case ReasonId::NegativeOpenWalls:
      return QT_TRANSLATE_NOOP("Reason", "the number of walls to open must not be negative");
    case ReasonId::NoAttempts:
      return QT_TRANSLATE_NOOP("Reason", "the attempt limit must be at least 1");
    case ReasonId::NegativeTimeLimit:
      return QT_TRANSLATE_NOOP("Reason", "the time limit must not be negative");
    case ReasonId::NegativeLeastEffort:
      return QT_TRANSLATE_NOOP("Reason", "the least greedy effort must not be negative");
    case ReasonId::LargestEffortBelowLeast:
      return QT_TRANSLATE_NOOP("Reason", "the largest greedy effort must not be below the least");
    case ReasonId::NoSuchFile: return QT_TRANSLATE_NOOP("Reason", "no such file");
    case ReasonId::IsAFolder: return QT_TRANSLATE_NOOP("Reason", "it is a folder");
    case ReasonId::NotARegularFile: return QT_TRANSLATE_NOOP("Reason", "it is not a regular file");
    case ReasonId::FileTooLarge: return QT_TRANSLATE_NOOP("Reason", "it is larger than %1 MiB");
    case ReasonId::NoPlayableLevel:
      return QT_TRANSLATE_NOOP("Reason", "it holds no level that can be played");
    case ReasonId::System: return "%1";  // the system's words need no translation of ours
  }
  return "";
}

std::string EnglishReason(const Reason& reason) {
  const std::string_view form = ReasonForm(reason.id);
  std::string english;
  for (std::size_t i = 0; i < form.size(); ++i) {
    const bool marker =
        form[i] == '%' && i + 1 < form.size() && form[i + 1] >= '1' && form[i + 1] <= '9';
    const std::size_t index = marker ? static_cast<std::size_t>(form[i + 1] - '1') : 0;
    if (marker && index < reason.arguments.size()) {
      english += reason.arguments[index];
      ++i;
    } else {
      english += form[i];
    }
  }
  return english;
}
