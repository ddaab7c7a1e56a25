#include "route/opt_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "route/route_search.h"
#include "tests/route/network_files.h"
#include "tests/route/route_net.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

using test::EdgeBytes;
using test::NodeBytes;
using test::RoadRecords;
using test::Roads;

class OptPathLoad : public test::ServicesTest {
 protected:
  std::unique_ptr<MOptPath> Load(const std::string& section) {
    dir.Write("net.map", "[MAP]\nNAME=Teszt\n\n[UTAK]\n" + section);
    return std::make_unique<MOptPath>("UTAK", dir.Model(), "net.map");
  }
  test::TempDir dir;
};

TEST_F(OptPathLoad, ReadsEveryKey) {
  dir.Write("n.dat", NodeBytes({5, -1}) + "\x07");                             // a trailing partial record
  dir.Write("e.dat", EdgeBytes({{0, 1, 0, 2000}, {1, 0, 0, 2000}}) + "\x01");  // 33 bytes
  const auto path = Load(
      "NODEFILE=n.dat\nEDGEFILE=e.dat\n"
      "NLAYER=2\nLAYER01=Útvonal\nLAYER02=Második réteg neve hosszabb mint harmincegy\n"
      "NCOST=2\nCOST01=Autópálya,1,1,110,15\nCOST02=  Földút ,0, 1.5,20,3.25\n"
      "DEFAULTCOSTTYPE=1\nDEFAULTSTARTNODE=12,Kis, Nagy utca 5\n"
      "BATCHSOURCEFILE=C:\\UT\\BE.DAT\nBATCHTARGETFILE=ki.txt\n");
  EXPECT_TRUE(services.messages.messages().empty());
  EXPECT_EQ(path->categoryName(), "UTAK");
  EXPECT_EQ(path->descriptionFile(), dir.Model("net.map"));
  EXPECT_EQ(path->graph().nodeCount(), 2);
  EXPECT_EQ(path->graph().NodeRecord(0), 5);
  EXPECT_EQ(path->graph().edgeCount(), 2);
  EXPECT_EQ(path->graph().edge(1).from, 1);
  EXPECT_EQ(path->graph().edge(1).length, 2000);
  EXPECT_EQ(path->graph().edge(1).distanceWeight, 0.0f);
  ASSERT_EQ(path->layerCount(), 2);
  EXPECT_EQ(path->layerName(0), "Útvonal");
  EXPECT_EQ(path->layerName(1), "Második réteg neve hosszabb min");  // 31 characters
  ASSERT_EQ(path->costTable().roadTypeCount(), 2);
  const RoadType& motorway = path->costTable().roadType(0);
  EXPECT_EQ(FixedText(motorway.name), "Autópálya");
  EXPECT_EQ(motorway.enabled, 1);
  EXPECT_EQ(motorway.distanceFactor, 1.0f);
  EXPECT_EQ(motorway.speed, 110.0f);
  EXPECT_EQ(motorway.unitCost, 15.0f);
  const RoadType& track = path->costTable().roadType(1);
  EXPECT_EQ(FixedText(track.name), "Földút ");  // the value's outer blanks are trimmed
  EXPECT_EQ(track.enabled, 0);
  EXPECT_EQ(track.distanceFactor, 1.5f);
  EXPECT_EQ(track.unitCost, 3.25f);
  EXPECT_EQ(path->costTable().criterion(), kCriterionTime);
  EXPECT_EQ(path->routeState().request().defaultStartNode(), 12);
  EXPECT_EQ(path->routeState().request().defaultStartName(), "Kis, Nagy utca 5");
  EXPECT_EQ(path->batchSourceFile(), "C:\\UT\\BE.DAT");
  EXPECT_EQ(path->batchTargetFile(), "ki.txt");
  EXPECT_EQ(path->routeState().stepCount(), 0);
  EXPECT_EQ(path->routeState().request().routePointCount(), 0);
  EXPECT_EQ(path->routeState().itinerary(), nullptr);
}

