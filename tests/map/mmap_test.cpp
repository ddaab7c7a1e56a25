#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "categories/line.h"
#include "categories/point.h"
#include "categories/text.h"
#include "map/mmap.h"
#include "route/opt_path.h"
#include "tests/support/recording_dc.h"
#include "tests/support/test_env.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar {

// Hits print as "category name: index" in failures.
void PrintTo(const ObjectHit& hit, std::ostream* os) {
  *os << (hit.category ? hit.category->name() : std::string("(none)")) << ": " << hit.object;
}
void PrintTo(const LabelHit& hit, std::ostream* os) { *os << "text " << hit.category << ": " << hit.label; }

namespace {

class MapLoading : public test::ServicesTest {
 protected:
  // Writes a .map file with the given MAP keys and category lines.
  std::string WriteMap(const std::string& mapKeys, const std::string& categories,
                       const std::string& connections = "") {
    // A symbology file without layers, so that its loading reports nothing.
    dir.Write("symb.ini", "[CATEGORIES]\nN=1\nCATEGORY01=Semmi\n");
    std::string text = "[MAP]\nNAME=Próba\nCARTOSYMB=symb.ini\n" + mapKeys + "[CATEGORIES]\n" + categories;
    if (!connections.empty()) text += "[CONNECTIONS]\n" + connections;
    return dir.Write("test.map", text);
  }

  // The map's own messages. The categories of these maps have no sections, so each
  // reports its unnamed data files (the map directory) as files it cannot open; the
  // categories' loading is tested with the categories.
  std::vector<std::string> Messages() const {
    const std::string unnamedFile = "KOLTAR32|EXCLAMATION|'" + dir.Model() + "' file nem nyitható meg.\n";
    std::vector<std::string> own;
    for (const std::string& line : services.messages.Transcript())
      if (line != unnamedFile) own.push_back(line);
    return own;
  }

  test::TempDir dir;
};

constexpr const char* kOneCategory = "N=1\nCATEGORY01=POINT,Települések\n";

TEST_F(MapLoading, ScaleRangeFromThePixelSize) {
  // 0.25 mm pixels and 10 m units: 4 is raised to 100, 400000000 lowered to 50000000.
  MMap map(WriteMap("UNIT=10\n", kOneCategory));
  EXPECT_EQ(map.name(), "Próba");
  EXPECT_EQ(map.unit(), 10);
  EXPECT_EQ(map.smallestScale(), 100);
  EXPECT_EQ(map.largestScale(), 50000000);
  EXPECT_EQ(map.findScale(), 25000050);
  services.messages.Clear();
}

TEST_F(MapLoading, ScaleRangeFromOtherPixelsAndUnits) {
  Program().pixel = PixelSize{0.3, 0.2};
  // smallest = 1000 * 0.1 / 0.2 = 500, largest = 1000 * 10000000 / 0.3 -> capped.
  MMap map(WriteMap("UNIT=1000\n", kOneCategory));
  EXPECT_EQ(map.smallestScale(), 500);
  EXPECT_EQ(map.largestScale(), 50000000);
  Program().pixel = PixelSize{0.25, 0.25};
  MMap small(WriteMap("UNIT=1\nORIGIN=650000,230000\n", kOneCategory));
  EXPECT_EQ(small.largestScale(), 40000000);
  EXPECT_EQ(small.origin(), (MapPoint{650000, 230000}));
}

TEST_F(MapLoading, ScaleRangeOnlyNarrows) {
  {
    MMap map(WriteMap("SCALERANGE=5000,200000\n", kOneCategory));
    EXPECT_EQ(map.smallestScale(), 5000);
    EXPECT_EQ(map.largestScale(), 200000);
  }
  {
    MMap map(WriteMap("SCALERANGE=50,90000000\n", kOneCategory));
    EXPECT_EQ(map.smallestScale(), 100);
    EXPECT_EQ(map.largestScale(), 50000000);
  }
  EXPECT_TRUE(Messages().empty() || Messages()[0].find("SCALERANGE") == std::string::npos);
  services.messages.Clear();
  MMap map(WriteMap("SCALERANGE=5000\n", kOneCategory));
  EXPECT_EQ(map.smallestScale(), 100);
  EXPECT_EQ(map.largestScale(), 50000000);
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages()[0],
            "KOLTAR32|INFORMATION|A 'SCALERANGE' opcióban a méretarány-tartomány határai "
            "hiányosak. A program az alapértelmezés szerinti értékeket használja.");
}

