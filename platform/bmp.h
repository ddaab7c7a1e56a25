#pragma once
// The BMP file format (device-independent bitmaps), read and written without the
// windowing platform: symbol bitmaps of the map writer, and the pictures of the tests.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/color.h"

namespace koltar {

// A decoded picture: rows from the top, each pixel a colour reference.
struct BmpPicture {
  int width = 0;
  int height = 0;
  std::vector<ColorRef> pixels;  // width * height, row by row from the top
  ColorRef At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Decodes an uncompressed BMP (1, 4, 8, 24 or 32 bits per pixel, bottom-up or top-down,
// 32-bit with or without bit-field masks). False for anything else or a damaged file.
bool DecodeBmp(std::string_view bytes, BmpPicture& out);

// A 24-bit bottom-up BMP file of the picture.
std::string EncodeBmp(const BmpPicture& picture);

}  // namespace koltar
