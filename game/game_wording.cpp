#include "game/game_wording.h"

#include <QCoreApplication>
#include <QStringList>

#include "logic/moves.h"
#include "play/board_reading.h"
#include "view/board_description.h"
#include "view/grade_wording.h"
#include "view/reason_wording.h"

namespace {

QString Word(const std::string& word) { return QString::fromStdString(word); }

QString DirectionWord(int direction) {
  switch (static_cast<Direction>(direction)) {
    case Direction::North: return QCoreApplication::translate("GameText", "North");
    case Direction::South: return QCoreApplication::translate("GameText", "South");
    case Direction::West: return QCoreApplication::translate("GameText", "West");
    case Direction::East: return QCoreApplication::translate("GameText", "East");
  }
  return {};
}

/// A text marked with QT_TRANSLATE_NOOP in the context "GameText".
QString Tr(const char* text) { return QCoreApplication::translate("GameText", text); }

/// "walls north, west; open south, east", "no walls" or "walls on every side".
QString SidesWording(int walls) {
  const struct {
    Cell side;
    const char* name;
  } sides[] = {{OpenNorth, QT_TRANSLATE_NOOP("GameText", "north")},
               {OpenSouth, QT_TRANSLATE_NOOP("GameText", "south")},
               {OpenWest, QT_TRANSLATE_NOOP("GameText", "west")},
               {OpenEast, QT_TRANSLATE_NOOP("GameText", "east")}};
  QStringList closed;
  QStringList open;
  for (const auto& side : sides) ((walls & side.side) ? closed : open) << Tr(side.name);
  if (closed.isEmpty()) return QCoreApplication::translate("GameText", "no walls");
  if (open.isEmpty()) return QCoreApplication::translate("GameText", "walls on every side");
  const QString separator = QCoreApplication::translate("GameText", ", ");
  return QCoreApplication::translate("GameText", "walls %1; open %2")
      .arg(closed.join(separator), open.join(separator));
}

QString SquareReading(const std::vector<int>& numbers) {
  QStringList pieces;
  if (IsColourNumber(numbers[3]))
    pieces << QCoreApplication::translate("GameText", "the %1 ball")
                  .arg(ColourWord(static_cast<Colour>(numbers[3])));
  if (IsColourNumber(numbers[4]))
    pieces << QCoreApplication::translate("GameText", "the %1 hole")
                  .arg(ColourWord(static_cast<Colour>(numbers[4])));
  const QString square =
      QCoreApplication::translate("GameText", "Column %1, row %2").arg(numbers[0]).arg(numbers[1]);
  if (pieces.isEmpty())
    return QCoreApplication::translate("GameText", "%1: %2").arg(square, SidesWording(numbers[2]));
  return QCoreApplication::translate("GameText", "%1: %2; %3")
      .arg(square, pieces.join(QCoreApplication::translate("GameText", ", ")),
           SidesWording(numbers[2]));
}

QString BallOutcome(const int* ball) {
  const QString colour = ColourWord(static_cast<Colour>(ball[0]));
  switch (static_cast<TiltOutcome>(ball[1])) {
    case TiltOutcome::Goes:
      return QCoreApplication::translate("GameText", "the %1 ball goes to column %2, row %3")
          .arg(colour, QString::number(ball[2]), QString::number(ball[3]));
    case TiltOutcome::Wall:
      return QCoreApplication::translate("GameText", "the %1 ball stays at a wall").arg(colour);
    case TiltOutcome::BallInTheWay:
      return QCoreApplication::translate("GameText", "the %1 ball stays behind the %2 ball")
          .arg(colour, ColourWord(static_cast<Colour>(ball[4])));
  }
  return {};
}

QString LowerDirectionWord(int direction) {
  switch (static_cast<Direction>(direction)) {
    case Direction::North: return QCoreApplication::translate("GameText", "north");
    case Direction::South: return QCoreApplication::translate("GameText", "south");
    case Direction::West: return QCoreApplication::translate("GameText", "west");
    case Direction::East: return QCoreApplication::translate("GameText", "east");
  }
  return {};
}

QString TiltReading(const std::vector<int>& numbers) {
  QStringList outcomes;
  bool moves = false;
  for (std::size_t i = 1; i + NumbersPerBall <= numbers.size(); i += NumbersPerBall) {
    moves = moves || numbers[i + 1] == static_cast<int>(TiltOutcome::Goes);
    outcomes << BallOutcome(&numbers[i]);
  }
  const QString direction = LowerDirectionWord(numbers[0]);
  const QString said = outcomes.join(QCoreApplication::translate("GameText", ", "));
  if (!moves)
    return QCoreApplication::translate("GameText", "Tilt %1 moves no ball: %2")
        .arg(direction, said);
  return QCoreApplication::translate("GameText", "Tilt %1: %2").arg(direction, said);
}

QString SetHeading(int level, int levels, const std::string& title) {
  if (title.empty()) {
    return QCoreApplication::translate("GameText", "Level %1 of %2").arg(level).arg(levels);
  }
  return QCoreApplication::translate("GameText", "Level %1 of %2: %3")
      .arg(QString::number(level), QString::number(levels), Word(title));
}

QString SetAchievement(int fewest, int solved, int levels) {
  const QString best = fewest >= 0 ? QCoreApplication::translate(
                                         "GameText", "Solved, best %n move(s)", nullptr, fewest)
                                   : QCoreApplication::translate("GameText", "Not solved yet");
  const QString count =
      QCoreApplication::translate("GameText", "%1 of %n level(s) solved", nullptr, levels)
          .arg(solved);
  return QCoreApplication::translate("GameText", "%1; %2").arg(best, count);
}

QString SetComplete(int levels, int next) {
  if (next <= 0) {
    return QCoreApplication::translate("GameText", "Set complete: all %n level(s) solved", nullptr,
                                       levels);
  }
  return QCoreApplication::translate(
             "GameText", "Set complete: all %n level(s) solved; press Enter for level %1", nullptr,
             levels)
      .arg(next);
}

QString CodeUnreadable(const std::string& code, const Reason& reason, int size) {
  if (reason.id == ReasonId::None) {
    return QCoreApplication::translate(
               "GameText",
               "Could not read the level code %1; playing a random %2 x %2 level instead.")
        .arg(Word(code), QString::number(size));
  }
  return QCoreApplication::translate(
             "GameText",
             "Could not read the level code %1 (%2); playing a random %3 x %3 level instead.")
      .arg(Word(code), ReasonWording(reason), QString::number(size));
}

}  // namespace

