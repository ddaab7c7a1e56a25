// Route planning on a loaded map: the route request dialog's behaviour on the map's own
// settlement category (with and without house numbers), the planning command with its
// dialogs and messages, and route points chosen at a place of the map.

#include "map/route_planning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "map/mmap.h"
#include "platform/format.h"
#include "route/opt_path.h"
#include "tests/support/recording_dc.h"
#include "tests/support/test_env.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar {
namespace {

using Button = SelectTargetNode::Button;
using Lines = std::vector<std::string>;

// "text@node" of every route list entry.
std::string Entries(const SelectTargetNode& d) {
  std::string out;
  for (const SelectTargetNode::RouteEntry& e : d.routeEntries())
    out += (out.empty() ? "" : ", ") + e.text + "@" + std::to_string(e.node);
  return out;
}

std::string Points(const RouteRequest& r) {
  std::string out;
  for (const RoutePoint& p : r.routePoints())
    out += (out.empty() ? "" : ", ") + std::string(FixedText(p.name)) + "@" + std::to_string(p.node);
  return out;
}

std::string Settlements(const SelectTargetNode& d) {
  std::string out;
  for (std::int32_t i = 0; i < d.settlementCount(); ++i)
    out += (out.empty() ? "" : ", ") + d.settlementText(i) + "@" + std::to_string(d.settlementNode(i));
  return out;
}

// Types a name and adds it with ">>".
void AddTyped(SelectTargetNode& d, const char* name, const char* houseNumber = "") {
  d.TypeSettlement(name);
  ASSERT_GE(d.selectedNode(), 0) << name;
  d.SetHouseNumber(houseNumber);
  d.Add();
}

class RoutePlanning : public test::ServicesTest {
 protected:
  // Settlements (one map unit a metre): Alma (10,10) - Bükk (90,10) - Cser (90,90) on two
  // roads; a second Bükk object, an unnamed object, and Almás - Győr on a road of
  // their own far off; Alsó (45,45) without roads. Node 3 is a junction.
  std::unique_ptr<MMap> LoadVillages(bool withTowns = true) {
    MapWriter w(dir.path(), "falvak.map");
    w.unit = 1;
    if (withTowns) w.townCategory = "Helységek";
    w.roadCategory = "Utak";
    // The country under everything, as a click on a label finds it too.
    w.AddAreas("Ország", {"Ország"})
        .Add(1, {{-100, -100}, {-100, 7000}, {7000, 7000}, {7000, -100}, {-100, -100}}, "Ország");
    w.symbology.AddCategory("Ország").AddLayer("Ország").Set("FILLCOLOR", "255,255,200");
    PolyCategoryWriter& roads = w.AddLines("Utak", {"Főút", "Földút"});
    roads.Add(1, {{10, 10}, {90, 10}}, "");
    roads.Add(1, {{90, 10}, {90, 90}}, "");
    roads.Add(2, {{5000, 5000}, {6000, 6000}}, "");
    RoadNetworkWriter& net = w.AddRoadNetwork("Hálózat", {"Útvonal"});
    net.costs = {{"Főút", 1, 1.0, 60.0, 10.0}, {"Földút", 1, 1.0, 20.0, 2.0}};
    net.nodes = {0, 1, 2, -1, 3, 4, 5, 6, 7};
    net.edges = {{0, 1, 0, 80}, {1, 0, 0, 80},   {1, 2, 1, 80},
                 {2, 1, 1, 80}, {6, 7, 2, 1400}, {7, 6, 2, 1400}};
    PointCategoryWriter& towns = w.AddPoints("Helységek", {"Falu"});
    towns.Add(1, {10, 10}, "Alma");
    towns.Add(1, {90, 10}, "Bükk");
    towns.Add(1, {90, 90}, "Cser");
    towns.Add(1, {3000, 3000}, "Bükk");
    towns.Add(1, {50, 50}, "");
    towns.Add(1, {5000, 5000}, "Almás");
    towns.Add(1, {6000, 6000}, "Győr");
    towns.Add(1, {45, 45}, "Alsó");
    // Larger towns drawn over the settlements: Alma's symbol covers (-20,-20)-(40,40).
    w.AddPoints("Városok", {"Város"}).Add(1, {10, 10}, "Alma");
    w.AddBitmap("varos.bmp", BmpPicture{2, 2, {kBlack, kBlack, kBlack, kBlack}});
    w.symbology.AddCategory("Városok").AddLayer("Város").Set("BITMAP", "varos.bmp,60");
    // A label of Győr far from the town itself.
    w.AddTexts("Megírások", {"Név"}).Add(1, {150, 150}, 0.0f, "Győr");
    w.symbology.AddCategory("Megírások").AddLayer("Név").Set("FONT", "Arial CE,0,0,0,0,0,0,10,0");
    w.symbology.AddCategory("Utak").AddLayer("Főút").Set("LINEWIDTH", "1");
    EXPECT_TRUE(w.Write());
    return std::make_unique<MMap>(w.MapFileName());
  }

