#pragma once
// Geometry on the map plane (projected metres) for the map build: distances to lines,
// ring areas, label points inside rings, holes joined into their rings, simplification.

#include <vector>

#include "tools/import/geo.h"

namespace koltar::import {

// The straight distance between two points.
double Distance(const PlanePoint& a, const PlanePoint& b);

// Distance from p to the polyline; `along` (when not null) receives the position of the
// nearest point along the line, metres from its start.
double DistanceToPolyline(const std::vector<PlanePoint>& line, const PlanePoint& p, double* along);

// The signed area of a closed ring (last point repeating the first), positive when it
// runs anticlockwise.
double RingArea(const std::vector<PlanePoint>& ring);

// A point inside the ring (and outside its holes) for its label: the middle of the
// widest run of the horizontal line through the ring's middle height that lies inside.
PlanePoint InteriorPoint(const std::vector<PlanePoint>& ring,
                         const std::vector<std::vector<PlanePoint>>& holes);

// One ring made of an outer ring and its holes: each hole is joined to the outer ring
// by a cut there and back, with the hole running the other way round, so that a winding
// fill leaves the hole empty. The cut is invisible when the outline has the fill colour.
// Holes of fewer than four points are left out.
std::vector<PlanePoint> JoinHoles(std::vector<PlanePoint> outer, std::vector<std::vector<PlanePoint>> holes);

// The points that the Douglas-Peucker simplification keeps within `tolerance` metres.
std::vector<PlanePoint> Simplified(const std::vector<PlanePoint>& points, double tolerance);

}  // namespace koltar::import
