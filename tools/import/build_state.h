#pragma once
// What the stages of a map build hand on to one another: the features kept from the
// input, the projection, the settlements and streets with their road nodes, the road
// graph, the labels gathered on the way and the writers of the map's categories.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/import/features.h"
#include "tools/import/geo.h"
#include "tools/import/import_config.h"
#include "tools/import/map_builder.h"
#include "tools/import/road_graph.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar::import {

// Name fields of the program: route points hold 31 characters of a settlement or street
// name; labels, lines and areas are cut where the place search reads no further.
constexpr std::size_t kPointNameLimit = 31;
constexpr std::size_t kOtherNameLimit = 63;
constexpr std::size_t kFieldLimit = 31;  // category, layer and road type names, NAME
constexpr std::size_t kMaxPolyPoints = 32767;

// ---- The features that the map takes, as MapBuilder::Add keeps them (geographic
// positions, UTF-8 names, rules counted from 0 in their list of the settings).

struct SettlementIn {
  GeoPoint at;
  int rule;
  std::string name;
  double population;
};
struct RoadIn {
  std::vector<GeoPoint> points;
  int rule;
  std::string name;  // the name, or the reference number
  bool street;       // named by a name: a street
  int oneway;        // 1 forward only, -1 backward only, 0 both
};
struct AreaIn {
  std::vector<Ring> rings;
  int rule;
  std::string name;
};
struct LineIn {
  std::vector<GeoPoint> points;
  int rule;
  std::string name;
};
struct AddressIn {
  GeoPoint at;
  std::string street;
  std::string number;
};
struct InterpolationIn {
  std::vector<GeoPoint> points;
  std::string kind;    // odd, even, all
  std::string street;  // from the way, when it has one
};

struct ImportInput {
  std::vector<SettlementIn> settlements;
  std::vector<RoadIn> roads;
  std::vector<AreaIn> areas;
  std::vector<LineIn> lines;
  std::vector<AddressIn> addresses;
  std::vector<InterpolationIn> interpolations;
  std::int64_t unused = 0;  // features whose tags no rule takes
  // The box of the positions that the map shows (addresses and interpolations aside).
  std::int32_t minLon = 2147483647, minLat = 2147483647, maxLon = -2147483647, maxLat = -2147483647;

  // Widens the box to hold the position(s).
  void Extend(const GeoPoint& p);
  void Extend(const std::vector<GeoPoint>& points);
  // True when nothing has widened the box: the map would show nothing.
  bool empty() const { return minLon > maxLon; }
};

// ---- The projection and the map units.

// A transverse Mercator projection centred on the data and the map's unit and origin.
struct MapProjection {
  double centralMeridian = 0;  // degrees
  double originLatitude = 0;   // degrees
  // The largest |x| or |y| of the corners of the data's box, metres (at least 1).
  double halfExtent = 1;
  std::int32_t unit = 1;  // metres per map unit
  MapPoint origin;        // shown X and Y of the projection's centre, metres
};

// Projects to the plane and rounds to map units; converts names to code page 1250 and
// counts what that changes in the summary.
class Converter {
 public:
  Converter(const MapProjection& projection, BuildSummary& summary);

  // Metres east and north of the projection's centre.
  PlanePoint Project(const GeoPoint& p) const;
  std::vector<PlanePoint> Project(const std::vector<GeoPoint>& points) const;
  // Plane metres to map units, rounded to the nearest unit.
  MapPoint ToMap(const PlanePoint& p) const;
  // Map points with repeated points (after rounding) dropped.
  std::vector<MapPoint> ToMap(const std::vector<PlanePoint>& points) const;
  // UTF-8 to code page 1250, transliterated and cut to `limit` characters (trailing
  // blanks dropped); both counted.
  std::string Name(std::string_view utf8, std::size_t limit);

 private:
  TransverseMercator tm_;
  std::int32_t unit_;
  BuildSummary& summary_;
};

// ---- What the stages make.

struct Settlement {
  PlanePoint at;
  int rule;
  std::string name;  // code page 1250, unique
  double population;
};

// One point record of a street: a block of the street (an edge of the graph) or, for
// addresses whose street has no road, the addresses themselves.
struct StreetSegment {
  int edge = -1;                // graph edge, -1 for none
  int parity = 0;               // 1 odd numbers, 2 even, 0 no numbers
  int lowKey = 0, highKey = 0;  // number * 256 + letter, to order "12" < "12a" < "13"
  int low = 0, high = 0;
  char lowLetter = ' ', highLetter = ' ';
  PlanePoint at;
  int node = -1;
};

struct Street {
  std::string base;     // code page 1250, before it was made unique
  std::string upper;    // base in capitals, the key of the street's name
  int settlement = -1;  // the nearest settlement, -1 for none
  std::vector<int> edges;
  std::vector<PlanePoint> addressPoints;                      // for streets known only from addresses
  std::vector<std::pair<int, std::pair<int, char>>> numbers;  // (edge or -1, (number, letter))
  std::vector<StreetSegment> segments;
  std::string name;  // unique
};

struct Label {
  int layer;  // counted from 1
  PlanePoint at;
  float angle;  // degrees, anticlockwise
  std::string name;
};

// The layers of the labels category: the place labels per class and band, then the
// labels of waters, areas and streets.
struct LabelLayers {
  std::vector<std::string> names;
  std::map<std::pair<int, int>, int> place;  // (place rule, band) -> layer, counted from 1
  int water = 0, area = 0, street = 0;
  // Names of large waters at small scales, per band (Regional, Medium, Far); only in maps
  // that have such waters, 0 otherwise.
  int largeWater[3] = {0, 0, 0};
};

struct BuildState {
  // A build of `directory`/`mapFile` from the input; the stages fill the rest.
  BuildState(const ImportConfig& config, const ImportInput& input, const MapProjection& projection,
             BuildSummary& summary, const std::filesystem::path& directory, const std::string& mapFile);

  const ImportConfig& config;
  const ImportInput& input;
  const MapProjection projection;
  BuildSummary& summary;
  Converter conv;
  MapWriter map;
  const std::string mapStem;  // the map file's name without its extension, for its other files
  const bool withStreets;     // the settings give streets a layer of the towns

  std::vector<Settlement> settlements;  // by name, the larger first among equal names
  std::vector<int> settlementNode;      // each settlement's road node, -1 for none
  RoadGraph graph;
  std::vector<Street> streets;  // by name
  LabelLayers labelLayers;
  std::vector<Label> labels;  // in the order they are written

  // The categories, in the order they are added to the map.
  PolyCategoryWriter* areas = nullptr;
  PolyCategoryWriter* lines = nullptr;
  int largeRiverLayer = 0;  // the Medium band's layer of large rivers (Far the next); 0: none
  PolyCategoryWriter* overviewRoads = nullptr;
  std::map<std::pair<int, int>, int> overviewRoadLayer;  // (road rule, band) -> layer
  PolyCategoryWriter* roads = nullptr;
  std::vector<std::int32_t> roadRecord;  // the road record of each graph edge
  RoadNetworkWriter* network = nullptr;
  PointCategoryWriter* overviewTowns = nullptr;
  std::map<int, int> overviewTownLayer;  // place rule -> layer
  PointCategoryWriter* towns = nullptr;
  std::vector<std::pair<int, int>> bindings;  // (road node, towns record)
  TextCategoryWriter* texts = nullptr;
};

}  // namespace koltar::import
