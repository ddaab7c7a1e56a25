#pragma once
// Geodesy of the importer: positions on the WGS 84 ellipsoid, their projection onto the
// map plane, lengths on the ellipsoid and line simplification.

#include <cstdint>
#include <vector>

#include "geometry/projection.h"

namespace koltar::import {

// A position in 1e-7 degrees, the resolution OpenStreetMap stores; equal positions are
// the same vertex, which is how ways that share a node are joined.
struct GeoPoint {
  std::int32_t lon7 = 0;
  std::int32_t lat7 = 0;
  double lon() const { return lon7 * 1e-7; }
  double lat() const { return lat7 * 1e-7; }
  bool operator==(const GeoPoint&) const = default;
  auto operator<=>(const GeoPoint&) const = default;
};

// Degrees to a GeoPoint, rounded to 1e-7 degree; false for values outside the globe or
// not finite.
[[nodiscard]] bool MakeGeoPoint(double lon, double lat, GeoPoint& out);

// The importer's projection onto the map plane: the core's transverse Mercator
// (geometry/projection.h) of a GeoPoint, metres east and north of the projection's centre.
inline PlanePosition ToPlane(const TransverseMercator& tm, const GeoPoint& p) {
  return tm.Forward(GeoPosition{p.lon(), p.lat()});
}

// The length in metres of the shortest path between two points on the ellipsoid
// (Vincenty's inverse method; a spherical estimate where it does not converge).
double EllipsoidDistance(const GeoPoint& a, const GeoPoint& b);

struct PlanePoint {
  double x = 0;
  double y = 0;
};

// The indices of the points that the Douglas-Peucker simplification keeps within
// `tolerance` (same units as the points); the first and the last are always kept.
std::vector<std::size_t> SimplifyIndices(const std::vector<PlanePoint>& points, double tolerance);

}  // namespace koltar::import