TEST_F(OptPathLoad, DefaultsWithoutKeys) {
  dir.Write("n.dat", "");
  dir.Write("e.dat", "");
  const auto path = Load("NODEFILE=n.dat\nEDGEFILE=e.dat\nDEFAULTCOSTTYPE=7\n");
  EXPECT_TRUE(services.messages.messages().empty());
  EXPECT_EQ(path->layerCount(), 0);
  EXPECT_FALSE(path->costTable().hasRoadTypes());
  EXPECT_EQ(path->costTable().criterion(), kCriterionDistance);  // 7 selects no weight
  EXPECT_EQ(path->routeState().request().defaultStartNode(), -1);
  EXPECT_EQ(path->routeState().request().defaultStartName(), "");
  EXPECT_EQ(path->batchSourceFile(), "");
}

// Road types without their COSTnn keys are named "?" and disabled: all their edges are
// impassable whatever the criterion.
TEST_F(OptPathLoad, RoadTypesWithoutKeysAreImpassable) {
  dir.Write("n.dat", NodeBytes({0, 1}));
  dir.Write("e.dat", EdgeBytes({{0, 1, 0, 100}, {0, 1, 1, 100}, {1, 0, 2, 100}}));
  const auto path = Load("NODEFILE=n.dat\nEDGEFILE=e.dat\nNCOST=3\n");
  ASSERT_EQ(path->costTable().roadTypeCount(), 3);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(FixedText(path->costTable().roadType(k).name), "?");
    EXPECT_EQ(path->costTable().roadType(k).enabled, 0);
    EXPECT_EQ(path->costTable().roadType(k).speed, 0.0f);
  }
  const std::vector<std::uint8_t> records = RoadRecords({1, 2, 3});
  path->ComputeEdgeWeights(Roads(records));
  for (int e = 0; e < 3; ++e) {
    EXPECT_EQ(path->graph().edge(e).distanceWeight, kUnreached);
    EXPECT_EQ(path->graph().edge(e).timeWeight, kUnreached);
    EXPECT_EQ(path->graph().edge(e).costWeight, kUnreached);
  }
}

TEST_F(OptPathLoad, EdgeWeightsFromTheCostTable) {
  dir.Write("n.dat", NodeBytes({0, 1}));
  dir.Write("e.dat", EdgeBytes({{0, 1, 0, 2000}, {0, 1, 1, 2000}, {0, 1, -1, 2000}, {1, 0, 2, 500}}));
  const auto path = Load(
      "NODEFILE=n.dat\nEDGEFILE=e.dat\nNCOST=3\n"
      "COST01=Fő,1,1,110,15\nCOST02=Parkoló,1,1,0,15\nCOST03=Híd,1,0,50,-2\n");
  const std::vector<std::uint8_t> records = RoadRecords({1, 2, 3});
  path->ComputeEdgeWeights(Roads(records));
  const EdgeEntry& main = path->graph().edge(0);
  EXPECT_EQ(main.distanceWeight, 2000.0f);
  EXPECT_FLOAT_EQ(main.timeWeight, 2000 * 0.001f / 110);  // 0.018182 hours
  EXPECT_NEAR(main.timeWeight, 0.018182, 1e-6);
  EXPECT_EQ(main.costWeight, 30.0f);
  const EdgeEntry& parking = path->graph().edge(1);  // speed 0
  EXPECT_EQ(parking.distanceWeight, 2000.0f);
  EXPECT_EQ(parking.timeWeight, kUnreached);
  EXPECT_EQ(parking.costWeight, 30.0f);
  const EdgeEntry& connector = path->graph().edge(2);  // no road object
  EXPECT_EQ(connector.distanceWeight, 0.0f);
  EXPECT_EQ(connector.timeWeight, 0.0f);
  EXPECT_EQ(connector.costWeight, 0.0f);
  const EdgeEntry& bridge = path->graph().edge(3);  // factor 0, negative unit cost
  EXPECT_EQ(bridge.distanceWeight, kUnreached);
  EXPECT_EQ(bridge.timeWeight, 10.0f / 1000.0f);
  EXPECT_EQ(bridge.costWeight, kUnreached);

  // Changing the cost table takes effect at the next computation; disabling a type
  // makes it impassable for every criterion. The weights stay where they were, which
  // a searcher kept across plannings relies on.
  const EdgeWeights* weights = path->graph().edgeTable().weights;
  path->costTable().roadType(0).enabled = 0;
  path->ComputeEdgeWeights(Roads(records));
  EXPECT_EQ(path->graph().edgeTable().weights, weights);
  EXPECT_EQ(path->graph().edge(0).distanceWeight, kUnreached);
  EXPECT_EQ(path->graph().edge(0).costWeight, kUnreached);

  // Other road data: the roads' layers are read again.
  path->costTable().roadType(0).enabled = 1;
  const std::vector<std::uint8_t> swapped = RoadRecords({2, 1, 3});
  path->ComputeEdgeWeights(Roads(swapped));
  EXPECT_EQ(path->graph().edge(0).timeWeight, kUnreached);
  EXPECT_FLOAT_EQ(path->graph().edge(1).timeWeight, 2000 * 0.001f / 110);
}

