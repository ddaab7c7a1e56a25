#include "tools/import/road_graph.h"

#include <algorithm>
#include <cmath>

namespace koltar::import {
namespace {

constexpr std::size_t kMaxEdgePoints = 30000;  // a line record holds at most 32767 points

std::uint64_t KeyOf(const GeoPoint& p) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.lon7)) << 32) |
         static_cast<std::uint32_t>(p.lat7);
}

std::uint64_t CellKey(int cx, int cy) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32) | static_cast<std::uint32_t>(cy);
}

double Distance(const PlanePoint& a, const PlanePoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

double PolylineLength(const std::vector<PlanePoint>& points) {
  double total = 0;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) total += Distance(points[i], points[i + 1]);
  return total;
}

}  // namespace

void RoadGraph::AddWay(const std::vector<GeoPoint>& points, const std::vector<PlanePoint>& plane, int rule,
                       std::string name, bool street, int oneway) {
  Way w{{}, {}, rule, std::move(name), street, oneway};
  for (std::size_t i = 0; i < points.size(); ++i)
    if (w.points.empty() || !(w.points.back() == points[i])) {
      w.points.push_back(points[i]);
      w.plane.push_back(plane[i]);
    }
  if (w.points.size() >= 2) ways_.push_back(std::move(w));
}

int RoadGraph::NodeAt(const GeoPoint& g, const PlanePoint& p) {
  auto [it, fresh] = nodeAt_.emplace(KeyOf(g), static_cast<int>(nodes_.size()));
  if (fresh) nodes_.push_back(p);
  return it->second;
}

void RoadGraph::Build() {
  std::unordered_map<std::uint64_t, int> uses;
  for (const Way& w : ways_)
    for (std::size_t i = 0; i < w.points.size(); ++i)
      uses[KeyOf(w.points[i])] += (i == 0 || i + 1 == w.points.size()) ? 2 : 1;
  for (Way& w : ways_) {
    std::size_t start = 0;
    for (std::size_t i = 1; i < w.points.size(); ++i) {
      const bool node =
          uses[KeyOf(w.points[i])] >= 2 || i + 1 == w.points.size() || i - start + 1 >= kMaxEdgePoints;
      if (!node) continue;
      GraphEdge e;
      e.from = NodeAt(w.points[start], w.plane[start]);
      e.to = NodeAt(w.points[i], w.plane[i]);
      e.points.assign(w.plane.begin() + static_cast<std::ptrdiff_t>(start),
                      w.plane.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      for (std::size_t k = start; k < i; ++k) e.length += EllipsoidDistance(w.points[k], w.points[k + 1]);
      e.rule = w.rule;
      e.name = w.name;
      e.street = w.street;
      e.oneway = w.oneway;
      edges_.push_back(std::move(e));
      start = i;
    }
  }
  ways_.clear();
  ways_.shrink_to_fit();
  core_.assign(nodes_.size(), 1);
  bound_.assign(nodes_.size(), 0);
}

void RoadGraph::FindReachableCore(const std::vector<bool>& enabledRule) {
  enabledRule_ = enabledRule;
  const std::size_t n = nodes_.size();
  auto enabled = [&](const GraphEdge& e) {
    return static_cast<std::size_t>(e.rule) < enabledRule.size() &&
           enabledRule[static_cast<std::size_t>(e.rule)];
  };
  bool any = false;
  for (const GraphEdge& e : edges_) any = any || enabled(e);
  // Directed arcs, forward and reverse, in compressed rows.
  std::vector<std::vector<int>> out(n), in(n);
  for (const GraphEdge& e : edges_) {
    if (any && !enabled(e)) continue;
    if (e.oneway != -1) {
      out[static_cast<std::size_t>(e.from)].push_back(e.to);
      in[static_cast<std::size_t>(e.to)].push_back(e.from);
    }
    if (e.oneway != 1) {
      out[static_cast<std::size_t>(e.to)].push_back(e.from);
      in[static_cast<std::size_t>(e.from)].push_back(e.to);
    }
  }
  // Kosaraju: finishing order on the forward arcs, then components on the reverse arcs.
  std::vector<int> order;
  order.reserve(n);
  std::vector<char> seen(n, 0);
  std::vector<std::pair<int, std::size_t>> stack;
  for (std::size_t s = 0; s < n; ++s) {
    if (seen[s]) continue;
    seen[s] = 1;
    stack.emplace_back(static_cast<int>(s), 0);
    while (!stack.empty()) {
      auto& [v, next] = stack.back();
      const auto& arcs = out[static_cast<std::size_t>(v)];
      if (next < arcs.size()) {
        const int w = arcs[next++];
        if (!seen[static_cast<std::size_t>(w)]) {
          seen[static_cast<std::size_t>(w)] = 1;
          stack.emplace_back(w, 0);
        }
      } else {
        order.push_back(v);
        stack.pop_back();
      }
    }
  }
  std::vector<int> component(n, -1);
  std::vector<std::size_t> sizes;
  std::vector<int> work;
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    if (component[static_cast<std::size_t>(*it)] >= 0) continue;
    const int c = static_cast<int>(sizes.size());
    sizes.push_back(0);
    work.push_back(*it);
    component[static_cast<std::size_t>(*it)] = c;
    while (!work.empty()) {
      const int v = work.back();
      work.pop_back();
      ++sizes.back();
      for (int w : in[static_cast<std::size_t>(v)])
        if (component[static_cast<std::size_t>(w)] < 0) {
          component[static_cast<std::size_t>(w)] = c;
          work.push_back(w);
        }
    }
  }
  const int largest =
      sizes.empty() ? -1 : static_cast<int>(std::max_element(sizes.begin(), sizes.end()) - sizes.begin());
  core_.assign(n, 0);
  for (std::size_t v = 0; v < n; ++v) core_[v] = component[v] == largest ? 1 : 0;
  // The grid of free core nodes: cells of about four nodes each.
  double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
  for (const PlanePoint& p : nodes_) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  if (n > 0)
    cell_ =
        std::max(50.0, std::sqrt(std::max(1.0, (maxX - minX) * (maxY - minY)) / static_cast<double>(n) * 4));
  grid_.clear();
  gridMinX_ = gridMinY_ = 2147483647;
  gridMaxX_ = gridMaxY_ = -2147483647;
  for (std::size_t v = 0; v < n; ++v)
    if (core_[v]) IndexNode(static_cast<int>(v));
}

