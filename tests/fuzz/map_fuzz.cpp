// A whole map from one input: the archive's files are the map's folder (map.map, its
// symbology, the categories' files, the bitmaps). The map is opened, drawn as a new
// 320 x 240 window shows it on a recording device context, hit-tested at three points;
// a route is planned between the first two settlements that have nodes, and the map is
// drawn again on the route. Some inputs press ESC at a poll of the drawing and the
// search, chosen by the input's first byte. Closing writes the map's settings back.

#include <cstdint>
#include <string>
#include <vector>

#include "map/mmap.h"
#include "platform/services.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "route/route_search.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/recording_dc.h"
#include "view/map_view_state.h"

namespace {

void DrawView(koltar::MMap& map, const koltar::MapViewState& view) {
  koltar::test::RecordingDeviceContext dc;
  map.Draw(dc, view.Transform(), view.deviceRect(), view.scale(), koltar::fuzz::World().progress);
}

void PlanOneRoute(koltar::MMap& map, koltar::MapViewState& view) {
  using namespace koltar;
  MOptPath* network = map.roadNetwork();
  if (!network || !map.CheckRouteCategories()) return;
  const PointSettlements towns = map.Settlements();
  RouteRequest& request = network->routeState().request();
  request.ClearRoutePoints();
  for (std::int32_t i = 0; i < towns.Count() && i < 64 && request.routePointCount() < 2; ++i)
    if (network->graph().FindNodeOfPoint(i) >= 0)
      (void)AddRoutePointByName(network->graph(), request, towns, towns.NameWithHouseNumbers(i));
  if (request.routePointCount() < 2) return;
  map.DeleteRoute();
  std::string error;
  (void)SearchRoute(*network, towns, map.Roads(), error);
  (void)ItineraryLines(network->routeState());
  const MapRect bounds = map.GetRouteBounds();
  if (!bounds.IsEmpty()) view.ShowRoute(bounds);
  DrawView(map, view);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace koltar;
  fuzz::FuzzWorld& world = fuzz::World();
  world.Reset();
  world.WriteArchive(std::string_view(reinterpret_cast<const char*>(data), size));
  MMap map(world.Model("map.map"));
  MapViewState view(ViewFactsOf(map, Program().pixel));
  view.SetDeviceRect(DeviceRect{0, 0, 320, 240});
  view.FitWholeMap();
  if (size > 0 && data[0] % 8 == 0) world.progress.escAtPoll = 1 + data[size - 1];
  DrawView(map, view);
  const MapRect e = map.extent();
  if (!e.IsEmpty())
    for (const MapPoint p : {MapPoint{e.left, e.top}, MapPoint{e.right, e.bottom},
                             MapPoint{static_cast<std::int32_t>((std::int64_t{e.left} + e.right) / 2),
                                      static_cast<std::int32_t>((std::int64_t{e.top} + e.bottom) / 2)}})
      if (const auto hit = map.HitTest(p)) (void)GetObjectNames(*hit);
  PlanOneRoute(map, view);
  return 0;
}
