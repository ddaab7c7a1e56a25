// The streets stage of a map build: named roads grouped into streets, house numbers
// gathered into ranges per block and side, every street segment bound to a road node.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "platform/text.h"
#include "tools/import/plane_geometry.h"
#include "tools/import/stages.h"

namespace koltar::import {

bool ParseHouseNumber(std::string_view text, int& number, char& letter) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  number = 0;
  const std::size_t start = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    number = number * 10 + (text[i] - '0');
    if (number > 32767) return false;
    ++i;
  }
  if (i == start || number == 0) return false;
  letter = ' ';
  std::size_t j = i;
  while (j < text.size() && (text[j] == ' ' || text[j] == '/')) ++j;
  if (j < text.size() && ((text[j] >= 'a' && text[j] <= 'z') || (text[j] >= 'A' && text[j] <= 'Z')) &&
      (j + 1 == text.size() ||
       !((text[j + 1] >= 'a' && text[j + 1] <= 'z') || (text[j + 1] >= 'A' && text[j + 1] <= 'Z'))))
    letter = static_cast<char>(text[j] | 0x20);
  return true;
}

namespace {

std::uint64_t KeyOf(const GeoPoint& p) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.lon7)) << 32) |
         static_cast<std::uint32_t>(p.lat7);
}

// The nearest settlement to points, by a grid of cells that hold a few settlements each.
class SettlementIndex {
 public:
  explicit SettlementIndex(const std::vector<Settlement>& settlements) : settlements_(settlements) {
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (const Settlement& s : settlements) {
      minX = std::min(minX, s.at.x);
      maxX = std::max(maxX, s.at.x);
      minY = std::min(minY, s.at.y);
      maxY = std::max(maxY, s.at.y);
    }
    if (settlements.empty()) return;
    cell_ = std::max(100.0, std::sqrt(std::max(1.0, (maxX - minX) * (maxY - minY)) /
                                      static_cast<double>(settlements.size()) * 4));
    for (std::size_t i = 0; i < settlements.size(); ++i) {
      const auto [cx, cy] = Cell(settlements[i].at);
      cells_[{cx, cy}].push_back(static_cast<int>(i));
      minCell_ = std::min({minCell_, cx, cy});
      maxCell_ = std::max({maxCell_, cx, cy});
    }
  }
  // The nearest settlement (the first of equally near ones), -1 when there is none.
  int Nearest(const PlanePoint& p) const {
    if (cells_.empty()) return -1;
    const auto [cx, cy] = Cell(p);
    const long long reach = std::max({std::llabs(cx - minCell_), std::llabs(cx - maxCell_),
                                      std::llabs(cy - minCell_), std::llabs(cy - maxCell_)});
    int best = -1;
    double bestDistance = 1e300;
    for (long long ring = 0; ring <= reach; ++ring) {
      if (best >= 0 && static_cast<double>(ring - 1) * cell_ > bestDistance) break;
      for (long long x = cx - ring; x <= cx + ring; ++x)
        for (long long y = cy - ring; y <= cy + ring; ++y) {
          if (std::llabs(x - cx) != ring && std::llabs(y - cy) != ring) continue;
          auto it = cells_.find({x, y});
          if (it == cells_.end()) continue;
          for (int i : it->second) {
            const double d = Distance(settlements_[static_cast<std::size_t>(i)].at, p);
            if (d < bestDistance || (d == bestDistance && i < best)) {
              bestDistance = d;
              best = i;
            }
          }
        }
    }
    return best;
  }

 private:
  std::pair<long long, long long> Cell(const PlanePoint& p) const {
    return {static_cast<long long>(std::floor(p.x / cell_)), static_cast<long long>(std::floor(p.y / cell_))};
  }
  const std::vector<Settlement>& settlements_;
  double cell_ = 1000;
  std::map<std::pair<long long, long long>, std::vector<int>> cells_;
  long long minCell_ = 0x7FFFFFFFFFFFLL, maxCell_ = -0x7FFFFFFFFFFFLL;
};

