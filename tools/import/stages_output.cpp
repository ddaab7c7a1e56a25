// The last stages of a map build: the symbology, then the map's own keys and its files.
#include "platform/text.h"
#include "tools/import/stages.h"
#include "tools/import/style.h"

namespace koltar::import {

void AddSymbology(BuildState& state) {
  const ImportConfig& cfg = state.config;
  SymbologyWriter& sym = state.map.symbology;
  {
    auto& c = sym.AddCategory(state.areas->name);
    for (std::size_t i = 0; i < cfg.areas.size(); ++i)
      StyleArea(c.AddLayer(state.areas->layers[i]), cfg.areas[i].style);
  }
  {
    auto& c = sym.AddCategory(state.lines->name);
    for (std::size_t i = 0; i < cfg.lines.size(); ++i)
      StyleLine(c.AddLayer(state.lines->layers[i]), cfg.lines[i].style);
    if (const int layer = state.largeRiverLayer; layer > 0) {
      StyleLargeRiver(c.AddLayer(state.lines->layers[static_cast<std::size_t>(layer - 1)]), Band::Medium);
      StyleLargeRiver(c.AddLayer(state.lines->layers[static_cast<std::size_t>(layer)]), Band::Far);
    }
  }
  {
    auto& c = sym.AddCategory(state.overviewRoads->name);
    for (const auto& [key, layer] : state.overviewRoadLayer)
      StyleRoad(c.AddLayer(state.overviewRoads->layers[static_cast<std::size_t>(layer - 1)]),
                cfg.roads[static_cast<std::size_t>(key.first)].style, static_cast<Band>(key.second));
  }
  {
    auto& c = sym.AddCategory(state.roads->name);
    for (std::size_t i = 0; i < cfg.roads.size(); ++i)
      StyleRoad(c.AddLayer(state.roads->layers[i]), cfg.roads[i].style, Band::Near);
  }
  StyleRoute(sym.AddCategory(state.network->name).AddLayer(state.network->layers[0]),
             2 * state.projection.halfExtent);
  {
    auto& c = sym.AddCategory(state.overviewTowns->name);
    for (const auto& [p, layer] : state.overviewTownLayer) {
      const std::string& style = cfg.places[static_cast<std::size_t>(p)].style;
      const std::string bitmap = state.mapStem + "_" + style + ".bmp";
      StylePlace(c.AddLayer(state.overviewTowns->layers[static_cast<std::size_t>(layer - 1)]), style,
                 Band::Far, bitmap);
    }
  }
  {
    auto& c = sym.AddCategory(state.towns->name);
    for (std::size_t p = 0; p < cfg.places.size(); ++p) {
      const std::string& style = cfg.places[p].style;
      const std::string bitmap = state.mapStem + "_" + style + ".bmp";
      state.map.AddBitmap(bitmap, PlaceSymbol(style));
      auto& layer = c.AddLayer(state.towns->layers[p]);
      if (PlaceInBand(style, Band::Near))
        StylePlace(layer, style, Band::Near, bitmap);
      else
        layer.Set("VISIBLE", "0");
    }
    // The streets have no symbol: they are found, not drawn.
    if (state.withStreets) c.AddLayer(state.towns->layers.back()).Set("VISIBLE", "1");
  }
  {
    const LabelLayers& layers = state.labelLayers;
    auto& c = sym.AddCategory(state.texts->name);
    for (const auto& [key, layer] : layers.place)
      StylePlaceLabel(c.AddLayer(layers.names[static_cast<std::size_t>(layer - 1)]),
                      cfg.places[static_cast<std::size_t>(key.first)].style, static_cast<Band>(key.second),
                      cfg.declutterLabels);
    StyleWaterLabel(c.AddLayer(layers.names[static_cast<std::size_t>(layers.water - 1)]));
    StyleAreaLabel(c.AddLayer(layers.names[static_cast<std::size_t>(layers.area - 1)]));
    StyleStreetLabel(c.AddLayer(layers.names[static_cast<std::size_t>(layers.street - 1)]));
    const Band bands[] = {Band::Regional, Band::Medium, Band::Far};
    for (int b = 0; b < 3; ++b)
      if (layers.largeWater[b] > 0)
        StyleLargeWaterLabel(c.AddLayer(layers.names[static_cast<std::size_t>(layers.largeWater[b] - 1)]),
                             bands[b]);
  }
}

bool WriteMapFiles(BuildState& state, const std::string& mapName, std::string& error) {
  MapWriter& map = state.map;
  BuildSummary& summary = state.summary;
  map.name = state.conv.Name(mapName, kFieldLimit);
  map.unit = state.projection.unit;
  map.origin = state.projection.origin;
  // The plane's projection, so that map points have geographic positions.
  map.projection = ProjectionKeyValue(
      TransverseMercator(state.projection.centralMeridian, state.projection.originLatitude));
  map.cartoSymb = state.mapStem + ".sym";
  // Where files attached to the map's objects are listed; made with the first link.
  map.linkedInfo = state.mapStem + ".lnk";
  map.townCategory = state.towns->name;
  map.roadCategory = state.roads->name;
  // The find scale shows a few streets or a village.
  map.findScale = "25000";

  summary.unit = state.projection.unit;
  summary.centralMeridian = state.projection.centralMeridian;
  summary.originLatitude = state.projection.originLatitude;
  summary.originX = state.projection.origin.x;
  summary.originY = state.projection.origin.y;
  summary.categories = {
      {Cp1250ToUtf8(state.areas->name), "AREA", static_cast<std::int64_t>(state.areas->records.size())},
      {Cp1250ToUtf8(state.lines->name), "LINE", static_cast<std::int64_t>(state.lines->records.size())},
      {Cp1250ToUtf8(state.overviewRoads->name), "LINE",
       static_cast<std::int64_t>(state.overviewRoads->records.size())},
      {Cp1250ToUtf8(state.roads->name), "LINE", static_cast<std::int64_t>(state.roads->records.size())},
      {Cp1250ToUtf8(state.network->name), "OPTPATH", static_cast<std::int64_t>(state.network->edges.size())},
      {Cp1250ToUtf8(state.overviewTowns->name), "POINT",
       static_cast<std::int64_t>(state.overviewTowns->records.size())},
      {Cp1250ToUtf8(state.towns->name), "POINT", static_cast<std::int64_t>(state.towns->records.size())},
      {Cp1250ToUtf8(state.texts->name), "TEXT", static_cast<std::int64_t>(state.texts->records.size())},
  };
  if (!map.Write()) {
    error = "cannot write the map into " + map.directory().string();
    return false;
  }
  return true;
}

}  // namespace koltar::import
