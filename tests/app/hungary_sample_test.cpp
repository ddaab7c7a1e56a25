// The Hungary sample as a new user first sees it: small, the capital and Balaton inside
// the border, the Danube through Budapest, and the whole country in a new map window
// with no two settlement labels overlapping.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "categories/area.h"
#include "categories/line.h"
#include "categories/point.h"
#include "categories/text.h"
#include "geometry/geometry.h"
#include "geometry/records.h"
#include "map/mmap.h"
#include "platform/paths.h"
#include "platform/qt/qt_device_context.h"
#include "platform/services.h"
#include "tests/support/test_env.h"
#include "view/map_view_state.h"

namespace koltar {
namespace {

std::filesystem::path Sample() {
  return std::filesystem::path(KOLTAR_SOURCE_DIR) / "data" / "samples" / "hungary";
}

// The points of every line record of `category` whose name is `name`, record by record.
std::vector<std::vector<MapPoint>> NamedLines(const MMap& map, const std::string& category,
                                              const std::string& name) {
  std::vector<std::vector<MapPoint>> out;
  for (const MLine* lines : map.lines()) {
    if (lines->name() != category) continue;
    for (std::int32_t i = 0; i < lines->recordCount(); ++i) {
      if (!lines->IsUsable(i) || lines->GetObjectName(i) != name) continue;
      const std::uint8_t* r = lines->records().at(i);
      std::vector<MapPoint> points;
      for (std::int32_t k = 0; k < PolyRecord::PointCount(r); ++k) {
        points.push_back(CoordRecord::Read(lines->coords().at(PolyRecord::FirstPoint(r) + k)));
      }
      out.push_back(std::move(points));
    }
  }
  return out;
}

double DistanceToSegment(MapPoint p, MapPoint a, MapPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y, len = dx * dx + dy * dy;
  const double t = len > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len, 0.0, 1.0) : 0.0;
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

class HungarySample : public test::ServicesTest {
 protected:
  void SetUp() override {
    saved_ = Program().pixel;
    Program().pixel = PixelSize{25.4 / 96.0, 25.4 / 96.0};
    // Closing a map writes its find scale back: the test works on a copy.
    std::filesystem::copy(Sample(), dir_.path() / "hungary");
    map_ = std::make_unique<MMap>(dir_.Model("hungary/hungary.map"));
  }
  void TearDown() override {
    map_.reset();
    Program().pixel = saved_;
  }

  MapPoint Settlement(const std::string& name) const {
    const MPoint& towns = *map_->points()[static_cast<std::size_t>(map_->townCategory())];
    for (std::int32_t i = 0; i < towns.recordCount(); ++i)
      if (towns.GetObjectName(i) == name) return towns.GetPosition(i);
    ADD_FAILURE() << "no settlement " << name;
    return {};
  }

  // The border as one closed ring: its records share their ends.
  std::vector<MapPoint> Border() const {
    std::vector<MapPoint> ring;
    for (const auto& part : NamedLines(*map_, "Vizek \xE9s hat\xE1rok", "Magyarorsz\xE1g"))
      ring.insert(ring.end(), part.begin() + (ring.empty() ? 0 : 1), part.end());
    return ring;
  }

