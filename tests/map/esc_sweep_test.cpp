// ESC at any point of a long operation leaves nothing behind: on a copy of the Hungary
// sample, ESC is pressed at every 50th progress step (a gauge step or an ESC poll,
// counted from the first) of loading, drawing, a route search and batch planning, and
// the next identical operation then gives byte for byte what it gives undisturbed.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "map/mmap.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/services.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "route/route_search.h"
#include "tests/support/recording_dc.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

// Counts the progress steps; from step `escAt` on (0: never) every poll sees ESC until
// the outermost operation ends, as one key press does.
class EscAtStep final : public ProgressService {
 public:
  void Start(const std::string&) override { ++depth_; }
  void Set(int) override { Step(); }
  void End() override {
    if (depth_ > 0 && --depth_ == 0) latched_ = false;
  }
  bool EscapePressed() override {
    Step();
    return latched_;
  }
  int escAt = 0;
  int steps = 0;

 private:
  void Step() {
    if (++steps == escAt) latched_ = true;
  }
  int depth_ = 0;
  bool latched_ = false;
};

constexpr int kEvery = 50;

class EscSweep : public test::ServicesTest {
 protected:
  void SetUp() override {
    const std::filesystem::path sample = std::filesystem::path(KOLTAR_SOURCE_DIR) / "data/samples/hungary";
    std::filesystem::copy(sample, dir.path(), std::filesystem::copy_options::recursive);
    InstalledServices().progress = &progress;
  }
  std::string MapFile() const { return dir.Model("hungary.map"); }

  // The painting calls of a drawing of the whole map at 1 : 2 000 000, and what the name
  // tool finds at three points.
  std::vector<std::string> Picture(MMap& map) {
    const DeviceRect rect{0, 0, 400, 300};
    const MapRect e = map.extent();
    const MapPoint middle{e.left / 2 + e.right / 2, e.top / 2 + e.bottom / 2};
    test::RecordingDeviceContext dc;
    map.Draw(dc, BuildTransform(2000000, middle, rect, map.unit(), Program().pixel), rect, 2000000, progress);
    std::vector<std::string> out = test::PaintingCalls(dc.Transcript());
    for (const MapPoint p : {middle, MapPoint{e.left, e.top}, MapPoint{middle.x + 1000, middle.y - 1000}}) {
      const auto hit = map.HitTest(p);
      out.push_back(hit ? GetObjectNames(*hit).object : "-");
    }
    return out;
  }

  // Runs `operation` with ESC at steps 1, 1 + kEvery, ... up to its step count, each time
  // followed by `again`, which must give `reference`.
  template <class Result>
  int Sweep(const std::function<void()>& operation, const std::function<Result()>& again,
            const Result& reference) {
    progress.escAt = 0;
    progress.steps = 0;
    operation();
    const int steps = progress.steps;
    for (int at = 1; at <= steps; at += kEvery) {
      SCOPED_TRACE("ESC at step " + std::to_string(at) + " of " + std::to_string(steps));
      progress.escAt = at;
      progress.steps = 0;
      operation();
      progress.escAt = 0;
      EXPECT_TRUE(again() == reference);
    }
    return steps;
  }

  test::TempDir dir;
  EscAtStep progress;
};

TEST_F(EscSweep, LoadingAndDrawingGiveTheSamePictureAfterAnEsc) {
  std::vector<std::string> reference;
  {
    MMap map(MapFile());
    reference = Picture(map);
  }
  ASSERT_GT(reference.size(), 300u);
  // Loading: an ESC pressed while the map loads is forgotten when loading ends.
  const int loadSteps = Sweep<std::vector<std::string>>([&] { MMap map(MapFile()); },
                                                        [&] {
                                                          MMap map(MapFile());
                                                          return Picture(map);
                                                        },
                                                        reference);
  EXPECT_GT(loadSteps, 5);
  MMap map(MapFile());
  const int drawSteps =
      Sweep<std::vector<std::string>>([&] { (void)Picture(map); }, [&] { return Picture(map); }, reference);
  EXPECT_GT(drawSteps, 1000);
  services.messages.Clear();
}

TEST_F(EscSweep, RouteSearchAndBatchPlanningGiveTheSameRoutesAfterAnEsc) {
  MMap map(MapFile());
  MOptPath& network = *map.roadNetwork();
  const PointSettlements towns = map.Settlements();
  const RoadData roads = map.Roads();
  const auto search = [&] {
    RouteRequest& request = network.routeState().request();
    request.ClearRoutePoints();
    for (const char* name : {"Budapest", "Kecskem\xE9t", "Szeged",
                             "P\xE9"
                             "cs",
                             "Gy\xF5r", "Miskolc", "Debrecen"})
      EXPECT_EQ(AddRoutePointByName(network.graph(), request, towns, name), "");
    map.DeleteRoute();
    std::string error;
    (void)SearchRoute(network, towns, roads, error);
    return ItineraryLines(network.routeState());
  };
  const std::vector<std::string> route = search();
  ASSERT_GT(route.size(), 10u);
  EXPECT_GT(Sweep<std::vector<std::string>>([&] { (void)search(); }, search, route), 6);

  std::string source;
  ASSERT_TRUE(ReadBatchSource(
      ModelFileName(std::filesystem::path(KOLTAR_SOURCE_DIR) / "tests/golden/hungary-routes.txt"), source));
  const auto batch = [&] { return GenerateBatchRoutes(network, towns, roads, SplitTextLines(source)).lines; };
  const std::vector<std::string> plan = batch();
  ASSERT_GT(plan.size(), 100u);
  const int batchSteps = Sweep<std::vector<std::string>>([&] { (void)batch(); }, batch, plan);
  EXPECT_GT(batchSteps, 100);
  services.messages.Clear();
}

}  // namespace
}  // namespace koltar
