// Files whose format does not guard them: damaged records are refused once at load,
// reported once per file, and never read outside their blocks.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "categories/area.h"
#include "categories/line.h"
#include "categories/point.h"
#include "tests/categories/category_fixture.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;

class DamagedData : public test::CategoryTest {
 protected:
  std::string Refused(const std::string& file, int count, int first, const std::string& reason) const {
    return "KOLTAR32|EXCLAMATION|Hibás adat '" + File(file) + "' file-ban: " + std::to_string(count) +
           " objektum nem jeleníthető meg.\nAz első hibás a(z) " + std::to_string(first) +
           ". rekord: " + reason + ".";
  }
};

TEST_F(DamagedData, PointLayersAndNames) {
  PointCategoryWriter& c = writer.AddPoints("Helyek", {"Város"});
  c.Add(1, {10, 10}, "Jó");
  c.AddRaw({0, {20, 20}, c.NameOffset("Nulla réteg")});
  c.AddRaw({2, {30, 30}, -1});
  c.AddRaw({1, {40, 40}, 5000});  // past the end of the name table
  c.AddRaw({-7, {1000000, 1000000}, -1});
  c.Add(1, {50, 50}, "Jó");
  c.nameTail = "Lezáratlan";  // a name without its zero byte
  const std::int32_t unterminated = static_cast<std::int32_t>(c.names.bytes().size());
  c.AddRaw({1, {60, 60}, unterminated});
  MPoint points = Load<MPoint>("Helyek");

  EXPECT_EQ(Messages(),
            (Lines{Refused("c01.dat", 5, 2, "a rétegszáma (0) hibás, a kategóriának 1 rétege van")}));
  EXPECT_EQ(points.recordCount(), 7);
  // Refused objects add nothing to the extent, have no name and are not found.
  EXPECT_EQ(points.GetExtent(), MapRect::Of(10, 50, 50, 10));
  EXPECT_EQ(points.GetObjectName(1, true), "");
  EXPECT_EQ(points.GetObjectName(3, true), "");
  EXPECT_EQ(points.GetObjectName(6, true), "");
  EXPECT_EQ(points.FindByName("Nulla réteg"), -1);
  EXPECT_EQ(points.FindByName("Jó"), 0);
  EXPECT_EQ(points.GetObjectName(5, false), "Jó");
}

TEST_F(DamagedData, ReasonsOfTheFirstRefusedRecord) {
  PointCategoryWriter& a = writer.AddPoints("A", {"L"});
  a.AddRaw({1, {0, 0}, 99});
  PointCategoryWriter& b = writer.AddPoints("B", {"L"});
  b.Add(1, {0, 0}, "Név");
  b.nameTail = "x";
  b.AddRaw({1, {0, 0}, 4});
  PolyCategoryWriter& l = writer.AddLines("C", {"L"});
  l.Add(1, {{0, 0}, {10, 0}}, "");
  l.AddRaw({1, -2, 0, -1, MapRect::Of(0, 0, 0, 0)});
  l.AddRaw({1, 2, 1, -1, MapRect::Of(0, 0, 0, 0)});  // points 1 and 2 of 2
  l.AddRaw({1, 1, -1, -1, MapRect::Of(0, 0, 0, 0)});
  PolyCategoryWriter& m = writer.AddAreas("D", {"L"});
  m.Add(1, {{0, 0}, {0, 5}, {5, 5}, {0, 0}}, "");
  m.AddRaw({1, 3, 2, -1, MapRect::Of(0, 0, 0, 0)});
  const std::string file = WriteMap();
  const std::string directory = MapDirectory();
  MPoint pa("A", directory, file);
  MPoint pb("B", directory, file);
  MLine lc("C", directory, file);
  MArea ad("D", directory, file);
  EXPECT_EQ(
      Messages(),
      (Lines{
          Refused("c01.dat", 1, 1, "a név helye (99) kívül esik a névtáblán (0 bájt)"),
          Refused("c02.dat", 1, 2, "a név helyén (4) kezdődő név nincs lezárva a névtábla végéig"),
          Refused("c03.dat", 3, 2, "a pontjainak száma negatív (-2)"),
          Refused(
              "c04.dat", 1, 2,
              "a pontjai kívül esnek a koordináta file-on (első pont: 2, pontszám: 3, a file 4 pontos)")}));
  EXPECT_EQ(lc.GetExtent(), MapRect::Of(0, 0, 10, 0));
  EXPECT_EQ(ad.GetExtent(), MapRect::Of(0, 5, 5, 0));
}

