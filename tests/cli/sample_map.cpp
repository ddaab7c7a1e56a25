#include "tests/cli/sample_map.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
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
      if (r <= 15.5)
        p.pixels[static_cast<std::size_t>(y) * 32 + x] = r > 12.5 ? Rgb(90, 0, 0) : Rgb(230, 30, 30);
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

}  // namespace

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

  // The three roads meet in Veszprém; each is stored as its pieces between the places
  // of the road network.
  PolyCategoryWriter& roads = map.AddLines("Utak", {"Autópálya", "Főút", "Földút"});
  RoadNetworkWriter& network = map.AddRoadNetwork("Útvonal", {"Útvonal"});
  network.costs = {
      {"Autópálya", 1, 1.0, 110.0, 45.0}, {"Főút", 1, 1.0, 80.0, 35.0}, {"Földút", 1, 1.0, 30.0, 20.0}};
  network.defaultCostType = 1;
  // Nodes 0 ... 4 are the towns in their record order, 5 ... 10 the roads' far ends.
  network.nodes = {0, 1, 2, 3, 4, -1, -1, -1, -1, -1, -1};
  const auto piece = [&](std::int16_t layer, std::vector<MapPoint> points, const char* name,
                         std::int32_t from, std::int32_t to) {
    double length = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
      length += std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
    const std::int32_t road = roads.Add(layer, points, name);
    const auto metres = static_cast<std::int32_t>(std::lround(length * map.unit));
    network.edges.push_back({from, to, road, metres});
    network.edges.push_back({to, from, road, metres});
  };
  const MapPoint veszprem{2060, 1210}, varpalota{1200, 700}, osku{3400, 1270}, herend{700, 1190},
      epleny{2120, 2450};
  piece(1, {{100, 300}, varpalota}, "M7", 5, 1);
  piece(1, {varpalota, veszprem}, "M7", 1, 0);
  piece(1, {veszprem, {2600, 1600}, {3900, 2900}}, "M7", 0, 6);
  piece(2, {{100, 1200}, herend}, "8-as főút", 7, 3);
  piece(2, {herend, {1500, 1150}, veszprem}, "8-as főút", 3, 0);
  piece(2, {veszprem, {2800, 1300}, osku}, "8-as főút", 0, 2);
  piece(2, {osku, {3900, 1250}}, "8-as főút", 2, 8);
  piece(3, {{2000, 100}, {2050, 1000}, veszprem}, "Dűlőút", 9, 0);
  piece(3, {veszprem, {2150, 2000}, epleny}, "Dűlőút", 0, 4);
  piece(3, {epleny, {2100, 2900}}, "Dűlőút", 4, 10);
  std::stable_sort(network.edges.begin(), network.edges.end(),
                   [](const auto& a, const auto& b) { return a.from < b.from; });

  PointCategoryWriter& towns = map.AddPoints("Települések", {"Város", "Falu"});
  towns.Add(1, veszprem, "Veszprém");
  towns.Add(1, varpalota, "Várpalota");
  towns.Add(2, osku, "Öskü");
  towns.Add(2, herend, "Herend");
  towns.Add(2, epleny, "Eplény");

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
  a.AddLayer("Erdő")
      .Set("LINECOLOR", "0,100,0")
      .Set("FILLCOLOR", "0,150,0")
      .Set("HATCHSTYLE", "2")
      .Set("LINEWIDTH", "20");
  a.AddLayer("Tó").Set("LINECOLOR", "0,0,180").Set("FILLCOLOR", "120,170,255").Set("LINEWIDTH", "10");
  a.AddLayer("Belterület")
      .Set("LINECOLOR", "200,120,80")
      .Set("FILLCOLOR", "255,220,180")
      .Set("LINEWIDTH", "0");

  auto& r = map.symbology.AddCategory("Utak");
  r.AddLayer("Autópálya")
      .Set("LINECOLOR", "120,0,0")
      .Set("FILLCOLOR", "255,80,80")
      .Set("LINEWIDTH", "300")
      .Set("WIDTHFACTOR", "100,60,15");
  r.AddLayer("Főút")
      .Set("LINECOLOR", "0,0,0")
      .Set("FILLCOLOR", "255,210,0")
      .Set("LINEWIDTH", "200")
      .Set("WIDTHFACTOR", "100,60,0");
  r.AddLayer("Földút")
      .Set("LINECOLOR", "90,60,20")
      .Set("FILLCOLOR", "230,200,150")
      .Set("LINESTYLE", "1")
      .Set("LINEWIDTH", "150")
      .Set("WIDTHFACTOR", "100,50,10");

  map.symbology.AddCategory("Útvonal")
      .AddLayer("Útvonal")
      .Set("LINECOLOR", "220,0,220")
      .Set("LINEWIDTH", "120");

  auto& t = map.symbology.AddCategory("Települések");
  t.AddLayer("Város").Set("BITMAP", "varos.bmp,1200").Set("TRANSPARENTCOLOR", "255,255,255");
  t.AddLayer("Falu").Set("BITMAP", "falu.bmp,500");

  map.symbology.AddCategory("Utcák").AddLayer("Utca");

  auto& n = map.symbology.AddCategory("Nevek");
  n.AddLayer("Táj").Set("FONT", "Arial CE,60,40,0,1,0,0,900,0");
  n.AddLayer("Víz").Set("FONT", "Times New Roman CE,0,0,160,0,1,0,700,120");
  if (!map.Write()) return false;

  // Batch end points: a route, one with a via point, and lines before the first block.
  std::ofstream routes(folder / "routes.dat", std::ios::binary);
  routes << "Útvonalak a próba térképen\n"
            "[1. Herend - Eplény]\n"
            "Herend\n"
            "Eplény\n"
            "\n"
            "[2. Várpalota - Veszprém - Öskü]\n"
            "Várpalota\n"
            "Veszprém\n"
            "Öskü\n";
  return static_cast<bool>(routes.flush());
}

}  // namespace koltar
