#include "tools/import/geo.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace koltar::import {
namespace {

constexpr double kA = 6378137.0;            // WGS 84 semi-major axis, metres
constexpr double kF = 1.0 / 298.257223563;  // flattening
constexpr double kB = kA * (1.0 - kF);
constexpr double kDeg = std::numbers::pi / 180.0;

double Sq(double v) { return v * v; }

}  // namespace

bool MakeGeoPoint(double lon, double lat, GeoPoint& out) {
  if (!std::isfinite(lon) || !std::isfinite(lat) || lon < -180.0 || lon > 180.0 || lat < -90.0 || lat > 90.0)
    return false;
  out.lon7 = static_cast<std::int32_t>(std::lround(lon * 1e7));
  out.lat7 = static_cast<std::int32_t>(std::lround(lat * 1e7));
  return true;
}

double EllipsoidDistance(const GeoPoint& p1, const GeoPoint& p2) {
  if (p1 == p2) return 0.0;
  const double l = (p2.lon() - p1.lon()) * kDeg;
  const double u1 = std::atan((1 - kF) * std::tan(p1.lat() * kDeg));
  const double u2 = std::atan((1 - kF) * std::tan(p2.lat() * kDeg));
  const double sinU1 = std::sin(u1), cosU1 = std::cos(u1);
  const double sinU2 = std::sin(u2), cosU2 = std::cos(u2);
  double lambda = l;
  for (int iteration = 0; iteration < 100; ++iteration) {
    const double sinL = std::sin(lambda), cosL = std::cos(lambda);
    const double sinSigma = std::sqrt(Sq(cosU2 * sinL) + Sq(cosU1 * sinU2 - sinU1 * cosU2 * cosL));
    if (sinSigma == 0) return 0.0;
    const double cosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosL;
    const double sigma = std::atan2(sinSigma, cosSigma);
    const double sinAlpha = cosU1 * cosU2 * sinL / sinSigma;
    const double cos2Alpha = 1 - sinAlpha * sinAlpha;
    const double cos2SigmaM = cos2Alpha != 0 ? cosSigma - 2 * sinU1 * sinU2 / cos2Alpha : 0.0;
    const double c = kF / 16 * cos2Alpha * (4 + kF * (4 - 3 * cos2Alpha));
    const double previous = lambda;
    lambda = l + (1 - c) * kF * sinAlpha *
                     (sigma + c * sinSigma * (cos2SigmaM + c * cosSigma * (-1 + 2 * Sq(cos2SigmaM))));
    if (std::fabs(lambda - previous) < 1e-12) {
      const double uu = cos2Alpha * (kA * kA - kB * kB) / (kB * kB);
      const double aa = 1 + uu / 16384 * (4096 + uu * (-768 + uu * (320 - 175 * uu)));
      const double bb = uu / 1024 * (256 + uu * (-128 + uu * (74 - 47 * uu)));
      const double deltaSigma =
          bb * sinSigma *
          (cos2SigmaM + bb / 4 *
                            (cosSigma * (-1 + 2 * Sq(cos2SigmaM)) -
                             bb / 6 * cos2SigmaM * (-3 + 4 * Sq(sinSigma)) * (-3 + 4 * Sq(cos2SigmaM))));
      return kB * aa * (sigma - deltaSigma);
    }
  }
  // Nearly antipodal points: the great-circle distance on the mean sphere will do.
  const double dLat = (p2.lat() - p1.lat()) * kDeg;
  const double h =
      Sq(std::sin(dLat / 2)) + std::cos(p1.lat() * kDeg) * std::cos(p2.lat() * kDeg) * Sq(std::sin(l / 2));
  return 2 * 6371008.8 * std::asin(std::min(1.0, std::sqrt(h)));
}

std::vector<std::size_t> SimplifyIndices(const std::vector<PlanePoint>& points, double tolerance) {
  std::vector<std::size_t> kept;
  if (points.size() <= 2) {
    for (std::size_t i = 0; i < points.size(); ++i) kept.push_back(i);
    return kept;
  }
  std::vector<char> keep(points.size(), 0);
  keep.front() = keep.back() = 1;
  std::vector<std::pair<std::size_t, std::size_t>> stack{{0, points.size() - 1}};
  while (!stack.empty()) {
    const auto [first, last] = stack.back();
    stack.pop_back();
    const PlanePoint& a = points[first];
    const PlanePoint& b = points[last];
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double worst = -1;
    std::size_t worstIndex = first;
    for (std::size_t i = first + 1; i < last; ++i) {
      const PlanePoint& p = points[i];
      double d2;
      if (length2 == 0) {
        d2 = Sq(p.x - a.x) + Sq(p.y - a.y);
      } else {
        const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0);
        d2 = Sq(p.x - (a.x + t * dx)) + Sq(p.y - (a.y + t * dy));
      }
      if (d2 > worst) {
        worst = d2;
        worstIndex = i;
      }
    }
    if (worst > tolerance * tolerance) {
      keep[worstIndex] = 1;
      stack.emplace_back(first, worstIndex);
      stack.emplace_back(worstIndex, last);
    }
  }
  for (std::size_t i = 0; i < points.size(); ++i)
    if (keep[i]) kept.push_back(i);
  return kept;
}

}  // namespace koltar::import
