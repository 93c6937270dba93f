#include "logic/level_code.h"

#include <optional>

#include "logic/moves.h"
#include "logic/solver.h"
#include "logic/text_checks.h"

// Codes list the pieces by colour, red, green, blue, whatever the order of the
// records at the moment: a code written right after a solution step (which
// leaves the balls blue, green, red) still describes the same level.

namespace {

constexpr int HeaderLength = 13;  // the size digit and six row/column pairs

int WallDigitCount(int n) { return static_cast<int>(LevelCodeLength(n)) - HeaderLength; }

/// The record of the given colour; the one at the colour's code position when
/// no record has it.
const Piece& PieceOfColour(const Pieces& pieces, Colour colour, std::size_t position) {
  for (const Piece& piece : pieces) {
    if (piece.colour == ColourNumber(colour)) return piece;
  }
  return pieces[position];
}

void AppendPieces(std::string& code, const Pieces& pieces) {
  for (std::size_t i = 0; i < 3; ++i) {
    const Piece& piece = PieceOfColour(pieces, ColoursRedFirst[i], i);
    code += std::to_string(piece.row);
    code += std::to_string(piece.column);
  }
}

char HexDigit(int value) { return "0123456789abcdef"[value & 15]; }

ParseResult Rejection(Reason reason) { return {false, std::move(reason)}; }

/// Everything the text says, checked before the level is touched.
struct ParsedCode {
  int boardSize = 0;
  Pieces balls{};
  Pieces holes{};
  std::vector<Cell> cells;
};

std::optional<int> ReadSize(std::string_view code) {
  if (code.empty() || code[0] < '0' || code[0] > '9') return std::nullopt;
  const int size = code[0] - '0';
  if (!IsBoardSize(size)) return std::nullopt;
  return size;
}

/// Reads the six row/column pairs into pieces of the colours red, green, blue.
std::optional<Reason> ReadPieces(std::string_view code, ParsedCode& parsed) {
  if (code.size() < HeaderLength)
    return Reason{ReasonId::CodeEndsBeforeCoordinates, {std::to_string(HeaderLength - 1)}};
  const char lastDigit = static_cast<char>('0' + parsed.boardSize - 1);
  for (std::size_t position = 1; position < HeaderLength; ++position) {
    const char c = code[position];
    if (c < '0' || c > lastDigit) {
      return Reason{ReasonId::NotACoordinate,
                    {std::to_string(position), std::string(1, lastDigit)}};
    }
  }
  for (std::size_t i = 0; i < 3; ++i) {
    auto at = [&](std::size_t position) { return static_cast<std::int8_t>(code[position] - '0'); };
    const std::int8_t colour = ColourNumber(ColoursRedFirst[i]);
    parsed.balls[i] = {at(2 * i + 2), at(2 * i + 1), 0, colour};
    parsed.holes[i] = {at(2 * i + 8), at(2 * i + 7), 0, colour};
  }
  Level placement;
  placement.boardSize = parsed.boardSize;
  placement.balls = parsed.balls;
  placement.holes = parsed.holes;
  if (PlacementIsInvalid(placement)) return Reason{ReasonId::TwoPiecesOnOneSquare};
  return std::nullopt;
}

/// Reads the wall digits into the east and south bits, closes the border and
/// derives the west and north bits from the neighbours.
std::optional<Reason> ReadWalls(std::string_view code, ParsedCode& parsed) {
  const int n = parsed.boardSize;
  const int digits = WallDigitCount(n);
  if (code.size() < static_cast<std::size_t>(HeaderLength + digits)) {
    return Reason{ReasonId::CodeEndsBeforeWalls, {std::to_string(digits)}};
  }
  parsed.cells.assign(static_cast<std::size_t>(n * n), 0);
  for (int k = 0; k < digits; ++k) {
    const std::size_t position = static_cast<std::size_t>(HeaderLength + k);
    const std::optional<int> value = HexValue(code[position]);
    if (!value) return Reason{ReasonId::NotAWallDigit, {std::to_string(position)}};
    parsed.cells[2 * k] = static_cast<Cell>(*value / 4);
    parsed.cells[2 * k + 1] = static_cast<Cell>(*value % 4);
  }
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column) {
      Cell& cell = parsed.cells[row * n + column];
      // A digit may claim a border side open; the border stays closed.
      if (column == n - 1) cell &= ~OpenEast;
      if (row == n - 1) cell &= ~OpenSouth;
      if (cell & OpenEast) parsed.cells[row * n + column + 1] |= OpenWest;
      if (cell & OpenSouth) parsed.cells[(row + 1) * n + column] |= OpenNorth;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string WriteLevelCode(const Level& level) {
  std::string code = std::to_string(level.boardSize);
  AppendPieces(code, level.balls);
  AppendPieces(code, level.holes);
  for (int k = 0; k < WallDigitCount(level.boardSize); ++k) {
    code += HexDigit(4 * (level.cells[2 * k] & 3) + (level.cells[2 * k + 1] & 3));
  }
  return code;
}

ParseResult ParseLevelCode(Level& level, std::string_view code) {
  ParsedCode parsed;
  const std::optional<int> size = ReadSize(code);
  if (!size) return Rejection({ReasonId::NoBoardSize});
  parsed.boardSize = *size;
  if (auto reason = ReadPieces(code, parsed)) return Rejection(std::move(*reason));
  if (auto reason = ReadWalls(code, parsed)) return Rejection(std::move(*reason));

  // Accepted: from here on the level is replaced as a whole.
  FreeLevelBuffers(level);
  level.boardSize = parsed.boardSize;
  level.cells = std::move(parsed.cells);
  level.balls = parsed.balls;
  level.holes = parsed.holes;
  level.startState = EncodeState(level, level.balls);
  level.targetState = EncodeState(level, level.holes);
  return {true, {}};
}
