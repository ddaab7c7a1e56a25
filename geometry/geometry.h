#pragma once
// Points and rectangles in map units and in device units, and the polygon test.
//
// Map coordinates: signed 32-bit map units, x east, y north (y up). Device coordinates:
// pixels of a window, printer or image, x right, y down.

#include <cstdint>

#include "platform/device_types.h"
#include "platform/narrow.h"

namespace koltar {

inline constexpr std::int32_t kCoordMax = kInt32Limit;

struct MapPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const MapPoint&) const = default;
};

// A rectangle in map units, y up: top >= bottom when not empty. Arithmetic saturates at
// +-2147483647 instead of overflowing.
struct MapRect {
  std::int32_t left = kCoordMax;
  std::int32_t top = -kCoordMax;
  std::int32_t right = -kCoordMax;
  std::int32_t bottom = kCoordMax;

  // The empty rectangle, the start of every union.
  static constexpr MapRect Empty() { return MapRect{}; }
  static constexpr MapRect Of(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
    return MapRect{l, t, r, b};
  }

  void Set(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b);
  void Offset(std::int32_t dx, std::int32_t dy);
  // (left - a, top + b, right + a, bottom - b)
  MapRect Inflated(std::int32_t a, std::int32_t b) const;
  // Inclusive on all four edges.
  bool Contains(MapPoint p) const;
  MapRect United(const MapRect& other) const;
  MapRect Intersected(const MapRect& other) const;
  // True when the intersection is not inverted: rectangles that only touch intersect.
  bool Intersects(const MapRect& other) const;
  // Inverted (the empty rectangle, or any with left > right or bottom > top).
  bool IsEmpty() const { return left > right || bottom > top; }

  bool operator==(const MapRect&) const = default;
};

// Point in a closed ring whose last vertex repeats the first, by counting the crossings
// of a vertical ray toward larger y. A ray through a vertex counts once when the
// vertex's neighbours lie on opposite sides of it and not at all when both lie on the
// same side. Points on an edge are inside or outside as the count falls.
bool PointInPolygon(const MapPoint* vertices, int count, MapPoint point);

}  // namespace koltar
