// The label files that "Poziciók betöltése" reads: the archive holds map.map (whose
// first TEXT category is loaded) and, under prev/, an earlier edition's data and name
// files named like the category's own. Their places are taken over and saved.

#include <cstdint>
#include <string>

#include "categories/text.h"
#include "platform/paths.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace koltar;
  fuzz::FuzzWorld& world = fuzz::World();
  world.Reset();
  world.WriteArchive(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string mapFile = world.Model("map.map");
  const std::string name = fuzz::FirstCategoryOfKind(mapFile, "TEXT");
  if (name.empty()) return 0;
  MText text(name, world.Model(), mapFile);
  const PathParts labels = SplitPath(text.dataFile());
  const PathParts names = SplitPath(text.nameFile());
  text.LoadLabelPositions(world.Model("prev/") + labels.name + labels.ext,
                          world.Model("prev/") + names.name + names.ext);
  if (text.recordCount() > 0) text.MoveLabel(0, MapPoint{1, 2});
  if (text.changed()) (void)text.SaveLabelPositions();
  return 0;
}
