#include "view/place_view.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "categories/area.h"
#include "categories/line.h"
#include "categories/point.h"
#include "map/mmap.h"

namespace koltar {
namespace {

template <class Category>
const Category* At(const std::vector<const Category*>& list, std::int32_t index) {
  return index >= 0 && static_cast<std::size_t>(index) < list.size() ? list[static_cast<std::size_t>(index)]
                                                                     : nullptr;
}

}  // namespace

PlaceCategories PlaceCategoriesOf(const MMap& map) {
  PlaceCategories out;
  for (const std::unique_ptr<MapCategory>& c : map.drawOrder()) {
    switch (c->kind()) {
      case CategoryKind::Point: out.points.push_back(static_cast<const MPoint*>(c.get())); break;
      case CategoryKind::Line: out.lines.push_back(static_cast<const MLine*>(c.get())); break;
      case CategoryKind::Area: out.areas.push_back(static_cast<const MArea*>(c.get())); break;
      default: break;
    }
  }
  return out;
}

std::optional<FoundPlace> FoundPlaceOf(const PlaceCategories& categories, const FindPointData& data) {
  const auto within = [&](const MapCategory* c) {
    return c && data.object >= 0 && data.object < c->recordCount();
  };
  switch (data.type) {
    case static_cast<std::int32_t>(CategoryKind::Point): {
      const MPoint* points = At(categories.points, data.category);
      if (!within(points)) return std::nullopt;
      return FoundPlace{points->GetPosition(data.object), std::nullopt};
    }
    case static_cast<std::int32_t>(CategoryKind::Line):
    case static_cast<std::int32_t>(CategoryKind::Area): {
      const bool line = data.type == static_cast<std::int32_t>(CategoryKind::Line);
      const MapCategory* c = line ? static_cast<const MapCategory*>(At(categories.lines, data.category))
                                  : At(categories.areas, data.category);
      if (!within(c)) return std::nullopt;
      const MapRect bounds = line ? static_cast<const MLine*>(c)->GetBounds(data.object)
                                  : static_cast<const MArea*>(c)->GetBounds(data.object);
      return FoundPlace{MiddleOf(bounds), bounds};
    }
    default: return std::nullopt;
  }
}

std::optional<MapPoint> ShowFoundPlace(MMap& map, MapViewState& view, const FindPointData& data) {
  const std::optional<FoundPlace> place = FoundPlaceOf(PlaceCategoriesOf(map), data);
  if (!place) return std::nullopt;
  if (place->bounds) {
    view.SetScale(MultiplyScale(view.FitScale(*place->bounds), 1.5));
    view.SetCentre(place->centre);
    return std::nullopt;
  }
  map.SetFindScale(std::clamp(data.displayScale, map.smallestScale(), map.largestScale()));
  view.SetScale(data.displayScale);
  view.SetCentre(place->centre);
  return place->centre;
}

}  // namespace koltar
