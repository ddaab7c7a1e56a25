#include "categories/symbology_use.h"

#include "symbology/carto_symb_dlg.h"

namespace koltar {

std::uint32_t PropertiesDrawnBy(CategoryKind kind) {
  switch (kind) {
    case CategoryKind::Point: return kUsesBitmap;
    case CategoryKind::Line: return kUsesLineColor | kUsesFillColor | kUsesLineStyle | kUsesLineWidth;
    case CategoryKind::Area:
      return kUsesLineColor | kUsesFillColor | kUsesHatchStyle | kUsesLineStyle | kUsesLineWidth;
    case CategoryKind::Text: return kUsesFont;
    case CategoryKind::OptPath: return kUsesLineColor | kUsesLineStyle | kUsesLineWidth;
  }
  return kUsesEverything;
}

std::vector<std::uint32_t> PropertiesUsed(const std::vector<CartoCategory>& symbology,
                                          const std::vector<std::unique_ptr<MapCategory>>& drawOrder) {
  std::vector<std::uint32_t> used;
  used.reserve(symbology.size());
  for (const CartoCategory& category : symbology) {
    std::uint32_t mask = 0;
    bool drawn = false;
    for (const auto& drawnCategory : drawOrder)
      if (drawnCategory->name() == category.name) {
        mask |= PropertiesDrawnBy(drawnCategory->kind());
        drawn = true;
      }
    used.push_back(drawn ? mask : kUsesEverything);
  }
  return used;
}

}  // namespace koltar