void RoadGraph::IndexNode(int v) {
  const PlanePoint& p = nodes_[static_cast<std::size_t>(v)];
  const int cx = static_cast<int>(std::floor(p.x / cell_));
  const int cy = static_cast<int>(std::floor(p.y / cell_));
  grid_[CellKey(cx, cy)].push_back(v);
  gridMinX_ = std::min(gridMinX_, cx);
  gridMaxX_ = std::max(gridMaxX_, cx);
  gridMinY_ = std::min(gridMinY_, cy);
  gridMaxY_ = std::max(gridMaxY_, cy);
}

int RoadGraph::Nearest(const PlanePoint& p, bool onlyFree, double& bestDistance) const {
  bestDistance = 1e300;
  if (grid_.empty()) return -1;
  const int cx = static_cast<int>(std::floor(p.x / cell_));
  const int cy = static_cast<int>(std::floor(p.y / cell_));
  const int maxRing = std::max({std::abs(cx - gridMinX_), std::abs(cx - gridMaxX_), std::abs(cy - gridMinY_),
                                std::abs(cy - gridMaxY_)});
  int best = -1;
  for (int ring = 0; ring <= maxRing; ++ring) {
    // Nothing in this ring or beyond can be nearer than (ring - 1) cells.
    if (best >= 0 && (ring - 1) * cell_ > bestDistance) break;
    for (int x = cx - ring; x <= cx + ring; ++x)
      for (int y = cy - ring; y <= cy + ring; ++y) {
        if (std::abs(x - cx) != ring && std::abs(y - cy) != ring) continue;
        auto it = grid_.find(CellKey(x, y));
        if (it == grid_.end()) continue;
        for (int v : it->second) {
          if (onlyFree && bound_[static_cast<std::size_t>(v)]) continue;
          const double dist = Distance(nodes_[static_cast<std::size_t>(v)], p);
          if (dist < bestDistance || (dist == bestDistance && v < best)) {
            bestDistance = dist;
            best = v;
          }
        }
      }
  }
  return best;
}

int RoadGraph::BindNearest(const PlanePoint& p) {
  double nearestDistance = 0, freeDistance = 0;
  const int nearest = Nearest(p, false, nearestDistance);
  if (nearest < 0) return -1;
  const int free = Nearest(p, true, freeDistance);
  if (free >= 0 && freeDistance <= std::max(2 * nearestDistance, nearestDistance + 250)) {
    bound_[static_cast<std::size_t>(free)] = 1;
    return free;
  }
  const int node = static_cast<int>(nodes_.size());
  nodes_.push_back(p);
  core_.push_back(1);
  bound_.push_back(1);
  links_.push_back({node, nearest, nearestDistance});
  return node;
}

void RoadGraph::ReserveForStops(std::size_t pieces) {
  edges_.reserve(edges_.size() + pieces);
  nodes_.reserve(nodes_.size() + pieces);
  core_.reserve(core_.size() + pieces);
  bound_.reserve(bound_.size() + pieces);
}

