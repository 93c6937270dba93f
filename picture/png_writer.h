#pragma once
// A pixel buffer written as a PNG file: 8-bit RGB, compressed with zlib.

#include <string>

#include "drawing/raster.h"

/// The PNG file's bytes.
std::string EncodePng(const RgbImage& image);
