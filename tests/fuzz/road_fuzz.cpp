// The road network: the archive holds map.map, whose first OPTPATH category names the
// node and edge files and holds the cost table. The network is loaded, bound to stand-in
// settlements (node records name settlements 0 ... nodes - 1, called "N<index>") and no
// road category, and one route is planned from the first node's settlement to the
// last's, through the middle one; closing writes the settings back.

#include <cstdint>
#include <optional>
#include <string>

#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "route/route_search.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

class Towns final : public koltar::SettlementNames {
 public:
  explicit Towns(std::int32_t count) : count_(count) {}
  std::int32_t Count() const override { return count_; }
  std::string NameWithHouseNumbers(std::int32_t index) const override { return "N" + std::to_string(index); }
  std::string PlainName(std::int32_t index) const override { return NameWithHouseNumbers(index); }
  bool HasHouseNumbers() const override { return false; }
  std::optional<koltar::HouseNumberRange> HouseRangeOf(std::int32_t) const override { return std::nullopt; }
  std::int32_t FindHouseNumber(std::int32_t first, std::string_view) const override { return first; }
  std::int32_t FindByName(std::string_view name) const override {
    if (name.size() < 2 || name[0] != 'N') return -1;
    std::int64_t n = 0;
    for (char c : name.substr(1)) {
      if (c < '0' || c > '9' || n > count_) return -1;
      n = n * 10 + (c - '0');
    }
    return n < count_ ? static_cast<std::int32_t>(n) : -1;
  }

 private:
  std::int32_t count_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace koltar;
  fuzz::FuzzWorld& world = fuzz::World();
  world.Reset();
  world.WriteArchive(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string mapFile = world.Model("map.map");
  const std::string name = fuzz::FirstCategoryOfKind(mapFile, "OPTPATH");
  if (name.empty()) return 0;
  MOptPath network(name, world.Model(), mapFile);
  const RoadGraph& graph = network.graph();
  const Towns towns(graph.nodeCount());
  const RoadData roads;
  network.Bind(towns, roads);
  if (graph.nodeCount() == 0) return 0;
  RouteRequest& request = network.routeState().request();
  request.ClearRoutePoints();
  for (const std::int32_t node : {0, graph.nodeCount() / 2, graph.nodeCount() - 1}) {
    const std::int32_t settlement = graph.SettlementOfNode(node, towns);
    if (settlement >= 0)
      (void)AddRoutePointByName(graph, request, towns, towns.NameWithHouseNumbers(settlement));
  }
  if (request.routePointCount() < 2) return 0;
  std::string error;
  (void)SearchRoute(network, towns, roads, error);
  (void)ItineraryLines(network.routeState());
  (void)network.GetRouteBounds(roads);
  return 0;
}
