#include "geometry/transform.h"

#include <cmath>

#include "platform/format.h"

namespace koltar {
namespace {

struct Ratio {
  std::int32_t n;  // map side
  std::int32_t d;  // device side
};

// Map units per pixel e as a pair of integers, both kept within 10000 so that the ratio
// survives integer mapping arithmetic. Values outside the table extend its nearest row.
Ratio RatioOf(double e) {
  if (!(e > 0) || !std::isfinite(e)) return {10000, 10000};  // no sensible scale: 1 : 1
  if (e == 1.0) return {10000, 10000};
  if (e > 1000) return {ClampToInt32(e), 1};
  if (e > 100) return {ClampToInt32(e * 10), 10};
  if (e > 10) return {ClampToInt32(e * 100), 100};
  if (e > 1) return {ClampToInt32(e * 1000), 1000};
  if (e >= 0.1) return {1000, ClampToInt32(1000 / e)};
  if (e >= 0.01) return {100, ClampToInt32(100 / e)};
  if (e >= 0.001) return {10, ClampToInt32(10 / e)};
  return {1, ClampToInt32(1 / e)};
}

// Halves both sides, except where that would make one of them zero (a map-side 1 or a
// device-side 1): a zero would make every point fall on the centre and the reverse
// conversion divide by zero, so the exact ratio is kept instead.
Ratio Halved(Ratio r) {
  if (r.n / 2 == 0 || r.d / 2 == 0) return r;
  return {r.n / 2, r.d / 2};
}

double RoundHalfAway(double v) { return std::round(v); }

}  // namespace

LCTransform BuildTransform(std::int32_t scale, MapPoint centre, const DeviceRect& rect, std::int32_t unit,
                           const PixelSize& pixel) {
  const double ex = scale * pixel.px / (1000.0 * unit);
  const double ey = scale * pixel.py / (1000.0 * unit);
  const Ratio x = Halved(RatioOf(ex));
  const Ratio y = Halved(RatioOf(ey));
  LCTransform t;
  t.wx = x.n;
  t.wy = y.n;
  t.vx = x.d;
  t.vy = -y.d;
  t.mapOriginX = centre.x;
  t.mapOriginY = centre.y;
  t.deviceOriginX = static_cast<std::int32_t>((std::int64_t{rect.left} + rect.right) / 2);
  t.deviceOriginY = static_cast<std::int32_t>((std::int64_t{rect.top} + rect.bottom) / 2);
  return t;
}

std::int32_t RoundScale(std::int32_t request) {
  if (request < 1000) return ClampToInt32(std::floor(request * 0.01 + 0.5) * 100);
  return ClampToInt32(std::floor(request * 0.001 + 0.5) * 1000);
}

std::string ScaleText(std::int32_t scale) { return "1 : " + FormatGroupedNumber(scale); }

std::int32_t SetScale(MapView& view, std::int32_t request, std::int32_t smallest, std::int32_t largest) {
  std::int32_t s = RoundScale(request);
  s = std::max(s, smallest);
  s = std::min(s, largest);
  view.scale = s;
  return s;
}

std::int32_t FitScale(const MapRect& r, const DeviceRect& d, std::int32_t unit, const PixelSize& pixel) {
  const double width = static_cast<double>(d.right) - d.left;
  const double height = static_cast<double>(d.bottom) - d.top;
  const std::int32_t sx =
      width > 0 ? ClampToInt32(1000.0 * unit * (static_cast<double>(r.right) - r.left) / (width * pixel.px))
                : kCoordMax;
  const std::int32_t sy =
      height > 0 ? ClampToInt32(1000.0 * unit * (static_cast<double>(r.top) - r.bottom) / (height * pixel.py))
                 : kCoordMax;
  return std::max(sx, sy);
}

int ScrollPosFromMap(const MapRect& e, ScrollAxis axis, std::int32_t coordinate, int min, int max) {
  const bool horizontal = axis == ScrollAxis::Horizontal;
  const double from = horizontal ? e.left : e.top;
  const double to = horizontal ? e.right : e.bottom;
  if (from == to) return min + (max - min) / 2;
  const double pos = (coordinate - from) / (to - from) * (max - min) + min;
  return static_cast<int>(std::clamp(RoundHalfAway(pos), double(min), double(max)));
}

std::int32_t MapFromScrollPos(const MapRect& e, ScrollAxis axis, int position, int min, int max) {
  const bool horizontal = axis == ScrollAxis::Horizontal;
  const double from = horizontal ? e.left : e.top;
  const double to = horizontal ? e.right : e.bottom;
  if (max == min) return ClampToInt32(RoundHalfAway((from + to) / 2));
  const double v = RoundHalfAway((to - from) / (max - min) * (position - min) + from);
  return ClampToInt32(std::clamp(v, std::min(from, to), std::max(from, to)));
}

}  // namespace koltar