TEST_F(OptPathLoad, WithoutCostTableEveryEdgeIsFree) {
  dir.Write("n.dat", NodeBytes({0, 1}));
  dir.Write("e.dat", EdgeBytes({{0, 1, 0, 2000}}));
  const auto path = Load("NODEFILE=n.dat\nEDGEFILE=e.dat\n");
  const std::vector<std::uint8_t> records = RoadRecords({1});
  path->ComputeEdgeWeights(Roads(records));
  EXPECT_EQ(path->graph().edge(0).distanceWeight, 0.0f);
  EXPECT_EQ(path->graph().edge(0).timeWeight, 0.0f);
}

// Closing writes the settings the user changes and nothing else; the distance factor
// keeps two decimals only, so 0.001 comes back as 0.00 and the type becomes
// impassable for distance.
TEST_F(OptPathLoad, WritesTheSettingsBackWhenDestroyed) {
  dir.Write("n.dat", NodeBytes({0, 1}));
  dir.Write("e.dat", EdgeBytes({{0, 1, 0, 1000}}));
  auto path = Load(
      "NODEFILE=n.dat\nEDGEFILE=e.dat\nNLAYER=1\nLAYER01=Út\nNCOST=2\n"
      "COST01=Fő út,1,1,110,15\nCOST02=Mellék,0,0.001,30.126,2.5\n"
      "DEFAULTCOSTTYPE=0\n");
  path->costTable().SetCriterion(kCriterionCost);
  path->costTable().roadType(0).speed = 90.5f;
  path->costTable().roadType(1).enabled = 1;
  path->routeState().request().SetDefaultStart(1, "Kis, Nagy utca 5");
  path->SetBatchSourceFile("be.dat");
  path.reset();
  EXPECT_EQ(dir.Read("net.map"),
            "[MAP]\nNAME=Teszt\n\n[UTAK]\n"
            "NODEFILE=n.dat\nEDGEFILE=e.dat\nNLAYER=1\nLAYER01=Út\nNCOST=2\n"
            "COST01=Fő út,1,1.00,90.50,15.00\nCOST02=Mellék,1,0.00,30.13,2.50\n"
            "DEFAULTCOSTTYPE=2\n"
            "DEFAULTSTARTNODE=1,Kis, Nagy utca 5\nBATCHSOURCEFILE=be.dat\nBATCHTARGETFILE=\n");

  path = std::make_unique<MOptPath>("UTAK", dir.Model(), "net.map");
  EXPECT_EQ(path->costTable().criterion(), kCriterionCost);
  EXPECT_EQ(path->routeState().request().defaultStartNode(), 1);
  EXPECT_EQ(path->routeState().request().defaultStartName(), "Kis, Nagy utca 5");
  EXPECT_EQ(path->costTable().roadType(1).distanceFactor, 0.0f);
  const std::vector<std::uint8_t> records = RoadRecords({2});
  path->ComputeEdgeWeights(Roads(records));
  EXPECT_EQ(path->graph().edge(0).distanceWeight, kUnreached);
  EXPECT_EQ(path->graph().edge(0).costWeight, 2.5f);

  // No default start place: "-1," reads back as none.
  path->routeState().request().SetDefaultStart(-1, "");
  path.reset();
  path = std::make_unique<MOptPath>("UTAK", dir.Model(), "net.map");
  EXPECT_EQ(path->routeState().request().defaultStartNode(), -1);
  EXPECT_EQ(path->routeState().request().defaultStartName(), "");
}