// The streets of the named roads: the connected pieces of one name, each piece joined
// to the street of that name in its nearest settlement.
void GroupStreetEdges(BuildState& state, const SettlementIndex& settlementIndex) {
  const RoadGraph& graph = state.graph;
  std::vector<Street>& streets = state.streets;
  std::map<std::pair<std::string, int>, int> streetOf;
  std::map<std::string, std::vector<int>> edgesByName;
  for (int e = 0; e < graph.EdgeCount(); ++e)
    if (graph.Edge(e).street && !graph.Edge(e).name.empty())
      edgesByName[Cp1250ToUpper(graph.Edge(e).name)].push_back(e);
  for (auto& [upper, edges] : edgesByName) {
    // Connected pieces of the same name.
    std::unordered_map<int, int> parent;
    auto find = [&](int x) {
      if (!parent.count(x)) parent[x] = x;
      while (parent[x] != x) x = parent[x] = parent[parent[x]];
      return x;
    };
    for (int e : edges) parent[find(graph.Edge(e).from)] = find(graph.Edge(e).to);
    std::map<int, std::vector<int>> pieces;
    for (int e : edges) pieces[find(graph.Edge(e).from)].push_back(e);
    for (auto& [root, pieceEdges] : pieces) {
      PlanePoint centre;
      for (int e : pieceEdges) {
        centre.x += graph.Midpoint(e).x / static_cast<double>(pieceEdges.size());
        centre.y += graph.Midpoint(e).y / static_cast<double>(pieceEdges.size());
      }
      const int near = settlementIndex.Nearest(centre);
      auto [it, fresh] = streetOf.emplace(std::make_pair(upper, near), static_cast<int>(streets.size()));
      if (fresh) {
        Street s;
        s.base = graph.Edge(pieceEdges[0]).name.substr(0, kPointNameLimit);
        s.upper = upper;
        s.settlement = near;
        streets.push_back(std::move(s));
      }
      auto& target = streets[static_cast<std::size_t>(it->second)].edges;
      target.insert(target.end(), pieceEdges.begin(), pieceEdges.end());
    }
  }
}

struct Address {
  PlanePoint at;
  std::string street;  // UTF-8
  std::string number;
};

// The addresses of the input, then the numbers between the two ends of each
// interpolation line, spread along it in proportion to the numbers.
std::vector<Address> CollectAddresses(BuildState& state) {
  const ImportInput& input = state.input;
  std::vector<Address> addresses;
  std::map<std::uint64_t, std::size_t> addressAt;
  for (std::size_t i = 0; i < input.addresses.size(); ++i) {
    addresses.push_back(
        {state.conv.Project(input.addresses[i].at), input.addresses[i].street, input.addresses[i].number});
    addressAt[KeyOf(input.addresses[i].at)] = i;
  }
  for (const InterpolationIn& line : input.interpolations) {
    auto a = addressAt.find(KeyOf(line.points.front()));
    auto b = addressAt.find(KeyOf(line.points.back()));
    int first, last;
    char letter;
    if (a == addressAt.end() || b == addressAt.end() ||
        !ParseHouseNumber(input.addresses[a->second].number, first, letter) ||
        !ParseHouseNumber(input.addresses[b->second].number, last, letter)) {
      ++state.summary.brokenGeometry;
      continue;
    }
    const std::string street = !line.street.empty() ? line.street : input.addresses[a->second].street;
    const int step = line.kind == "odd" || line.kind == "even" ? 2 : 1;
    const int count = std::abs(last - first) / step;
    if (count > 2000) continue;
    const int direction = last >= first ? step : -step;
    const std::vector<PlanePoint> plane = state.conv.Project(line.points);
    double total = 0;
    for (std::size_t i = 0; i + 1 < plane.size(); ++i) total += Distance(plane[i], plane[i + 1]);
    for (int k = 1; k < count; ++k) {
      // Positions along the line, in proportion to the numbers.
      const double target = total * k / count;
      double walked = 0;
      PlanePoint at = plane.back();
      for (std::size_t i = 0; i + 1 < plane.size(); ++i) {
        const double len = Distance(plane[i], plane[i + 1]);
        if (walked + len >= target && len > 0) {
          const double t = (target - walked) / len;
          at = {plane[i].x + t * (plane[i + 1].x - plane[i].x),
                plane[i].y + t * (plane[i + 1].y - plane[i].y)};
          break;
        }
        walked += len;
      }
      addresses.push_back({at, street, std::to_string(first + k * direction)});
    }
  }
  return addresses;
}

