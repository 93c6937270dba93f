#include "web/module/play_session.h"

#include <utility>

#include "logic/solver.h"

namespace {

const Piece* PieceOfColour(const Pieces& pieces, std::int8_t colour) {
  for (const Piece& piece : pieces)
    if (piece.colour == colour) return &piece;
  return nullptr;
}

}  // namespace

ReadResult PlaySession::Open(std::string_view code) {
  Level level;
  ParseResult parsed = ParseLevelCode(level, code);
  if (!parsed.accepted) return {CodeReading::Rejected, std::move(parsed.reason)};
  RecheckLevel(level);  // as the editor does after reading a code
  m_code = WriteLevelCode(level);
  const CodeReading outcome = level.solvable ? CodeReading::Solvable : CodeReading::Unsolvable;
  m_game.emplace(std::move(level));
  return {outcome, {}};
}

bool PlaySession::Tilt(Direction direction) { return m_game && m_game->Tilt(direction); }

bool PlaySession::Undo() { return m_game && m_game->Undo(); }

void PlaySession::Restart() {
  if (m_game) m_game->Restart();
}

void PlaySession::ShowHint() {
  if (m_game) m_game->ShowHint();
}

int PlaySession::BoardSize() const { return m_game ? m_game->level().boardSize : 0; }

int PlaySession::MoveCount() const { return m_game ? m_game->MoveCount() : 0; }

bool PlaySession::IsSolved() const { return m_game && m_game->IsSolved(); }

std::optional<int> PlaySession::ShortestFromStart() const {
  return m_game ? m_game->ShortestFromStart() : std::nullopt;
}

std::string PlaySession::StatusText() const {
  if (!m_game) return {};
  std::string text;
  for (const std::string& line : StatusLines(*m_game)) {
    if (!text.empty()) text += '\n';
    text += line;
  }
  return text;
}

std::string PlaySession::SolutionFromHere() const {
  if (!m_game) return "-";
  Level level = m_game->level();  // the search reorders the records: work on a copy
  const Solution solution = ShortestSolution(level);
  if (!solution.exists) return "-";
  std::string letters;
  for (Direction direction : solution.moves) letters += DirectionLetter(direction);
  return letters;
}

std::string PlaySession::Balls() const {
  if (!m_game) return {};
  std::string digits;
  for (Colour colour : ColoursRedFirst) {
    const Piece* ball = PieceOfColour(m_game->level().balls, ColourNumber(colour));
    if (ball == nullptr) return {};
    digits += static_cast<char>('0' + ball->row);
    digits += static_cast<char>('0' + ball->column);
  }
  return digits;
}

bool PlaySession::SetImage(BoardImage image, int width, int height, const std::uint8_t* rgba) {
  const Rect expected = BoardImageRect(image);
  if (rgba == nullptr || width != expected.width || height != expected.height) return false;
  RgbImage pixels(width, height);
  for (std::size_t i = 0; i < pixels.pixels.size(); ++i) {
    const std::uint8_t* p = rgba + 4 * i;
    pixels.pixels[i] = MakeRgb(p[0], p[1], p[2]);
  }
  m_images[static_cast<std::size_t>(image)] = std::move(pixels);
  m_renderer.reset();  // made anew with the new image on the next drawing
  return true;
}

bool PlaySession::HasAllImages() const { return HasBoardImageSizes(m_images); }

const std::vector<std::uint8_t>& PlaySession::DrawBoardArea() {
  m_area.clear();
  if (!m_game || !HasAllImages()) return m_area;
  if (!m_renderer) m_renderer.emplace(m_images);
  m_renderer->SetOptions({m_symbols, BoardScale(), ClassicBackground});
  const RgbImage& frame = m_renderer->DrawFrame(m_game->level(), EditingState{});
  const Rect area = BoardArea(m_game->level().boardSize);
  m_area.reserve(static_cast<std::size_t>(area.width * area.height * 4));
  for (int y = area.y; y < area.y + area.height; ++y) {
    for (int x = area.x; x < area.x + area.width; ++x) {
      const Rgb pixel = frame.pixel(x, y);
      m_area.push_back(static_cast<std::uint8_t>(pixel >> 16));
      m_area.push_back(static_cast<std::uint8_t>(pixel >> 8));
      m_area.push_back(static_cast<std::uint8_t>(pixel));
      m_area.push_back(0xff);
    }
  }
  return m_area;
}