TEST_F(MapLoading, FindScaleIsClampedIntoTheRange) {
  {
    MMap map(WriteMap("SCALERANGE=5000,200000\nFINDSCALE=3000\n", kOneCategory));
    EXPECT_EQ(map.findScale(), 5000);
  }
  {
    MMap map(WriteMap("SCALERANGE=5000,200000\nFINDSCALE=abc\n", kOneCategory));
    EXPECT_EQ(map.findScale(), 5000);
  }
  MMap map(WriteMap("SCALERANGE=5000,200000\nFINDSCALE=150000\n", kOneCategory));
  EXPECT_EQ(map.findScale(), 150000);
}

TEST_F(MapLoading, TypeKeywordsAreComparedWithCase) {
  MMap map(WriteMap("", "N=2\nCATEGORY01=POINT,Települések\nCATEGORY02=point,Utak\n"));
  ASSERT_EQ(map.points().size(), 1u);
  EXPECT_EQ(map.points()[0]->name(), "Települések");
  ASSERT_EQ(map.drawOrder().size(), 1u);  // the second line made no category
  EXPECT_EQ(map.drawOrder()[0]->kind(), CategoryKind::Point);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "KOLTAR32|PLAIN|'Utak' kategóriánál érvénytelen objektum típus: 'point'");
}

TEST_F(MapLoading, DrawOrderHoldsEveryCategoryAndTheTypedListsPointIntoIt) {
  MMap map(WriteMap("",
                    "N=5\nCATEGORY01=AREA,Erdők\nCATEGORY02=LINE,Utak\nCATEGORY03=OPTPATH,Hálózat\n"
                    "CATEGORY04=LINE,Vasutak\nCATEGORY05=TEXT,Nevek\n"));
  const auto& order = map.drawOrder();
  ASSERT_EQ(order.size(), 5u);
  EXPECT_EQ(order[0]->kind(), CategoryKind::Area);
  EXPECT_EQ(order[1]->kind(), CategoryKind::Line);
  EXPECT_EQ(order[1].get(), map.lines()[0]);
  EXPECT_EQ(order[2]->kind(), CategoryKind::OptPath);
  EXPECT_EQ(order[2]->name(), "Hálózat");
  EXPECT_EQ(order[3].get(), map.lines()[1]);
  EXPECT_EQ(order[4]->kind(), CategoryKind::Text);
  EXPECT_EQ(order[4].get(), map.texts()[0]);
  ASSERT_NE(map.roadNetwork(), nullptr);
  EXPECT_EQ(map.roadNetwork()->categoryName(), "Hálózat");
  EXPECT_EQ(map.lines()[1]->name(), "Vasutak");
}

TEST_F(MapLoading, SecondRoadNetworkEndsLoading) {
  MMap map(WriteMap("",
                    "N=4\nCATEGORY01=OPTPATH,Egyik\nCATEGORY02=LINE,Utak\nCATEGORY03=OPTPATH,Másik\n"
                    "CATEGORY04=POINT,Települések\n",
                    "TOWNCATEGORY=Települések\nROADCATEGORY=Utak\n"));
  EXPECT_EQ(map.roadNetwork()->categoryName(), "Egyik");
  EXPECT_EQ(map.lines().size(), 1u);
  EXPECT_TRUE(map.points().empty());  // declared after the second one
  EXPECT_EQ(map.roadCategory(), -1);  // CONNECTIONS is not read after an early end
  // (The first network reports its missing graph files before.)
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages().back(),
            "KOLTAR32|SYSTEMMODAL|Az optimális út kereséshez csak egy OPTPATH tipusú kategória adható meg.");
  EXPECT_EQ(services.progress.events().back(), "END");
  EXPECT_EQ(services.waitCursor.depth, 0);
}

