#include "geometry/geometry.h"

#include <algorithm>

namespace koltar {
namespace {

int Sign(std::int64_t v) { return (v > 0) - (v < 0); }

}  // namespace

void MapRect::Set(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
  left = l;
  top = t;
  right = r;
  bottom = b;
}

void MapRect::Offset(std::int32_t dx, std::int32_t dy) {
  left = ClampToInt32(std::int64_t{left} + dx);
  right = ClampToInt32(std::int64_t{right} + dx);
  top = ClampToInt32(std::int64_t{top} + dy);
  bottom = ClampToInt32(std::int64_t{bottom} + dy);
}

MapRect MapRect::Inflated(std::int32_t a, std::int32_t b) const {
  return MapRect{ClampToInt32(std::int64_t{left} - a), ClampToInt32(std::int64_t{top} + b),
                 ClampToInt32(std::int64_t{right} + a), ClampToInt32(std::int64_t{bottom} - b)};
}

bool MapRect::Contains(MapPoint p) const {
  return p.x >= left && p.x <= right && p.y <= top && p.y >= bottom;
}

MapRect MapRect::United(const MapRect& o) const {
  return MapRect{std::min(left, o.left), std::max(top, o.top), std::max(right, o.right),
                 std::min(bottom, o.bottom)};
}

MapRect MapRect::Intersected(const MapRect& o) const {
  return MapRect{std::max(left, o.left), std::min(top, o.top), std::min(right, o.right),
                 std::max(bottom, o.bottom)};
}

bool MapRect::Intersects(const MapRect& o) const {
  const MapRect i = Intersected(o);
  return i.left <= i.right && i.top >= i.bottom;
}

bool PointInPolygon(const MapPoint* v, int count, MapPoint p) {
  int crossings = 0;
  for (int i = 0; i + 1 < count; ++i) {
    const std::int64_t x1 = v[i].x, y1 = v[i].y, x2 = v[i + 1].x, y2 = v[i + 1].y;
    if ((p.x > x1 && p.x < x2) || (p.x > x2 && p.x < x1)) {
      if (p.y < y1 && p.y < y2) {
        ++crossings;
      } else if (p.y > y1 && p.y > y2) {
        // the edge lies wholly below the point
      } else {
        const double edgeY =
            static_cast<double>(p.x - x1) * (static_cast<double>(y2 - y1) / static_cast<double>(x2 - x1)) +
            static_cast<double>(y1);
        if (static_cast<double>(p.y) <= edgeY) ++crossings;
      }
    } else if (p.x == x1 && y1 >= p.y) {
      // The ray runs through this vertex: it crosses when the neighbours lie on
      // opposite sides of it.
      const MapPoint prev = i == 0 ? v[count - 2] : v[i - 1];
      if (Sign(x2 - x1) != Sign(std::int64_t{prev.x} - x1)) ++crossings;
    }
  }
  return crossings % 2 == 1;
}

}  // namespace koltar