// Each house number to the nearest block of a street of its name within 2 km; a number
// with no such block starts (or joins) a street known only from its addresses.
void AssignAddresses(BuildState& state, const std::vector<Address>& addresses,
                     const SettlementIndex& settlementIndex) {
  std::vector<Street>& streets = state.streets;
  std::map<std::string, std::vector<int>> streetsNamed;
  for (std::size_t i = 0; i < streets.size(); ++i)
    streetsNamed[streets[i].upper].push_back(static_cast<int>(i));
  for (const Address& a : addresses) {
    int number;
    char letter;
    if (!ParseHouseNumber(a.number, number, letter)) {
      ++state.summary.brokenGeometry;
      continue;
    }
    ++state.summary.addresses;
    const PlanePoint at = a.at;
    const std::string base = state.conv.Name(a.street, kPointNameLimit);
    const std::string upper = Cp1250ToUpper(base);
    // The nearest block of a street of that name.
    int bestStreet = -1, bestEdge = -1;
    double best = 1e300;
    for (int candidate : streetsNamed[upper]) {
      const auto s = static_cast<std::size_t>(candidate);
      for (int e : streets[s].edges) {
        const double dist = DistanceToPolyline(state.graph.Edge(e).points, at, nullptr);
        if (dist < best) {
          best = dist;
          bestStreet = static_cast<int>(s);
          bestEdge = e;
        }
      }
      if (streets[s].edges.empty() && Distance(streets[s].addressPoints[0], at) < best) {
        best = Distance(streets[s].addressPoints[0], at);
        bestStreet = static_cast<int>(s);
        bestEdge = -1;
      }
    }
    if (bestStreet < 0 || best > 2000) {
      // A street known only from its addresses.
      Street s;
      s.base = base;
      s.upper = upper;
      s.settlement = settlementIndex.Nearest(at);
      s.addressPoints.push_back(at);
      streets.push_back(std::move(s));
      bestStreet = static_cast<int>(streets.size() - 1);
      streetsNamed[upper].push_back(bestStreet);
      bestEdge = -1;
    } else if (bestEdge < 0) {
      streets[static_cast<std::size_t>(bestStreet)].addressPoints.push_back(at);
    }
    streets[static_cast<std::size_t>(bestStreet)].numbers.push_back({bestEdge, {number, letter}});
  }
}