// What the two dialogs store on OK: the cost dialog assigns its edited copy of the cost
// table; the request dialog assigns its copy of the request and takes the criterion and
// the enabled flags of its own copy of the table. The next computation weighs with
// them, and closing writes them back.
TEST_F(OptPathLoad, EditedCopiesStoredBackAreWeighedAndWrittenBack) {
  dir.Write("n.dat", NodeBytes({0, 1}));
  dir.Write("e.dat", EdgeBytes({{0, 1, 0, 2000}, {1, 0, 1, 1000}}));
  auto path =
      Load("NODEFILE=n.dat\nEDGEFILE=e.dat\nNCOST=2\nCOST01=Fő,1,1,100,15\nCOST02=Mellék,1,1,50,10\n");
  const std::vector<std::uint8_t> records = RoadRecords({1, 2});
  path->ComputeEdgeWeights(Roads(records));
  EXPECT_FLOAT_EQ(path->graph().edge(0).timeWeight, 0.02f);

  CostTable costs = path->costTable();  // the cost dialog
  costs.roadType(0).speed = 50;
  costs.roadType(1).unitCost = 0;
  path->ComputeEdgeWeights(Roads(records));
  EXPECT_FLOAT_EQ(path->graph().edge(0).timeWeight, 0.02f);  // not stored yet
  EXPECT_EQ(path->graph().edge(1).costWeight, 10.0f);
  path->costTable() = costs;
  path->ComputeEdgeWeights(Roads(records));
  EXPECT_FLOAT_EQ(path->graph().edge(0).timeWeight, 0.04f);
  EXPECT_EQ(path->graph().edge(1).costWeight, kUnreached);

  CostTable switched = path->costTable();  // the request dialog
  switched.roadType(1).enabled = 0;
  RouteRequest request = path->routeState().request();
  ASSERT_TRUE(request.AddRoutePoint(0, "Alma"));
  request.SetDefaultStart(1, "Bükk");
  path->routeState().request() = request;
  path->costTable().SetCriterion(kCriterionTime);
  path->costTable().TakeEnabledFlags(switched);
  path->ComputeEdgeWeights(Roads(records));
  EXPECT_EQ(path->graph().edge(1).distanceWeight, kUnreached);
  EXPECT_EQ(path->routeState().request().routePointCount(), 1);

  path.reset();
  EXPECT_EQ(dir.Read("net.map"),
            "[MAP]\nNAME=Teszt\n\n[UTAK]\n"
            "NODEFILE=n.dat\nEDGEFILE=e.dat\nNCOST=2\n"
            "COST01=Fő,1,1.00,50.00,15.00\nCOST02=Mellék,0,1.00,50.00,0.00\n"
            "DEFAULTCOSTTYPE=1\nDEFAULTSTARTNODE=1,Bükk\nBATCHSOURCEFILE=\nBATCHTARGETFILE=\n");
}

