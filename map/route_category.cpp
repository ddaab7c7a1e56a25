#include "map/route_category.h"

#include "map/road_binding.h"
#include "route/opt_path.h"
#include "route/route_draw.h"

namespace koltar {

const std::string& RouteCategory::name() const { return network_.categoryName(); }

void RouteCategory::Draw(const RenderContext& context) {
  if (!roads_) return;
  DrawRoute(network_, context.dc, context.transform, context.scale, context.symbology, context.unit,
            RoadDataOf(roads_));
}

std::int32_t RouteCategory::layerCount() const { return network_.layerCount(); }

std::string RouteCategory::LayerName(std::int32_t layerIndex) const { return network_.layerName(layerIndex); }

}  // namespace koltar
