#pragma once
// The place search on a map and a view: the categories it offers, where the object it
// chose lies, and where the view goes to show it ("Terület keresése...").

#include <optional>

#include "categories/find_point.h"
#include "geometry/geometry.h"
#include "view/map_view_state.h"

namespace koltar {

class MMap;

// Every point, line and area category of the map, each kind in the map's order. Valid
// while the map lives.
PlaceCategories PlaceCategoriesOf(const MMap& map);

// Where a chosen object lies: a point's position, or the middle of a line's or an area's
// bounding rectangle together with that rectangle.
struct FoundPlace {
  MapPoint centre;
  std::optional<MapRect> bounds;  // lines and areas
};

// The place of the object that a place search stored in `data`; none when it names no
// object of these categories.
std::optional<FoundPlace> FoundPlaceOf(const PlaceCategories& categories, const FindPointData& data);

// Moves the view to the object an accepted place search chose. A point is centred at the
// dialog's scale (rounded and limited by SetScale), which, limited to the map's range,
// also becomes the map's find scale; a line or an area is centred on its bounding
// rectangle at the scale that fits the rectangle, times 1.5. Returns the point to mark:
// a point's position, none for lines and areas and when the data names no object.
std::optional<MapPoint> ShowFoundPlace(MMap& map, MapViewState& view, const FindPointData& data);

}  // namespace koltar
