#include "tools/import/map_builder.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/files.h"
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

namespace {

// A new empty folder beside `directory` (which need not exist yet): ".NAME.import-XXXXXX";
// empty when none can be made.
std::filesystem::path MakeStageFolder(const std::filesystem::path& directory) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(directory, ec).lexically_normal();
  std::filesystem::path parent = absolute.parent_path();
  std::string name = absolute.filename().string();
  if (name.empty()) {  // "maps/" ends in a separator
    name = parent.filename().string();
    parent = parent.parent_path();
  }
  std::filesystem::create_directories(parent, ec);
  std::string pattern = (parent / ("." + name + ".import-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  // The folder may become the map's own: the permissions of a folder made as usual.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(pattern.c_str(), 0777 & ~mask);
  return pattern;
}

// Moves the finished map from the stage folder into `directory`. A folder that does not
// exist yet becomes the stage folder in one rename; into an existing one the files move
// one by one, the map description last, so that the map is there under its name only
// once all its files are.
bool MoveIntoPlace(const std::filesystem::path& stage, const std::filesystem::path& directory,
                   const std::string& mapFile, std::string& error) {
  std::error_code ec;
  error = "cannot move the map into " + directory.string();
  if (!std::filesystem::exists(directory, ec)) return RenameFile(stage, directory);
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(stage, ec))
    if (entry.path().filename() != mapFile) files.push_back(entry.path().filename());
  files.push_back(mapFile);
  for (const std::filesystem::path& file : files)
    if (!RenameFile(stage / file, directory / file)) return false;
  std::filesystem::remove(stage, ec);
  error.clear();
  return true;
}

}  // namespace

bool MapBuilder::Write(const std::filesystem::path& directory, const std::string& mapFile,
                       const std::string& mapName, BuildSummary& summary, std::string& error) {
  const ImportInput& input = data_->input;
  summary.unusedFeatures = input.unused;
  if (input.empty()) {
    error = "the input holds nothing that the map can show";
    return false;
  }
  // The map is built in a fresh folder beside its own and moved into place when complete.
  const std::filesystem::path stage = MakeStageFolder(directory);
  if (stage.empty()) {
    error = "cannot make a folder beside " + directory.string();
    return false;
  }
  if (!BuildInto(stage, mapFile, mapName, summary, error) ||
      !MoveIntoPlace(stage, directory, mapFile, error)) {
    std::error_code ec;
    std::filesystem::remove_all(stage, ec);
    return false;
  }
  return true;
}

bool MapBuilder::BuildInto(const std::filesystem::path& directory, const std::string& mapFile,
                           const std::string& mapName, BuildSummary& summary, std::string& error) {
  const ImportInput& input = data_->input;
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
