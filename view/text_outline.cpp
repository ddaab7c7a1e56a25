#include "view/text_outline.h"

#include <cmath>
#include <numbers>

#include "platform/dc.h"
#include "platform/repaint.h"

namespace koltar {
namespace {

// How each corner is pushed outward (device y runs down).
constexpr int kGrowX[5] = {-4, -4, 4, 4, -4};
constexpr int kGrowY[5] = {4, -4, -4, 4, 4};

}  // namespace

TextOutline::TextOutline(const LCTransform& snapshot, MapPoint anchor, const MapRect& r, double angle)
    : snapshot_(snapshot) {
  const MapPoint corners[5] = {
      {r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
  const DevicePoint origin = MapToDevice(snapshot_, anchor);
  const double theta = -angle * std::numbers::pi / 180.0;
  const double c = std::cos(theta);
  const double s = std::sin(theta);
  for (int i = 0; i < 5; ++i) {
    const DevicePoint d = MapToDevice(snapshot_, corners[i]);
    const double x = static_cast<double>(d.x) - origin.x + kGrowX[i];
    const double y = static_cast<double>(d.y) - origin.y + kGrowY[i];
    offsets_[static_cast<std::size_t>(i)] =
        DevicePoint{ClampToInt32(x * c - y * s), ClampToInt32(x * s + y * c)};
  }
}

std::array<DevicePoint, 5> TextOutline::PointsAt(MapPoint anchor) const {
  const DevicePoint origin = MapToDevice(snapshot_, anchor);
  std::array<DevicePoint, 5> points;
  for (std::size_t i = 0; i < 5; ++i)
    points[i] = DevicePoint{ClampToInt32(static_cast<double>(origin.x) + offsets_[i].x),
                            ClampToInt32(static_cast<double>(origin.y) + offsets_[i].y)};
  return points;
}

void TextOutline::Draw(DeviceContext& dc, MapPoint anchor) const {
  const std::array<DevicePoint, 5> points = PointsAt(anchor);
  dc.Save();
  dc.SetPen(Pen{kWhite, PenStyle::Solid, 1});
  dc.SetBrush(Brush{Brush::Kind::Hollow, kWhite, HatchStyle::Horizontal});
  dc.SetDrawMode(DrawMode::Xor);
  dc.Polyline(points.data(), 5);
  dc.Restore();
}

void TextOutline::InvalidateArea(RepaintTarget& window, MapPoint anchor) const {
  const std::array<DevicePoint, 5> points = PointsAt(anchor);
  window.InvalidatePolygon(points.data(), 5);
}

}  // namespace koltar
