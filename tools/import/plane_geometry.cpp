#include "tools/import/plane_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace koltar::import {

double Distance(const PlanePoint& a, const PlanePoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

double DistanceToPolyline(const std::vector<PlanePoint>& line, const PlanePoint& p, double* along) {
  double best = 1e300, bestAlong = 0, walked = 0;
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    const PlanePoint& a = line[i];
    const PlanePoint& b = line[i + 1];
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    const double d = Distance(p, {a.x + t * dx, a.y + t * dy});
    if (d < best) {
      best = d;
      bestAlong = walked + t * std::sqrt(len2);
    }
    walked += std::sqrt(len2);
  }
  if (along != nullptr) *along = bestAlong;
  return best;
}

double RingArea(const std::vector<PlanePoint>& ring) {
  double twice = 0;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i)
    twice += ring[i].x * ring[i + 1].y - ring[i + 1].x * ring[i].y;
  return twice / 2;
}

PlanePoint InteriorPoint(const std::vector<PlanePoint>& ring,
                         const std::vector<std::vector<PlanePoint>>& holes) {
  double minY = 1e300, maxY = -1e300;
  for (const PlanePoint& p : ring) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const double y = (minY + maxY) / 2;
  std::vector<double> xs;
  auto cross = [&](const std::vector<PlanePoint>& r) {
    for (std::size_t i = 0; i + 1 < r.size(); ++i) {
      const PlanePoint& a = r[i];
      const PlanePoint& b = r[i + 1];
      if ((a.y <= y && b.y > y) || (b.y <= y && a.y > y))
        xs.push_back(a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x));
    }
  };
  cross(ring);
  for (const auto& hole : holes) cross(hole);
  std::sort(xs.begin(), xs.end());
  double bestWidth = -1, bestX = ring.empty() ? 0 : ring[0].x;
  for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
    if (xs[i + 1] - xs[i] > bestWidth) {
      bestWidth = xs[i + 1] - xs[i];
      bestX = (xs[i] + xs[i + 1]) / 2;
    }
  return {bestX, y};
}

std::vector<PlanePoint> JoinHoles(std::vector<PlanePoint> outer, std::vector<std::vector<PlanePoint>> holes) {
  if (RingArea(outer) < 0) std::reverse(outer.begin(), outer.end());
  for (auto& hole : holes) {
    if (hole.size() < 4) continue;
    if (RingArea(hole) > 0) std::reverse(hole.begin(), hole.end());
    std::size_t bestOuter = 0, bestHole = 0;
    double best = 1e300;
    for (std::size_t i = 0; i + 1 < outer.size(); ++i)
      for (std::size_t j = 0; j + 1 < hole.size(); j += std::max<std::size_t>(1, hole.size() / 64)) {
        const double d = Distance(outer[i], hole[j]);
        if (d < best) {
          best = d;
          bestOuter = i;
          bestHole = j;
        }
      }
    std::vector<PlanePoint> joined(outer.begin(), outer.begin() + static_cast<std::ptrdiff_t>(bestOuter) + 1);
    for (std::size_t k = 0; k + 1 < hole.size(); ++k)
      joined.push_back(hole[(bestHole + k) % (hole.size() - 1)]);
    joined.push_back(hole[bestHole]);
    joined.insert(joined.end(), outer.begin() + static_cast<std::ptrdiff_t>(bestOuter), outer.end());
    outer = std::move(joined);
  }
  return outer;
}

std::vector<PlanePoint> Simplified(const std::vector<PlanePoint>& points, double tolerance) {
  std::vector<PlanePoint> out;
  for (std::size_t i : SimplifyIndices(points, tolerance)) out.push_back(points[i]);
  return out;
}

}  // namespace koltar::import