TEST_F(OptPathLoad, MissingDescriptionFileGivesDefaultsAndIsNotCreated) {
  {
    MOptPath path("UTAK", dir.Model(), "none.map");
    EXPECT_EQ(path.graph().nodeCount(), 0);
    EXPECT_EQ(path.graph().edgeCount(), 0);
    EXPECT_FALSE(path.costTable().hasRoadTypes());
    const std::string folder = dir.Model();
    EXPECT_EQ(
        services.messages.Transcript(),
        (std::vector<std::string>{"KOLTAR32|EXCLAMATION|'" + folder + "none.map' file nem nyitható meg.",
                                  "KOLTAR32|EXCLAMATION|'" + folder + "' file nem nyitható meg.\n",
                                  "KOLTAR32|EXCLAMATION|'" + folder + "' file nem nyitható meg.\n"}));
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "none.map"));
}

TEST_F(OptPathLoad, FindsTheFirstNodeOfASettlement) {
  dir.Write("n.dat", NodeBytes({-1, 4, 2, 4}));
  dir.Write("e.dat", "");
  const auto path = Load("NODEFILE=n.dat\nEDGEFILE=e.dat\n");
  EXPECT_EQ(path->graph().FindNodeOfPoint(4), 1);
  EXPECT_EQ(path->graph().FindNodeOfPoint(2), 2);
  EXPECT_EQ(path->graph().FindNodeOfPoint(3), -1);
  EXPECT_EQ(path->graph().FindNodeOfPoint(-1), -1);  // junctions are not settlements
}

// ---------------------------------------------------------------------------------
// Data the file formats do not guard: reported once, never followed.

TEST_F(OptPathLoad, UnsortedEdgeFileIsSortedStably) {
  dir.Write("n.dat", NodeBytes({0, 1, 2}));
  dir.Write("e.dat", EdgeBytes({{2, 0, 10, 1}, {0, 1, 11, 1}, {2, 1, 12, 1}, {0, 2, 13, 1}, {1, 2, 14, 1}}));
  const auto path = Load("NODEFILE=n.dat\nEDGEFILE=e.dat\n");
  EXPECT_EQ(services.messages.Transcript(),
            (std::vector<std::string>{
                "KOLTAR32|EXCLAMATION|'" + dir.Model("e.dat") +
                "' file élei nincsenek kezdő csomópont szerint rendezve. A program betöltéskor "
                "rendezte őket."}));
  std::vector<std::int32_t> roads;
  for (std::int32_t i = 0; i < path->graph().edgeCount(); ++i) roads.push_back(path->graph().edge(i).road);
  EXPECT_EQ(roads, (std::vector<std::int32_t>{11, 13, 14, 10, 12}));
}

TEST_F(OptPathLoad, EdgesOutsideTheNodeTableAndNegativeLengths) {
  dir.Write("n.dat", NodeBytes({0, 1, 2}));
  dir.Write("e.dat", EdgeBytes({{-3, 0, 0, 1},
                                {0, 1, 0, -50},
                                {0, 9, 0, 1},
                                {0, 2, -1, -7},
                                {1, 2, 0, 10},
                                {2, -1, 0, 1},
                                {5, 0, 0, 1}}));
  const auto path = Load("NODEFILE=n.dat\nEDGEFILE=e.dat\nNCOST=1\nCOST01=Út,1,1,50,10\n");
  const std::string file = dir.Model("e.dat");
  EXPECT_EQ(
      services.messages.Transcript(),
      (std::vector<std::string>{
          "KOLTAR32|EXCLAMATION|'" + file +
              "' file 4 éle nem létező csomópontra hivatkozik. Ezeket az éleket a program nem "
              "használja.",
          "KOLTAR32|EXCLAMATION|'" + file + "' file 1 élének hossza negatív. Ezek az élek nem járhatók."}));
  const std::vector<std::uint8_t> records = RoadRecords({1});
  path->ComputeEdgeWeights(Roads(records));
  EXPECT_EQ(path->graph().edge(1).distanceWeight, kUnreached);  // negative length on a road
  EXPECT_EQ(path->graph().edge(3).distanceWeight, 0.0f);        // no road object: length unused

  std::vector<RouteStep> leg;
  RouteSearcher searcher(path->graph().nodeCount(), path->graph().edgeTable());
  for (int c = 0; c < 3; ++c) {
    ASSERT_EQ(searcher.FindShortestPath(0, 2, c, leg), 0);
    ASSERT_EQ(leg.size(), 1u);
    EXPECT_EQ(leg[0].edge, 3);
    ASSERT_EQ(searcher.FindShortestPath(2, 0, c, leg), 0);
    EXPECT_TRUE(leg.empty());
  }
}

