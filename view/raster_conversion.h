#pragma once
// Between QImage and the plain pixel buffers of drawing/. Both hold
// 0xffRRGGBB pixels, so nothing is converted but the container.

#include <QImage>

#include "drawing/buffer_canvas.h"
#include "view/board_renderer.h"

/// The image's pixels, taken in Format_RGB32.
RgbImage ToRgbImage(const QImage& image);

/// A Format_RGB32 image of the buffer.
QImage ToQImage(const RgbImage& image);

/// The six images as pixel buffers, indexed by BoardImage.
BoardPixels ToBoardPixels(const BoardImages& images);

/// The six pixel buffers as Format_RGB32 images.
BoardImages ToBoardImages(const BoardPixels& pixels);
