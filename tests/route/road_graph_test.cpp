#include "route/road_graph.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/binary.h"
#include "route/cost_table.h"
#include "tests/route/network_files.h"
#include "tests/route/route_net.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

using test::EdgeBytes;
using test::NodeBytes;
using test::RoadRecords;
using test::Roads;
using Lines = std::vector<std::string>;

class RoadGraphLoad : public test::ServicesTest {
 protected:
  RoadGraph Load(const std::string& nodes, const std::string& edges) {
    return RoadGraph(dir.Write("n.dat", nodes), dir.Write("e.dat", edges));
  }
  test::TempDir dir;
};

TEST_F(RoadGraphLoad, WithoutFilesItHasNothing) {
  RoadGraph graph;
  EXPECT_EQ(graph.nodeCount(), 0);
  EXPECT_EQ(graph.edgeCount(), 0);
  EXPECT_EQ(graph.NodeRecord(0), -1);
  EXPECT_EQ(graph.FindNodeOfPoint(0), -1);
  EXPECT_FALSE(graph.EdgeOfStep(RouteStep{0, 1, 0, 0, 0, 0}).has_value());
  test::FakeTowns towns;
  towns.names = {"Alma"};
  const std::vector<std::uint8_t> records = RoadRecords({1});
  graph.Bind(towns, Roads(records), CostTable({ParseRoadType("Út,1,1,50,10")}));
  graph.ComputeEdgeWeights(CostTable(), Roads(records));
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(RoadGraphLoad, NodesAndEdgesInPlace) {
  const RoadGraph graph =
      Load(NodeBytes({3, -1, 3}) + "\x01\x02", EdgeBytes({{0, 1, 4, 250}, {1, 2, -1, 10}}));
  EXPECT_TRUE(services.messages.messages().empty());
  EXPECT_EQ(graph.nodeFile(), dir.Model("n.dat"));
  EXPECT_EQ(graph.edgeFile(), dir.Model("e.dat"));
  ASSERT_EQ(graph.nodeCount(), 3);  // the partial record is ignored
  EXPECT_EQ(graph.NodeRecord(1), -1);
  EXPECT_EQ(graph.NodeRecord(2), 3);
  EXPECT_EQ(graph.NodeRecord(-1), -1);
  EXPECT_EQ(graph.NodeRecord(3), -1);
  EXPECT_EQ(graph.FindNodeOfPoint(3), 0);
  ASSERT_EQ(graph.edgeCount(), 2);
  EXPECT_EQ(graph.edgeTable().weights, nullptr);  // until the first weights are made
  EXPECT_EQ(graph.edge(0).road, 4);
  EXPECT_EQ(graph.edge(0).length, 250);
  ASSERT_TRUE(graph.EdgeOfStep(RouteStep{1, 2, 1, 0, 0, 0}).has_value());
  EXPECT_EQ(graph.EdgeOfStep(RouteStep{1, 2, 1, 0, 0, 0})->to, graph.edge(1).to);
  EXPECT_FALSE(graph.EdgeOfStep(RouteStep{1, 2, 2, 0, 0, 0}).has_value());
  EXPECT_FALSE(graph.EdgeOfStep(RouteStep{1, 2, -1, 0, 0, 0}).has_value());

  test::FakeTowns towns;
  towns.names = {"Alma", "Bükk", "Cser"};
  EXPECT_EQ(graph.SettlementOfNode(0, towns), -1);  // settlement 3 is not in the category
  towns.names.push_back("Dió");
  EXPECT_EQ(graph.SettlementOfNode(0, towns), 3);
  EXPECT_EQ(graph.SettlementOfNode(1, towns), -1);
}

// Without a node table nothing is known about the edges' nodes: they are not reported
// as outside it (the search follows none of them anyway).
TEST_F(RoadGraphLoad, AMissingFileLeavesItsTableEmpty) {
  dir.Write("e.dat", EdgeBytes({{0, 1, 0, 10}, {0, 1, 0, -10}}));
  const RoadGraph graph(dir.Model("none.dat"), dir.Model("e.dat"));
  EXPECT_EQ(services.messages.Transcript(),
            (Lines{"KOLTAR32|EXCLAMATION|'" + dir.Model("none.dat") + "' file nem nyitható meg.\n",
                   "KOLTAR32|EXCLAMATION|'" + dir.Model("e.dat") +
                       "' file 1 élének hossza negatív. Ezek az élek nem járhatók."}));
  EXPECT_EQ(graph.nodeCount(), 0);
  EXPECT_EQ(graph.edgeCount(), 2);
}

// Each check asks only what the data at hand can answer: no settlements, no node
// check; no road data, no road check; no road types, no type check.
TEST_F(RoadGraphLoad, BindingChecksWhatTheCategoriesAndTheCostTableCanTell) {
  RoadGraph graph = Load(NodeBytes({0, 5}), EdgeBytes({{0, 1, 0, 10}, {1, 0, 9, 10}, {1, 0, 1, 10}}));
  const std::vector<std::uint8_t> records = RoadRecords({1, 7});
  graph.Bind(test::FakeTowns{}, Roads(records), CostTable());
  EXPECT_EQ(services.messages.Transcript(),
            (Lines{"KOLTAR32|EXCLAMATION|'" + dir.Model("e.dat") +
                   "' file 1 éle nem létező útra hivatkozik. Ezek az élek nem járhatók."}));

  services.messages.Clear();
  RoadGraph other = Load(NodeBytes({0, 5}), EdgeBytes({{0, 1, 0, 10}, {1, 0, 9, 10}}));
  test::FakeTowns towns;
  towns.names = {"Alma"};
  other.Bind(towns, RoadData{}, CostTable({ParseRoadType("Út,1,1,50,10")}));
  EXPECT_EQ(services.messages.Transcript(),
            (Lines{"KOLTAR32|EXCLAMATION|'" + dir.Model("n.dat") +
                   "' file 1 csomópontja nem létező településre hivatkozik. Ezeket a program "
                   "útkereszteződésnek tekinti."}));
  // Bound once: later calls, whatever they are given, report nothing.
  services.messages.Clear();
  other.Bind(towns, Roads(records), CostTable({ParseRoadType("Út,1,1,50,10")}));
  EXPECT_TRUE(services.messages.messages().empty());
}

// The weights are those of the road types they were last computed from; the road
// objects' layers are taken to stay while the map is open.
TEST_F(RoadGraphLoad, WeightsAreComputedAgainOnlyWhenTheRoadTypesChange) {
  RoadGraph graph = Load(NodeBytes({0, 1}), EdgeBytes({{0, 1, 0, 1000}}));
  std::vector<std::uint8_t> records = RoadRecords({1});
  CostTable costs({ParseRoadType("Fő,1,1,100,15"), ParseRoadType("Mellék,1,2,50,10")}, kCriterionDistance);
  graph.ComputeEdgeWeights(costs, Roads(records));
  EXPECT_EQ(graph.edge(0).distanceWeight, 1000.0f);
  EXPECT_EQ(graph.edge(0).costWeight, 15.0f);

  // Equal road types in another table, another criterion: the weights stand, even
  // though the road's layer was changed behind the graph's back.
  WriteI16(records.data() + PolyRecord::kLayer, 2);
  CostTable equal = costs;
  equal.SetCriterion(kCriterionCost);
  graph.ComputeEdgeWeights(equal, Roads(records));
  EXPECT_EQ(graph.edge(0).distanceWeight, 1000.0f);

  // One value changed: everything is weighed again, with the layers as they are now.
  equal.roadType(0).unitCost = 16;
  graph.ComputeEdgeWeights(equal, Roads(records));
  EXPECT_EQ(graph.edge(0).distanceWeight, 2000.0f);
  EXPECT_EQ(graph.edge(0).costWeight, 10.0f);

  // Back to the first table: weighed again too.
  WriteI16(records.data() + PolyRecord::kLayer, 1);
  graph.ComputeEdgeWeights(costs, Roads(records));
  EXPECT_EQ(graph.edge(0).costWeight, 15.0f);
}

}  // namespace
}  // namespace koltar
