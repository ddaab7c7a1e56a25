// Writes a small map with every kind of drawing into a folder: areas filled solid and
// hatched, roads with one, two and three strokes (one of them dashed) that cross, town
// symbols with a transparent colour and village symbols without, streets with house
// numbers and labels at 0, 45 and 90 degrees. The command-line tests read and render it; it is also
// the map to look at when drawing changes.
//
//   koltar-sample-map FOLDER

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/bmp.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar {
namespace {

BmpPicture Canvas(int width, int height, ColorRef color) {
  BmpPicture p;
  p.width = width;
  p.height = height;
  p.pixels.assign(static_cast<std::size_t>(width) * height, color);
  return p;
}

// A red disc with a dark ring on white; the white is drawn transparent.
BmpPicture TownSymbol() {
  BmpPicture p = Canvas(32, 32, Rgb(255, 255, 255));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const double r = std::hypot(x - 15.5, y - 15.5);
      if (r <= 15.5) p.pixels[static_cast<std::size_t>(y) * 32 + x] = r > 12.5 ? Rgb(90, 0, 0) : Rgb(230, 30, 30);
    }
  return p;
}

// A blue square with a yellow centre, drawn as it is.
BmpPicture VillageSymbol() {
  BmpPicture p = Canvas(16, 16, Rgb(20, 40, 200));
  for (int y = 5; y < 11; ++y)
    for (int x = 5; x < 11; ++x) p.pixels[static_cast<std::size_t>(y) * 16 + x] = Rgb(255, 230, 0);
  return p;
}

bool WriteSampleMap(const std::filesystem::path& folder) {
  MapWriter map(folder);
  map.name = "Próba térkép";
  map.unit = 10;
  map.origin = {650000, 230000};
  map.townCategory = "Települések";
  map.roadCategory = "Utak";

  PolyCategoryWriter& areas = map.AddAreas("Területek", {"Erdő", "Tó", "Belterület"});
  areas.Add(1, {{500, 1800}, {500, 2700}, {1500, 2800}, {1800, 2200}, {1200, 1700}, {500, 1800}}, "Bakony");
  areas.Add(2, {{2600, 2000}, {2500, 2500}, {3000, 2700}, {3400, 2400}, {3100, 1900}, {2600, 2000}}, "Tó");
  areas.Add(3, {{1700, 900}, {1700, 1500}, {2400, 1550}, {2450, 950}, {1700, 900}}, "Veszprém");

  PolyCategoryWriter& roads = map.AddLines("Utak", {"Autópálya", "Főút", "Földút"});
  roads.Add(1, {{100, 300}, {1200, 700}, {2600, 1600}, {3900, 2900}}, "M7");
  roads.Add(2, {{100, 1200}, {1500, 1150}, {2800, 1300}, {3900, 1250}}, "8-as főút");
  roads.Add(3, {{2000, 100}, {2050, 1000}, {2150, 2000}, {2100, 2900}}, "Dűlőút");

  PointCategoryWriter& towns = map.AddPoints("Települések", {"Város", "Falu"});
  towns.Add(1, {2060, 1210}, "Veszprém");
  towns.Add(1, {1200, 700}, "Várpalota");
  towns.Add(2, {3400, 1270}, "Öskü");
  towns.Add(2, {700, 1190}, "Herend");
  towns.Add(2, {2120, 2450}, "Eplény");

  PointCategoryWriter& streets = map.AddPoints("Utcák", {"Utca"});
  const std::int32_t street = streets.Add(1, {1900, 1100}, "Fő utca");
  streets.SetHouseRange(street, {3, 1, ' ', 19, ' '});
  streets.SetHouseRange(streets.Add(1, {1950, 1110}, "Fő utca"), {2, 2, ' ', 30, ' '});
  streets.SetHouseRange(streets.Add(1, {2000, 1120}, "Fő utca"), {2, 21, ' ', 41, 'b'});

  TextCategoryWriter& names = map.AddTexts("Nevek", {"Táj", "Víz"});
  names.Add(1, {600, 2500}, 0.0f, "Bakony");
  names.Add(2, {2620, 2150}, 45.0f, "Nagy-tó");
  names.Add(2, {2230, 1500}, 90.0f, "Séd");

  map.AddBitmap("varos.bmp", TownSymbol());
  map.AddBitmap("falu.bmp", VillageSymbol());

  auto& a = map.symbology.AddCategory("Területek");
  a.AddLayer("Erdő").Set("LINECOLOR", "0,100,0").Set("FILLCOLOR", "0,150,0").Set("HATCHSTYLE", "2").Set(
      "LINEWIDTH", "20");
  a.AddLayer("Tó").Set("LINECOLOR", "0,0,180").Set("FILLCOLOR", "120,170,255").Set("LINEWIDTH", "10");
  a.AddLayer("Belterület").Set("LINECOLOR", "200,120,80").Set("FILLCOLOR", "255,220,180").Set("LINEWIDTH", "0");

  auto& r = map.symbology.AddCategory("Utak");
  r.AddLayer("Autópálya").Set("LINECOLOR", "120,0,0").Set("FILLCOLOR", "255,80,80").Set("LINEWIDTH", "300").Set(
      "WIDTHFACTOR", "100,60,15");
  r.AddLayer("Főút").Set("LINECOLOR", "0,0,0").Set("FILLCOLOR", "255,210,0").Set("LINEWIDTH", "200").Set(
      "WIDTHFACTOR", "100,60,0");
  r.AddLayer("Földút").Set("LINECOLOR", "90,60,20").Set("FILLCOLOR", "230,200,150").Set("LINESTYLE", "1").Set(
      "LINEWIDTH", "150").Set("WIDTHFACTOR", "100,50,10");

  auto& t = map.symbology.AddCategory("Települések");
  t.AddLayer("Város").Set("BITMAP", "varos.bmp,1200").Set("TRANSPARENTCOLOR", "255,255,255");
  t.AddLayer("Falu").Set("BITMAP", "falu.bmp,500");

  map.symbology.AddCategory("Utcák").AddLayer("Utca");

  auto& n = map.symbology.AddCategory("Nevek");
  n.AddLayer("Táj").Set("FONT", "Arial CE,60,40,0,1,0,0,900,0");
  n.AddLayer("Víz").Set("FONT", "Times New Roman CE,0,0,160,0,1,0,700,120");
  return map.Write();
}

}  // namespace
}  // namespace koltar

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: koltar-sample-map FOLDER\n", stderr);
    return 2;
  }
  if (!koltar::WriteSampleMap(argv[1])) {
    std::fprintf(stderr, "koltar-sample-map: cannot write the map into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
