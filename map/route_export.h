#pragma once
// The last route of a map for programs outside: GPX 1.1 (a track of the route's
// geometry and route points for the requested stops) and GeoJSON (a LineString of the
// geometry carrying the totals and the itinerary's running totals, and a Point per
// requested stop). Both are UTF-8 and need geographic positions, so they need a map that
// records its projection (MMap::projection).
//
// The geometry is the road objects of the route's steps in travel order, as the route is
// drawn; each object's points are turned, where needed, so that they continue from where
// the previous object ended (the first from the start settlement).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/geometry.h"
#include "geometry/projection.h"
#include "platform/messages.h"

namespace koltar {

class MMap;
class ReplacementFile;

// One shown itinerary entry: a settlement the route passes, with the running totals.
struct GeoRouteEntry {
  std::string name;        // code page 1250
  GeoPosition at;          // the settlement's position
  float distance = 0;      // metres
  float time = 0;          // hours
  float cost = 0;          // Ft
  bool requested = false;  // a route point of the request
};

// The route in geographic coordinates.
struct GeoRoute {
  std::string title;               // the requested stops' names joined by " - " (code page 1250)
  std::vector<GeoPosition> track;  // the geometry, in travel order
  std::vector<GeoRouteEntry> entries;
  float distance = 0;  // the totals of the whole route
  float time = 0;
  float cost = 0;
};

// The route's geometry in map points, in travel order (see above); empty without route
// or when no step follows a road object with points.
std::vector<MapPoint> RouteTrack(const MMap& map);

// The route of the map in geographic coordinates; none when the map records no
// projection. A map without route gives an empty route.
std::optional<GeoRoute> GeoRouteOf(const MMap& map);

// The GPX 1.1 document of a route; `creator` names the program.
std::string RouteGpx(const GeoRoute& route, std::string_view creator = "koltar");
// The GeoJSON document (RFC 7946) of a route.
std::string RouteGeoJson(const GeoRoute& route);

enum class RouteFormat { Gpx, GeoJson };

// Writes the route of the map as GPX or GeoJSON into a file (a model file name), whole
// or not at all. False, writing nothing, after "A térkép nem tartalmazza a vetületét
// ..." (exclamation icon) when the map records no projection, or after the messages of
// WriteExportFile (route/route_list.h).
[[nodiscard]] bool ExportRoute(const MMap& map, RouteFormat format, std::string_view fileName,
                               WindowHandle owner = nullptr);
[[nodiscard]] bool ExportRoute(const MMap& map, RouteFormat format, std::string_view fileName,
                               ReplacementFile& file, WindowHandle owner = nullptr);

// "A térkép nem tartalmazza a vetületét ...": the message for a map without projection.
extern const char kNoProjectionText[];

}  // namespace koltar
