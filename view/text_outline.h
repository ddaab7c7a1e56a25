#pragma once
// The outline shown while a map label is dragged: the label's rectangle grown by 4
// pixels on every side and turned by the label's angle about its anchor, drawn with an
// inverting (XOR) white pen, so that drawing it a second time at the same place removes
// it. It also gives the screen area to paint again after the drop.

#include <array>

#include "geometry/geometry.h"
#include "geometry/transform.h"

namespace koltar {

class DeviceContext;
class RepaintTarget;

class TextOutline {
 public:
  // `snapshot` is the view's transform when the drag starts; `labelRect` the label's
  // unturned rectangle in map units; `angle` in degrees, counter-clockwise.
  TextOutline(const LCTransform& snapshot, MapPoint anchor, const MapRect& labelRect, double angle);

  // Draws the closed outline with its anchor at the map point, in XOR mode with a white
  // pen of width 1 and no fill; the device's state is left as it was.
  void Draw(DeviceContext& dc, MapPoint anchor) const;
  // Asks for the outline's area at that anchor to be painted again.
  void InvalidateArea(RepaintTarget& window, MapPoint anchor) const;

  // The outline's points in device units with the anchor at the map point.
  std::array<DevicePoint, 5> PointsAt(MapPoint anchor) const;
  // The five points relative to the anchor's device point (the first repeated last).
  const std::array<DevicePoint, 5>& offsets() const { return offsets_; }

 private:
  LCTransform snapshot_;
  std::array<DevicePoint, 5> offsets_;
};

}  // namespace koltar
