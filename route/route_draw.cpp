#include "route/route_draw.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "platform/dc.h"
#include "route/opt_path.h"
#include "route/road_data.h"
#include "symbology/cartosymb.h"
#include "symbology/styles.h"

namespace koltar {
namespace {

// The road object a step follows, or -1.
std::int32_t RoadOfStep(const RoadGraph& graph, const RouteStep& step) {
  const std::optional<EdgeEntry> edge = graph.EdgeOfStep(step);
  return edge ? edge->road : -1;
}

}  // namespace

void DrawRoute(const MOptPath& path, DeviceContext& dc, const LCTransform& transform, std::int32_t scale,
               const MCartoSymb& symbology, std::int32_t unit, const RoadData& roads) {
  const RoadGraph& graph = path.graph();
  const std::vector<RouteStep>& steps = path.routeState().steps();
  std::int32_t longest = 0;
  for (const RouteStep& step : steps) {
    const std::int32_t road = RoadOfStep(graph, step);
    if (roads.HasPoints(road)) longest = std::max<std::int32_t>(longest, roads.PointCount(road));
  }
  if (longest == 0) return;
  std::vector<DevicePoint> points;
  try {
    points.resize(static_cast<std::size_t>(longest));
  } catch (const std::bad_alloc&) {
    return;
  }

  const std::string& category = path.categoryName();
  // A network without layer names draws with what the symbology gives a layer it does
  // not hold.
  const std::string layer = path.layerCount() > 0 ? path.layerName(0) : std::string();
  if (symbology.IsLayerVisible(category, layer) == 0) return;
  std::int32_t smallest = 0, largest = 0;
  symbology.GetLayerDisplayScale(category, layer, smallest, largest);
  if (scale < smallest || scale > largest) return;
  const std::int32_t style = symbology.GetLineStyle(category, layer);
  if (style < 0) return;

  const std::int32_t width = GroundToMapLength(symbology.GetStrokeWidth(category, layer, 0), unit);
  const Pen previous = dc.GetPen();
  dc.SetPen(
      Pen{symbology.GetLineColor(category, layer), PenStyleOf(style), MapLengthToDevice(transform, width)});
  for (const RouteStep& step : steps) {
    const std::int32_t road = RoadOfStep(graph, step);
    if (!roads.HasPoints(road)) continue;
    const std::int32_t count = roads.PointCount(road);
    for (std::int32_t j = 0; j < count; ++j)
      points[static_cast<std::size_t>(j)] = MapToDevice(transform, roads.Point(road, j));
    if (count > 0) dc.Polyline(points.data(), count);
  }
  dc.SetPen(previous);
}

}  // namespace koltar