TEST_F(MapLoading, ConnectionsNameCategoriesOfTheirType) {
  MMap map(WriteMap("", "N=3\nCATEGORY01=POINT,Helyek\nCATEGORY02=LINE,Utak\nCATEGORY03=POINT,Helyek\n",
                    "TOWNCATEGORY=Helyek\nROADCATEGORY=Utak\n"));
  EXPECT_EQ(map.townCategory(), 1);  // the last of equal names
  EXPECT_EQ(map.roadCategory(), 0);
  MMap other(WriteMap("", "N=2\nCATEGORY01=POINT,Helyek\nCATEGORY02=LINE,Utak\n",
                      "TOWNCATEGORY=Utak\nROADCATEGORY=utak\n"));
  EXPECT_EQ(other.townCategory(), -1);  // names a line category
  EXPECT_EQ(other.roadCategory(), -1);  // other letter case
}

TEST_F(MapLoading, MissingCategoryLineEndsLoadingAndKeepsTheOthers) {
  std::string lines = "N=12\n";
  for (int i = 1; i <= 9; ++i)
    lines += "CATEGORY0" + std::to_string(i) + "=LINE,L" + std::to_string(i) + "\n";
  const std::string file = WriteMap("", lines);
  MMap map(file);
  EXPECT_EQ(map.lines().size(), 9u);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"KOLTAR32|PLAIN|Hibás sor " + file +
                                                  " file [CATEGORIES] szekcióban:\n"}));
  EXPECT_EQ(map.drawOrder().size(), 9u);  // none for the lines not read
}

TEST_F(MapLoading, LinesWithOneFieldOrAThirdField) {
  const std::string file = WriteMap("", "N=2\nCATEGORY01=LINE,Utak,extra\nCATEGORY02=POINT\n");
  MMap map(file);
  ASSERT_EQ(map.lines().size(), 1u);
  EXPECT_EQ(map.lines()[0]->name(), "Utak");
  EXPECT_EQ(Messages(), (std::vector<std::string>{"KOLTAR32|PLAIN|Hibás sor " + file +
                                                  " file [CATEGORIES] szekcióban:\nPOINT"}));
}

TEST_F(MapLoading, NoCategoryCount) {
  for (const char* n : {"", "N=0\n", "N=-3\n", "N=abc\n"}) {
    services.messages.Clear();
    MMap map(WriteMap("", n));
    EXPECT_TRUE(map.drawOrder().empty());
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"KOLTAR32|STOP|A kategóriák száma nincs megadva, vagy hibás."}))
        << n;
  }
}

TEST_F(MapLoading, BadUnitFallsBackToTheDefault) {
  MMap map(WriteMap("UNIT=0\n", kOneCategory));
  EXPECT_EQ(map.unit(), 10);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("UNIT"), std::string::npos);
}

TEST_F(MapLoading, ProgressDuringLoading) {
  MMap map(WriteMap("", "N=4\nCATEGORY01=LINE,A\nCATEGORY02=LINE,B\nCATEGORY03=LINE,C\nCATEGORY04=LINE,D\n"));
  EXPECT_EQ(services.progress.events(),
            (std::vector<std::string>{"START Térkép betöltése:", "SET 0", "SET 25", "SET 50", "SET 75",
                                      "SET 100", "END"}));
  EXPECT_EQ(services.progress.polls(), 0);  // loading does not test for ESC
  EXPECT_EQ(services.waitCursor.begins, 1);
  EXPECT_EQ(services.waitCursor.depth, 0);
}

