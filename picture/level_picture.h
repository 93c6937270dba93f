#pragma once
// The picture the editor shows for a level, as a PNG file, made without Qt:
// the standard-library drawing steps, the board images built into the
// program and the PNG writer.

#include <string>

#include "drawing/buffer_canvas.h"
#include "logic/level.h"

/// Draws level pictures one after another, keeping its renderer: the board
/// images are made and the frame's buffer is allocated once, not per picture.
class LevelPictures {
 public:
  LevelPictures();

  /// The PNG file's bytes of the 325 x 359 frame for the level, with nothing
  /// hovered or carried; the lamp follows level.solvable as it stands.
  std::string Png(const Level& level);

 private:
  BufferRenderer m_renderer;
};

/// One picture, as LevelPictures::Png draws it.
std::string LevelPicturePng(const Level& level);
