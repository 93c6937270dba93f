#pragma once
// The six board images built into the server program, so that it reads no
// file: the editor's own images, turned into pixel buffers at build time.

#include "drawing/buffer_canvas.h"

BoardPixels BuiltInBoardPixels();