// Indices into the two bound categories are checked when they are bound: settlements
// outside the settlement category count as junctions, roads outside the road category
// or with a layer the cost table lacks are impassable.
TEST_F(OptPathLoad, BindingChecksSettlementAndRoadIndices) {
  dir.Write("n.dat", NodeBytes({0, 7, -1, 1}));
  dir.Write("e.dat",
            EdgeBytes({{0, 1, 0, 100}, {0, 2, 5, 100}, {1, 3, 2, 100}, {2, 3, -1, 100}, {3, 0, 1, 100}}));
  const auto path = Load("NODEFILE=n.dat\nEDGEFILE=e.dat\nNCOST=1\nCOST01=Út,1,1,50,10\n");
  test::FakeTowns towns;
  towns.names = {"Alma", "Bükk"};
  const std::vector<std::uint8_t> records = RoadRecords({1, 0, 1});  // road 1 has layer 0
  path->Bind(towns, Roads(records));
  path->Bind(towns, Roads(records));  // reported once
  EXPECT_EQ(services.messages.Transcript(),
            (std::vector<std::string>{
                "KOLTAR32|EXCLAMATION|'" + dir.Model("n.dat") +
                    "' file 1 csomópontja nem létező településre hivatkozik. Ezeket a program "
                    "útkereszteződésnek tekinti.",
                "KOLTAR32|EXCLAMATION|'" + dir.Model("e.dat") +
                    "' file 1 éle nem létező útra hivatkozik. Ezek az élek nem járhatók.",
                "KOLTAR32|EXCLAMATION|'" + dir.Model("e.dat") +
                    "' file 1 éle olyan útra hivatkozik, amelynek típusa nincs a költségtáblában. "
                    "Ezek az élek nem járhatók."}));
  EXPECT_EQ(path->graph().SettlementOfNode(1, towns), -1);
  EXPECT_EQ(path->graph().SettlementOfNode(3, towns), 1);
  EXPECT_EQ(path->graph().SettlementOfNode(9, towns), -1);

  path->ComputeEdgeWeights(Roads(records));
  EXPECT_EQ(path->graph().edge(0).timeWeight, 0.002f);
  EXPECT_EQ(path->graph().edge(1).timeWeight, kUnreached);  // road 5 does not exist
  EXPECT_EQ(path->graph().edge(4).timeWeight, kUnreached);  // layer 0 has no road type

  // The itinerary skips the node with the bad settlement index like a junction.
  ASSERT_TRUE(path->routeState().request().AddRoutePoint(0, "Alma"));
  ASSERT_TRUE(path->routeState().request().AddRoutePoint(3, "Bükk"));
  std::string error;
  ASSERT_EQ(SearchRoute(*path, towns, Roads(records), error), 2);
  EXPECT_EQ(error, "");
  ItineraryItem item;
  EXPECT_EQ(path->routeState().GetItineraryEntry(0, item), 1);
  EXPECT_EQ(item.name, "Alma");
  EXPECT_EQ(path->routeState().GetItineraryEntry(1, item), 1);
  EXPECT_EQ(item.name, "Bükk");
  EXPECT_EQ(item.distance, 200.0f);
  EXPECT_EQ(path->routeState().GetItineraryEntry(2, item), 0);
}

}  // namespace
}  // namespace koltar
