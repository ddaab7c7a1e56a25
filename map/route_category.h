#pragma once
// The road network's place in the draw order: the route of the last search, drawn over
// the categories declared before the OPTPATH line and under those declared after it.

#include <cstdint>
#include <string>

#include "categories/map_category.h"

namespace koltar {

class MLine;
class MOptPath;

class RouteCategory final : public MapCategory {
 public:
  // The network must outlive the object.
  explicit RouteCategory(const MOptPath& network) : network_(network) {}
  RouteCategory(const RouteCategory&) = delete;
  RouteCategory& operator=(const RouteCategory&) = delete;

  // The road category the route's steps follow (ROADCATEGORY); without one, as until
  // this is called, nothing is drawn. The category must outlive the object.
  void SetRoads(const MLine* roads) { roads_ = roads; }

  CategoryKind kind() const override { return CategoryKind::OptPath; }
  // The network's category name.
  const std::string& name() const override;
  // Empty: the route does not enter the map's extent.
  MapRect GetExtent() const override { return MapRect::Empty(); }
  // Draws the route as DrawRoute does, when a road category is set.
  void Draw(const RenderContext& context) override;
  // The route has no named objects.
  std::string GetObjectName(std::int32_t) const override { return {}; }
  // No records of its own: the graph's counts are the network's.
  std::int32_t recordCount() const override { return 0; }
  // The network's layers.
  std::int32_t layerCount() const override;
  std::string LayerName(std::int32_t layerIndex) const override;

 private:
  const MOptPath& network_;
  const MLine* roads_ = nullptr;
};

}  // namespace koltar