// A count stands in a variable of its own: Qt 6.4's lupdate does not finish
// on a function call in the count's place.
QString GameWording(const GameText& text) {
  const auto number = [&](std::size_t i) { return text.numbers.at(i); };
  const auto word = [&](std::size_t i) -> const std::string& { return text.words.at(i); };
  switch (text.id) {
    case GameTextId::Moves:
      return QCoreApplication::translate("GameText", "Moves: %1").arg(number(0));
    case GameTextId::SolvedIn: {
      const int moves = number(0);
      return QCoreApplication::translate("GameText", "Solved in %n move(s)", nullptr, moves);
    }
    case GameTextId::ShortestPossible: {
      const int moves = number(0);
      return QCoreApplication::translate("GameText", "Shortest possible: %n move(s)", nullptr,
                                         moves);
    }
    case GameTextId::ShortestFromHere: {
      const int moves = number(0);
      return QCoreApplication::translate("GameText", "Shortest solution from here: %n move(s)",
                                         nullptr, moves);
    }
    case GameTextId::NoSolutionFromHere:
      return QCoreApplication::translate("GameText", "No solution from here");
    case GameTextId::Hint:
      return QCoreApplication::translate("GameText", "Hint: %1").arg(DirectionWord(number(0)));
    case GameTextId::NoHint:
      return QCoreApplication::translate("GameText", "No hint: the holes cannot be reached");
    case GameTextId::SetHeading: return SetHeading(number(0), number(1), word(0));
    case GameTextId::SetAchievement: return SetAchievement(number(0), number(1), number(2));
    case GameTextId::OfferNext:
      return QCoreApplication::translate("GameText", "Press Enter for level %1").arg(number(0));
    case GameTextId::SetComplete: return SetComplete(number(0), number(1));
    case GameTextId::EndOfSet: {
      const int levels = number(1);
      return QCoreApplication::translate(
                 "GameText",
                 "End of the set, %1 of %n level(s) solved: press Enter for level %2, the first "
                 "not solved",
                 nullptr, levels)
          .arg(number(0))
          .arg(number(2));
    }
    case GameTextId::NoSolution:
      return QCoreApplication::translate(
          "GameText", "This level has no solution; the balls can still be moved.");
    case GameTextId::ProgressUnsaved:
      return QCoreApplication::translate("GameText", "Your progress could not be saved.");
    case GameTextId::EndlessLevel:
      return QCoreApplication::translate(
                 "GameText",
                 "Endless play, %1 x %1, grade %2 (%3 points). Level code %4; "
                 "Ctrl+C copies it.")
          .arg(QString::number(number(0)), GradeWord(static_cast<Grade>(number(1))),
               QString::number(number(2)), Word(word(0)));
    case GameTextId::SetNotOpened:
      return QCoreApplication::translate("GameText", "Could not open the level set %1: %2.")
          .arg(Word(word(0)), ReasonWording(text.reason));
    case GameTextId::ProgressKeptAside:
      return QCoreApplication::translate(
                 "GameText",
                 "Your progress file was damaged; it is kept as %1, and what could be read of it "
                 "counts.")
          .arg(Word(word(0)));
    case GameTextId::ProgressUnreadable:
      return QCoreApplication::translate(
                 "GameText", "Your progress file %1 cannot be read; progress is not saved.")
          .arg(Word(word(0)));
    case GameTextId::LeftOut: {
      const int lines = number(0);
      return QCoreApplication::translate(
                 "GameText",
                 "%n line(s) of the set could not be read and were left out; the first is line "
                 "%1: %2.",
                 nullptr, lines)
          .arg(QString::number(number(1)), ReasonWording(text.reason));
    }
    case GameTextId::NoCodeGiven:
      return QCoreApplication::translate(
                 "GameText", "No level code was given; playing a random %1 x %1 level instead.")
          .arg(number(0));
    case GameTextId::CodeUnreadable: return CodeUnreadable(word(0), text.reason, number(0));
    case GameTextId::SetUnreadable:
      return QCoreApplication::translate(
                 "GameText",
                 "Could not read the level set %1: %2; playing a random %3 x %3 level instead.")
          .arg(Word(word(0)), ReasonWording(text.reason), QString::number(number(0)));
    case GameTextId::SetWithoutLevels:
      return QCoreApplication::translate("GameText",
                                         "The level set %1 holds no level that can be played; "
                                         "playing a random %2 x %2 level instead.")
          .arg(Word(word(0)), QString::number(number(0)));
    case GameTextId::NeitherFileNorCode:
      return QCoreApplication::translate(
                 "GameText",
                 "Could not read %1: there is no such file, and it is not a level code (%2); "
                 "playing a random %3 x %3 level instead.")
          .arg(Word(word(0)), ReasonWording(text.reason), QString::number(number(0)));
    case GameTextId::SquareReading: return SquareReading(text.numbers);
    case GameTextId::TiltReading: return TiltReading(text.numbers);
  }
  return {};
}

QString GameWording(const std::vector<GameText>& texts, const QString& separator) {
  QStringList sentences;
  for (const GameText& text : texts) sentences << GameWording(text);
  return sentences.join(separator);
}
