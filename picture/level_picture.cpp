#include "picture/level_picture.h"

#include "drawing/buffer_canvas.h"
#include "picture/board_image_data.h"
#include "picture/png_writer.h"

std::string LevelPicturePng(const Level& level) {
  BufferRenderer renderer(BuiltInBoardPixels());
  return EncodePng(renderer.DrawFrame(level, EditingState{}));
}
