// Linked information and batch planning on a loaded map: the route list's way to a
// settlement's linked file, and command 1023's dialog on the map's road network with
// its file names written back when the map closes.

#include "map/map_links.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "map/mmap.h"
#include "platform/profile.h"
#include "route/opt_path.h"
#include "tests/support/recording_platform.h"
#include "tests/support/test_env.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;

class MapLinks : public test::ServicesTest {
 protected:
  // Alma - Bükk on one road; the settlement category names Bükk twice (records 1, 2).
  std::unique_ptr<MMap> Load(std::string linkedInfo, bool withTowns = true) {
    MapWriter w(dir.path(), "falvak.map");
    w.unit = 1;
    w.linkedInfo = std::move(linkedInfo);
    if (withTowns) w.townCategory = "Helységek";
    w.roadCategory = "Utak";
    w.AddLines("Utak", {"Főút"}).Add(1, {{10, 10}, {90, 10}}, "");
    RoadNetworkWriter& net = w.AddRoadNetwork("Hálózat", {"Útvonal"});
    net.costs = {{"Főút", 1, 1.0, 60.0, 10.0}};
    net.nodes = {0, 1};
    net.edges = {{0, 1, 0, 80}, {1, 0, 0, 80}};
    PointCategoryWriter& towns = w.AddPoints("Helységek", {"Falu"});
    towns.Add(1, {10, 10}, "Alma");
    towns.Add(1, {90, 10}, "Bükk");
    towns.Add(1, {3000, 3000}, "Bükk");
    w.symbology.AddCategory("Utak").AddLayer("Főút").Set("LINEWIDTH", "1");
    EXPECT_TRUE(w.Write());
    mapFile = w.MapFileName();
    auto map = std::make_unique<MMap>(mapFile);
    EXPECT_EQ(services.messages.Transcript(), Lines{});
    return map;
  }

  void SetUp() override {
    services.messages.Clear();
    InstalledServices().launcher = &launcher;
    launcher.defaults = {{".txt", "editor.desktop"}};
  }
  void TearDown() override { InstalledServices().launcher = nullptr; }

  test::TempDir dir;
  std::string mapFile;
  test::RecordingLauncher launcher;
  const MLinkedInfo::ChooserRunner noChooser = [](GetOLEServer&) { return false; };
};

TEST_F(MapLinks, RouteListOpensTheSettlementsLinkedFile) {
  const std::unique_ptr<MMap> map = Load("falvak.lnk");
  ASSERT_TRUE(map->linkedInfo().AttachLink("Helységek", "Bükk", "/doc/bukk.txt"));
  ShowSettlementLink(*map, 2, noChooser);  // the second Bükk shares the name's link
  EXPECT_EQ(launcher.launches, Lines{"editor.desktop /doc/bukk.txt"});
  ShowSettlementLink(*map, 0, noChooser);
  EXPECT_EQ(services.messages.Transcript(),
            Lines{"KOLTAR32|EXCLAMATION|'Helységek' kategória 'Alma' objektumához nincs információs file "
                  "kapcsolva.\n"});
}

TEST_F(MapLinks, WithoutLinkedInformationTheRouteListSaysSo) {
  const std::string cannot = "KOLTAR32|EXCLAMATION|Kapcsolt információ nem jeleníthető meg.";
  struct Case {
    const char* linkedInfo;
    bool withTowns;
    std::int32_t settlement;
  };
  for (const Case& c : {Case{"", true, 1}, Case{"falvak.lnk", false, 1}, Case{"falvak.lnk", true, 7}}) {
    const std::unique_ptr<MMap> map = Load(c.linkedInfo, c.withTowns);
    ShowSettlementLink(*map, c.settlement, noChooser);
    EXPECT_EQ(services.messages.Transcript(), Lines{cannot}) << c.linkedInfo << c.settlement;
    services.messages.Clear();
  }
  EXPECT_TRUE(launcher.launches.empty());
}

TEST_F(MapLinks, BatchDialogRunsOnTheNetworkAndItsFileNamesAreWrittenBack) {
  std::unique_ptr<MMap> map = Load("");
  std::string result;
  const bool ran = PlanBatchRoutes(*map, {}, [&](OptPathBatch& dialog) {
    dialog.SetSourceFile("be.dat");
    dialog.SetTargetFile("ki.txt");
    dialog.SetSourceText("[1]\r\nAlma\r\nBükk\r\n");
    dialog.Generate();
    result = dialog.resultText();
  });
  EXPECT_TRUE(ran);
  EXPECT_NE(result.find("\xBB Bükk"), std::string::npos);
  map.reset();  // the map closes
  EXPECT_EQ(ReadProfileString("Hálózat", "BATCHSOURCEFILE", "", 260, mapFile), "be.dat");
  EXPECT_EQ(ReadProfileString("Hálózat", "BATCHTARGETFILE", "", 260, mapFile), "ki.txt");
}

TEST_F(MapLinks, BatchPlanningNeedsBothCategories) {
  const std::unique_ptr<MMap> map = Load("", false);
  int runs = 0;
  EXPECT_FALSE(PlanBatchRoutes(*map, {}, [&](OptPathBatch&) { ++runs; }));
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(services.messages.messages().size(), 1u);
}

}  // namespace
}  // namespace koltar
