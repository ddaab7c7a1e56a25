#include "geometry/projection.h"

#include <cmath>
#include <numbers>

#include "platform/format.h"
#include "platform/scan.h"

namespace koltar {
namespace {

constexpr double kA = 6378137.0;            // WGS 84 semi-major axis, metres
constexpr double kF = 1.0 / 298.257223563;  // flattening
constexpr double kE2 = kF * (2.0 - kF);     // first eccentricity squared
constexpr double kEp2 = kE2 / (1.0 - kE2);  // second eccentricity squared
constexpr double kDeg = std::numbers::pi / 180.0;

double Sq(double v) { return v * v; }

}  // namespace

TransverseMercator::TransverseMercator(double centralMeridian, double originLatitude)
    : centralMeridian_(centralMeridian),
      originLatitude_(originLatitude),
      lon0_(centralMeridian * kDeg),
      m0_(Meridian(originLatitude * kDeg)) {}

double TransverseMercator::Meridian(double phi) const {
  const double e4 = kE2 * kE2, e6 = e4 * kE2;
  return kA * ((1 - kE2 / 4 - 3 * e4 / 64 - 5 * e6 / 256) * phi -
               (3 * kE2 / 8 + 3 * e4 / 32 + 45 * e6 / 1024) * std::sin(2 * phi) +
               (15 * e4 / 256 + 45 * e6 / 1024) * std::sin(4 * phi) - (35 * e6 / 3072) * std::sin(6 * phi));
}

PlanePosition TransverseMercator::Forward(GeoPosition p) const {
  const double phi = p.latitude * kDeg;
  const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
  const double n = kA / std::sqrt(1 - kE2 * sinPhi * sinPhi);
  const double t = Sq(std::tan(phi));
  const double c = kEp2 * cosPhi * cosPhi;
  const double a = (p.longitude * kDeg - lon0_) * cosPhi;
  const double a2 = a * a, a3 = a2 * a, a4 = a3 * a, a5 = a4 * a, a6 = a5 * a;
  PlanePosition q;
  q.x = n * (a + (1 - t + c) * a3 / 6 + (5 - 18 * t + t * t + 72 * c - 58 * kEp2) * a5 / 120);
  q.y = Meridian(phi) - m0_ +
        n * std::tan(phi) *
            (a2 / 2 + (5 - t + 9 * c + 4 * c * c) * a4 / 24 +
             (61 - 58 * t + t * t + 600 * c - 330 * kEp2) * a6 / 720);
  return q;
}

GeoPosition TransverseMercator::SeriesInverse(PlanePosition q) const {
  // The footpoint latitude of the meridian arc, then the series back to the point.
  const double e4 = kE2 * kE2, e6 = e4 * kE2;
  const double mu = (m0_ + q.y) / (kA * (1 - kE2 / 4 - 3 * e4 / 64 - 5 * e6 / 256));
  const double root = std::sqrt(1 - kE2);
  const double e1 = (1 - root) / (1 + root);
  const double e12 = e1 * e1, e13 = e12 * e1, e14 = e13 * e1;
  const double phi1 = mu + (3 * e1 / 2 - 27 * e13 / 32) * std::sin(2 * mu) +
                      (21 * e12 / 16 - 55 * e14 / 32) * std::sin(4 * mu) +
                      (151 * e13 / 96) * std::sin(6 * mu) + (1097 * e14 / 512) * std::sin(8 * mu);
  const double sin1 = std::sin(phi1), cos1 = std::cos(phi1), tan1 = std::tan(phi1);
  const double c1 = kEp2 * cos1 * cos1;
  const double t1 = tan1 * tan1;
  const double w = 1 - kE2 * sin1 * sin1;
  const double n1 = kA / std::sqrt(w);
  const double r1 = kA * (1 - kE2) / (w * std::sqrt(w));
  const double d = q.x / n1;
  const double d2 = d * d, d3 = d2 * d, d4 = d3 * d, d5 = d4 * d, d6 = d5 * d;
  const double phi =
      phi1 -
      (n1 * tan1 / r1) * (d2 / 2 - (5 + 3 * t1 + 10 * c1 - 4 * c1 * c1 - 9 * kEp2) * d4 / 24 +
                          (61 + 90 * t1 + 298 * c1 + 45 * t1 * t1 - 252 * kEp2 - 3 * c1 * c1) * d6 / 720);
  const double lambda = lon0_ + (d - (1 + 2 * t1 + c1) * d3 / 6 +
                                 (5 - 2 * c1 + 28 * t1 - 3 * c1 * c1 + 8 * kEp2 + 24 * t1 * t1) * d5 / 120) /
                                    cos1;
  return GeoPosition{lambda / kDeg, phi / kDeg};
}

GeoPosition TransverseMercator::Inverse(PlanePosition q) const {
  // The series is a close start; Newton steps on Forward itself (its Jacobian by central
  // differences) make the result the exact inverse of what the map was projected with.
  GeoPosition p = SeriesInverse(q);
  constexpr double kStep = 1e-6;  // degrees, about a decimetre
  for (int iteration = 0; iteration < 8; ++iteration) {
    const PlanePosition f = Forward(p);
    const double ex = q.x - f.x, ey = q.y - f.y;
    if (std::fabs(ex) < 1e-7 && std::fabs(ey) < 1e-7) break;
    const PlanePosition east = Forward({p.longitude + kStep, p.latitude});
    const PlanePosition west = Forward({p.longitude - kStep, p.latitude});
    const PlanePosition north = Forward({p.longitude, p.latitude + kStep});
    const PlanePosition south = Forward({p.longitude, p.latitude - kStep});
    const double xLon = (east.x - west.x) / (2 * kStep), yLon = (east.y - west.y) / (2 * kStep);
    const double xLat = (north.x - south.x) / (2 * kStep), yLat = (north.y - south.y) / (2 * kStep);
    const double det = xLon * yLat - xLat * yLon;
    if (det == 0 || !std::isfinite(det)) break;
    p.longitude += (ex * yLat - ey * xLat) / det;
    p.latitude += (xLon * ey - yLon * ex) / det;
  }
  return p;
}

std::string ProjectionKeyValue(const TransverseMercator& projection) {
  return StringPrintf("tmerc,%.10g,%.10g", projection.centralMeridian(), projection.originLatitude());
}

std::optional<TransverseMercator> ParseProjectionKey(std::string_view value) {
  std::string kind;
  double meridian = 0, latitude = 0;
  if (ScanValues(value, "%[^,],%lf,%lf", kind, meridian, latitude) != 3 || kind != "tmerc")
    return std::nullopt;
  if (!std::isfinite(meridian) || !std::isfinite(latitude) || std::fabs(meridian) > 180 ||
      std::fabs(latitude) >= 90)
    return std::nullopt;
  return TransverseMercator(meridian, latitude);
}

GeoPosition MapPointToGeographic(const TransverseMercator& projection, std::int32_t unit, MapPoint p) {
  return projection.Inverse({static_cast<double>(p.x) * unit, static_cast<double>(p.y) * unit});
}

}  // namespace koltar
