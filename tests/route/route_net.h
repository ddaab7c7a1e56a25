#pragma once
// Road networks for tests, drawn as text and loaded through MOptPath from real files:
//
//   RouteNet net(R"(
//     type main   1 1 90 10    road type 1: enabled, distance factor, km/h, Ft/km
//     type closed 0 1 90 10    road type 2
//     A -- B  2000 main        two directed edges, A to B and B to A, on road object 0
//     B -> x   500 closed      one directed edge on road object 1
//     x -> C   100 -           no road object
//   )");
//
// A token that starts with a capital letter is a node standing for a settlement
// object named by the token up to '#' ("Pécs#1" and "Pécs#2" are two objects both
// named "Pécs"); other tokens are junctions. Nodes and settlement objects are numbered
// in order of first appearance; edge line i runs on road object i, the line from
// (100 i, 100 i) to (100 i + 50, 100 i + 50) (bounds left 100 i, top 100 i + 50, right
// 100 i + 50, bottom 100 i). The edge file is written sorted by from node, each node's
// edges in line order.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "route/opt_path.h"
#include "route/road_data.h"
#include "tests/support/test_env.h"

namespace koltar::test {

class FakeTowns final : public SettlementNames {
 public:
  std::int32_t Count() const override { return static_cast<std::int32_t>(names.size()); }
  std::string NameWithHouseNumbers(std::int32_t index) const override { return names[index]; }
  std::string PlainName(std::int32_t index) const override { return names[index]; }
  std::int32_t FindByName(std::string_view name) const override {
    for (std::size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) return static_cast<std::int32_t>(i);
    return -1;
  }
  bool HasHouseNumbers() const override { return false; }
  std::optional<HouseNumberRange> HouseRangeOf(std::int32_t) const override { return std::nullopt; }
  std::int32_t FindHouseNumber(std::int32_t first, std::string_view) const override { return first; }
  std::vector<std::string> names;
};

class RouteNet {
 public:
  // `extraKeys` are further lines of the network's section ("DEFAULTCOSTTYPE=1\n").
  explicit RouteNet(std::string_view picture, std::string_view extraKeys = {});

  MOptPath& path() { return *path_; }
  const FakeTowns& towns() const { return towns_; }
  const RoadData& roads() const { return roads_; }
  const TempDir& dir() const { return dir_; }
  // The section's description file, as MOptPath resolved it.
  std::string mapFile() const { return dir_.Model("net.map"); }

  std::int32_t Node(std::string_view token) const;
  // The route points of a request, by node token.
  void Request(std::initializer_list<std::string_view> tokens);
  // Deletes the route and plans the request with `criterion`; the error text lands in
  // error(). Returns the step count.
  std::int32_t Plan(int criterion);
  const std::string& error() const { return error_; }

  // The route's nodes: "A B x C" (the first step's from node, then every to node).
  std::string Nodes() const;
  // The road object of every step's edge: "0 1 -".
  std::string Roads() const;
  // The shown itinerary entries with their running distance: "»A 0, B 2000, »C 2600".
  std::string Itinerary() const;

 private:
  TempDir dir_;
  std::vector<std::string> tokens_;
  FakeTowns towns_;
  std::vector<std::uint8_t> roadRecords_;
  std::vector<std::uint8_t> roadPoints_;
  RoadData roads_;
  std::unique_ptr<MOptPath> path_;
  std::string error_;
};

}  // namespace koltar::test
