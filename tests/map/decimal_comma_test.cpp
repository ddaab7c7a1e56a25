// Both sample maps opened, planned on and closed with the process locale set to the
// Hungarian one, which writes numbers with a decimal comma (as Qt sets it from the
// user's environment): every number of the files is read and written with a decimal
// point all the same, so the maps read alike and closing them changes no byte.

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "map/mmap.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "symbology/cartosymb.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

std::filesystem::path Samples() { return std::filesystem::path(KOLTAR_SOURCE_DIR) / "data" / "samples"; }

std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Everything of a map that a number of its files decides, as text.
std::vector<std::string> Readings(const std::string& mapFile, const std::vector<std::string>& routes) {
  MMap map(mapFile);
  std::vector<std::string> out;
  out.push_back(StringPrintf("unit %d origin %d,%d scales %d..%d find %d", map.unit(), map.origin().x,
                             map.origin().y, map.smallestScale(), map.largestScale(), map.findScale()));
  for (const CartoCategory& c : map.symbology().categories())
    for (const CartoLayer& l : c.layers)
      out.push_back(StringPrintf("%s:%s %d..%d %a %a %a %a %a %a %d", c.name.c_str(), l.name.c_str(),
                                 l.scaleMin, l.scaleMax, l.lineWidth, l.widthFactor[0], l.widthFactor[1],
                                 l.widthFactor[2], l.fontHeight, l.bitmapHeight, l.lineStyle));
  MOptPath& net = *map.roadNetwork();
  for (const RoadType& type : net.costTable().roadTypes()) out.push_back(FormatRoadType(type));
  const BatchResult plan = GenerateBatchRoutes(net, map.Settlements(), map.Roads(), routes);
  out.insert(out.end(), plan.lines.begin(), plan.lines.end());
  return out;
}

class DecimalComma : public test::ServicesTest {
 protected:
  void SetUp() override { saved_ = std::setlocale(LC_NUMERIC, nullptr); }
  void TearDown() override { std::setlocale(LC_NUMERIC, saved_.c_str()); }

  void Check(const std::string& sample, const std::vector<std::string>& routes) {
    test::TempDir dir;
    std::filesystem::copy(Samples() / sample, dir.path() / sample);
    const std::string mapFile = dir.Model(sample + "/" + sample + ".map");
    const std::vector<std::string> inC = Readings(mapFile, routes);

    ASSERT_NE(std::setlocale(LC_NUMERIC, "hu_HU.UTF-8"), nullptr)
        << "the hu_HU.UTF-8 locale is missing (scripts/bootstrap.sh makes it)";
    const std::vector<std::string> inHungarian = Readings(mapFile, routes);
    EXPECT_EQ(inHungarian, inC);
    for (const auto& entry : std::filesystem::directory_iterator(Samples() / sample))
      EXPECT_TRUE(FileBytes(dir.path() / sample / entry.path().filename()) == FileBytes(entry.path()))
          << entry.path().filename() << " changed on closing";
    EXPECT_EQ(services.messages.Transcript(), std::vector<std::string>{});
  }

 private:
  std::string saved_;
};

TEST_F(DecimalComma, HungarySampleReadsAndWritesAlike) {
  Check("hungary", {"[1]", "Sopron", "Debrecen", "[2]", "Szeged", "Győr"});
}

TEST_F(DecimalComma, GothenburgSampleReadsAndWritesAlike) {
  Check("gothenburg", {"[1]", "Majorna", "Mölndal", "[2]", "Göteborg", "Majorna"});
}

}  // namespace
}  // namespace koltar
