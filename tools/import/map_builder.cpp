#include "tools/import/map_builder.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/import/build_state.h"
#include "tools/import/stages.h"

namespace koltar::import {
namespace {

int OnewayOf(const Tags& tags) {
  const std::string_view oneway = tags.Get("oneway");
  if (oneway == "yes" || oneway == "true" || oneway == "1") return 1;
  if (oneway == "-1" || oneway == "reverse") return -1;
  if (oneway == "no" || oneway == "false" || oneway == "0") return 0;
  // Roundabouts and motorway carriageways are one way unless tagged otherwise.
  const std::string_view junction = tags.Get("junction");
  if (junction == "roundabout" || junction == "circular") return 1;
  if (tags.Get("highway") == "motorway") return 1;
  return 0;
}

std::string NameOf(const Tags& tags) {
  if (const std::string* name = tags.Find("name"); name != nullptr && !name->empty()) return *name;
  if (const std::string* ref = tags.Find("ref"); ref != nullptr) return *ref;
  return {};
}

double ParsePopulation(std::string_view text) {
  double value = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9')
      value = value * 10 + (c - '0');
    else if (c != ' ' && c != ',' && c != '.')
      break;
  }
  return value;
}

// The first rule whose filter matches the tags, -1 for none.
template <typename Rule>
int FirstMatch(const std::vector<Rule>& rules, const Tags& tags) {
  for (std::size_t i = 0; i < rules.size(); ++i)
    if (rules[i].filter.Matches(tags)) return static_cast<int>(i);
  return -1;
}

}  // namespace

struct MapBuilder::Data {
  ImportConfig config;
  ImportInput input;
};

MapBuilder::MapBuilder(ImportConfig config) : data_(std::make_unique<Data>()) {
  data_->config = std::move(config);
}

MapBuilder::~MapBuilder() = default;

void MapBuilder::Add(Feature&& f) {
  ImportInput& input = data_->input;
  const ImportConfig& config = data_->config;
  bool used = false;
  const std::string* houseNumber = f.tags.Find("addr:housenumber");
  const std::string* street = f.tags.Find("addr:street");
  if (f.shape == Shape::Point) {
    const GeoPoint at = f.lines[0][0];
    const int place = FirstMatch(config.places, f.tags);
    const std::string name = NameOf(f.tags);
    if (place >= 0 && !name.empty()) {
      input.settlements.push_back({at, place, name, ParsePopulation(f.tags.Get("population"))});
      input.Extend(at);
      used = true;
    }
    if (houseNumber != nullptr && street != nullptr) {
      input.addresses.push_back({at, *street, *houseNumber});
      used = true;
    }
  } else if (f.shape == Shape::Line) {
    const int road = FirstMatch(config.roads, f.tags);
    const bool isArea = f.tags.Get("area") == "yes";
    for (auto& points : f.lines) {
      if (road >= 0 && !isArea) {
        input.Extend(points);
        input.roads.push_back(
            {points, road, NameOf(f.tags), f.tags.Find("name") != nullptr, OnewayOf(f.tags)});
        used = true;
      } else if (const int line = FirstMatch(config.lines, f.tags); line >= 0) {
        input.Extend(points);
        input.lines.push_back({points, line, NameOf(f.tags)});
        used = true;
      }
      if (const std::string* kind = f.tags.Find("addr:interpolation")) {
        input.interpolations.push_back({points, *kind, street ? *street : std::string()});
        used = true;
      }
    }
  } else {
    const int area = FirstMatch(config.areas, f.tags);
    const int road = FirstMatch(config.roads, f.tags);
    const int line = FirstMatch(config.lines, f.tags);
    if (area >= 0) {
      for (const Ring& r : f.rings) input.Extend(r.points);
      input.areas.push_back({f.rings, area, NameOf(f.tags)});
      // The holes of a country's land are its lakes: they are drawn as water.
      if (config.areas[static_cast<std::size_t>(area)].style == "country")
        for (std::size_t w = 0; w < config.areas.size(); ++w)
          if (config.areas[w].style == "water") {
            for (const Ring& r : f.rings)
              if (!r.outer) input.areas.push_back({{Ring{r.points, true}}, static_cast<int>(w), {}});
            break;
          }
      used = true;
    } else if (road >= 0 && f.tags.Get("area") != "yes") {
      // A closed road handed on as a polygon: its outer rings are the road.
      for (const Ring& r : f.rings)
        if (r.outer) {
          input.Extend(r.points);
          input.roads.push_back(
              {r.points, road, NameOf(f.tags), f.tags.Find("name") != nullptr, OnewayOf(f.tags)});
        }
      used = true;
    }
    if (line >= 0) {
      // A boundary is its outer rings: the holes of a land area are its lakes.
      for (const Ring& r : f.rings)
        if (r.outer) {
          input.Extend(r.points);
          input.lines.push_back({r.points, line, NameOf(f.tags)});
        }
      used = true;
    }
    if (houseNumber != nullptr && street != nullptr && !f.rings.empty()) {
      const auto& ring = f.rings[0].points;
      double lon = 0, lat = 0;
      for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
        lon += ring[i].lon();
        lat += ring[i].lat();
      }
      GeoPoint at;
      const double n = static_cast<double>(ring.size() - 1);
      if (MakeGeoPoint(lon / n, lat / n, at)) input.addresses.push_back({at, *street, *houseNumber});
      used = true;
    }
  }
  if (!used) ++input.unused;
}

bool MapBuilder::Write(const std::filesystem::path& directory, const std::string& mapFile,
                       const std::string& mapName, BuildSummary& summary, std::string& error) {
  const ImportInput& input = data_->input;
  summary.unusedFeatures = input.unused;
  if (input.empty()) {
    error = "the input holds nothing that the map can show";
    return false;
  }
  BuildState state(data_->config, input, ChooseProjection(input), summary, directory, mapFile);
  PlaceSettlements(state);
  BuildRoadGraph(state);
  BuildStreets(state);
  PlanLabelLayers(state);
  AddAreaCategory(state);
  AddLineCategory(state);
  AddOverviewRoads(state);
  AddRoadCategory(state);
  AddNetworkCategory(state);
  AddOverviewTowns(state);
  AddTowns(state);
  LinkNetwork(state);
  AddLabelCategory(state);
  AddSymbology(state);
  return WriteMapFiles(state, mapName, error);
}

}  // namespace koltar::import
