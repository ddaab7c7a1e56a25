#pragma once
// Points and rectangles in device units: pixels of a window, image or printer, x right,
// y down; and the size of a screen pixel.

#include <cstdint>

namespace koltar {

struct DevicePoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const DevicePoint&) const = default;
};

// A device rectangle, y down: left <= right and top <= bottom when not empty.
struct DeviceRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int32_t width() const { return right - left; }
  std::int32_t height() const { return bottom - top; }
  bool operator==(const DeviceRect&) const = default;
};

// Width and height of one screen pixel in millimetres.
struct PixelSize {
  double px = 25.4 / 96.0;
  double py = 25.4 / 96.0;
};

}  // namespace koltar
