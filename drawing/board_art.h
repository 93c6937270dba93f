#pragma once
// The rules the six board images are drawn by, pixel by pixel, at any scale:
// the shaded balls and their mask, the hatch and the wall markers, the two
// lamps and the two labels. At scale 1 they give the shipped images exactly
// (tools/make_board_images writes them from here); at other scales they give
// the same pictures with as many device pixels as the screen has, so a board
// drawn for a high-density screen is sharp rather than enlarged.

#include "drawing/board_scale.h"
#include "drawing/buffer_canvas.h"

/// The six images made for the scale, each part where PlaceOf puts it.
BoardPixels MakeBoardPixels(const BoardScale& scale);

/// Linear mix of two colours, t = 0 gives a, t = 1 gives b, each channel rounded.
Rgb MixColours(Rgb a, Rgb b, double t);
