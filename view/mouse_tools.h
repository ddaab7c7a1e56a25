#pragma once
// What the mouse tools of a map window draw and move, in device pixels (y down): the
// rubber band of the zoom and area tools, kept as a closed ring of five corners, and the
// anchor of a dragged label, in map units.

#include <array>
#include <optional>

#include "geometry/geometry.h"
#include "platform/device_types.h"

namespace koltar {

// A band's corners: a, (b.x, a.y), b, (a.x, b.y) and a again.
using BandRing = std::array<DevicePoint, 5>;

// The ring of the rectangle from corner a to corner b.
BandRing BandCorners(DevicePoint a, DevicePoint b);

// The ring's rectangle normalised: left <= right, top <= bottom; its width and height
// are zero for a band that never opened.
DeviceRect BandRect(const BandRing& ring);

// A mouse position kept inside the client rectangle: x within [left, right - 1] and y
// within [top, bottom - 1] (the left or top edge for a client without size).
DevicePoint ClampIntoClient(DevicePoint p, const DeviceRect& client);

// The zoom tool's band when its button goes down at `at`: half the client's width and
// height (a quarter of each on either side, fraction dropped), centred there.
BandRing ZoomBandAt(DevicePoint at, const DeviceRect& client);

// The zoom band following the mouse: the same size, its top left corner half its width
// and height (fraction dropped) above and left of `at`.
BandRing MovedZoomBand(const BandRing& ring, DevicePoint at);

// The zoom band grown (direction +1) or shrunk (-1) on every side, by 20 pixels across
// and 20 x height / width pixels (fraction dropped) up and down; nothing when the band
// would lose its width or height or reach the client's, or the client has no width.
std::optional<BandRing> ResizedZoomBand(const BandRing& ring, int direction, const DeviceRect& client);

// A dragged label's anchor after the mouse moved from map point `from` to `to`: moved
// by the same amount, clamped into +-2147483647.
MapPoint DraggedAnchor(MapPoint anchor, MapPoint from, MapPoint to);

}  // namespace koltar