TEST_F(DamagedData, ShortEntityFileLeavesTheRestOut) {
  PointCategoryWriter& c = writer.AddPoints("Utcák", {"Utca"});
  for (int i = 0; i < 4; ++i) c.Add(1, {i, i}, "Fő utca");
  c.SetHouseRange(0, {3, 1, ' ', 9, ' '});
  c.SetHouseRange(1, {2, 11, ' ', 19, ' '});
  c.entityCount = 2;
  MPoint points = Load<MPoint>("Utcák");
  EXPECT_EQ(Messages(), (Lines{"KOLTAR32|EXCLAMATION|A '" + File("c01.ent") + "' file rövidebb, mint a '" +
                               File("c01.dat") +
                               "' file: 2 objektumnak nincs házszám rekordja, ezek nem jeleníthetők meg."}));
  EXPECT_EQ(points.GetObjectName(1, true), "Fő utca 11  - 19 ");
  EXPECT_EQ(points.GetObjectName(2, true), "");
  EXPECT_EQ(points.EntityRecordAt(3), nullptr);
  EXPECT_EQ(points.GetExtent(), MapRect::Of(0, 1, 1, 0));
  EXPECT_EQ(points.FindHouseNumber(0, "13"), 1);  // the street ends where the house numbers do
  EXPECT_EQ(points.FindHouseNumber(0, "21"), 1);
}

TEST_F(DamagedData, MissingLayerCountRefusesEveryRecord) {
  PolyCategoryWriter& c = writer.AddLines("Utak", {});
  c.Add(1, {{0, 0}, {1, 1}}, "");
  c.Add(1, {{0, 0}, {1, 1}}, "");
  MLine lines = Load<MLine>("Utak");
  EXPECT_EQ(lines.layerCount(), 0);
  EXPECT_EQ(Messages(),
            (Lines{Refused("c01.dat", 2, 1, "a rétegszáma (1) hibás, a kategóriának 0 rétege van")}));
  EXPECT_EQ(lines.GetExtent(), MapRect::Empty());
}

TEST_F(DamagedData, NoCoordinateFileIsReportedOnceAndNothingIsChecked) {
  PolyCategoryWriter& c = writer.AddLines("Utak", {"Főút"});
  c.Add(1, {{0, 0}, {1, 1}}, "Egyes");
  const std::string file = WriteMap();
  std::filesystem::remove(dir.path() / "c01.crd");
  MLine lines("Utak", MapDirectory(), file);
  EXPECT_EQ(Messages(), (Lines{"KOLTAR32|EXCLAMATION|'" + File("c01.crd") + "' file nem nyitható meg.\n"}));
  EXPECT_EQ(lines.GetObjectName(0), "Egyes");
  EXPECT_EQ(lines.HitTest({0, 0}), std::nullopt);
}

// Random records over short random files: whatever they hold, loading, drawing, hit
// tests, names and the house-number search stay inside the loaded blocks (the
// sanitizers of the test build watch every read).
class RandomFiles : public test::DrawTest {};

