#include "tools/import/map_builder.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "platform/format.h"
#include "platform/text.h"
#include "tools/import/road_graph.h"
#include "tools/import/style.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar::import {
namespace {

// Name fields of the program: route points hold 31 characters of a settlement or street
// name; labels, lines and areas are cut where the place search reads no further.
constexpr std::size_t kPointNameLimit = 31;
constexpr std::size_t kOtherNameLimit = 63;
constexpr std::size_t kFieldLimit = 31;  // category, layer and road type names, NAME
constexpr std::size_t kMaxPolyPoints = 32767;

struct SettlementIn {
  GeoPoint at;
  int rule;
  std::string name;  // UTF-8
  double population;
};
struct RoadIn {
  std::vector<GeoPoint> points;
  int rule;
  std::string name;  // the name, or the reference number
  bool street;       // named by a name: a street
  int oneway;  // 1 forward only, -1 backward only, 0 both
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
  std::string street;  // UTF-8
  std::string number;
};
struct InterpolationIn {
  std::vector<GeoPoint> points;
  std::string kind;    // odd, even, all
  std::string street;  // from the way, when it has one
};

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

// A house number as the house-number search compares it: the number and an optional
// letter right after it ("12", "12a", "12/A", "12 b"). False when there is no number or
// it does not fit 16 bits.
bool ParseHouseNumber(std::string_view text, int& number, char& letter) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  number = 0;
  const std::size_t start = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    number = number * 10 + (text[i] - '0');
    if (number > 32767) return false;
    ++i;
  }
  if (i == start || number == 0) return false;
  letter = ' ';
  std::size_t j = i;
  while (j < text.size() && (text[j] == ' ' || text[j] == '/')) ++j;
  if (j < text.size() && ((text[j] >= 'a' && text[j] <= 'z') || (text[j] >= 'A' && text[j] <= 'Z')) &&
      (j + 1 == text.size() || !((text[j + 1] >= 'a' && text[j + 1] <= 'z') || (text[j + 1] >= 'A' && text[j + 1] <= 'Z'))))
    letter = static_cast<char>(text[j] | 0x20);
  return true;
}

std::uint64_t KeyOf(const GeoPoint& p) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.lon7)) << 32) |
         static_cast<std::uint32_t>(p.lat7);
}

double Distance(const PlanePoint& a, const PlanePoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Distance from p to the polyline, and the position along it (metres from its start).
double DistanceToPolyline(const std::vector<PlanePoint>& line, const PlanePoint& p, double* along) {
  double best = 1e300, bestAlong = 0, walked = 0;
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    const PlanePoint& a = line[i];
    const PlanePoint& b = line[i + 1];
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    const double d = Distance(p, {a.x + t * dx, a.y + t * dy});
    if (d < best) {
      best = d;
      bestAlong = walked + t * std::sqrt(len2);
    }
    walked += std::sqrt(len2);
  }
  if (along != nullptr) *along = bestAlong;
  return best;
}

// A point inside the ring (and outside its holes) for its label: the middle of the
// widest run of the horizontal line through the ring's middle height that lies inside.
PlanePoint InteriorPoint(const std::vector<PlanePoint>& ring, const std::vector<std::vector<PlanePoint>>& holes) {
  double minY = 1e300, maxY = -1e300;
  for (const PlanePoint& p : ring) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const double y = (minY + maxY) / 2;
  std::vector<double> xs;
  auto cross = [&](const std::vector<PlanePoint>& r) {
    for (std::size_t i = 0; i + 1 < r.size(); ++i) {
      const PlanePoint& a = r[i];
      const PlanePoint& b = r[i + 1];
      if ((a.y <= y && b.y > y) || (b.y <= y && a.y > y)) xs.push_back(a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x));
    }
  };
  cross(ring);
  for (const auto& hole : holes) cross(hole);
  std::sort(xs.begin(), xs.end());
  double bestWidth = -1, bestX = ring.empty() ? 0 : ring[0].x;
  for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
    if (xs[i + 1] - xs[i] > bestWidth) {
      bestWidth = xs[i + 1] - xs[i];
      bestX = (xs[i] + xs[i + 1]) / 2;
    }
  return {bestX, y};
}

double RingArea(const std::vector<PlanePoint>& ring) {
  double twice = 0;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i) twice += ring[i].x * ring[i + 1].y - ring[i + 1].x * ring[i].y;
  return twice / 2;
}

}  // namespace

struct MapBuilder::Data {
  ImportConfig config;
  std::vector<SettlementIn> settlements;
  std::vector<RoadIn> roads;
  std::vector<AreaIn> areas;
  std::vector<LineIn> lines;
  std::vector<AddressIn> addresses;
  std::vector<InterpolationIn> interpolations;
  std::int64_t unused = 0;
  std::int32_t minLon = 2147483647, minLat = 2147483647, maxLon = -2147483647, maxLat = -2147483647;

  void Extend(const GeoPoint& p) {
    minLon = std::min(minLon, p.lon7);
    maxLon = std::max(maxLon, p.lon7);
    minLat = std::min(minLat, p.lat7);
    maxLat = std::max(maxLat, p.lat7);
  }
  void Extend(const std::vector<GeoPoint>& points) {
    for (const GeoPoint& p : points) Extend(p);
  }
  int RoadRule(const Tags& tags) const {
    for (std::size_t i = 0; i < config.roads.size(); ++i)
      if (config.roads[i].filter.Matches(tags)) return static_cast<int>(i);
    return -1;
  }
  static int LayerRule(const std::vector<LayerRule>& rules, const Tags& tags) {
    for (std::size_t i = 0; i < rules.size(); ++i)
      if (rules[i].filter.Matches(tags)) return static_cast<int>(i);
    return -1;
  }
};

MapBuilder::MapBuilder(ImportConfig config) : data_(std::make_unique<Data>()) {
  data_->config = std::move(config);
}

MapBuilder::~MapBuilder() = default;

