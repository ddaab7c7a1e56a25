// Where the view goes after a place search, on a map the map object loads.

#include <gtest/gtest.h>

#include "categories/area.h"
#include "categories/point.h"
#include "map/mmap.h"
#include "tests/support/test_env.h"
#include "tools/mapwriter/map_writer.h"
#include "view/place_view.h"

namespace koltar {
namespace {

class PlaceView : public test::ServicesTest {
 protected:
  // Areas, points, lines and labels, declared in that order; map units of 10 m.
  std::string WriteMap() {
    MapWriter w(dir.path());
    w.name = "Hely";
    w.findScale = "25000";
    w.AddAreas("Vizek", {"To"}).Add(1, {{0, 0}, {400, 0}, {400, 200}, {0, 200}, {0, 0}}, "Balaton");
    w.AddPoints("Varosok", {"Varos"}).Add(1, {1234, 567}, "Szeged");
    PolyCategoryWriter& roads = w.AddLines("Utak", {"Ut"});
    roads.Add(1, {{0, 0}, {100, 0}}, "M0");
    roads.Add(1, {{1000, 1000}, {3000, 2000}}, "M5");
    w.AddTexts("Nevek", {"Nev"});
    w.AddPoints("Utcak", {"Utca"});
    EXPECT_TRUE(w.Write());
    return w.MapFileName();
  }
  MapViewState ViewOf(const MMap& map) {
    MapViewState view(ViewFactsOf(map, Program().pixel));
    view.SetDeviceRect(DeviceRect{0, 0, 800, 600});
    view.FitWholeMap();
    return view;
  }
  test::TempDir dir;
};

TEST_F(PlaceView, CategoriesByKindInMapOrder) {
  const MMap map(WriteMap());
  const PlaceCategories c = PlaceCategoriesOf(map);
  ASSERT_EQ(c.points.size(), 2u);
  EXPECT_EQ(c.points[0]->name(), "Varosok");
  EXPECT_EQ(c.points[1]->name(), "Utcak");
  ASSERT_EQ(c.lines.size(), 1u);
  ASSERT_EQ(c.areas.size(), 1u);
  EXPECT_EQ(c.areas[0]->name(), "Vizek");
}

TEST_F(PlaceView, APointIsCentredAtTheDialogsScaleWhichBecomesTheFindScale) {
  MMap map(WriteMap());
  MapViewState view = ViewOf(map);
  const FindPointData point{map.smallestScale(), map.largestScale(), 12345, 1, 0, 0};
  EXPECT_EQ(ShowFoundPlace(map, view, point), (MapPoint{1234, 567}));
  EXPECT_EQ(view.centre(), (MapPoint{1234, 567}));
  EXPECT_EQ(view.scale(), 12000);     // rounded as every scale request is
  EXPECT_EQ(map.findScale(), 12345);  // the find scale keeps the number as typed

  // A scale below the map's range is shown, and kept, at the smallest.
  const FindPointData below{map.smallestScale(), map.largestScale(), 50, 1, 0, 0};
  ASSERT_EQ(map.smallestScale(), 100);
  EXPECT_TRUE(ShowFoundPlace(map, view, below).has_value());
  EXPECT_EQ(view.scale(), 100);
  EXPECT_EQ(map.findScale(), 100);
}

TEST_F(PlaceView, LinesAndAreasAreFittedWithHalfAgainToSpare) {
  MMap map(WriteMap());
  MapViewState view = ViewOf(map);
  const FindPointData line{100, 50000000, 25000, 2, 0, 1};
  EXPECT_EQ(ShowFoundPlace(map, view, line), std::nullopt);  // no marker
  const MapRect bounds = MapRect::Of(1000, 2000, 3000, 1000);
  EXPECT_EQ(view.centre(), (MapPoint{2000, 1500}));
  EXPECT_EQ(view.scale(), RoundScale(MultiplyScale(view.FitScale(bounds), 1.5)));
  EXPECT_EQ(map.findScale(), 25000);  // untouched

  const FindPointData area{100, 50000000, 25000, 3, 0, 0};
  EXPECT_EQ(ShowFoundPlace(map, view, area), std::nullopt);
  EXPECT_EQ(view.centre(), (MapPoint{200, 100}));
  ASSERT_TRUE(FoundPlaceOf(PlaceCategoriesOf(map), area).has_value());
  EXPECT_EQ(FoundPlaceOf(PlaceCategoriesOf(map), area)->bounds, MapRect::Of(0, 200, 400, 0));
}

TEST_F(PlaceView, DataNamingNoObjectLeavesTheView) {
  MMap map(WriteMap());
  MapViewState view = ViewOf(map);
  const MapView before = view.view();
  for (const FindPointData& bad :
       {FindPointData{100, 50000000, 5000, -1, -1, -1}, FindPointData{100, 50000000, 5000, 1, 2, 0},
        FindPointData{100, 50000000, 5000, 2, 0, 2}, FindPointData{100, 50000000, 5000, 4, 0, 0}}) {
    EXPECT_EQ(ShowFoundPlace(map, view, bad), std::nullopt);
    EXPECT_EQ(view.scale(), before.scale);
    EXPECT_EQ(view.centre(), before.centre);
  }
  EXPECT_EQ(map.findScale(), 25000);
}

}  // namespace
}  // namespace koltar
