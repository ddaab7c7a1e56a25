#pragma once
// Map projections as pure geometry: positions on the WGS 84 ellipsoid and the
// transverse Mercator projection of the maps made from open data (tools/import), both
// ways, and the PROJECTION key by which a map file records it.
//
// A map whose [MAP] section has PROJECTION=tmerc,<central meridian>,<origin latitude>
// (degrees) lies in that projection's plane: map point (0, 0) is the projection's
// centre (the central meridian at the origin latitude), x runs east and y north, UNIT
// metres per map unit. koltar-import writes its maps so; ORIGIN and everything else
// are independent of the key, which only adds geographic positions.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/geometry.h"

namespace koltar {

// A position on the WGS 84 ellipsoid in degrees: longitude east, latitude north.
struct GeoPosition {
  double longitude = 0;
  double latitude = 0;
};

// A point of a projection's plane: metres east and north of the projection's centre.
struct PlanePosition {
  double x = 0;
  double y = 0;
};

// A transverse Mercator projection on the WGS 84 ellipsoid with scale factor 1 on its
// central meridian (series accurate to millimetres within a few degrees of it).
class TransverseMercator {
 public:
  // Degrees.
  TransverseMercator(double centralMeridian, double originLatitude);

  // Metres east of the central meridian and north of the origin latitude.
  PlanePosition Forward(GeoPosition p) const;
  // The position that Forward takes to the plane point: the series inverse, refined by
  // Newton steps on Forward, so that Forward(Inverse(q)) is q to well within a
  // millimetre over a few degrees around the centre.
  GeoPosition Inverse(PlanePosition q) const;

  // Metres along the meridian from the equator to the origin latitude.
  double OriginNorthing() const { return m0_; }
  double centralMeridian() const { return centralMeridian_; }
  double originLatitude() const { return originLatitude_; }

 private:
  double Meridian(double phi) const;
  GeoPosition SeriesInverse(PlanePosition q) const;

  double centralMeridian_;
  double originLatitude_;
  double lon0_;  // radians
  double m0_;
};

// The value of the PROJECTION key for a projection: "tmerc,<central meridian>,<origin
// latitude>", degrees with up to ten significant digits ("tmerc,19.5,47.17").
std::string ProjectionKeyValue(const TransverseMercator& projection);
// The projection a PROJECTION value records; none for an empty, unknown or malformed
// value, or one off the globe.
std::optional<TransverseMercator> ParseProjectionKey(std::string_view value);

// The geographic position of a map point on a map in the projection's plane with `unit`
// metres per map unit (see above).
GeoPosition MapPointToGeographic(const TransverseMercator& projection, std::int32_t unit, MapPoint p);

}  // namespace koltar