std::vector<int> RoadGraph::SplitForStops(int e, int k) {
  GraphEdge& edge = edges_[static_cast<std::size_t>(e)];
  const bool enabled = static_cast<std::size_t>(edge.rule) < enabledRule_.size() &&
                       enabledRule_[static_cast<std::size_t>(edge.rule)];
  if (k <= 0 || !enabled || !InCore(edge.from) || !InCore(edge.to) || edge.points.size() < 2) return {};
  const double total = PolylineLength(edge.points);
  if (total <= 0) return {};
  // Cut points at equal fractions of the length; the new vertices join both pieces.
  std::vector<std::vector<PlanePoint>> pieces(1);
  std::vector<PlanePoint> cuts;
  double walked = 0;
  int next = 1;
  pieces[0].push_back(edge.points[0]);
  for (std::size_t i = 0; i + 1 < edge.points.size(); ++i) {
    const PlanePoint a = edge.points[i], b = edge.points[i + 1];
    const double len = Distance(a, b);
    while (next <= k && walked + len >= total * next / (k + 1)) {
      const double t = len > 0 ? (total * next / (k + 1) - walked) / len : 0;
      const PlanePoint cut{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
      pieces.back().push_back(cut);
      cuts.push_back(cut);
      pieces.emplace_back(1, cut);
      ++next;
    }
    pieces.back().push_back(b);
    walked += len;
  }
  while (cuts.size() < static_cast<std::size_t>(k)) {  // rounding at the very end
    cuts.push_back(edge.points.back());
    pieces.back().push_back(edge.points.back());
    pieces.emplace_back(1, edge.points.back());
    pieces.back().push_back(edge.points.back());
  }
  std::vector<int> stops;
  for (const PlanePoint& c : cuts) {
    stops.push_back(static_cast<int>(nodes_.size()));
    nodes_.push_back(c);
    core_.push_back(1);
    bound_.push_back(1);
  }
  const GraphEdge original = edge;
  for (std::size_t piece = 0; piece < pieces.size(); ++piece) {
    GraphEdge part = original;
    part.points = pieces[piece];
    part.from = piece == 0 ? original.from : stops[piece - 1];
    part.to = piece + 1 == pieces.size() ? original.to : stops[piece];
    part.length = original.length * PolylineLength(part.points) / total;
    if (piece == 0)
      edges_[static_cast<std::size_t>(e)] = std::move(part);
    else
      edges_.push_back(std::move(part));
  }
  return stops;
}

std::vector<int> RoadGraph::Renumber(const std::vector<std::pair<int, int>>& bindings,
                                     std::vector<std::int32_t>& nodeRecord) const {
  std::vector<std::pair<int, int>> byRecord = bindings;
  std::sort(byRecord.begin(), byRecord.end(),
            [](const auto& a, const auto& b) { return a.second < b.second; });
  std::vector<int> index(nodes_.size(), -1);
  nodeRecord.clear();
  for (const auto& [node, record] : byRecord) {
    if (index[static_cast<std::size_t>(node)] >= 0) continue;
    index[static_cast<std::size_t>(node)] = static_cast<int>(nodeRecord.size());
    nodeRecord.push_back(record);
  }
  for (std::size_t v = 0; v < nodes_.size(); ++v)
    if (index[v] < 0) {
      index[v] = static_cast<int>(nodeRecord.size());
      nodeRecord.push_back(-1);
    }
  return index;
}

PlanePoint RoadGraph::Midpoint(int e) const {
  const GraphEdge& edge = Edge(e);
  const double half = PolylineLength(edge.points) / 2;
  double walked = 0;
  for (std::size_t i = 0; i + 1 < edge.points.size(); ++i) {
    const double len = Distance(edge.points[i], edge.points[i + 1]);
    if (walked + len >= half && len > 0) {
      const double t = (half - walked) / len;
      return {edge.points[i].x + t * (edge.points[i + 1].x - edge.points[i].x),
              edge.points[i].y + t * (edge.points[i + 1].y - edge.points[i].y)};
    }
    walked += len;
  }
  return edge.points.front();
}

void RoadGraph::MiddleSegment(int e, PlanePoint& a, PlanePoint& b) const {
  const GraphEdge& edge = Edge(e);
  const double half = PolylineLength(edge.points) / 2;
  double walked = 0;
  a = edge.points.front();
  b = edge.points.back();
  for (std::size_t i = 0; i + 1 < edge.points.size(); ++i) {
    const double len = Distance(edge.points[i], edge.points[i + 1]);
    if (walked + len >= half) {
      a = edge.points[i];
      b = edge.points[i + 1];
      return;
    }
    walked += len;
  }
}

}  // namespace koltar::import
