#include "play/game_text.h"

#include "logic/level_grade.h"
#include "logic/moves.h"
#include "play/board_reading.h"

namespace {

/// "1 move", "3 moves".
std::string Counted(int count, const char* one, const char* many) {
  std::string text = std::to_string(count);
  text += ' ';
  text += count == 1 ? one : many;
  return text;
}

std::string Moves(int count) { return Counted(count, "move", "moves"); }

/// "5 of 12 levels solved"
std::string SolvedOf(int solved, int levels) {
  return std::to_string(solved) + " of " + Counted(levels, "level", "levels") + " solved";
}

std::string LevelNumber(int number) { return "level " + std::to_string(number); }

std::string DirectionWord(int direction) {
  switch (static_cast<Direction>(direction)) {
    case Direction::North: return "North";
    case Direction::South: return "South";
    case Direction::West: return "West";
    case Direction::East: return "East";
  }
  return "";
}

const char* ColourName(int colour) {
  switch (colour) {
    case 0: return "blue";
    case 1: return "green";
    case 2: return "red";
  }
  return "";
}

/// "walls north, west; open south, east", "no walls" or "walls on every side".
std::string SidesText(int walls) {
  const struct {
    Cell side;
    const char* name;
  } sides[] = {{OpenNorth, "north"}, {OpenSouth, "south"}, {OpenWest, "west"}, {OpenEast, "east"}};
  std::string closed;
  std::string open;
  for (const auto& side : sides) {
    std::string& list = (walls & side.side) ? closed : open;
    list += (list.empty() ? "" : ", ") + std::string(side.name);
  }
  if (closed.empty()) return "no walls";
  if (open.empty()) return "walls on every side";
  return "walls " + closed + "; open " + open;
}

/// "Column 2, row 3: the red ball, the blue hole; walls north; open south, west, east".
std::string SquareReadingText(const std::vector<int>& numbers) {
  std::string pieces;
  if (numbers[3] >= 0) pieces += std::string("the ") + ColourName(numbers[3]) + " ball";
  if (numbers[4] >= 0)
    pieces += (pieces.empty() ? "the " : ", the ") + std::string(ColourName(numbers[4])) + " hole";
  return "Column " + std::to_string(numbers[0]) + ", row " + std::to_string(numbers[1]) + ": " +
         (pieces.empty() ? "" : pieces + "; ") + SidesText(numbers[2]);
}

/// "the red ball goes to column 2, row 1", "the green ball stays at a wall",
/// "the blue ball stays behind the red ball".
std::string BallOutcomeText(const int* ball) {
  const std::string name = std::string("the ") + ColourName(ball[0]) + " ball";
  switch (static_cast<TiltOutcome>(ball[1])) {
    case TiltOutcome::Goes:
      return name + " goes to column " + std::to_string(ball[2]) + ", row " +
             std::to_string(ball[3]);
    case TiltOutcome::Wall: return name + " stays at a wall";
    case TiltOutcome::BallInTheWay:
      return name + " stays behind the " + ColourName(ball[4]) + " ball";
  }
  return "";
}

/// "Tilt north: the red ball goes to ..., the green ball stays at a wall, ...",
/// or "Tilt north moves no ball: the red ball stays at a wall, ...".
std::string TiltReadingText(const std::vector<int>& numbers) {
  std::string direction = DirectionWord(numbers[0]);
  direction[0] = static_cast<char>(direction[0] - 'A' + 'a');
  std::string outcomes;
  bool moves = false;
  for (std::size_t i = 1; i + NumbersPerBall <= numbers.size(); i += NumbersPerBall) {
    moves = moves || numbers[i + 1] == static_cast<int>(TiltOutcome::Goes);
    outcomes += (outcomes.empty() ? "" : ", ") + BallOutcomeText(&numbers[i]);
  }
  if (!moves) return "Tilt " + direction + " moves no ball: " + outcomes;
  return "Tilt " + direction + ": " + outcomes;
}

std::string LeftOutText(int count, int firstLine, const std::string& reason) {
  const bool one = count == 1;
  return Counted(count, "line", "lines") + " of the set could not be read and " +
         (one ? "was" : "were") + " left out; " + (one ? "it is" : "the first is") + " line " +
         std::to_string(firstLine) + ": " + reason + ".";
}

}  // namespace

