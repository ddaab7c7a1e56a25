// One category of a map, of the kind KOLTAR_FUZZ_KIND names ("POINT", "LINE", "AREA" or
// "TEXT"): the first CATEGORYnn line of that kind in map.map of the archive is loaded
// with the map's symbology (map.sym when the archive has one), drawn at two scales on a
// recording device context, hit-tested at three points and asked for names.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "categories/area.h"
#include "categories/line.h"
#include "categories/point.h"
#include "categories/text.h"
#include "geometry/transform.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "symbology/cartosymb.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/recording_dc.h"

#ifndef KOLTAR_FUZZ_KIND
#error "KOLTAR_FUZZ_KIND names the category kind"
#endif

namespace koltar::fuzz {
namespace {

std::unique_ptr<MapCategory> MakeCategory(const std::string& name, const std::string& directory,
                                          const std::string& mapFile) {
  const std::string_view kind = KOLTAR_FUZZ_KIND;
  if (kind == "POINT") return std::make_unique<MPoint>(name, directory, mapFile);
  if (kind == "LINE") return std::make_unique<MLine>(name, directory, mapFile);
  if (kind == "AREA") return std::make_unique<MArea>(name, directory, mapFile);
  return std::make_unique<MText>(name, directory, mapFile);
}

// Draws the category as a 320 x 240 view of its extent at the fitting scale and at a
// tenth of it, then hit-tests the centre and two corners.
void DrawAndProbe(MapCategory& category, const MCartoSymb& symbology) {
  const MapRect extent = category.GetExtent();
  if (extent.IsEmpty()) return;
  const DeviceRect rect{0, 0, 320, 240};
  const PixelSize pixel = Program().pixel;
  const std::int32_t fit = std::max<std::int32_t>(FitScale(extent, rect, 1, pixel), 1);
  const MapPoint centre{static_cast<std::int32_t>((std::int64_t{extent.left} + extent.right) / 2),
                        static_cast<std::int32_t>((std::int64_t{extent.top} + extent.bottom) / 2)};
  for (const std::int32_t scale : {fit, std::max<std::int32_t>(fit / 10, 1)}) {
    test::RecordingDeviceContext dc;
    const LCTransform transform = BuildTransform(scale, centre, rect, 1, pixel);
    category.Draw(RenderContext{dc, transform, rect, extent, scale, symbology, 1, World().progress});
    for (const MapPoint p :
         {centre, MapPoint{extent.left, extent.top}, MapPoint{extent.right, extent.bottom}})
      (void)category.HitTest(p);
  }
}

}  // namespace
}  // namespace koltar::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace koltar;
  fuzz::FuzzWorld& world = fuzz::World();
  world.Reset();
  world.WriteArchive(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string mapFile = world.Model("map.map");
  const std::string name = fuzz::FirstCategoryOfKind(mapFile, KOLTAR_FUZZ_KIND);
  if (name.empty()) return 0;
  const MCartoSymb symbology(world.Model("map.sym"));
  std::unique_ptr<MapCategory> category = fuzz::MakeCategory(name, world.Model(), mapFile);
  fuzz::DrawAndProbe(*category, symbology);
  const std::int32_t count = category->recordCount();
  for (const std::int32_t i : {-1, 0, 1, count / 2, count - 1, count}) (void)category->GetObjectName(i);
  for (std::int32_t i = 0; i < category->layerCount() && i < 8; ++i) (void)category->LayerName(i);
  return 0;
}
