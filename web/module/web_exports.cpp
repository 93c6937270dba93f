// The functions the web page calls: plain C names over the one play session
// of the page. Texts are returned as C strings that stay valid until the next
// call that returns a text.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "play/game_keys.h"
#include "web/module/play_session.h"

namespace {

PlaySession& Session() {
  static PlaySession session;
  return session;
}

/// The buffers the page fills with image bytes, one per image.
std::vector<std::uint8_t>& ImageBuffer(int which) {
  static std::vector<std::uint8_t> buffers[BoardImageCount];
  return buffers[which];
}

const char* Text(std::string text) {
  static std::string kept;
  kept = std::move(text);
  return kept.c_str();
}

bool IsImage(int which) { return which >= 0 && which < static_cast<int>(BoardImageCount); }

bool IsDirection(int direction) { return direction >= 0 && direction < 4; }

}  // namespace

extern "C" {

/// The file name of image `which`, as the site holds it under images/, or
/// null past the last: the page loads the images in this order.
const char* korvalo_image_name(int which) {
  return IsImage(which) ? BoardImageFileNames[static_cast<std::size_t>(which)] : nullptr;
}

/// Room for the RGBA bytes of image `which` (numbered as korvalo_image_name
/// names them), or null for a size that is not the image's.
std::uint8_t* korvalo_image_buffer(int which, int width, int height) {
  if (!IsImage(which)) return nullptr;
  const Rect expected = BoardImageRect(AllBoardImages[static_cast<std::size_t>(which)]);
  if (width != expected.width || height != expected.height) return nullptr;
  std::vector<std::uint8_t>& buffer = ImageBuffer(which);
  buffer.assign(static_cast<std::size_t>(width * height * 4), 0);
  return buffer.data();
}

/// Takes the bytes written into image `which`'s buffer; 1 when taken.
int korvalo_image_ready(int which) {
  if (!IsImage(which) || ImageBuffer(which).empty()) return 0;
  const BoardImage image = AllBoardImages[static_cast<std::size_t>(which)];
  const Rect size = BoardImageRect(image);
  const bool taken = Session().SetImage(image, size.width, size.height, ImageBuffer(which).data());
  std::vector<std::uint8_t>().swap(ImageBuffer(which));
  return taken ? 1 : 0;
}

/// 0 when the code is rejected, 1 for a level without a solution, 2 for one with a solution.
int korvalo_open(const char* code) {
  const ReadResult result = Session().Open(code == nullptr ? "" : code);
  switch (result.outcome) {
    case CodeReading::Rejected: return 0;
    case CodeReading::Unsolvable: return 1;
    case CodeReading::Solvable: return 2;
  }
  return 0;
}

/// Tilts the board: 0 north, 1 south, 2 west, 3 east; 1 when a ball moved.
int korvalo_tilt(int direction) {
  if (!IsDirection(direction)) return 0;
  return Session().Tilt(AllDirections[static_cast<std::size_t>(direction)]) ? 1 : 0;
}

/// The action of a key in the game's one table of keys ("tilt-north",
/// "undo", ...: play/game_keys.h), named as KeyboardEvent.key names it, with
/// Ctrl held (1) or not (0); "" for a key the game does not use.
const char* korvalo_key_action(const char* key, int control) {
  const std::optional<GameAction> action = ActionOfKey(key == nullptr ? "" : key, control != 0);
  return action ? ActionName(*action).data() : "";
}

int korvalo_undo() { return Session().Undo() ? 1 : 0; }
void korvalo_restart() { Session().Restart(); }
void korvalo_show_hint() { Session().ShowHint(); }

int korvalo_board_size() { return Session().BoardSize(); }
int korvalo_move_count() { return Session().MoveCount(); }
int korvalo_is_solved() { return Session().IsSolved() ? 1 : 0; }
/// Moves of a shortest solution from the start; -1 when there is none.
int korvalo_shortest_from_start() { return Session().ShortestFromStart().value_or(-1); }

const char* korvalo_status_text() { return Text(Session().StatusText()); }
const char* korvalo_code() { return Text(Session().Code()); }
const char* korvalo_solution_from_here() { return Text(Session().SolutionFromHere()); }
const char* korvalo_balls() { return Text(Session().Balls()); }

/// Switches the colours' shapes on the pieces on (1, as at the start) or off
/// (0); the next korvalo_draw shows them so.
void korvalo_set_symbols(int on) { Session().SetSymbols(on != 0); }
/// 1 while the pieces show their colours' shapes, 0 when switched off.
int korvalo_symbols() { return Session().Symbols() ? 1 : 0; }

/// Draws the board area and returns its RGBA bytes (null until a level is
/// open and every image is in); korvalo_area_width and _height give its size.
const std::uint8_t* korvalo_draw() {
  const std::vector<std::uint8_t>& area = Session().DrawBoardArea();
  return area.empty() ? nullptr : area.data();
}
int korvalo_area_width() { return Session().IsOpen() ? BoardArea(Session().BoardSize()).width : 0; }
int korvalo_area_height() {
  return Session().IsOpen() ? BoardArea(Session().BoardSize()).height : 0;
}

}  // extern "C"
