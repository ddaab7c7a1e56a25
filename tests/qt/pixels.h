#pragma once
// Pictures for the Qt drawing tests: images of a fixed size in the format the devices
// use, and readable views of their pixels.

#include <QImage>
#include <string>

#include "platform/qt/qt_images.h"

namespace koltar::test {

// A width x height Format_RGB32 image of one colour.
inline QImage Canvas(int width, int height, ColorRef color) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(ToQRgb(color));
  return image;
}

inline ColorRef At(const QImage& image, int x, int y) { return ToColorRef(image.pixel(x, y)); }

// Pixels x0 ... x1 - 1 of row y: '#' where the pixel has the colour, '.' elsewhere.
inline std::string Row(const QImage& image, int y, int x0, int x1, ColorRef color) {
  std::string row;
  for (int x = x0; x < x1; ++x) row += At(image, x, y) == color ? '#' : '.';
  return row;
}

// Pixels y0 ... y1 - 1 of column x, like Row.
inline std::string Column(const QImage& image, int x, int y0, int y1, ColorRef color) {
  std::string column;
  for (int y = y0; y < y1; ++y) column += At(image, x, y) == color ? '#' : '.';
  return column;
}

// The smallest rectangle holding every pixel of the colour; empty when there is none.
inline QRect PixelsOf(const QImage& image, ColorRef color) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (At(image, x, y) == color) box |= QRect(x, y, 1, 1);
  return box;
}

}  // namespace koltar::test