TEST_F(MapLoading, DestructionWritesTheFindScale) {
  const std::string file = WriteMap("SCALERANGE=5000,200000\nFINDSCALE=3000\n", kOneCategory);
  {
    MMap map(file);
    map.SetFindScale(120000);
  }
  EXPECT_EQ(dir.Read("test.map"),
            "[MAP]\nNAME=Próba\nCARTOSYMB=symb.ini\nSCALERANGE=5000,200000\nFINDSCALE=120000\n[CATEGORIES]\n"
            "N=1\nCATEGORY01=POINT,Települések\n");
  { MMap unchanged(file); }  // written also when nothing changed
  EXPECT_NE(dir.Read("test.map").find("FINDSCALE=120000"), std::string::npos);
}

class MapDrawing : public MapLoading {
 protected:
  void DrawMap(int categories) {
    std::string lines = "N=" + std::to_string(categories) + "\n";
    for (int i = 1; i <= categories; ++i)
      lines += "CATEGORY0" + std::to_string(i) + "=AREA,A" + std::to_string(i) + "\n";
    MMap map(WriteMap("", lines));
    test::RecordingDeviceContext dc;
    const MapView view{25000, {0, 0}, {0, 0, 800, 600}};
    map.Draw(dc, BuildTransform(view, map.unit(), Program().pixel), view.rect, view.scale);
  }

  std::vector<std::string> DrawEvents() const {
    const auto& all = services.progress.events();
    auto start = std::find(all.begin(), all.end(), "START Megszakítás: ESC");
    return std::vector<std::string>(start, all.end());
  }
};

TEST_F(MapDrawing, GaugeGoesThroughEveryCategory) {
  DrawMap(4);
  EXPECT_EQ(DrawEvents(), (std::vector<std::string>{"START Megszakítás: ESC", "SET 0", "SET 25", "SET 50",
                                                    "SET 75", "SET 100", "END"}));
}

TEST_F(MapDrawing, EscBeforeTheThirdOfFiveStopsTheRest) {
  services.progress.PressEscAtPoll(3);
  DrawMap(5);
  EXPECT_EQ(DrawEvents(),
            (std::vector<std::string>{"START Megszakítás: ESC", "SET 0", "SET 20", "SET 40", "ESC", "END"}));
  EXPECT_EQ(services.progress.depth(), 0);
}

// The gauge and the ESC test step through every CATEGORYnn line, also one that made no
// category.
TEST_F(MapDrawing, LinesWithoutCategoryKeepTheirStepInTheGauge) {
  MMap map(WriteMap("", "N=3\nCATEGORY01=AREA,A1\nCATEGORY02=KEREK,A2\nCATEGORY03=AREA,A3\n"));
  ASSERT_EQ(map.drawOrder().size(), 2u);
  test::RecordingDeviceContext dc;
  const MapView view{25000, {0, 0}, {0, 0, 800, 600}};
  map.Draw(dc, BuildTransform(view, map.unit(), Program().pixel), view.rect, view.scale);
  EXPECT_EQ(DrawEvents(), (std::vector<std::string>{"START Megszakítás: ESC", "SET 0", "SET 33", "SET 66",
                                                    "SET 100", "END"}));
  EXPECT_EQ(services.progress.polls(), 3);
}

TEST_F(MapDrawing, TheCallersProgressServiceGetsTheGaugeAndTheEscPolls) {
  MMap map(WriteMap("", "N=2\nCATEGORY01=AREA,A1\nCATEGORY02=AREA,A2\n"));
  test::ScriptedProgress own;
  own.PressEscAtPoll(2);
  test::RecordingDeviceContext dc;
  const MapView view{25000, {0, 0}, {0, 0, 800, 600}};
  map.Draw(dc, BuildTransform(view, map.unit(), Program().pixel), view.rect, view.scale, own);
  EXPECT_EQ(own.events(),
            (std::vector<std::string>{"START Megszakítás: ESC", "SET 0", "SET 50", "ESC", "END"}));
  EXPECT_TRUE(DrawEvents().empty());
}

TEST_F(MapDrawing, MapWithoutCategoriesDrawsNothing) {
  DrawMap(0);
  EXPECT_TRUE(DrawEvents().empty());
}