// The street's segments: one per block and side (odd and even numbers) that has
// numbers, in the order of their lowest numbers, then one per block without numbers;
// a street known only from addresses without numbers gets one. Returns the number of
// house-number ranges.
std::int64_t MakeSegments(Street& s) {
  std::map<std::pair<int, int>, StreetSegment> byBlock;
  for (const auto& [edge, value] : s.numbers) {
    const int parity = (value.first & 1) ? 1 : 2;
    const int key = value.first * 256 + static_cast<signed char>(value.second);
    auto [it, fresh] = byBlock.try_emplace({edge, parity});
    StreetSegment& seg = it->second;
    if (fresh) {
      seg.edge = edge;
      seg.parity = parity;
      seg.lowKey = seg.highKey = key;
      seg.low = seg.high = value.first;
      seg.lowLetter = seg.highLetter = value.second;
    } else {
      if (key < seg.lowKey) {
        seg.lowKey = key;
        seg.low = value.first;
        seg.lowLetter = value.second;
      }
      if (key > seg.highKey) {
        seg.highKey = key;
        seg.high = value.first;
        seg.highLetter = value.second;
      }
    }
  }
  for (auto& [key, seg] : byBlock) s.segments.push_back(seg);
  std::sort(s.segments.begin(), s.segments.end(), [](const StreetSegment& a, const StreetSegment& b) {
    return std::tie(a.lowKey, a.parity) < std::tie(b.lowKey, b.parity);
  });
  for (int e : s.edges) {
    bool numbered = false;
    for (const StreetSegment& seg : s.segments) numbered = numbered || seg.edge == e;
    if (!numbered) {
      StreetSegment seg;
      seg.edge = e;
      s.segments.push_back(seg);
    }
  }
  if (s.edges.empty() && s.segments.empty()) s.segments.push_back(StreetSegment{});
  return static_cast<std::int64_t>(byBlock.size());
}

// Streets sorted by name, their names made unique with the settlement they lie in.
void NameStreets(BuildState& state) {
  std::vector<Street>& streets = state.streets;
  std::stable_sort(streets.begin(), streets.end(),
                   [](const Street& a, const Street& b) { return CompareNoCase(a.base, b.base) < 0; });
  std::vector<NamedItem> named;
  named.reserve(streets.size());
  for (const Street& s : streets) named.push_back({s.base, s.settlement});
  const std::vector<std::string> names = UniqueNames(named, state.settlements, kPointNameLimit, false);
  for (std::size_t i = 0; i < streets.size(); ++i) streets[i].name = names[i];
  std::stable_sort(streets.begin(), streets.end(),
                   [](const Street& a, const Street& b) { return CompareNoCase(a.name, b.name) < 0; });
}

// Each segment gets a node of its own: blocks on the routable core are split, the rest
// is bound to the nearest free node; segments of addresses stand at their centre.
void BindSegments(BuildState& state) {
  RoadGraph& graph = state.graph;
  std::map<int, std::vector<StreetSegment*>> onEdge;
  for (Street& s : state.streets)
    for (StreetSegment& seg : s.segments)
      if (seg.edge >= 0) onEdge[seg.edge].push_back(&seg);
  std::size_t pieces = 0;
  for (const auto& entry : onEdge) pieces += entry.second.size();
  graph.ReserveForStops(pieces);
  for (auto& [edge, segs] : onEdge) {
    std::vector<int> nodes = graph.SplitForStops(edge, static_cast<int>(segs.size()));
    for (std::size_t k = 0; k < segs.size(); ++k) {
      if (!nodes.empty()) {
        segs[k]->node = nodes[k];
        segs[k]->at = graph.NodePosition(nodes[k]);
      } else {
        segs[k]->at = graph.Midpoint(edge);
      }
    }
  }
  for (Street& s : state.streets) {
    for (StreetSegment& seg : s.segments) {
      if (seg.edge < 0) {
        PlanePoint centre;
        for (const PlanePoint& p : s.addressPoints) {
          centre.x += p.x / static_cast<double>(s.addressPoints.size());
          centre.y += p.y / static_cast<double>(s.addressPoints.size());
        }
        seg.at = centre;
      }
      if (seg.node < 0) seg.node = graph.BindNearest(seg.at);
    }
  }
}

}  // namespace

void BuildStreets(BuildState& state) {
  if (!state.withStreets) return;
  const SettlementIndex settlementIndex(state.settlements);
  GroupStreetEdges(state, settlementIndex);
  AssignAddresses(state, CollectAddresses(state), settlementIndex);
  for (Street& s : state.streets) state.summary.houseRanges += MakeSegments(s);
  NameStreets(state);
  BindSegments(state);
  state.summary.streets = static_cast<std::int64_t>(state.streets.size());
}

}  // namespace koltar::import
