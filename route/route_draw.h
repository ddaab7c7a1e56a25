#pragma once
// Drawing the route over the map.

#include <cstdint>

#include "geometry/geometry.h"
#include "geometry/transform.h"

namespace koltar {

class DeviceContext;
class MCartoSymb;
class MOptPath;
struct RoadData;

// Draws the polyline of the road object of every route step, in route order (a road
// used by several steps is drawn once per step), with the pen of the road network's
// first layer in the symbology: its line colour and style and the width of its stroke
// 0 (ground metres, `unit` metres per map unit). Nothing is drawn without a route,
// when that layer is hidden, when `scale` lies outside the layer's range, or when its
// line style is negative (no line). Steps without a road object, and roads the road
// category refused as damaged, draw nothing.
void DrawRoute(const MOptPath& path, DeviceContext& dc, const LCTransform& transform, std::int32_t scale,
               const MCartoSymb& symbology, std::int32_t unit, const RoadData& roads);

}  // namespace koltar