  test::TempDir dir_;
  std::unique_ptr<MMap> map_;
  PixelSize saved_{};
};

TEST_F(HungarySample, IsSmallAndHasItsAttribution) {
  std::uintmax_t size = 0;
  for (const auto& entry : std::filesystem::directory_iterator(Sample())) size += entry.file_size();
  EXPECT_LT(size, 2u * 1024 * 1024);
  EXPECT_TRUE(std::filesystem::exists(Sample() / "ATTRIBUTION"));
}

TEST_F(HungarySample, BudapestAndBalatonLieInsideTheBorderAndTheDanubePassesBudapest) {
  const std::vector<MapPoint> border = Border();
  ASSERT_GT(border.size(), 100u);
  ASSERT_EQ(border.front(), border.back());
  auto inside = [&](MapPoint p) { return PointInPolygon(border.data(), static_cast<int>(border.size()), p); };
  const MapPoint budapest = Settlement("Budapest");
  EXPECT_TRUE(inside(budapest));
  EXPECT_TRUE(inside(Settlement("Sopron")));
  EXPECT_FALSE(inside(MapPoint{budapest.x, budapest.y + 300000}));  // in Slovakia, 300 km north

  // Balaton: a water area of some 70 km by 15 km south-west of Budapest, wholly inside.
  std::vector<MapRect> balaton;
  for (const std::unique_ptr<MapCategory>& c : map_->drawOrder())
    if (c->kind() == CategoryKind::Area)
      for (std::int32_t i = 0; i < c->recordCount(); ++i)
        if (c->GetObjectName(i) == "Balaton") balaton.push_back(static_cast<const MArea&>(*c).GetBounds(i));
  ASSERT_EQ(balaton.size(), 1u);
  const MapRect lake = balaton[0];
  EXPECT_GT(lake.right - lake.left, 60000);
  EXPECT_LT(lake.right - lake.left, 90000);
  EXPECT_LT(lake.right, budapest.x);
  for (MapPoint corner : {MapPoint{lake.left, lake.top}, MapPoint{lake.right, lake.top},
                          MapPoint{lake.left, lake.bottom}, MapPoint{lake.right, lake.bottom}})
    EXPECT_TRUE(inside(corner));

  // The Danube within 3 km of Budapest's point.
  double nearest = 1e300;
  for (const auto& line : NamedLines(*map_, "Vizek \xE9s hat\xE1rok", "Duna"))
    for (std::size_t k = 1; k < line.size(); ++k)
      nearest = std::min(nearest, DistanceToSegment(budapest, line[k - 1], line[k]));
  EXPECT_LT(nearest, 3000);
}

// Label rectangles overlap when they share more than a line.
bool Overlap(const MapRect& a, const MapRect& b) {
  return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

TEST_F(HungarySample, NoTwoSettlementLabelsOverlapInTheFirstView) {
  const MPoint& towns = *map_->points()[static_cast<std::size_t>(map_->townCategory())];
  std::set<std::string> settlements;
  for (std::int32_t i = 0; i < towns.recordCount(); ++i) settlements.insert(towns.GetObjectName(i));
  // A new map window shows the whole map: a small screen, and a maximised window on a
  // full HD one.
  for (auto [width, height] : {std::pair{1024, 768}, std::pair{1900, 960}}) {
    MapViewState state(ViewFactsOf(*map_, Program().pixel));
    state.SetDeviceRect(DeviceRect{0, 0, width, height});
    state.FitWholeMap();
    const MapView& view = state.view();
    QtDeviceContext dc(width, height);
    map_->Draw(dc, state.Transform(), view.rect, view.scale);
    ASSERT_EQ(map_->texts().size(), 1u);
    const MText& texts = *map_->texts()[0];
    std::vector<std::pair<std::string, MapRect>> drawn;
    for (std::int32_t i = 0; i < texts.recordCount(); ++i)
      if (texts.IsDrawn(i) && settlements.count(texts.GetObjectName(i)))
        drawn.emplace_back(texts.GetObjectName(i), texts.GetLabelRect(i));
    // Enough of them to read the map by: the cities and many towns.
    EXPECT_GT(drawn.size(), 60u) << width << "x" << height << " at 1 : " << view.scale;
    for (std::size_t a = 0; a < drawn.size(); ++a)
      for (std::size_t b = a + 1; b < drawn.size(); ++b)
        EXPECT_FALSE(Overlap(drawn[a].second, drawn[b].second))
            << drawn[a].first << " and " << drawn[b].first << " at 1 : " << view.scale;
  }
}

}  // namespace
}  // namespace koltar
