#pragma once
// Which layer properties the drawing of each kind of map content uses, so that the
// symbology editor offers only those (symbology/carto_symb_dlg.h).

#include <cstdint>
#include <memory>
#include <vector>

#include "categories/map_category.h"
#include "symbology/cartosymb.h"

namespace koltar {

// The kUses... bits of what a kind draws with: points their symbol; lines the line
// colour, the fill colour (the core stroke), the line style and width; areas those and
// the hatch; texts the font; the route the line colour, style and width.
std::uint32_t PropertiesDrawnBy(CategoryKind kind);

// For each category of the symbology, in its order, what the map's categories of that
// name draw with; everything for a category the map does not have.
std::vector<std::uint32_t> PropertiesUsed(const std::vector<CartoCategory>& symbology,
                                          const std::vector<std::unique_ptr<MapCategory>>& drawOrder);

}  // namespace koltar