std::string EnglishRandomLevelInstead(int size) {
  return "playing a random " + std::to_string(size) + " x " + std::to_string(size) +
         " level instead.";
}

std::string EnglishText(const GameText& text) {
  const auto number = [&](std::size_t i) { return text.numbers.at(i); };
  const auto word = [&](std::size_t i) -> const std::string& { return text.words.at(i); };
  const std::string reason = EnglishReason(text.reason);
  switch (text.id) {
    case GameTextId::Moves: return "Moves: " + std::to_string(number(0));
    case GameTextId::SolvedIn: return "Solved in " + Moves(number(0));
    case GameTextId::ShortestPossible: return "Shortest possible: " + Moves(number(0));
    case GameTextId::ShortestFromHere: return "Shortest solution from here: " + Moves(number(0));
    case GameTextId::NoSolutionFromHere: return "No solution from here";
    case GameTextId::Hint: return "Hint: " + DirectionWord(number(0));
    case GameTextId::NoHint: return "No hint: the holes cannot be reached";
    case GameTextId::SetHeading: {
      std::string heading =
          "Level " + std::to_string(number(0)) + " of " + std::to_string(number(1));
      if (!word(0).empty()) heading += ": " + word(0);
      return heading;
    }
    case GameTextId::SetAchievement:
      return (number(0) >= 0 ? "Solved, best " + Moves(number(0)) : "Not solved yet") + "; " +
             SolvedOf(number(1), number(2));
    case GameTextId::OfferNext: return "Press Enter for " + LevelNumber(number(0));
    case GameTextId::SetComplete: {
      std::string done = "Set complete: all " + Counted(number(0), "level", "levels") + " solved";
      if (number(1) > 0) done += "; press Enter for " + LevelNumber(number(1));
      return done;
    }
    case GameTextId::EndOfSet:
      return "End of the set, " + SolvedOf(number(0), number(1)) + ": press Enter for " +
             LevelNumber(number(2)) + ", the first not solved";
    case GameTextId::NoSolution: return "This level has no solution; the balls can still be moved.";
    case GameTextId::ProgressUnsaved: return "Your progress could not be saved.";
    case GameTextId::EndlessLevel:
      return "Endless play, " + std::to_string(number(0)) + " x " + std::to_string(number(0)) +
             ", grade " + std::string(GradeName(static_cast<Grade>(number(1)))) + " (" +
             std::to_string(number(2)) + " points). Level code " + word(0) + "; Ctrl+C copies it.";
    case GameTextId::SetNotOpened:
      return "Could not open the level set " + word(0) + ": " + reason + ".";
    case GameTextId::ProgressKeptAside:
      return "Your progress file was damaged; it is kept as " + word(0) +
             ", and what could be read of it counts.";
    case GameTextId::ProgressUnreadable:
      return "Your progress file " + word(0) + " cannot be read; progress is not saved.";
    case GameTextId::LeftOut: return LeftOutText(number(0), number(1), reason);
    case GameTextId::NoCodeGiven:
      return "No level code was given; " + EnglishRandomLevelInstead(number(0));
    case GameTextId::CodeUnreadable: {
      std::string said = "Could not read the level code " + word(0);
      if (!reason.empty()) said += " (" + reason + ")";
      return said + "; " + EnglishRandomLevelInstead(number(0));
    }
    case GameTextId::SetUnreadable:
      return "Could not read the level set " + word(0) + ": " + reason + "; " +
             EnglishRandomLevelInstead(number(0));
    case GameTextId::SetWithoutLevels:
      return "The level set " + word(0) + " holds no level that can be played; " +
             EnglishRandomLevelInstead(number(0));
    case GameTextId::NeitherFileNorCode:
      return "Could not read " + word(0) + ": there is no such file, and it is not a level code (" +
             reason + "); " + EnglishRandomLevelInstead(number(0));
    case GameTextId::SquareReading: return SquareReadingText(text.numbers);
    case GameTextId::TiltReading: return TiltReadingText(text.numbers);
  }
  return "";
}

std::string EnglishText(const std::vector<GameText>& texts, const std::string& separator) {
  std::string joined;
  for (const GameText& text : texts) {
    if (!joined.empty()) joined += separator;
    joined += EnglishText(text);
  }
  return joined;
}
