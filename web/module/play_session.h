#pragma once
// One level played on the web page: the desktop game's rules and status lines,
// and the board area of the editor's frame drawn into RGBA bytes for a canvas,
// with the colours' shapes on the pieces as the game shows them.
// Standard library only; the page reaches it through the exports of
// web_exports.cpp.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/buffer_canvas.h"
#include "logic/level_code.h"
#include "play/game_state.h"

class PlaySession {
 public:
  /// Reads the code and starts a game on it; a rejected code leaves the
  /// session as it was.
  ReadResult Open(std::string_view code);
  bool IsOpen() const { return m_game.has_value(); }

  // The desktop game's actions; each is harmless before a level is open.
  bool Tilt(Direction direction);
  bool Undo();
  void Restart();
  void ShowHint();

  int BoardSize() const;
  int MoveCount() const;
  bool IsSolved() const;
  /// Moves of a shortest solution from the start; nullopt when there is none.
  std::optional<int> ShortestFromStart() const;
  /// The status lines of the desktop game, one per line.
  std::string StatusText() const;
  /// The level code of the level as it began, in its written form.
  const std::string& Code() const { return m_code; }
  /// The moves of a shortest solution from the current position as letters
  /// N S W E; "-" when there is none.
  std::string SolutionFromHere() const;
  /// Row and column of the red, green and blue ball: six digits.
  std::string Balls() const;

  /// Takes one board image as RGBA bytes (width * height * 4, alpha ignored);
  /// false, and nothing kept, when the size is not the image's.
  bool SetImage(BoardImage image, int width, int height, const std::uint8_t* rgba);
  bool HasAllImages() const;

  /// Whether each ball and hole also shows its colour's shape (see
  /// drawing/piece_symbols.h); on unless switched off.
  void SetSymbols(bool on) { m_symbols = on; }
  bool Symbols() const { return m_symbols; }

  /// The board area of the current position as RGBA bytes, row by row;
  /// empty until a level is open and every image has been given.
  const std::vector<std::uint8_t>& DrawBoardArea();

 private:
  std::optional<GameState> m_game;
  std::string m_code;
  BoardPixels m_images;
  bool m_symbols = true;
  std::optional<BufferRenderer> m_renderer;
  std::vector<std::uint8_t> m_area;
};