  // A street with house numbers, its segments records 0 to 3 (record 2 has no node, a
  // case-changed name on record 1), then Kert, a settlement that starts no numbered
  // street.
  std::unique_ptr<MMap> LoadStreets() {
    MapWriter w(dir.path(), "utcak.map");
    w.unit = 1;
    w.townCategory = "Utcák";
    w.roadCategory = "Utak";
    PolyCategoryWriter& roads = w.AddLines("Utak", {"Utca"});
    roads.Add(1, {{0, 0}, {100, 0}}, "");
    RoadNetworkWriter& net = w.AddRoadNetwork("Hálózat", {"Útvonal"});
    net.costs = {{"Utca", 1, 1.0, 30.0, 10.0}};
    net.nodes = {0, 1, 3, 4, -1};
    net.edges = {{0, 1, 0, 100}, {1, 0, 0, 100}};
    PointCategoryWriter& towns = w.AddPoints("Utcák", {"Utca"});
    towns.SetHouseRange(towns.Add(1, {0, 0}, "Fő utca"), {3, 1, ' ', 9, ' '});
    towns.SetHouseRange(towns.Add(1, {100, 0}, "FŐ UTCA"), {2, 2, ' ', 20, ' '});
    towns.SetHouseRange(towns.Add(1, {200, 0}, "Fő utca"), {2, 13, ' ', 13, ' '});
    towns.SetHouseRange(towns.Add(1, {300, 0}, "Fő utca"), {2, 40, 'b', 31, ' '});
    towns.Add(1, {400, 0}, "Kert");
    w.symbology.AddCategory("Utak").AddLayer("Utca").Set("LINEWIDTH", "1");
    EXPECT_TRUE(w.Write());
    return std::make_unique<MMap>(w.MapFileName());
  }

  SelectTargetNode Dialog(MMap& map, SelectTargetNode::CostDialogRunner costs = nullptr) {
    towns_ = std::make_unique<PointSettlements>(map.Settlements());
    return SelectTargetNode(*map.roadNetwork(), *towns_, std::move(costs));
  }