void MapBuilder::Add(Feature&& f) {
  Data& d = *data_;
  bool used = false;
  const std::string* houseNumber = f.tags.Find("addr:housenumber");
  const std::string* street = f.tags.Find("addr:street");
  if (f.shape == Shape::Point) {
    const GeoPoint at = f.lines[0][0];
    const int place = Data::LayerRule(d.config.places, f.tags);
    const std::string name = NameOf(f.tags);
    if (place >= 0 && !name.empty()) {
      d.settlements.push_back({at, place, name, ParsePopulation(f.tags.Get("population"))});
      d.Extend(at);
      used = true;
    }
    if (houseNumber != nullptr && street != nullptr) {
      d.addresses.push_back({at, *street, *houseNumber});
      used = true;
    }
  } else if (f.shape == Shape::Line) {
    const int road = d.RoadRule(f.tags);
    const bool isArea = f.tags.Get("area") == "yes";
    for (auto& points : f.lines) {
      if (road >= 0 && !isArea) {
        d.Extend(points);
        d.roads.push_back({points, road, NameOf(f.tags), f.tags.Find("name") != nullptr, OnewayOf(f.tags)});
        used = true;
      } else if (const int line = Data::LayerRule(d.config.lines, f.tags); line >= 0) {
        d.Extend(points);
        d.lines.push_back({points, line, NameOf(f.tags)});
        used = true;
      }
      if (const std::string* kind = f.tags.Find("addr:interpolation")) {
        d.interpolations.push_back({points, *kind, street ? *street : std::string()});
        used = true;
      }
    }
  } else {
    const int area = Data::LayerRule(d.config.areas, f.tags);
    const int road = d.RoadRule(f.tags);
    const int line = Data::LayerRule(d.config.lines, f.tags);
    if (area >= 0) {
      for (const Ring& r : f.rings) d.Extend(r.points);
      d.areas.push_back({f.rings, area, NameOf(f.tags)});
      // The holes of a country's land are its lakes: they are drawn as water.
      if (d.config.areas[static_cast<std::size_t>(area)].style == "country")
        for (std::size_t w = 0; w < d.config.areas.size(); ++w)
          if (d.config.areas[w].style == "water") {
            for (const Ring& r : f.rings)
              if (!r.outer) d.areas.push_back({{Ring{r.points, true}}, static_cast<int>(w), {}});
            break;
          }
      used = true;
    } else if (road >= 0 && f.tags.Get("area") != "yes") {
      // A closed road handed on as a polygon: its outer rings are the road.
      for (const Ring& r : f.rings)
        if (r.outer) {
          d.Extend(r.points);
          d.roads.push_back({r.points, road, NameOf(f.tags), f.tags.Find("name") != nullptr, OnewayOf(f.tags)});
        }
      used = true;
    }
    if (line >= 0) {
      // A boundary is its outer rings: the holes of a land area are its lakes.
      for (const Ring& r : f.rings)
        if (r.outer) {
          d.Extend(r.points);
          d.lines.push_back({r.points, line, NameOf(f.tags)});
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
      if (MakeGeoPoint(lon / n, lat / n, at)) d.addresses.push_back({at, *street, *houseNumber});
      used = true;
    }
  }
  if (!used) ++d.unused;
}

namespace {

// The state of one Write: the projection and the name conversions with their counts.
class Converter {
 public:
  Converter(const TransverseMercator& tm, std::int32_t unit, BuildSummary& summary)
      : tm_(tm), unit_(unit), summary_(summary) {}

  PlanePoint Project(const GeoPoint& p) const {
    PlanePoint out;
    tm_.Forward(p, out.x, out.y);
    return out;
  }
  std::vector<PlanePoint> Project(const std::vector<GeoPoint>& points) const {
    std::vector<PlanePoint> out;
    out.reserve(points.size());
    for (const GeoPoint& p : points) out.push_back(Project(p));
    return out;
  }
  MapPoint ToMap(const PlanePoint& p) const {
    return {static_cast<std::int32_t>(std::lround(p.x / unit_)), static_cast<std::int32_t>(std::lround(p.y / unit_))};
  }
  // Map points with repeated points (after rounding) dropped.
  std::vector<MapPoint> ToMap(const std::vector<PlanePoint>& points) const {
    std::vector<MapPoint> out;
    for (const PlanePoint& p : points) {
      const MapPoint m = ToMap(p);
      if (out.empty() || !(out.back() == m)) out.push_back(m);
    }
    return out;
  }
  // UTF-8 to code page 1250, transliterated and cut to `limit` characters; counted.
  std::string Name(std::string_view utf8, std::size_t limit) {
    int changed = 0;
    std::string out = Utf8ToCp1250Transliterated(utf8, &changed);
    if (changed > 0) ++summary_.namesTransliterated;
    if (out.size() > limit) {
      out.resize(limit);
      while (!out.empty() && out.back() == ' ') out.pop_back();
      ++summary_.namesCut;
    }
    return out;
  }

 private:
  const TransverseMercator& tm_;
  std::int32_t unit_;
  BuildSummary& summary_;
};

struct Settlement {
  PlanePoint at;
  int rule;
  std::string name;  // code page 1250, unique
  double population;
  std::string upper;
};

// One point record of a street: a block of the street (an edge of the graph) or, for
// addresses whose street has no road, the addresses themselves.
struct StreetSegment {
  int edge = -1;     // graph edge, -1 for none
  int parity = 0;    // 1 odd numbers, 2 even, 0 no numbers
  int lowKey = 0, highKey = 0;
  int low = 0, high = 0;
  char lowLetter = ' ', highLetter = ' ';
  PlanePoint at;
  int node = -1;
};

struct Street {
  std::string base;   // code page 1250
  std::string upper;
  int settlement = -1;
  std::vector<int> edges;
  std::vector<PlanePoint> addressPoints;  // for streets known only from addresses
  std::vector<std::pair<int, std::pair<int, char>>> numbers;  // (edge or -1, (number, letter))
  std::vector<StreetSegment> segments;
  std::string name;
};

// The nearest settlement to points, by a grid of cells that hold a few settlements each.
class SettlementIndex {
 public:
  explicit SettlementIndex(const std::vector<Settlement>& settlements) : settlements_(settlements) {
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (const Settlement& s : settlements) {
      minX = std::min(minX, s.at.x);
      maxX = std::max(maxX, s.at.x);
      minY = std::min(minY, s.at.y);
      maxY = std::max(maxY, s.at.y);
    }
    if (settlements.empty()) return;
    cell_ = std::max(100.0, std::sqrt(std::max(1.0, (maxX - minX) * (maxY - minY)) / static_cast<double>(settlements.size()) * 4));
    for (std::size_t i = 0; i < settlements.size(); ++i) {
      const auto [cx, cy] = Cell(settlements[i].at);
      cells_[{cx, cy}].push_back(static_cast<int>(i));
      minCell_ = std::min({minCell_, cx, cy});
      maxCell_ = std::max({maxCell_, cx, cy});
    }
  }
  // The nearest settlement, -1 when there is none.
  int Nearest(const PlanePoint& p) const {
    if (cells_.empty()) return -1;
    const auto [cx, cy] = Cell(p);
    const long long reach = std::max({std::llabs(cx - minCell_), std::llabs(cx - maxCell_), std::llabs(cy - minCell_),
                                      std::llabs(cy - maxCell_)});
    int best = -1;
    double bestDistance = 1e300;
    for (long long ring = 0; ring <= reach; ++ring) {
      if (best >= 0 && static_cast<double>(ring - 1) * cell_ > bestDistance) break;
      for (long long x = cx - ring; x <= cx + ring; ++x)
        for (long long y = cy - ring; y <= cy + ring; ++y) {
          if (std::llabs(x - cx) != ring && std::llabs(y - cy) != ring) continue;
          auto it = cells_.find({x, y});
          if (it == cells_.end()) continue;
          for (int i : it->second) {
            const double d = Distance(settlements_[static_cast<std::size_t>(i)].at, p);
            if (d < bestDistance || (d == bestDistance && i < best)) {
              bestDistance = d;
              best = i;
            }
          }
        }
    }
    return best;
  }

 private:
  std::pair<long long, long long> Cell(const PlanePoint& p) const {
    return {static_cast<long long>(std::floor(p.x / cell_)), static_cast<long long>(std::floor(p.y / cell_))};
  }
  const std::vector<Settlement>& settlements_;
  double cell_ = 1000;
  std::map<std::pair<long long, long long>, std::vector<int>> cells_;
  long long minCell_ = 0x7FFFFFFFFFFFLL, maxCell_ = -0x7FFFFFFFFFFFLL;
};

// Gives names that occur more than once (letter case ignored) the settlement they lie
// in, "Fő utca (Szentendre)", so that every street and settlement can be chosen by name;
// cut to `limit` characters with the suffix kept. With `keepFirst` the first item of a
// name keeps it as it is (the largest of settlements of one name).
template <typename Item>
void MakeNamesUnique(std::vector<Item>& items, const std::vector<Settlement>& settlements,
                     std::size_t limit, std::string Item::*base, int Item::*settlement, bool keepFirst) {
  std::map<std::string, int> count;
  for (const Item& item : items) ++count[Cp1250ToUpper(item.*base)];
  std::map<std::string, int> used, seen;
  for (Item& item : items) {
    std::string name = item.*base;
    const bool first = seen[Cp1250ToUpper(name)]++ == 0;
    if (count[Cp1250ToUpper(name)] > 1 && !(keepFirst && first) && item.*settlement >= 0 &&
        !EqualsNoCase(settlements[static_cast<std::size_t>(item.*settlement)].name, name)) {
      const std::string suffix = " (" + settlements[static_cast<std::size_t>(item.*settlement)].name + ")";
      if (suffix.size() < limit) name = name.substr(0, std::min(name.size(), limit - suffix.size())) + suffix;
    }
    int& n = used[Cp1250ToUpper(name)];
    if (++n > 1) {
      const std::string suffix = " " + std::to_string(n);
      name = name.substr(0, std::min(name.size(), limit - suffix.size())) + suffix;
    }
    item.name = name.substr(0, limit);
  }
}

void AddPolyline(PolyCategoryWriter& category, std::int16_t layer, std::vector<MapPoint> points,
                 std::string_view name) {
  if (points.size() == 1) points.push_back(points[0]);
  if (points.size() < 2) return;
  for (std::size_t start = 0; start + 1 < points.size(); start += kMaxPolyPoints - 1) {
    const std::size_t end = std::min(points.size(), start + kMaxPolyPoints);
    category.Add(layer, std::vector<MapPoint>(points.begin() + static_cast<std::ptrdiff_t>(start),
                                              points.begin() + static_cast<std::ptrdiff_t>(end)),
                 name);
  }
}

std::vector<PlanePoint> Simplified(const std::vector<PlanePoint>& points, double tolerance) {
  std::vector<PlanePoint> out;
  for (std::size_t i : SimplifyIndices(points, tolerance)) out.push_back(points[i]);
  return out;
}

// One ring made of an outer ring and its holes: each hole is joined to the outer ring
// by a cut there and back, with the hole running the other way round, so that a winding
// fill leaves the hole empty. The cut is invisible when the outline has the fill colour.
std::vector<PlanePoint> JoinHoles(std::vector<PlanePoint> outer, std::vector<std::vector<PlanePoint>> holes) {
  if (RingArea(outer) < 0) std::reverse(outer.begin(), outer.end());
  for (auto& hole : holes) {
    if (hole.size() < 4) continue;
    if (RingArea(hole) > 0) std::reverse(hole.begin(), hole.end());
    std::size_t bestOuter = 0, bestHole = 0;
    double best = 1e300;
    for (std::size_t i = 0; i + 1 < outer.size(); ++i)
      for (std::size_t j = 0; j + 1 < hole.size(); j += std::max<std::size_t>(1, hole.size() / 64)) {
        const double d = Distance(outer[i], hole[j]);
        if (d < best) {
          best = d;
          bestOuter = i;
          bestHole = j;
        }
      }
    std::vector<PlanePoint> joined(outer.begin(), outer.begin() + static_cast<std::ptrdiff_t>(bestOuter) + 1);
    for (std::size_t k = 0; k + 1 < hole.size(); ++k) joined.push_back(hole[(bestHole + k) % (hole.size() - 1)]);
    joined.push_back(hole[bestHole]);
    joined.insert(joined.end(), outer.begin() + static_cast<std::ptrdiff_t>(bestOuter), outer.end());
    outer = std::move(joined);
  }
  return outer;
}

}  // namespace

bool MapBuilder::Write(const std::filesystem::path& directory, const std::string& mapFile,
                       const std::string& mapName, BuildSummary& summary, std::string& error) {
  Data& d = *data_;
  const ImportConfig& cfg = d.config;
  summary.unusedFeatures = d.unused;
  if (d.minLon > d.maxLon) {
    error = "the input holds nothing that the map can show";
    return false;
  }
  // Projection centred on the data, at a tidy hundredth of a degree.
  const double lon0 = std::round((d.minLon + d.maxLon) * 0.5e-7 * 100) / 100;
  const double lat0 = std::round((d.minLat + d.maxLat) * 0.5e-7 * 100) / 100;
  const TransverseMercator tm(lon0, lat0);
  double maxAbs = 1;
  for (std::int32_t lon : {d.minLon, d.maxLon})
    for (std::int32_t lat : {d.minLat, d.maxLat}) {
      double x, y;
      tm.Forward(GeoPoint{lon, lat}, x, y);
      maxAbs = std::max({maxAbs, std::fabs(x), std::fabs(y)});
    }
  // One metre per unit keeps metre detail; wider data than 32 bits of metres allow (far
  // more than a projection centred on the data serves well) gets larger units.
  const auto unit = static_cast<std::int32_t>(std::max(1.0, std::ceil(maxAbs / 1.0e9)));
  summary.unit = unit;
  summary.centralMeridian = lon0;
  summary.originLatitude = lat0;
  // Shown X is the easting with 500 000 m at the central meridian, shown Y the northing
  // from the equator along that meridian, as on UTM sheets.
  summary.originX = 500000;
  summary.originY = static_cast<std::int32_t>(std::lround(tm.OriginNorthing()));
  Converter conv(tm, unit, summary);

  MapWriter map(directory, mapFile);
  map.name = conv.Name(mapName, kFieldLimit);
  map.unit = unit;
  map.origin = {summary.originX, summary.originY};
  map.cartoSymb = std::filesystem::path(mapFile).stem().string() + ".sym";

  auto names = [&](const auto& rules) {
    std::vector<std::string> out;
    for (const auto& r : rules) out.push_back(conv.Name(r.layer, kFieldLimit));
    return out;
  };

  // ---- Settlements, sorted by name.
  std::vector<Settlement> settlements;
  for (const SettlementIn& s : d.settlements)
    settlements.push_back({conv.Project(s.at), s.rule, conv.Name(s.name, kPointNameLimit), s.population, {}});
  std::stable_sort(settlements.begin(), settlements.end(), [](const Settlement& a, const Settlement& b) {
    const int c = CompareNoCase(a.name, b.name);
    return c != 0 ? c < 0 : a.population > b.population;
  });
  {
    // Duplicated names get the nearest other settlement of another name.
    struct Named {
      std::string base;
      int near;
      std::string name;
    };
    std::vector<Named> named;
    std::map<std::string, int> count;
    for (const Settlement& s : settlements) ++count[Cp1250ToUpper(s.name)];
    for (const Settlement& s : settlements) {
      int near = -1;
      double best = 1e300;
      for (std::size_t j = 0; j < settlements.size() && count[Cp1250ToUpper(s.name)] > 1; ++j) {
        const double dist = Distance(settlements[j].at, s.at);
        if (!EqualsNoCase(settlements[j].name, s.name) && dist < best && settlements[j].rule <= s.rule) {
          best = dist;
          near = static_cast<int>(j);
        }
      }
      named.push_back({s.name, near, {}});
    }
    MakeNamesUnique(named, settlements, kPointNameLimit, &Named::base, &Named::near, true);
    for (std::size_t i = 0; i < settlements.size(); ++i) settlements[i].name = named[i].name;
  }
  summary.settlements = static_cast<std::int64_t>(settlements.size());

  // ---- Road graph.
  RoadGraph graph;
  for (const RoadIn& r : d.roads) {
    std::vector<PlanePoint> plane = conv.Project(r.points);
    graph.AddWay(r.points, plane, r.rule, conv.Name(r.name, kOtherNameLimit), r.street, r.oneway);
  }
  graph.Build();
  std::vector<bool> enabledRule;
  for (const RoadRule& r : cfg.roads) enabledRule.push_back(r.enabled);
  graph.FindReachableCore(enabledRule);

  // Settlements are bound first, each to the nearest free node of the core.
  std::vector<int> settlementNode(settlements.size(), -1);
  for (std::size_t i = 0; i < settlements.size(); ++i) settlementNode[i] = graph.BindNearest(settlements[i].at);

  // ---- Streets: named roads, grouped by name and by the settlement they lie in.
  std::vector<Street> streets;
  const SettlementIndex settlementIndex(settlements);
  const bool withStreets = !cfg.streetLayer.empty();
  if (withStreets) {
    std::map<std::pair<std::string, int>, int> streetOf;
    std::map<std::string, std::vector<int>> edgesByName;
    for (int e = 0; e < graph.EdgeCount(); ++e)
      if (graph.Edge(e).street && !graph.Edge(e).name.empty()) edgesByName[Cp1250ToUpper(graph.Edge(e).name)].push_back(e);
    for (auto& [upper, edges] : edgesByName) {
      // Connected pieces of the same name.
      std::unordered_map<int, int> parent;
      auto find = [&](int x) {
        if (!parent.count(x)) parent[x] = x;
        while (parent[x] != x) x = parent[x] = parent[parent[x]];
        return x;
      };
      for (int e : edges) parent[find(graph.Edge(e).from)] = find(graph.Edge(e).to);
      std::map<int, std::vector<int>> pieces;
      for (int e : edges) pieces[find(graph.Edge(e).from)].push_back(e);
      for (auto& [root, pieceEdges] : pieces) {
        PlanePoint centre;
        for (int e : pieceEdges) {
          centre.x += graph.Midpoint(e).x / static_cast<double>(pieceEdges.size());
          centre.y += graph.Midpoint(e).y / static_cast<double>(pieceEdges.size());
        }
        const int near = settlementIndex.Nearest(centre);
        auto [it, fresh] = streetOf.emplace(std::make_pair(upper, near), static_cast<int>(streets.size()));
        if (fresh) {
          Street s;
          s.base = graph.Edge(pieceEdges[0]).name.substr(0, kPointNameLimit);
          s.upper = upper;
          s.settlement = near;
          streets.push_back(std::move(s));
        }
        auto& target = streets[static_cast<std::size_t>(it->second)].edges;
        target.insert(target.end(), pieceEdges.begin(), pieceEdges.end());
      }
    }
    // House numbers, from addresses and from interpolation lines between addresses.
    struct Address {
      PlanePoint at;
      std::string street;
      std::string number;
    };
    std::vector<Address> addresses;
    std::map<std::uint64_t, std::size_t> addressAt;
    for (std::size_t i = 0; i < d.addresses.size(); ++i) {
      addresses.push_back({conv.Project(d.addresses[i].at), d.addresses[i].street, d.addresses[i].number});
      addressAt[KeyOf(d.addresses[i].at)] = i;
    }
    for (const InterpolationIn& line : d.interpolations) {
      auto a = addressAt.find(KeyOf(line.points.front()));
      auto b = addressAt.find(KeyOf(line.points.back()));
      int first, last;
      char letter;
      if (a == addressAt.end() || b == addressAt.end() ||
          !ParseHouseNumber(d.addresses[a->second].number, first, letter) ||
          !ParseHouseNumber(d.addresses[b->second].number, last, letter)) {
        ++summary.brokenGeometry;
        continue;
      }
      const std::string street = !line.street.empty() ? line.street : d.addresses[a->second].street;
      const int step = line.kind == "odd" || line.kind == "even" ? 2 : 1;
      const int count = std::abs(last - first) / step;
      if (count > 2000) continue;
      const int direction = last >= first ? step : -step;
      const std::vector<PlanePoint> plane = conv.Project(line.points);
      double total = 0;
      for (std::size_t i = 0; i + 1 < plane.size(); ++i) total += Distance(plane[i], plane[i + 1]);
      for (int k = 1; k < count; ++k) {
        // Positions along the line, in proportion to the numbers.
        const double target = total * k / count;
        double walked = 0;
        PlanePoint at = plane.back();
        for (std::size_t i = 0; i + 1 < plane.size(); ++i) {
          const double len = Distance(plane[i], plane[i + 1]);
          if (walked + len >= target && len > 0) {
            const double t = (target - walked) / len;
            at = {plane[i].x + t * (plane[i + 1].x - plane[i].x), plane[i].y + t * (plane[i + 1].y - plane[i].y)};
            break;
          }
          walked += len;
        }
        addresses.push_back({at, street, std::to_string(first + k * direction)});
      }
    }
    std::map<std::string, std::vector<int>> streetsNamed;
    for (std::size_t i = 0; i < streets.size(); ++i) streetsNamed[streets[i].upper].push_back(static_cast<int>(i));
    for (std::size_t i = 0; i < addresses.size(); ++i) {
      const Address& a = addresses[i];
      int number;
      char letter;
      if (!ParseHouseNumber(a.number, number, letter)) {
        ++summary.brokenGeometry;
        continue;
      }
      ++summary.addresses;
      const PlanePoint at = a.at;
      const std::string base = conv.Name(a.street, kPointNameLimit);
      const std::string upper = Cp1250ToUpper(base);
      // The nearest block of a street of that name.
      int bestStreet = -1, bestEdge = -1;
      double best = 1e300;
      for (int candidate : streetsNamed[upper]) {
        const auto s = static_cast<std::size_t>(candidate);
        for (int e : streets[s].edges) {
          const double dist = DistanceToPolyline(graph.Edge(e).points, at, nullptr);
          if (dist < best) {
            best = dist;
            bestStreet = static_cast<int>(s);
            bestEdge = e;
          }
        }
        if (streets[s].edges.empty() && Distance(streets[s].addressPoints[0], at) < best) {
          best = Distance(streets[s].addressPoints[0], at);
          bestStreet = static_cast<int>(s);
          bestEdge = -1;
        }
      }
      if (bestStreet < 0 || best > 2000) {
        // A street known only from its addresses.
        Street s;
        s.base = base;
        s.upper = upper;
        s.settlement = settlementIndex.Nearest(at);
        s.addressPoints.push_back(at);
        streets.push_back(std::move(s));
        bestStreet = static_cast<int>(streets.size() - 1);
        streetsNamed[upper].push_back(bestStreet);
        bestEdge = -1;
      } else if (bestEdge < 0) {
        streets[static_cast<std::size_t>(bestStreet)].addressPoints.push_back(at);
      }
      streets[static_cast<std::size_t>(bestStreet)].numbers.push_back({bestEdge, {number, letter}});
    }
    // Segments: per block and side (odd and even numbers), or the block alone.
    for (Street& s : streets) {
      std::map<std::pair<int, int>, StreetSegment> byBlock;
      for (const auto& [edge, value] : s.numbers) {
        const int parity = (value.first & 1) ? 1 : 2;
        const int key = value.first * 256 + static_cast<signed char>(value.second);
        auto [it, fresh] = byBlock.try_emplace({edge, parity});
        StreetSegment& seg = it->second;
        if (fresh) {
          seg.edge = edge;
          seg.parity = parity;
          seg.lowKey = seg.highKey = key;
          seg.low = seg.high = value.first;
          seg.lowLetter = seg.highLetter = value.second;
        } else {
          if (key < seg.lowKey) {
            seg.lowKey = key;
            seg.low = value.first;
            seg.lowLetter = value.second;
          }
          if (key > seg.highKey) {
            seg.highKey = key;
            seg.high = value.first;
            seg.highLetter = value.second;
          }
        }
      }
      for (auto& [key, seg] : byBlock) s.segments.push_back(seg);
      std::sort(s.segments.begin(), s.segments.end(), [](const StreetSegment& a, const StreetSegment& b) {
        return std::tie(a.lowKey, a.parity) < std::tie(b.lowKey, b.parity);
      });
      for (int e : s.edges) {
        bool numbered = false;
        for (const StreetSegment& seg : s.segments) numbered = numbered || seg.edge == e;
        if (!numbered) {
          StreetSegment seg;
          seg.edge = e;
          s.segments.push_back(seg);
        }
      }
      if (s.edges.empty() && s.segments.empty()) s.segments.push_back(StreetSegment{});
      summary.houseRanges += static_cast<std::int64_t>(byBlock.size());
    }
    std::stable_sort(streets.begin(), streets.end(), [](const Street& a, const Street& b) {
      return CompareNoCase(a.base, b.base) < 0;
    });
    MakeNamesUnique(streets, settlements, kPointNameLimit, &Street::base, &Street::settlement, false);
    std::stable_sort(streets.begin(), streets.end(), [](const Street& a, const Street& b) {
      return CompareNoCase(a.name, b.name) < 0;
    });
    // Each segment gets a node of its own: blocks on the routable core are split, the
    // rest is bound to the nearest free node.
    std::map<int, std::vector<StreetSegment*>> onEdge;
    for (Street& s : streets)
      for (StreetSegment& seg : s.segments)
        if (seg.edge >= 0) onEdge[seg.edge].push_back(&seg);
    for (auto& [edge, segs] : onEdge) {
      std::vector<int> nodes = graph.SplitForStops(edge, static_cast<int>(segs.size()));
      for (std::size_t k = 0; k < segs.size(); ++k) {
        if (!nodes.empty()) {
          segs[k]->node = nodes[k];
          segs[k]->at = graph.NodePosition(nodes[k]);
        } else {
          segs[k]->at = graph.Midpoint(edge);
        }
      }
    }
    for (Street& s : streets) {
      for (StreetSegment& seg : s.segments) {
        if (seg.edge < 0) {
          PlanePoint centre;
          for (const PlanePoint& p : s.addressPoints) {
            centre.x += p.x / static_cast<double>(s.addressPoints.size());
            centre.y += p.y / static_cast<double>(s.addressPoints.size());
          }
          seg.at = centre;
        }
        if (seg.node < 0) seg.node = graph.BindNearest(seg.at);
      }
    }
    summary.streets = static_cast<std::int64_t>(streets.size());
  }

  // ---- Categories, in drawing order.
  const int placeCount = static_cast<int>(cfg.places.size());
  // Areas.
  PolyCategoryWriter& areas = map.AddAreas(conv.Name(cfg.areasCategory, kFieldLimit), names(cfg.areas));
  struct Label {
    int layer;
    PlanePoint at;
    float angle;
    std::string name;
  };
  std::vector<Label> labels;
  // Text layers: place labels per band, then waters, areas, streets.
  std::vector<std::string> textLayers;
  std::map<std::pair<int, int>, int> placeLabelLayer;
  for (int p = 0; p < placeCount; ++p)
    for (Band band : {Band::Far, Band::Medium, Band::Regional, Band::Near})
      if (PlaceLabelInBand(cfg.places[static_cast<std::size_t>(p)].style, band)) {
        textLayers.push_back(conv.Name(cfg.places[static_cast<std::size_t>(p)].layer, 18) +
                             (band == Band::Far      ? " - távoli"
                              : band == Band::Medium ? " - közepes"
                              : band == Band::Regional ? " - regionális"
                                                       : " - közeli"));
        placeLabelLayer[{p, static_cast<int>(band)}] = static_cast<int>(textLayers.size());
      }
  textLayers.push_back("Víznév");
  const int waterLabelLayer = static_cast<int>(textLayers.size());
  textLayers.push_back("Területnév");
  const int areaLabelLayer = static_cast<int>(textLayers.size());
  textLayers.push_back("Utcanév");
  const int streetLabelLayer = static_cast<int>(textLayers.size());

  for (const AreaIn& a : d.areas) {
    const std::string name = conv.Name(a.name, kOtherNameLimit);
    const bool water = cfg.areas[static_cast<std::size_t>(a.rule)].style == "water";
    for (std::size_t i = 0; i < a.rings.size(); ++i) {
      if (!a.rings[i].outer) continue;
      std::vector<PlanePoint> outer = conv.Project(a.rings[i].points);
      std::vector<std::vector<PlanePoint>> holes;
      for (std::size_t j = i + 1; j < a.rings.size() && !a.rings[j].outer; ++j)
        holes.push_back(conv.Project(a.rings[j].points));
      std::vector<PlanePoint> ring = JoinHoles(outer, holes);
      for (double tolerance = unit * 0.5; ring.size() > kMaxPolyPoints; tolerance *= 2) ring = Simplified(ring, tolerance);
      std::vector<MapPoint> points = conv.ToMap(ring);
      if (points.size() < 4) {
        ++summary.brokenGeometry;
        continue;
      }
      if (!(points.front() == points.back())) points.push_back(points.front());
      areas.Add(static_cast<std::int16_t>(a.rule + 1), points, name);
      const double size = std::fabs(RingArea(outer));
      if (!name.empty() && size > 2500 && cfg.areas[static_cast<std::size_t>(a.rule)].style != "country") {
        // One label for the pieces of one named area that lie close together.
        const PlanePoint at = InteriorPoint(outer, holes);
        const int layer = water ? waterLabelLayer : areaLabelLayer;
        const bool near = std::any_of(labels.begin(), labels.end(), [&](const Label& l) {
          return l.layer == layer && l.name == name && Distance(l.at, at) < 500;
        });
        if (!near) labels.push_back({layer, at, 0.0f, name});
      }
    }
  }

  // Other lines (borders, waters, railways).
  PolyCategoryWriter& lines = map.AddLines(conv.Name(cfg.linesCategory, kFieldLimit), names(cfg.lines));
  for (const LineIn& l : d.lines) {
    const std::string name = conv.Name(l.name, kOtherNameLimit);
    const std::vector<PlanePoint> plane = conv.Project(l.points);
    AddPolyline(lines, static_cast<std::int16_t>(l.rule + 1), conv.ToMap(plane), name);
    const std::string& style = cfg.lines[static_cast<std::size_t>(l.rule)].style;
    if (!name.empty() && (style == "river" || style == "stream") && plane.size() >= 2)
      labels.push_back({waterLabelLayer, plane[plane.size() / 2], 0.0f, name});
  }

  // Overview roads: the classes that small scales show, simplified per band.
  std::vector<std::string> overviewLayers;
  std::map<std::pair<int, int>, int> overviewLayer;
  auto bandName = [](Band band) {
    return band == Band::Far ? " - távoli" : band == Band::Medium ? " - közepes" : " - regionális";
  };
  for (Band band : {Band::Far, Band::Medium, Band::Regional})
    for (std::size_t r = 0; r < cfg.roads.size(); ++r)
      if (RoadInBand(cfg.roads[r].style, band)) {
        overviewLayers.push_back(conv.Name(cfg.roads[r].layer, 18) + bandName(band));
        overviewLayer[{static_cast<int>(r), static_cast<int>(band)}] = static_cast<int>(overviewLayers.size());
      }
  PolyCategoryWriter& overview = map.AddLines(conv.Name(cfg.overviewCategory, kFieldLimit), overviewLayers);
  std::vector<std::size_t> wayOrder(d.roads.size());
  std::iota(wayOrder.begin(), wayOrder.end(), std::size_t{0});
  std::stable_sort(wayOrder.begin(), wayOrder.end(), [&](std::size_t a, std::size_t b) { return d.roads[a].rule > d.roads[b].rule; });
  for (Band band : {Band::Far, Band::Medium, Band::Regional})
    for (std::size_t w : wayOrder) {
      const RoadIn& r = d.roads[w];
      auto it = overviewLayer.find({r.rule, static_cast<int>(band)});
      if (it == overviewLayer.end()) continue;
      const double tolerance = band == Band::Far ? 150.0 : band == Band::Medium ? 25.0 : 8.0;
      const std::vector<PlanePoint> plane = Simplified(conv.Project(r.points), tolerance);
      AddPolyline(overview, static_cast<std::int16_t>(it->second), conv.ToMap(plane), conv.Name(r.name, kOtherNameLimit));
    }

  // The roads of the network: one line per edge, the minor classes first, so that the
  // major roads are painted over them where they cross.
  PolyCategoryWriter& roads = map.AddLines(conv.Name(cfg.roadsCategory, kFieldLimit), names(cfg.roads));
  std::vector<int> edgeOrder(static_cast<std::size_t>(graph.EdgeCount()));
  std::iota(edgeOrder.begin(), edgeOrder.end(), 0);
  std::stable_sort(edgeOrder.begin(), edgeOrder.end(),
                   [&](int a, int b) { return graph.Edge(a).rule > graph.Edge(b).rule; });
  std::vector<std::int32_t> roadRecord(edgeOrder.size());
  for (int e : edgeOrder) {
    const RoadGraph::GraphEdge& edge = graph.Edge(e);
    std::vector<MapPoint> points = conv.ToMap(edge.points);
    if (points.size() == 1) points.push_back(points[0]);
    roadRecord[static_cast<std::size_t>(e)] = roads.Add(static_cast<std::int16_t>(edge.rule + 1), points, edge.name);
  }

  // The network: LAYER01 draws the route.
  RoadNetworkWriter& network = map.AddRoadNetwork(conv.Name(cfg.networkCategory, kFieldLimit), {"Útvonal"});
  for (const RoadRule& r : cfg.roads)
    network.costs.push_back({conv.Name(r.layer, kFieldLimit), r.enabled ? 1 : 0, 1.0, r.speed, r.unitCost});
  network.defaultCostType = 1;
  // The keys the program writes back when the map closes, as it writes them, so that
  // opening and closing the map leaves the file as it is.
  network.defaultStartNode = "-1,";
  map.extraKeys[network.name] = {{"BATCHSOURCEFILE", ""}, {"BATCHTARGETFILE", ""}};

  // Overview towns.
  std::vector<std::string> overviewTownLayers;
  std::map<int, int> overviewTownLayer;
  for (int p = 0; p < placeCount; ++p)
    if (PlaceInBand(cfg.places[static_cast<std::size_t>(p)].style, Band::Far)) {
      overviewTownLayers.push_back(conv.Name(cfg.places[static_cast<std::size_t>(p)].layer, kFieldLimit));
      overviewTownLayer[p] = static_cast<int>(overviewTownLayers.size());
    }
  PointCategoryWriter& overviewTowns =
      map.AddPoints(conv.Name(cfg.overviewTownsCategory, kFieldLimit), overviewTownLayers);
  for (const Settlement& s : settlements)
    if (auto it = overviewTownLayer.find(s.rule); it != overviewTownLayer.end())
      overviewTowns.Add(static_cast<std::int16_t>(it->second), conv.ToMap(s.at), s.name);

  // The towns: settlements, then streets, each street a run of records of one name.
  std::vector<std::string> townLayers = names(cfg.places);
  if (withStreets) townLayers.push_back(conv.Name(cfg.streetLayer, kFieldLimit));
  const std::string townsName = conv.Name(cfg.townsCategory, kFieldLimit);
  PointCategoryWriter& towns = map.AddPoints(townsName, townLayers);
  std::vector<std::pair<int, int>> bindings;  // (node, record)
  for (std::size_t i = 0; i < settlements.size(); ++i) {
    const Settlement& s = settlements[i];
    const std::int32_t record = towns.Add(static_cast<std::int16_t>(s.rule + 1), conv.ToMap(s.at), s.name);
    if (settlementNode[i] >= 0)
      bindings.emplace_back(settlementNode[i], record);
    else
      ++summary.unboundSettlements;
    for (Band band : {Band::Far, Band::Medium, Band::Regional, Band::Near}) {
      auto it = placeLabelLayer.find({s.rule, static_cast<int>(band)});
      if (it == placeLabelLayer.end()) continue;
      const std::string& style = cfg.places[static_cast<std::size_t>(s.rule)].style;
      const double symbol = PlaceSymbolHeight(style, band);
      const double height = PlaceLabelHeight(style, band);
      labels.push_back({it->second, {s.at.x + symbol * 0.6 + height * 0.15, s.at.y - height * 0.3}, 0.0f, s.name});
    }
  }
  const auto streetLayerNumber = static_cast<std::int16_t>(placeCount + 1);
  if (withStreets) {
    for (std::size_t i = 0; i < streets.size(); ++i) {
      const Street& s = streets[i];
      // A street that happens to follow a settlement of the same name must not join it.
      if (i == 0 && !settlements.empty() && EqualsNoCase(settlements.back().name, s.name))
        towns.Add(streetLayerNumber, conv.ToMap(s.segments[0].at), "");
      bool first = true;
      const bool numbered = std::any_of(s.segments.begin(), s.segments.end(),
                                        [](const StreetSegment& seg) { return seg.parity != 0; });
      for (const StreetSegment& seg : s.segments) {
        const std::int32_t record = towns.Add(streetLayerNumber, conv.ToMap(seg.at), s.name);
        HouseRange range;
        range.flags = static_cast<std::uint8_t>((first && numbered ? 1 : 0) | (seg.parity != 0 ? 2 : 0));
        if (seg.parity != 0) {
          range.first = static_cast<std::int16_t>(seg.low);
          range.firstLetter = seg.lowLetter;
          range.last = static_cast<std::int16_t>(seg.high);
          range.lastLetter = seg.highLetter;
        }
        towns.SetHouseRange(record, range);
        first = false;
        if (seg.node >= 0)
          bindings.emplace_back(seg.node, record);
        else
          ++summary.unboundSettlements;
      }
      // The street's name along its longest block.
      int longest = -1;
      for (int e : s.edges)
        if (longest < 0 || graph.Edge(e).length > graph.Edge(longest).length) longest = e;
      if (longest >= 0 && graph.Edge(longest).points.size() >= 2) {
        PlanePoint a, b;
        graph.MiddleSegment(longest, a, b);
        if (b.x < a.x) std::swap(a, b);
        const double angle = std::atan2(b.y - a.y, b.x - a.x);
        const double height = StreetLabelHeight();
        const double width = 0.5 * height * static_cast<double>(s.name.size());
        const PlanePoint mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
        const PlanePoint anchor{mid.x - std::cos(angle) * width / 2 + std::sin(angle) * height * 0.35,
                                mid.y - std::sin(angle) * width / 2 - std::cos(angle) * height * 0.35};
        labels.push_back({streetLabelLayer, anchor, static_cast<float>(angle * 180.0 / 3.14159265358979), s.name});
      }
    }
    if (streets.empty() && settlements.empty()) towns.withEntities = false;
  }

  // Node table: the bound nodes first, in record order, so that the route request lists
  // the settlements and streets in the order of the category; then the junctions.
  std::vector<std::int32_t> nodeRecord;
  std::vector<int> newIndex = graph.Renumber(bindings, nodeRecord);
  network.nodes = nodeRecord;
  for (int e = 0; e < graph.EdgeCount(); ++e) {
    const RoadGraph::GraphEdge& edge = graph.Edge(e);
    const std::int32_t from = newIndex[static_cast<std::size_t>(edge.from)];
    const std::int32_t to = newIndex[static_cast<std::size_t>(edge.to)];
    const auto length = static_cast<std::int32_t>(std::lround(edge.length));
    const std::int32_t road = roadRecord[static_cast<std::size_t>(e)];
    if (edge.oneway != -1) network.edges.push_back({from, to, road, length});
    if (edge.oneway != 1) network.edges.push_back({to, from, road, length});
  }
  for (const RoadGraph::Link& link : graph.links()) {
    const std::int32_t a = newIndex[static_cast<std::size_t>(link.node)];
    const std::int32_t b = newIndex[static_cast<std::size_t>(link.to)];
    const auto length = static_cast<std::int32_t>(std::lround(link.length));
    network.edges.push_back({a, b, -1, length});
    network.edges.push_back({b, a, -1, length});
  }
  std::stable_sort(network.edges.begin(), network.edges.end(),
                   [](const RoadNetworkWriter::Edge& a, const RoadNetworkWriter::Edge& b) { return a.from < b.from; });
  summary.nodes = static_cast<std::int64_t>(network.nodes.size());
  summary.edges = static_cast<std::int64_t>(network.edges.size());

  // Labels last, so that they stand over everything.
  TextCategoryWriter& texts = map.AddTexts(conv.Name(cfg.textsCategory, kFieldLimit), textLayers);
  for (const Label& l : labels) texts.Add(static_cast<std::int16_t>(l.layer), conv.ToMap(l.at), l.angle, l.name);

  // ---- Connections and symbology.
  map.townCategory = townsName;
  map.roadCategory = roads.name;
  SymbologyWriter& sym = map.symbology;
  {
    auto& c = sym.AddCategory(areas.name);
    for (std::size_t i = 0; i < cfg.areas.size(); ++i) StyleArea(c.AddLayer(areas.layers[i]), cfg.areas[i].style);
  }
  {
    auto& c = sym.AddCategory(lines.name);
    for (std::size_t i = 0; i < cfg.lines.size(); ++i) StyleLine(c.AddLayer(lines.layers[i]), cfg.lines[i].style);
  }
  {
    auto& c = sym.AddCategory(overview.name);
    for (const auto& [key, layer] : overviewLayer)
      StyleRoad(c.AddLayer(overviewLayers[static_cast<std::size_t>(layer - 1)]),
                cfg.roads[static_cast<std::size_t>(key.first)].style, static_cast<Band>(key.second));
  }
  {
    auto& c = sym.AddCategory(roads.name);
    for (std::size_t i = 0; i < cfg.roads.size(); ++i) StyleRoad(c.AddLayer(roads.layers[i]), cfg.roads[i].style, Band::Near);
  }
  StyleRoute(sym.AddCategory(network.name).AddLayer(network.layers[0]), 2 * maxAbs);
  const std::string stem = std::filesystem::path(mapFile).stem().string();
  {
    auto& c = sym.AddCategory(overviewTowns.name);
    for (const auto& [p, layer] : overviewTownLayer) {
      const std::string& style = cfg.places[static_cast<std::size_t>(p)].style;
      const std::string bitmap = stem + "_" + style + ".bmp";
      StylePlace(c.AddLayer(overviewTownLayers[static_cast<std::size_t>(layer - 1)]), style, Band::Far, bitmap);
    }
  }
  {
    auto& c = sym.AddCategory(towns.name);
    for (int p = 0; p < placeCount; ++p) {
      const std::string& style = cfg.places[static_cast<std::size_t>(p)].style;
      const std::string bitmap = stem + "_" + style + ".bmp";
      map.AddBitmap(bitmap, PlaceSymbol(style));
      auto& layer = c.AddLayer(townLayers[static_cast<std::size_t>(p)]);
      if (PlaceInBand(style, Band::Near))
        StylePlace(layer, style, Band::Near, bitmap);
      else
        layer.Set("VISIBLE", "0");
    }
    if (withStreets) c.AddLayer(townLayers.back()).Set("VISIBLE", "1");  // no symbol: found, not drawn
  }
  {
    auto& c = sym.AddCategory(texts.name);
    for (const auto& [key, layer] : placeLabelLayer)
      StylePlaceLabel(c.AddLayer(textLayers[static_cast<std::size_t>(layer - 1)]),
                      cfg.places[static_cast<std::size_t>(key.first)].style, static_cast<Band>(key.second));
    StyleWaterLabel(c.AddLayer(textLayers[static_cast<std::size_t>(waterLabelLayer - 1)]));
    StyleAreaLabel(c.AddLayer(textLayers[static_cast<std::size_t>(areaLabelLayer - 1)]));
    StyleStreetLabel(c.AddLayer(textLayers[static_cast<std::size_t>(streetLabelLayer - 1)]));
  }
  // The find scale shows a few streets or a village.
  map.findScale = "25000";

  summary.categories = {
      {Cp1250ToUtf8(areas.name), "AREA", static_cast<std::int64_t>(areas.records.size())},
      {Cp1250ToUtf8(lines.name), "LINE", static_cast<std::int64_t>(lines.records.size())},
      {Cp1250ToUtf8(overview.name), "LINE", static_cast<std::int64_t>(overview.records.size())},
      {Cp1250ToUtf8(roads.name), "LINE", static_cast<std::int64_t>(roads.records.size())},
      {Cp1250ToUtf8(network.name), "OPTPATH", static_cast<std::int64_t>(network.edges.size())},
      {Cp1250ToUtf8(overviewTowns.name), "POINT", static_cast<std::int64_t>(overviewTowns.records.size())},
      {Cp1250ToUtf8(towns.name), "POINT", static_cast<std::int64_t>(towns.records.size())},
      {Cp1250ToUtf8(texts.name), "TEXT", static_cast<std::int64_t>(texts.records.size())},
  };
  if (!map.Write()) {
    error = "cannot write the map into " + directory.string();
    return false;
  }
  return true;
}

}  // namespace koltar::import
