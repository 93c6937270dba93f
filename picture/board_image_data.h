#pragma once
// The six board images built into the programs that draw without Qt (the
// server program and the command-line tool), so that they read no file: the
// editor's own images, turned into pixel buffers at build time.

#include "drawing/buffer_canvas.h"

BoardPixels BuiltInBoardPixels();