// A map of an area, a road and a village on it, drawn once, then asked what lies where.
class MapObjects : public test::ServicesTest {
 protected:
  MapObjects() {
    writer.unit = 1;
    writer.AddAreas("Erdők", {"Erdő"}).Add(1, {{0, 0}, {0, 200}, {200, 200}, {200, 0}, {0, 0}}, "Bakony");
    writer.AddLines("Utak", {"Főút"}).Add(1, {{0, 100}, {200, 100}}, "8-as főút");
    PointCategoryWriter& towns = writer.AddPoints("Helyek", {"Falu"});
    towns.Add(1, {100, 100}, "Zirc");
    towns.Add(1, {150, 150}, "Fő utca");
    towns.SetHouseRange(1, {3, 1, ' ', 9, ' '});
    writer.AddTexts("Nevek", {"Táj"}).Add(1, {20, 20}, 0.0f, "Bakony");
    writer.AddBitmap("falu.bmp", BmpPicture{2, 2, {kBlack, kBlack, kBlack, kBlack}});
    writer.symbology.AddCategory("Utak").AddLayer("Főút").Set("LINEWIDTH", "10");
    writer.symbology.AddCategory("Helyek").AddLayer("Falu").Set("BITMAP", "falu.bmp,10");
    EXPECT_TRUE(writer.Write());
    map = std::make_unique<MMap>(writer.MapFileName());
    const MapView view{4000, {100, 100}, {0, 0, 200, 200}};
    map->Draw(dc, BuildTransform(view, map->unit(), Program().pixel), view.rect, view.scale);
  }

  std::optional<ObjectHit> At(MapPoint p) const { return map->HitTest(p); }
  // Category k of the draw order: the area, the road, the village, the labels.
  const MapCategory* Category(std::size_t k) const { return map->drawOrder()[k].get(); }

  test::TempDir dir;
  MapWriter writer{dir.path()};
  test::RecordingDeviceContext dc;
  std::unique_ptr<MMap> map;
};

TEST_F(MapObjects, TheLastDeclaredCategoryWins) {
  EXPECT_TRUE(services.messages.messages().empty());
  EXPECT_EQ(map->extent(), MapRect::Of(0, 200, 200, 0));
  ASSERT_EQ(map->drawOrder().size(), 4u);
  EXPECT_EQ(Category(0)->kind(), CategoryKind::Area);
  EXPECT_EQ(At({100, 102}), (ObjectHit{map->points()[0], 0}));
  EXPECT_EQ(At({50, 102}), (ObjectHit{map->lines()[0], 0}));
  EXPECT_EQ(At({20, 20}), (ObjectHit{Category(0), 0}));  // texts are never hit
  EXPECT_EQ(At({300, 300}), std::nullopt);
}

TEST_F(MapObjects, NamesOfCategoriesAndObjects) {
  const std::optional<ObjectHit> street = At({150, 150});
  ASSERT_TRUE(street);
  const ObjectNames names = GetObjectNames(*street);
  EXPECT_EQ(names.category, "Helyek");
  EXPECT_EQ(names.object, "Fő utca 1  - 9 ");  // with house numbers
  EXPECT_EQ(GetObjectNames(ObjectHit{map->lines()[0], 0}).object, "8-as főút");
  EXPECT_EQ(GetObjectNames(ObjectHit{Category(0), 0}).object, "Bakony");
  EXPECT_EQ(GetObjectNames(ObjectHit{Category(0), 0}).category, "Erdők");
  // A hit without category names nothing; records outside the category have no name.
  EXPECT_EQ(GetObjectNames(ObjectHit{}).category, "");
  EXPECT_EQ(GetObjectNames(ObjectHit{}).object, "");
  for (std::int32_t outside : {-1, 2})
    EXPECT_EQ(GetObjectNames(ObjectHit{map->points()[0], outside}).object, "");
}

