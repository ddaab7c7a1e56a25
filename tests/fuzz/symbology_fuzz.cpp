// The symbology file and its bitmaps: the archive holds map.sym and the files it names.
// It is read, every category and layer it holds is asked for its drawing values, and
// closing it writes it back (into the scratch folder).

#include <cstdint>
#include <string>

#include "symbology/cartosymb.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace koltar;
  fuzz::FuzzWorld& world = fuzz::World();
  world.Reset();
  world.WriteArchive(std::string_view(reinterpret_cast<const char*>(data), size));
  {
    MCartoSymb symbology(world.Model("map.sym"));
    for (const CartoCategory& c : symbology.categories()) {
      std::int32_t low = 0, high = 0;
      symbology.GetCategoryDisplayScale(c.name, low, high);
      for (const CartoLayer& l : c.layers) {
        symbology.GetLayerDisplayScale(c.name, l.name, low, high);
        (void)symbology.IsLayerVisible(c.name, l.name);
        (void)symbology.GetLineColor(c.name, l.name);
        (void)symbology.GetFillColor(c.name, l.name);
        (void)symbology.GetHatchStyle(c.name, l.name);
        (void)symbology.GetLineStyle(c.name, l.name);
        for (int k = -1; k <= 3; ++k) (void)symbology.GetStrokeWidth(c.name, l.name, k);
        (void)symbology.GetFont(c.name, l.name);
        (void)symbology.GetBitmapHeight(c.name, l.name);
        if (const Bitmap* b = symbology.GetBitmap(c.name, l.name)) (void)b->GetPixel(0, 0);
        (void)symbology.GetTransparentColor(c.name, l.name);
      }
    }
  }
  // What the write-back made must read again.
  const MCartoSymb again(world.Model("map.sym"));
  return 0;
}
