#include <gtest/gtest.h>

#include <filesystem>

#include "platform/paths.h"
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

}  // namespace
}  // namespace koltar::import
