// The first stages of a map build: the projection, the settlements and the road graph.
#include <algorithm>
#include <cmath>
#include <map>

#include "platform/text.h"
#include "tools/import/plane_geometry.h"
#include "tools/import/stages.h"

namespace koltar::import {

MapProjection ChooseProjection(const ImportInput& input) {
  MapProjection out;
  out.centralMeridian = std::round((input.minLon + input.maxLon) * 0.5e-7 * 100) / 100;
  out.originLatitude = std::round((input.minLat + input.maxLat) * 0.5e-7 * 100) / 100;
  const TransverseMercator tm(out.centralMeridian, out.originLatitude);
  out.halfExtent = 1;
  for (std::int32_t lon : {input.minLon, input.maxLon})
    for (std::int32_t lat : {input.minLat, input.maxLat}) {
      const PlanePosition q = ToPlane(tm, GeoPoint{lon, lat});
      out.halfExtent = std::max({out.halfExtent, std::fabs(q.x), std::fabs(q.y)});
    }
  // One metre per unit keeps metre detail; wider data than 32 bits of metres allow (far
  // more than a projection centred on the data serves well) gets larger units.
  out.unit = static_cast<std::int32_t>(std::max(1.0, std::ceil(out.halfExtent / 1.0e9)));
  // Shown X is the easting with 500 000 m at the central meridian, shown Y the northing
  // from the equator along that meridian, as on UTM sheets.
  out.origin = {500000, static_cast<std::int32_t>(std::lround(tm.OriginNorthing()))};
  return out;
}

std::vector<std::string> UniqueNames(const std::vector<NamedItem>& items,
                                     const std::vector<Settlement>& settlements, std::size_t limit,
                                     bool keepFirst) {
  std::map<std::string, int> count;
  for (const NamedItem& item : items) ++count[Cp1250ToUpper(item.base)];
  std::map<std::string, int> used, seen;
  std::vector<std::string> out;
  out.reserve(items.size());
  for (const NamedItem& item : items) {
    std::string name = item.base;
    const bool first = seen[Cp1250ToUpper(name)]++ == 0;
    if (count[Cp1250ToUpper(name)] > 1 && !(keepFirst && first) && item.settlement >= 0 &&
        !EqualsNoCase(settlements[static_cast<std::size_t>(item.settlement)].name, name)) {
      const std::string suffix = " (" + settlements[static_cast<std::size_t>(item.settlement)].name + ")";
      if (suffix.size() < limit) name = name.substr(0, std::min(name.size(), limit - suffix.size())) + suffix;
    }
    int& n = used[Cp1250ToUpper(name)];
    if (++n > 1) {
      const std::string suffix = " " + std::to_string(n);
      name = name.substr(0, std::min(name.size(), limit - suffix.size())) + suffix;
    }
    out.push_back(name.substr(0, limit));
  }
  return out;
}

namespace {

// For each settlement whose name is repeated, the nearest settlement of another name and
// of no smaller class (-1 for none, and for names that are not repeated).
std::vector<NamedItem> NeighbourOfRepeatedNames(const std::vector<Settlement>& settlements) {
  std::map<std::string, int> count;
  for (const Settlement& s : settlements) ++count[Cp1250ToUpper(s.name)];
  std::vector<NamedItem> named;
  for (const Settlement& s : settlements) {
    int near = -1;
    double best = 1e300;
    for (std::size_t j = 0; j < settlements.size() && count[Cp1250ToUpper(s.name)] > 1; ++j) {
      const double dist = Distance(settlements[j].at, s.at);
      if (!EqualsNoCase(settlements[j].name, s.name) && dist < best && settlements[j].rule <= s.rule) {
        best = dist;
        near = static_cast<int>(j);
      }
    }
    named.push_back({s.name, near});
  }
  return named;
}

}  // namespace

void PlaceSettlements(BuildState& state) {
  std::vector<Settlement>& settlements = state.settlements;
  for (const SettlementIn& s : state.input.settlements)
    settlements.push_back(
        {state.conv.Project(s.at), s.rule, state.conv.Name(s.name, kPointNameLimit), s.population});
  std::stable_sort(settlements.begin(), settlements.end(), [](const Settlement& a, const Settlement& b) {
    const int c = CompareNoCase(a.name, b.name);
    return c != 0 ? c < 0 : a.population > b.population;
  });
  const std::vector<std::string> names =
      UniqueNames(NeighbourOfRepeatedNames(settlements), settlements, kPointNameLimit, true);
  for (std::size_t i = 0; i < settlements.size(); ++i) settlements[i].name = names[i];
  state.summary.settlements = static_cast<std::int64_t>(settlements.size());
}

void BuildRoadGraph(BuildState& state) {
  RoadGraph& graph = state.graph;
  for (const RoadIn& r : state.input.roads) {
    std::vector<PlanePoint> plane = state.conv.Project(r.points);
    graph.AddWay(r.points, plane, r.rule, state.conv.Name(r.name, kOtherNameLimit), r.street, r.oneway);
  }
  graph.Build();
  std::vector<bool> enabledRule;
  for (const RoadRule& r : state.config.roads) enabledRule.push_back(r.enabled);
  graph.FindReachableCore(enabledRule);
  // Settlements are bound first, each to the nearest free node of the core.
  state.settlementNode.assign(state.settlements.size(), -1);
  for (std::size_t i = 0; i < state.settlements.size(); ++i)
    state.settlementNode[i] = graph.BindNearest(state.settlements[i].at);
}

}  // namespace koltar::import
