#pragma once
// The map-to-device transform of one view, and the scale rules.
//
// Two coordinate systems meet here: map units (y up, see geometry.h) and device pixels
// (y down). A view shows the map at scale 1 : S (S is the scale denominator) centred on
// a map point, in a device rectangle. LCTransform is the snapshot of a view at one
// moment: the ratio of map units to pixels as a pair of integers per direction, and the
// two points (map centre, device centre) that coincide.
//
// Rounding: every conversion adds 0.5 and then drops the fraction toward zero (so a map
// x of -3.7 becomes -3 and 3.7 becomes 4), after clamping into +-2147483647.

#include <algorithm>
#include <cstdint>
#include <string>

#include "geometry/geometry.h"
#include "platform/device_types.h"
#include "platform/narrow.h"

namespace koltar {

struct LCTransform {
  std::int32_t wx = 1;          // map-side numerator of the horizontal ratio
  std::int32_t wy = 1;          // map-side numerator of the vertical ratio
  std::int32_t mapOriginX = 0;  // map point shown at the device origin (the view's centre)
  std::int32_t mapOriginY = 0;
  std::int32_t vx = 1;             // device-side denominator, positive
  std::int32_t vy = -1;            // device-side denominator, negative (device y runs down)
  std::int32_t deviceOriginX = 0;  // device point of the view's centre
  std::int32_t deviceOriginY = 0;
};

// What a map window or a printout shows: the scale (-1 until the view first has a
// size), the map point at the centre, and the device rectangle.
struct MapView {
  std::int32_t scale = -1;
  MapPoint centre;
  DeviceRect rect;
};

// The transform of scale S, centre and device rectangle, for a map of `unit` metres
// per map unit on a screen whose pixels measure `pixel` millimetres.
LCTransform BuildTransform(std::int32_t scale, MapPoint centre, const DeviceRect& rect, std::int32_t unit,
                           const PixelSize& pixel);
inline LCTransform BuildTransform(const MapView& view, std::int32_t unit, const PixelSize& pixel) {
  return BuildTransform(view.scale, view.centre, view.rect, unit, pixel);
}

inline DevicePoint MapToDevice(const LCTransform& t, MapPoint p) {
  const double rx = static_cast<double>(t.vx) / t.wx;
  const double ry = static_cast<double>(t.vy) / t.wy;
  return DevicePoint{ClampToInt32(rx * (static_cast<double>(p.x) - t.mapOriginX) + t.deviceOriginX + 0.5),
                     ClampToInt32(ry * (static_cast<double>(p.y) - t.mapOriginY) + t.deviceOriginY + 0.5)};
}

inline MapPoint DeviceToMap(const LCTransform& t, DevicePoint p) {
  const double rx = static_cast<double>(t.wx) / t.vx;
  const double ry = static_cast<double>(t.wy) / t.vy;
  return MapPoint{ClampToInt32(rx * (static_cast<double>(p.x) - t.deviceOriginX) + t.mapOriginX + 0.5),
                  ClampToInt32(ry * (static_cast<double>(p.y) - t.deviceOriginY) + t.mapOriginY + 0.5)};
}

inline void MapToDevice(const LCTransform& t, const MapPoint* in, DevicePoint* out, int count) {
  for (int i = 0; i < count; ++i) out[i] = MapToDevice(t, in[i]);
}

inline void DeviceToMap(const LCTransform& t, const DevicePoint* in, MapPoint* out, int count) {
  for (int i = 0; i < count; ++i) out[i] = DeviceToMap(t, in[i]);
}

// A length in map units as pixels, by the horizontal ratio whatever its direction;
// limited above to 2147483647, fraction dropped.
inline std::int32_t MapLengthToDevice(const LCTransform& t, double length) {
  return ClampToInt32(static_cast<double>(t.vx) / t.wx * length);
}

// A length in pixels as map units, by the horizontal ratio.
inline std::int32_t DeviceLengthToMap(const LCTransform& t, double length) {
  return ClampToInt32(static_cast<double>(t.wx) / t.vx * length);
}

// A requested scale rounded to the nearest hundred below 1000 and to the nearest
// thousand from 1000 on (2549 gives 3000, 949 gives 900, 951 gives 1000).
std::int32_t RoundScale(std::int32_t request);

// Rounds the request, clamps it into [smallest, largest], stores it as the view's scale,
// and returns it. Showing it (ScaleText) is the caller's business.
std::int32_t SetScale(MapView& view, std::int32_t request, std::int32_t smallest, std::int32_t largest);

// The status bar text of a scale: "1 : 25 000 ".
std::string ScaleText(std::int32_t scale);

// The scale at which map rectangle `r` just fits into device rectangle `d`, fraction
// dropped. A device rectangle without width or height fits nothing: that direction asks
// for the widest scale (2147483647), which SetScale lowers to the map's largest.
std::int32_t FitScale(const MapRect& r, const DeviceRect& d, std::int32_t unit, const PixelSize& pixel);

// scale x factor with the fraction dropped, saturating (callers fit with 1.1, 1.2, 1.5).
inline std::int32_t MultiplyScale(std::int32_t scale, double factor) {
  return ClampToInt32(static_cast<double>(scale) * factor);
}

enum class ScrollAxis { Horizontal, Vertical };

// The scroll-bar position of a map coordinate over the map extent: position `min` is
// the left edge (horizontal) or the top edge, the largest y (vertical). Rounded half away
// from zero and clamped into [min, max]; the middle when the extent has no size.
int ScrollPosFromMap(const MapRect& extent, ScrollAxis axis, std::int32_t coordinate, int min = 0,
                     int max = 1000);

// The map coordinate of a scroll-bar position; rounded half away from zero and clamped
// into the extent.
std::int32_t MapFromScrollPos(const MapRect& extent, ScrollAxis axis, int position, int min = 0,
                              int max = 1000);

}  // namespace koltar
