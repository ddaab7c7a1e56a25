#include "tests/map/route_maps.h"

#include <gtest/gtest.h>

#include "map/route_planning.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar::test {
namespace {

void AddRouteStyle(MapWriter& w) {
  w.symbology.AddCategory("Utak").AddLayer("Főút").Set("LINEWIDTH", "1");
  w.symbology.AddCategory("Hálózat").AddLayer("Útvonal").Set("LINECOLOR", "255,0,0").Set("LINEWIDTH", "20");
}

RoadNetworkWriter& AddNetwork(MapWriter& w) {
  w.townCategory = "Helységek";
  w.roadCategory = "Utak";
  RoadNetworkWriter& net = w.AddRoadNetwork("Hálózat", {"Útvonal"});
  net.costs = {{"Főút", 1, 1.0, 60.0, 10.0}};
  return net;
}

}  // namespace

std::unique_ptr<MMap> WriteVillages(const std::filesystem::path& dir, bool projection) {
  MapWriter w(dir, "falvak.map");
  w.unit = 1;
  if (projection) {
    w.origin = {500000, 5223923};
    w.projection = "tmerc,19.46,47.15";
  }
  w.AddAreas("Ország", {"Ország"})
      .Add(1, {{-2000, -2000}, {-2000, 3000}, {3000, 3000}, {3000, -2000}, {-2000, -2000}}, "Ország");
  w.symbology.AddCategory("Ország").AddLayer("Ország").Set("FILLCOLOR", "255,255,200");
  PolyCategoryWriter& roads = w.AddLines("Utak", {"Főút"});
  roads.Add(1, {{0, 0}, {500, 10}, {1000, 0}}, "");
  roads.Add(1, {{1000, 1000}, {1000, 0}}, "");
  RoadNetworkWriter& net = AddNetwork(w);
  net.nodes = {0, 1, 2};
  net.edges = {{0, 1, 0, 1000}, {1, 0, 0, 1000}, {1, 2, 1, 1000}, {2, 1, 1, 1000}};
  PointCategoryWriter& towns = w.AddPoints("Helységek", {"Falu"});
  towns.Add(1, {0, 0}, "Alma");
  towns.Add(1, {1000, 0}, "Bükk");
  towns.Add(1, {1000, 1000}, "Őr");
  AddRouteStyle(w);
  EXPECT_TRUE(w.Write());
  return std::make_unique<MMap>(w.MapFileName());
}

std::unique_ptr<MMap> WriteChain(const std::filesystem::path& dir, int count) {
  MapWriter w(dir, "lanc.map");
  w.unit = 1;
  PolyCategoryWriter& roads = w.AddLines("Utak", {"Főút"});
  RoadNetworkWriter& net = AddNetwork(w);
  PointCategoryWriter& towns = w.AddPoints("Helységek", {"Falu"});
  for (int i = 0; i < count; ++i) {
    towns.Add(1, {i * 100, 0}, "Falu " + std::to_string(i + 1));
    net.nodes.push_back(i);
    if (i + 1 == count) break;
    roads.Add(1, {{i * 100, 0}, {i * 100 + 100, 0}}, "");
    net.edges.push_back({i, i + 1, i, 100});
    net.edges.push_back({i + 1, i, i, 100});
  }
  AddRouteStyle(w);
  EXPECT_TRUE(w.Write());
  return std::make_unique<MMap>(w.MapFileName());
}

bool PlanThrough(MMap& map, std::initializer_list<std::string> names) {
  MOptPath& net = *map.roadNetwork();
  RouteRequest& request = net.routeState().request();
  request.ClearRoutePoints();
  for (const std::string& name : names)
    if (!AddRoutePointByName(net.graph(), request, map.Settlements(), name).empty()) return false;
  return SearchRequestedRoute(map) == PlanResult::Found;
}

}  // namespace koltar::test
