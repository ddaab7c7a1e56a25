#include "view/mouse_tools.h"

#include <algorithm>

#include "platform/narrow.h"

namespace koltar {
namespace {

constexpr int kBandStep = 20;  // pixels a zoom band grows or shrinks by across

}  // namespace

BandRing BandCorners(DevicePoint a, DevicePoint b) {
  return BandRing{a, DevicePoint{b.x, a.y}, b, DevicePoint{a.x, b.y}, a};
}

DeviceRect BandRect(const BandRing& c) {
  return DeviceRect{std::min(c[0].x, c[2].x), std::min(c[0].y, c[2].y), std::max(c[0].x, c[2].x),
                    std::max(c[0].y, c[2].y)};
}

DevicePoint ClampIntoClient(DevicePoint p, const DeviceRect& client) {
  return DevicePoint{std::clamp(p.x, client.left, std::max(client.left, client.right - 1)),
                     std::clamp(p.y, client.top, std::max(client.top, client.bottom - 1))};
}

BandRing ZoomBandAt(DevicePoint at, const DeviceRect& client) {
  const int hw = client.width() / 4;
  const int hh = client.height() / 4;
  return BandCorners(DevicePoint{at.x - hw, at.y - hh}, DevicePoint{at.x + hw, at.y + hh});
}

BandRing MovedZoomBand(const BandRing& ring, DevicePoint at) {
  const DeviceRect r = BandRect(ring);
  const DevicePoint topLeft{at.x - r.width() / 2, at.y - r.height() / 2};
  return BandCorners(topLeft, DevicePoint{topLeft.x + r.width(), topLeft.y + r.height()});
}

std::optional<BandRing> ResizedZoomBand(const BandRing& ring, int direction, const DeviceRect& client) {
  const int w = client.width();
  const int h = client.height();
  if (w <= 0) return std::nullopt;
  const DeviceRect r = BandRect(ring);
  const int dx = kBandStep * direction;
  const int dy = kBandStep * h / w * direction;
  const DeviceRect grown{r.left - dx, r.top - dy, r.right + dx, r.bottom + dy};
  if (grown.width() <= 0 || grown.width() >= w || grown.height() <= 0 || grown.height() >= h)
    return std::nullopt;
  return BandCorners(DevicePoint{grown.left, grown.top}, DevicePoint{grown.right, grown.bottom});
}

MapPoint DraggedAnchor(MapPoint anchor, MapPoint from, MapPoint to) {
  return MapPoint{ClampToInt32(static_cast<double>(anchor.x) + to.x - from.x),
                  ClampToInt32(static_cast<double>(anchor.y) + to.y - from.y)};
}

}  // namespace koltar