  test::TempDir dir;
  std::unique_ptr<PointSettlements> towns_;
};

// Without house-number data: every node of a named settlement in node order, two
// objects of one name both listed, the house-number controls off, ">>" adding the
// settlement itself.
TEST_F(RoutePlanning, SettlementListWithoutHouseNumbers) {
  std::unique_ptr<MMap> map = LoadVillages();
  SelectTargetNode d = Dialog(*map);
  EXPECT_EQ(Settlements(d), "Alma@0, Bükk@1, Cser@2, Bükk@4, Almás@6, Győr@7, Alsó@8");
  EXPECT_FALSE(d.houseNumbersEnabled());
  EXPECT_EQ(d.selectedNode(), -1);
  EXPECT_EQ(d.defaultButton(), Button::Ok);
  EXPECT_FALSE(d.Enabled(Button::Ok));

  d.ChooseSettlement(3);
  EXPECT_EQ(d.settlementField(), "Bükk");
  EXPECT_EQ(d.selectedNode(), 4);
  EXPECT_TRUE(d.segments().empty());
  EXPECT_EQ(d.defaultButton(), Button::Add);
  d.SetHouseNumber("12");  // no house numbers: the text plays no part
  d.Add();
  EXPECT_EQ(Entries(d), "Bükk@4");
  EXPECT_EQ(d.settlementField(), "");
  EXPECT_EQ(d.selectedNode(), -1);
  EXPECT_FALSE(d.Enabled(Button::Add));
  d.DoubleClickSettlement(0);
  EXPECT_EQ(Entries(d), "Bükk@4, Alma@0");
  EXPECT_TRUE(d.Enabled(Button::Ok));
  EXPECT_TRUE(services.messages.messages().empty());
}

// Typing selects only a whole name, letter case folded as code page 1250 folds it; a
// prefix, or a name without its accents, only points the list at a hint.
TEST_F(RoutePlanning, TypingSelectsWholeNamesAndHintsAtOthers) {
  std::unique_ptr<MMap> map = LoadVillages();
  SelectTargetNode d = Dialog(*map);
  d.TypeSettlement("ALMA");
  EXPECT_EQ(d.selectedRow(), 0);
  EXPECT_EQ(d.selectedNode(), 0);
  EXPECT_EQ(d.settlementField(), "ALMA");  // the typed text stays
  d.TypeSettlement("Alm");
  EXPECT_EQ(d.selectedNode(), -1);
  EXPECT_FALSE(d.Enabled(Button::Add));
  EXPECT_EQ(d.defaultButton(), Button::Ok);
  EXPECT_EQ(d.hintRow(), 0);
  d.TypeSettlement("almá");
  EXPECT_EQ(d.hintRow(), 4);
  d.TypeSettlement("GYŐR");
  EXPECT_EQ(d.selectedRow(), 5);
  d.TypeSettlement("gyor");
  EXPECT_EQ(d.selectedNode(), -1);
  EXPECT_EQ(d.hintRow(), 5);  // "Győr" without its accent
  d.TypeSettlement("Zala");
  EXPECT_EQ(d.hintRow(), -1);
  // The first of two equal names is chosen; more than 62 typed characters never match.
  d.TypeSettlement("bükk");
  EXPECT_EQ(d.selectedNode(), 1);
  d.TypeSettlement("Alma" + std::string(60, ' '));
  EXPECT_EQ(d.selectedNode(), -1);
}

// A, B, A is a route; two equal consecutive points are refused and the dialog stays.
TEST_F(RoutePlanning, OkRefusesTheSamePlaceTwiceInARow) {
  std::unique_ptr<MMap> map = LoadVillages();
  SelectTargetNode d = Dialog(*map);
  AddTyped(d, "Alma");
  AddTyped(d, "Alma");
  EXPECT_FALSE(d.Accept());
  EXPECT_EQ(
      services.messages.Transcript(),
      Lines{"KOLTAR32|EXCLAMATION|Érvénytelen útvonal kijelölés.\nKét egymást követő település nem lehet "
            "ugyanaz."});
  EXPECT_EQ(map->roadNetwork()->routeState().request().routePointCount(), 0);
  AddTyped(d, "Cser");
  d.SelectEntry(2);
  d.MoveUp();  // Alma, Cser, Alma
  EXPECT_EQ(d.selectedEntry(), 1);
  EXPECT_EQ(Entries(d), "Alma@0, Cser@2, Alma@0");
  services.messages.Clear();
  EXPECT_TRUE(d.Accept());
  EXPECT_TRUE(services.messages.messages().empty());
  EXPECT_EQ(Points(map->roadNetwork()->routeState().request()), "Alma@0, Cser@2, Alma@0");
}

// The route list buttons and their enabling.
TEST_F(RoutePlanning, RouteListButtons) {
  std::unique_ptr<MMap> map = LoadVillages();
  SelectTargetNode d = Dialog(*map);
  for (const char* name : {"Alma", "Bükk", "Cser"}) AddTyped(d, name);
  EXPECT_FALSE(d.Enabled(Button::Delete));
  EXPECT_TRUE(d.Enabled(Button::DeleteAll));
  d.SelectEntry(0);
  EXPECT_FALSE(d.Enabled(Button::MoveUp));
  EXPECT_TRUE(d.Enabled(Button::MoveDown));
  d.MoveUp();  // nothing above the first
  d.MoveDown();
  d.MoveDown();
  EXPECT_EQ(Entries(d), "Bükk@1, Cser@2, Alma@0");
  EXPECT_EQ(d.selectedEntry(), 2);
  EXPECT_FALSE(d.Enabled(Button::MoveDown));
  d.Delete();
  EXPECT_EQ(Entries(d), "Bükk@1, Cser@2");
  EXPECT_EQ(d.selectedEntry(), -1);
  EXPECT_FALSE(d.Enabled(Button::Delete));
  d.DeleteAll();
  EXPECT_EQ(Entries(d), "");
  EXPECT_FALSE(d.Enabled(Button::DeleteAll));
  EXPECT_FALSE(d.Accept());  // fewer than two entries: no message
  EXPECT_TRUE(services.messages.messages().empty());
}

// The 33rd entry is refused, whether by ">>" or by "Alkalmaz".
TEST_F(RoutePlanning, AtMostThirtyTwoEntries) {
  std::unique_ptr<MMap> map = LoadVillages();
  SelectTargetNode d = Dialog(*map);
  d.TypeSettlement("Cser");
  d.TakeDefaultStart();
  EXPECT_EQ(d.defaultStartText(), "Cser");
  EXPECT_EQ(d.defaultStartNode(), 2);
  for (int i = 0; i < kMaxRoutePoints; ++i) AddTyped(d, i % 2 ? "Alma" : "Bükk");
  AddTyped(d, "Cser");
  d.ApplyDefaultStart();
  EXPECT_EQ(d.routeEntries().size(), static_cast<std::size_t>(kMaxRoutePoints));
  const std::string refused = "KOLTAR32|EXCLAMATION|Az útvonal legfeljebb 32 csomópontból állhat.";
  EXPECT_EQ(services.messages.Transcript(), (Lines{refused, refused}));
  // The refused name stays selected for another try.
  EXPECT_EQ(d.selectedNode(), 2);
}

// OK stores the route, the default start, the criterion and the switches; the next
// dialog opens with them. Cancelling (closing without OK) stores nothing.
TEST_F(RoutePlanning, ReopeningShowsThePreviousRequest) {
  std::unique_ptr<MMap> map = LoadVillages();
  MOptPath& net = *map->roadNetwork();
  {
    SelectTargetNode d = Dialog(*map);
    AddTyped(d, "Alma");
    AddTyped(d, "Cser");
    d.TypeSettlement("Bükk");
    d.TakeDefaultStart();
    d.SetCriterion(kCriterionCost);
    d.ToggleRoadType(1);
    EXPECT_FALSE(d.roadTypeEnabled(1));
    ASSERT_TRUE(d.Accept());
  }
  ASSERT_EQ(SearchRequestedRoute(*map), PlanResult::Found);
  EXPECT_EQ(net.costTable().criterion(), kCriterionCost);
  EXPECT_EQ(net.costTable().roadType(1).enabled, 0);
  {
    SelectTargetNode d = Dialog(*map);
    EXPECT_EQ(Entries(d), "Alma@0, Cser@2");
    EXPECT_EQ(d.defaultStartText(), "Bükk");
    EXPECT_EQ(d.defaultStartNode(), 1);
    EXPECT_EQ(d.criterion(), kCriterionCost);
    EXPECT_FALSE(d.roadTypeEnabled(1));
    d.ApplyDefaultStart();
    d.EnableAllRoadTypes();
    d.SetCriterion(kCriterionTime);
    d.DeleteAll();
  }  // cancelled
  EXPECT_EQ(Points(net.routeState().request()), "Alma@0, Cser@2");
  EXPECT_EQ(net.costTable().roadType(1).enabled, 0);
  EXPECT_EQ(net.costTable().criterion(), kCriterionCost);
  EXPECT_EQ(net.routeState().stepCount(), 2);
}

// "Költségek..." edits the network's own table: its changes stay when the request is
// cancelled, and a request confirmed afterwards takes only its switches, not the
// speeds it saw when it opened.
TEST_F(RoutePlanning, CostChangesSurviveACancelledRequest) {
  std::unique_ptr<MMap> map = LoadVillages();
  MOptPath& net = *map->roadNetwork();
  int runs = 0;
  auto editCosts = [&runs](SetCost& costs) {
    ++runs;
    costs.Select(0);
    costs.EditSpeed("45");
    costs.Accept();
    return true;
  };
  {
    SelectTargetNode d = Dialog(*map, editCosts);
    d.ToggleRoadType(0);
    d.OpenCosts();
  }  // cancelled
  EXPECT_EQ(runs, 1);
  EXPECT_FLOAT_EQ(net.costTable().roadType(0).speed, 45);
  EXPECT_EQ(net.costTable().roadType(0).enabled, 1);

  SelectTargetNode d = Dialog(*map, [](SetCost& costs) {
    costs.Select(1);
    costs.EditCost("3");
    costs.Accept();
    return true;
  });
  d.DisableAllRoadTypes();
  d.OpenCosts();
  AddTyped(d, "Alma");
  AddTyped(d, "Cser");
  ASSERT_TRUE(d.Accept());
  EXPECT_FLOAT_EQ(net.costTable().roadType(0).speed, 45);
  EXPECT_FLOAT_EQ(net.costTable().roadType(1).unitCost, 3);
  EXPECT_EQ(net.costTable().roadType(0).enabled, 0);
  EXPECT_EQ(net.costTable().roadType(1).enabled, 0);
}

// With house-number data: one list entry per street, its segments listed, ">>" finding
// the segment that holds the number and adding its name with the number typed.
TEST_F(RoutePlanning, StreetsWithHouseNumbers) {
  std::unique_ptr<MMap> map = LoadStreets();
  SelectTargetNode d = Dialog(*map);
  EXPECT_TRUE(d.houseNumbersEnabled());
  EXPECT_EQ(Settlements(d), "Fő utca@0, Kert@3");
  d.TypeSettlement("fő utca");
  EXPECT_EQ(d.segments(), (Lines{"1  - 9 ", "2  - 20 ", "13  - 13 ", "40b"}));
  d.SetHouseNumber("12");
  d.Add();
  EXPECT_EQ(Entries(d), "FŐ UTCA 12@1");
  EXPECT_TRUE(d.segments().empty());
  EXPECT_EQ(d.houseNumber(), "");

  // Kert starts no numbered street: added as itself, the typed text after its name.
  AddTyped(d, "Kert", "7");
  EXPECT_EQ(Entries(d), "FŐ UTCA 12@1, Kert 7@3");
  EXPECT_TRUE(services.messages.messages().empty());

  // 13 lies in the segment that no node stands for; 41 is in no range, and the nearest
  // odd first number (13) decides again: both times nothing is added.
  for (const char* number : {"13", "41"}) {
    AddTyped(d, "Fő utca", number);
    EXPECT_EQ(d.routeEntries().size(), 2u) << number;
  }
  const std::string notFound = "KOLTAR32|EXCLAMATION|Házszám nincs megadva, vagy nem található a térképen.";
  EXPECT_EQ(services.messages.Transcript(), (Lines{notFound, notFound}));

  // "Felvesz" with a number that is not found clears the default start.
  d.TypeSettlement("Fő utca");
  d.SetHouseNumber("3");
  d.TakeDefaultStart();
  EXPECT_EQ(d.defaultStartText(), "Fő utca 3");
  d.SetHouseNumber("13");
  d.TakeDefaultStart();
  EXPECT_EQ(d.defaultStartNode(), -1);
  EXPECT_EQ(d.defaultStartText(), "");
  EXPECT_FALSE(d.Enabled(Button::ApplyDefaultStart));
}

TEST_F(RoutePlanning, SegmentTexts) {
  EXPECT_EQ(FormatSegment({5, ' ', 5, ' '}), "5  - 5 ");
  EXPECT_EQ(FormatSegment({12, 'a', 12, ' '}), "12a");  // last smaller: the first alone
  EXPECT_EQ(FormatSegment({12, ' ', 12, 'b'}), "12  - 12b");
  EXPECT_EQ(FormatSegment({7, '\0', 9, ' '}), "7");  // a zero letter ends the text
}

// The planning command: the dialog through its runner, then the search and its
// messages.
TEST_F(RoutePlanning, PlanRouteRunsTheDialogAndTheSearch) {
  std::unique_ptr<MMap> map = LoadVillages();
  MOptPath& net = *map->roadNetwork();
  RouteDialogRunners cancel;
  cancel.request = [](SelectTargetNode&) { return false; };
  EXPECT_EQ(PlanRoute(*map, cancel), PlanResult::NotRun);

  RouteDialogRunners plan;
  std::vector<const char*> names = {"Alma", "Cser"};
  plan.request = [&names](SelectTargetNode& d) {
    d.DeleteAll();  // the dialog opens with the previous request
    for (const char* name : names) AddTyped(d, name);
    return d.Accept();
  };
  EXPECT_EQ(PlanRoute(*map, plan), PlanResult::Found);
  EXPECT_EQ(net.routeState().stepCount(), 2);
  EXPECT_TRUE(services.messages.messages().empty());
  const std::vector<std::string>& events = services.progress.events();
  EXPECT_NE(std::find(events.begin(), events.end(), "START Útvonal tervezés [Megszakítás: ESC]:"),
            events.end());
  EXPECT_EQ(services.waitCursor.depth, 0);

  names = {"Alma", "Győr"};
  EXPECT_EQ(PlanRoute(*map, plan), PlanResult::WithMessage);
  EXPECT_EQ(net.routeState().stepCount(), 0);
  EXPECT_EQ(
      services.messages.Transcript(),
      (Lines{"KOLTAR32|EXCLAMATION|'Alma' és 'Győr' között nincs a keresési feltételeket kielégítő útvonal.",
             "KOLTAR32|INFORMATION|A kezdőpontból nem lehet eljutni a végpontba."}));
}

TEST_F(RoutePlanning, PlanningNeedsTheSettlementCategory) {
  std::unique_ptr<MMap> map = LoadVillages(false);
  services.messages.Clear();
  int runs = 0;
  RouteDialogRunners dialogs;
  dialogs.request = [&runs](SelectTargetNode&) { return ++runs > 0; };
  EXPECT_EQ(PlanRoute(*map, dialogs), PlanResult::NotRun);
  EXPECT_EQ(PlaceRoutePointAt(*map, RoutePointRole::Start, {10, 10}, 5).placed, false);
  EXPECT_EQ(runs, 0);
  ASSERT_EQ(services.messages.messages().size(), 2u);
  EXPECT_TRUE(services.messages.messages()[0].text.starts_with("A 'POINT' objektumok között nincs megadva"));
}

// The nearest named settlement that a node stands for; the unnamed object and the
// junction are passed over.
TEST_F(RoutePlanning, NearestSettlementNode) {
  std::unique_ptr<MMap> map = LoadVillages();
  std::optional<NearestSettlement> n = FindNearestSettlementNode(*map, {20, 30});
  ASSERT_TRUE(n);
  EXPECT_EQ(n->node, 0);  // Alma (10,10) before Alsó (45,45), both farther than the unnamed (50,50)
  EXPECT_EQ(n->settlement, 0);
  n = FindNearestSettlementNode(*map, {90, 80});
  ASSERT_TRUE(n);
  EXPECT_EQ(n->node, 2);
  EXPECT_DOUBLE_EQ(n->distance, 10);
  EXPECT_EQ(FindNearestSettlementNode(*map, {2900, 3100})->node, 4);  // the second Bükk
  EXPECT_EQ(FormatGroundDistance(850.4), "850 m");
  EXPECT_EQ(FormatGroundDistance(3249), "3,2 km");
}

// A click on a drawn symbol means that settlement, even with another one nearer: here
// Alma's symbol of the larger towns, with Alsó nearer to the click; a click on a label
// means the settlement it names.
TEST_F(RoutePlanning, ARoutePointOnASymbolIsThatSettlement) {
  std::unique_ptr<MMap> map = LoadVillages();
  EXPECT_FALSE(FindSettlementUnder(*map, {38, 38}));  // nothing drawn yet
  test::RecordingDeviceContext dc;
  const MapView view{4000, {100, 100}, {0, 0, 200, 200}};
  map->Draw(dc, BuildTransform(view, map->unit(), Program().pixel), view.rect, view.scale);
  EXPECT_EQ(FindNearestSettlementNode(*map, {38, 38})->node, 8);
  const std::optional<NearestSettlement> under = FindSettlementUnder(*map, {38, 38});
  ASSERT_TRUE(under);
  EXPECT_EQ(under->node, 0);
  EXPECT_EQ(under->settlement, 0);
  const PlaceResult r = PlaceRoutePointAt(*map, RoutePointRole::Start, {38, 38}, 5);
  EXPECT_EQ(r.name, "Alma");
  // A click on a label means the settlement of its name.
  ASSERT_TRUE(FindSettlementUnder(*map, {155, 152}));
  EXPECT_EQ(FindSettlementUnder(*map, {155, 152})->node, 7);
  EXPECT_EQ(PlaceRoutePointAt(*map, RoutePointRole::Destination, {155, 152}, 5).plan,
            PlanResult::WithMessage);
  EXPECT_EQ(Points(map->roadNetwork()->routeState().request()), "Alma@0, Győr@7");
  // No distance message for a symbol or a label; Alma and Győr share no road.
  EXPECT_EQ(services.messages.messages().size(), 2u);
  EXPECT_EQ(services.messages.messages().back().text, "A kezdőpontból nem lehet eljutni a végpontba.");
}

// Route points from the map: a start, then a destination plans at once; a point far
// from any settlement takes the nearest after saying how far it is; the same place twice
// in a row is refused and leaves the request as it was.
TEST_F(RoutePlanning, RoutePointsChosenOnTheMap) {
  std::unique_ptr<MMap> map = LoadVillages();
  MOptPath& net = *map->roadNetwork();
  EXPECT_FALSE(CanPlaceRoutePoint(*map, RoutePointRole::Via));
  PlaceResult r = PlaceRoutePointAt(*map, RoutePointRole::Start, {12, 12}, 5);
  EXPECT_TRUE(r.placed);
  EXPECT_EQ(r.name, "Alma");
  EXPECT_EQ(r.plan, PlanResult::NotRun);
  EXPECT_EQ(net.routeState().stepCount(), 0);

  r = PlaceRoutePointAt(*map, RoutePointRole::Destination, {90, 590}, 20);
  EXPECT_EQ(r.plan, PlanResult::Found);
  EXPECT_EQ(Points(net.routeState().request()), "Alma@0, Cser@2");
  EXPECT_EQ(net.routeState().stepCount(), 2);
  EXPECT_EQ(
      services.messages.Transcript(),
      Lines{
          "KOLTAR32|INFORMATION|A legközelebbi település ('Cser') 500 m távolságra van a kijelölt ponttól."});
  services.messages.Clear();

  ASSERT_TRUE(CanPlaceRoutePoint(*map, RoutePointRole::Via));
  r = PlaceRoutePointAt(*map, RoutePointRole::Via, {90, 12}, 5);
  EXPECT_EQ(r.plan, PlanResult::Found);
  EXPECT_EQ(Points(net.routeState().request()), "Alma@0, Bükk@1, Cser@2");

  r = PlaceRoutePointAt(*map, RoutePointRole::Destination, {88, 10}, 5);  // Bükk after Bükk
  EXPECT_FALSE(r.placed);
  EXPECT_EQ(Points(net.routeState().request()), "Alma@0, Bükk@1, Cser@2");
  EXPECT_EQ(net.routeState().stepCount(), 2);
  EXPECT_EQ(
      services.messages.Transcript(),
      Lines{"KOLTAR32|EXCLAMATION|Érvénytelen útvonal kijelölés.\nKét egymást követő település nem lehet "
            "ugyanaz."});

  // The dialog opens with the points chosen on the map.
  SelectTargetNode d = Dialog(*map);
  EXPECT_EQ(Entries(d), "Alma@0, Bükk@1, Cser@2");
}

}  // namespace
}  // namespace koltar
