#include "picture/level_picture.h"

#include "picture/board_image_data.h"
#include "picture/png_writer.h"

LevelPictures::LevelPictures() : m_renderer(BuiltInBoardPixels()) {}

std::string LevelPictures::Png(const Level& level) {
  return EncodePng(m_renderer.DrawFrame(level, EditingState{}));
}

std::string LevelPicturePng(const Level& level) { return LevelPictures().Png(level); }
