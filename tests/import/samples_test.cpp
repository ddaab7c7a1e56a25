#include <gtest/gtest.h>

#include <filesystem>

#include "categories/point.h"
#include "map/mmap.h"
#include "platform/paths.h"
#include "tests/support/test_env.h"
#include "tools/import/map_check.h"

namespace koltar::import {
namespace {

std::filesystem::path Samples() { return std::filesystem::path(KOLTAR_SOURCE_DIR) / "data" / "samples"; }

std::uintmax_t FolderSize(const std::filesystem::path& dir) {
  std::uintmax_t total = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.is_regular_file()) total += entry.file_size();
  return total;
}

TEST(Samples, HungaryIsConsistentAndRoutes) {
  MapCheckCounts n;
  // The check includes that every settlement reaches every other.
  EXPECT_EQ(CheckMap(ModelFileName(Samples() / "hungary" / "hungary.map"), &n), std::vector<std::string>{});
  EXPECT_GT(n.points, 800);  // the settlements, and the larger ones again for small scales
  EXPECT_GT(n.edges, 2000);
  EXPECT_LT(FolderSize(Samples() / "hungary"), 10u * 1024 * 1024);
  EXPECT_TRUE(std::filesystem::exists(Samples() / "hungary" / "ATTRIBUTION"));
}

TEST(Samples, GothenburgIsConsistentAndSmall) {
  MapCheckCounts n;
  EXPECT_EQ(CheckMap(ModelFileName(Samples() / "gothenburg" / "gothenburg.map"), &n),
            std::vector<std::string>{});
  EXPECT_GT(n.lines, 20000);
  EXPECT_GT(n.edges, 50000);
  EXPECT_LT(FolderSize(Samples() / "gothenburg"), 10u * 1024 * 1024);
  EXPECT_TRUE(std::filesystem::exists(Samples() / "gothenburg" / "ATTRIBUTION"));
}

// The PROJECTION keys of the samples were added to their map files by hand: a settlement
// lies where GeoNames, the samples' source, puts it (to a metre or two).
TEST(Samples, SettlementsLieAtTheirGeographicPositions) {
  koltar::test::ScopedTestServices services;
  struct Place {
    const char* map;
    const char* name;  // code page 1250
    double longitude;
    double latitude;
  };
  for (const Place& place : {Place{"hungary/hungary.map", "Gy\xF5r", 17.63512, 47.68333},
                             Place{"gothenburg/gothenburg.map", "G\xF6teborg", 11.96679, 57.70716}}) {
    const MMap map(ModelFileName(Samples() / place.map));
    const MPoint& towns = *map.points()[static_cast<std::size_t>(map.townCategory())];
    const std::int32_t record = towns.FindByName(place.name);
    ASSERT_GE(record, 0) << place.map;
    const std::optional<GeoPosition> at = map.ToGeographic(towns.GetPosition(record));
    ASSERT_TRUE(at.has_value()) << place.map;
    EXPECT_NEAR(at->longitude, place.longitude, 2e-5) << place.map;
    EXPECT_NEAR(at->latitude, place.latitude, 2e-5) << place.map;
  }
}

}  // namespace
}  // namespace koltar::import