// A map of two text categories with labels on the same place, drawn once.
class MapLabels : public test::ServicesTest {
 protected:
  MapLabels() {
    writer.unit = 1;
    writer.AddTexts("Nevek", {"Táj"}).Add(1, {50, 100}, 0.0f, "Bakony");
    writer.AddTexts("Vizek", {"Tó"}).Add(1, {50, 100}, 0.0f, "Tisza");
    writer.symbology.AddCategory("Nevek").AddLayer("Táj").Set("FONT", "Arial CE,0,0,0,0,0,0,10,0");
    writer.symbology.AddCategory("Vizek").AddLayer("Tó").Set("FONT", "Arial CE,0,0,0,0,0,0,10,0");
    EXPECT_TRUE(writer.Write());
    map = std::make_unique<MMap>(writer.MapFileName());
    const MapView view{4000, {100, 100}, {0, 0, 200, 200}};
    map->Draw(dc, BuildTransform(view, map->unit(), Program().pixel), view.rect, view.scale);
  }
  std::string Saved(const std::string& category) const {
    return "KOLTAR32|INFORMATION|'" + category + "' kategória adatai kimentve.";
  }

  test::TempDir dir;
  MapWriter writer{dir.path()};
  test::RecordingDeviceContext dc;
  std::unique_ptr<MMap> map;
};

TEST_F(MapLabels, TheLastTextCategoryInDrawOrderWins) {
  EXPECT_EQ(map->HitTestLabel({55, 102}), (LabelHit{1, 0}));
  // Past the shorter name only the first category's label lies there.
  EXPECT_EQ(map->HitTestLabel({78, 102}), (LabelHit{0, 0}));
  EXPECT_EQ(map->HitTestLabel({150, 150}), std::nullopt);
  // The name tool finds no labels.
  EXPECT_EQ(map->HitTest({55, 102}), std::nullopt);
  EXPECT_EQ(map->text(2), nullptr);
  EXPECT_EQ(map->text(-1), nullptr);
}

TEST_F(MapLabels, OnlyChangedCategoriesAreSaved) {
  map->text(1)->MoveLabel(0, {60, 110});
  EXPECT_TRUE(map->SaveLabelPositions());
  EXPECT_EQ(services.messages.Transcript(), (std::vector<std::string>{Saved("Vizek")}));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "c02.BAK"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "c01.BAK"));
  EXPECT_FALSE(map->text(1)->changed());
}

TEST_F(MapLabels, EarlierPositionsFromTheChosenFolder) {
  MapWriter earlier{dir.path() / "old"};
  earlier.AddTexts("Nevek", {"Táj"}).Add(1, {1, 2}, 0.0f, "Bakony");
  earlier.AddTexts("Vizek", {"Tó"}).Add(1, {3, 4}, 0.0f, "Tisza");
  std::filesystem::create_directories(dir.path() / "old");
  ASSERT_TRUE(earlier.Write());

  map->LoadLabelPositions(dir.Model("old/"));
  EXPECT_EQ(map->texts()[0]->GetLabelPosition(0), (MapPoint{1, 2}));
  EXPECT_EQ(map->texts()[1]->GetLabelPosition(0), (MapPoint{3, 4}));
  // Without the closing separator the last component is not a folder: the map's own
  // folder is used, whose files still hold the first positions.
  map->LoadLabelPositions(dir.Model("old"));
  EXPECT_EQ(map->texts()[0]->GetLabelPosition(0), (MapPoint{50, 100}));
  EXPECT_EQ(map->texts()[1]->GetLabelPosition(0), (MapPoint{50, 100}));
  EXPECT_TRUE(services.messages.messages().empty());

  // Closing the map asks for each changed category, after the other parts are gone.
  services.messages.Answer(MessageAnswer::No);
  services.messages.Answer(MessageAnswer::Yes);
  map.reset();
  EXPECT_EQ(services.messages.Transcript(),
            (std::vector<std::string>{
                "KOLTAR32|QUESTION|A 'Nevek' kategória tartalma megváltozott.\n\nKívánja menteni?",
                "KOLTAR32|QUESTION|A 'Vizek' kategória tartalma megváltozott.\n\nKívánja menteni?",
                Saved("Vizek")}));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "c01.BAK"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "c02.BAK"));
}

}  // namespace
}  // namespace koltar