TEST_F(RandomFiles, NeverReadOutsideTheirBlocks) {
  std::mt19937 random(20240611);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  auto coordinate = [&] { return pick(0, 9) == 0 ? (pick(0, 1) ? kCoordMax : -kCoordMax) : pick(-50, 250); };
  for (int round = 0; round < 12; ++round) {  // few rounds: every written file is flushed to disk
    MapWriter map(dir.path() / std::to_string(round));
    map.unit = 1;
    PointCategoryWriter& points = map.AddPoints("P", {"A", "B"});
    PolyCategoryWriter& lines = map.AddLines("L", {"A", "B"});
    PolyCategoryWriter& areas = map.AddAreas("T", {"A", "B"});
    for (CategoryBase* c : std::initializer_list<CategoryBase*>{&points, &lines, &areas}) {
      c->NameOffset("Fő utca");
      for (int i = pick(0, 6); i > 0; --i)
        c->nameTail.push_back(static_cast<char>(pick(0, 3) == 0 ? 0 : pick(1, 255)));
      c->dataTail.assign(static_cast<std::size_t>(pick(0, 15)), '\x55');
    }
    const int names = 8 + 6;
    for (int i = pick(0, 30); i > 0; --i) {
      const std::int32_t index = points.AddRaw(
          {static_cast<std::int16_t>(pick(-1, 3)), {coordinate(), coordinate()}, pick(-2, names)});
      if (pick(0, 1))
        points.SetHouseRange(index,
                             {static_cast<std::uint8_t>(pick(0, 3)), static_cast<std::int16_t>(pick(-40, 40)),
                              static_cast<char>(pick(-128, 127)), static_cast<std::int16_t>(pick(-40, 40)),
                              static_cast<char>(pick(-128, 127))});
    }
    points.entityCount = pick(-1, 30);
    for (PolyCategoryWriter* c : {&lines, &areas}) {
      for (int i = pick(0, 30); i > 0; --i) c->coords.push_back({coordinate(), coordinate()});
      const int coords = static_cast<int>(c->coords.size());
      for (int i = pick(0, 25); i > 0; --i)
        c->AddRaw({static_cast<std::int16_t>(pick(-1, 3)), static_cast<std::int16_t>(pick(-3, 12)),
                   pick(-3, coords + 3), pick(-2, names),
                   MapRect::Of(coordinate(), coordinate(), coordinate(), coordinate())});
    }
    map.AddBitmap("s.bmp", test::Picture(pick(1, 5), pick(1, 5), kWhite));
    for (const char* name : {"P", "L", "T"}) {
      auto& c = map.symbology.AddCategory(name);
      c.AddLayer("A")
          .Set("BITMAP", "s.bmp,12")
          .Set("TRANSPARENTCOLOR", "255,255,255")
          .Set("LINEWIDTH", "6")
          .Set("WIDTHFACTOR", "100,50,10");
      c.AddLayer("B")
          .Set("BITMAP", "s.bmp,0.4")
          .Set("LINESTYLE", std::to_string(pick(-1, 9)))
          .Set("HATCHSTYLE", std::to_string(pick(-2, 8)));
    }
    ASSERT_TRUE(map.Write());
    const std::string file = map.MapFileName();
    const std::string directory = GetPathDirectory(file);
    {
      MCartoSymb symbols(directory + "symbology.ini");
      MPoint p("P", directory, file);
      MLine l("L", directory, file);
      MArea a("T", directory, file);
      const RenderContext context{dc, View(), kDevice, kMapExtent, 4000, symbols, 1, Progress()};
      for (int draw = 0; draw < 2; ++draw) {
        p.Draw(context);
        l.Draw(context);
        a.Draw(context);
      }
      for (int i = 0; i < 20; ++i) {
        const MapPoint at{coordinate(), coordinate()};
        (void)p.HitTest(at);
        (void)l.HitTest(at);
        (void)a.HitTest(at);
      }
      for (std::int32_t i = -1; i <= 31; ++i) {
        (void)p.GetObjectName(i, true);
        (void)p.FindHouseNumber(i, std::to_string(pick(-5, 45)));
        (void)l.GetObjectName(i);
        (void)a.GetObjectName(i);
        (void)p.GetExtent();
        (void)l.GetBounds(i);
      }
      (void)p.FindByName("Fő utca");
    }
    services.messages.Clear();
    dc.ClearTranscript();
  }
}

}  // namespace
}  // namespace koltar
