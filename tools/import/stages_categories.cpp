// The stages that add the categories of the map, in drawing order: areas, lines, the
// overview roads, the roads and their network, the overview towns, the towns and the
// labels.
#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <utility>

#include "platform/text.h"
#include "tools/import/plane_geometry.h"
#include "tools/import/stages.h"
#include "tools/import/style.h"

namespace koltar::import {
namespace {

// The layer names of a list of rules, in code page 1250.
template <typename Rule>
std::vector<std::string> LayerNames(Converter& conv, const std::vector<Rule>& rules) {
  std::vector<std::string> out;
  for (const Rule& r : rules) out.push_back(conv.Name(r.layer, kFieldLimit));
  return out;
}

// Adds a polyline, as records of at most kMaxPolyPoints points that share their ends; a
// single point becomes a line of two equal points, no point nothing.
void AddPolyline(PolyCategoryWriter& category, std::int16_t layer, std::vector<MapPoint> points,
                 std::string_view name) {
  if (points.size() == 1) points.push_back(points[0]);
  if (points.size() < 2) return;
  for (std::size_t start = 0; start + 1 < points.size(); start += kMaxPolyPoints - 1) {
    const std::size_t end = std::min(points.size(), start + kMaxPolyPoints);
    category.Add(layer,
                 std::vector<MapPoint>(points.begin() + static_cast<std::ptrdiff_t>(start),
                                       points.begin() + static_cast<std::ptrdiff_t>(end)),
                 name);
  }
}

// The length of a polyline.
double Length(const std::vector<PlanePoint>& line) {
  double length = 0;
  for (std::size_t i = 1; i < line.size(); ++i) length += Distance(line[i - 1], line[i]);
  return length;
}

// The point halfway along a polyline.
PlanePoint Halfway(const std::vector<PlanePoint>& line) {
  double rest = Length(line) / 2;
  for (std::size_t i = 1; i < line.size(); ++i) {
    const double step = Distance(line[i - 1], line[i]);
    if (step >= rest && step > 0) {
      const double t = rest / step;
      return {line[i - 1].x + t * (line[i].x - line[i - 1].x),
              line[i - 1].y + t * (line[i].y - line[i - 1].y)};
    }
    rest -= step;
  }
  return line.back();
}

bool LargeRiver(const BuildState& state, const LineIn& l) {
  return state.config.lines[static_cast<std::size_t>(l.rule)].style == "river" && !l.name.empty() &&
         Length(state.conv.Project(l.points)) >= kLargeRiverLength;
}

bool LargeLake(const BuildState& state, const AreaIn& a, const Ring& ring) {
  return state.config.areas[static_cast<std::size_t>(a.rule)].style == "water" && !a.name.empty() &&
         ring.outer && std::fabs(RingArea(state.conv.Project(ring.points))) >= kLargeLakeArea;
}

constexpr Band kLargeWaterBands[] = {Band::Regional, Band::Medium, Band::Far};

void AddLargeWaterLabels(BuildState& state, const PlanePoint& at, const std::string& name) {
  for (int b = 0; b < 3; ++b)
    if (state.labelLayers.largeWater[b] > 0)
      state.labels.push_back({state.labelLayers.largeWater[b], at, 0.0f, name});
}

}  // namespace

void PlanLabelLayers(BuildState& state) {
  LabelLayers& layers = state.labelLayers;
  const std::vector<LayerRule>& places = state.config.places;
  for (std::size_t p = 0; p < places.size(); ++p)
    for (Band band : {Band::Far, Band::Medium, Band::Regional, Band::Near})
      if (PlaceLabelInBand(places[p].style, band)) {
        layers.names.push_back(state.conv.Name(places[p].layer, 18) + (band == Band::Far      ? " - távoli"
                                                                       : band == Band::Medium ? " - közepes"
                                                                       : band == Band::Regional
                                                                           ? " - regionális"
                                                                           : " - közeli"));
        layers.place[{static_cast<int>(p), static_cast<int>(band)}] = static_cast<int>(layers.names.size());
      }
  layers.names.push_back("Víznév");
  layers.water = static_cast<int>(layers.names.size());
  layers.names.push_back("Területnév");
  layers.area = static_cast<int>(layers.names.size());
  layers.names.push_back("Utcanév");
  layers.street = static_cast<int>(layers.names.size());
  // Large rivers and lakes are named at small scales too.
  const ImportInput& in = state.input;
  const bool large =
      std::any_of(in.lines.begin(), in.lines.end(), [&](const LineIn& l) { return LargeRiver(state, l); }) ||
      std::any_of(in.areas.begin(), in.areas.end(), [&](const AreaIn& a) {
        return std::any_of(a.rings.begin(), a.rings.end(),
                           [&](const Ring& r) { return LargeLake(state, a, r); });
      });
  if (!large) return;
  for (int b = 0; b < 3; ++b) {
    const Band band = kLargeWaterBands[b];
    layers.names.push_back(band == Band::Regional ? "Víznév - regionális"
                           : band == Band::Medium ? "Víznév - közepes"
                                                  : "Víznév - távoli");
    layers.largeWater[b] = static_cast<int>(layers.names.size());
  }
}

void AddAreaCategory(BuildState& state) {
  const ImportConfig& cfg = state.config;
  Converter& conv = state.conv;
  PolyCategoryWriter& areas =
      state.map.AddAreas(conv.Name(cfg.areasCategory, kFieldLimit), LayerNames(conv, cfg.areas));
  state.areas = &areas;
  for (const AreaIn& a : state.input.areas) {
    const std::string name = conv.Name(a.name, kOtherNameLimit);
    const std::string& style = cfg.areas[static_cast<std::size_t>(a.rule)].style;
    for (std::size_t i = 0; i < a.rings.size(); ++i) {
      if (!a.rings[i].outer) continue;
      std::vector<PlanePoint> outer = conv.Project(a.rings[i].points);
      std::vector<std::vector<PlanePoint>> holes;
      for (std::size_t j = i + 1; j < a.rings.size() && !a.rings[j].outer; ++j)
        holes.push_back(conv.Project(a.rings[j].points));
      std::vector<PlanePoint> ring = JoinHoles(outer, holes);
      for (double tolerance = state.projection.unit * 0.5; ring.size() > kMaxPolyPoints; tolerance *= 2)
        ring = Simplified(ring, tolerance);
      std::vector<MapPoint> points = conv.ToMap(ring);
      if (points.size() < 4) {
        ++state.summary.brokenGeometry;
        continue;
      }
      if (!(points.front() == points.back())) points.push_back(points.front());
      areas.Add(static_cast<std::int16_t>(a.rule + 1), points, name);
      const double size = std::fabs(RingArea(outer));
      if (!name.empty() && size > 2500 && style != "country") {
        // One label for the pieces of one named area that lie close together.
        const PlanePoint at = InteriorPoint(outer, holes);
        const int layer = style == "water" ? state.labelLayers.water : state.labelLayers.area;
        const bool near = std::any_of(state.labels.begin(), state.labels.end(), [&](const Label& l) {
          return l.layer == layer && l.name == name && Distance(l.at, at) < 500;
        });
        if (!near) state.labels.push_back({layer, at, 0.0f, name});
      }
      if (LargeLake(state, a, a.rings[i])) AddLargeWaterLabels(state, InteriorPoint(outer, holes), name);
    }
  }
}

void AddLineCategory(BuildState& state) {
  const ImportConfig& cfg = state.config;
  Converter& conv = state.conv;
  std::vector<std::string> layers = LayerNames(conv, cfg.lines);
  // Large rivers are drawn again, wider, at small scales (Medium, Far), where a line of
  // their own width would be thinner than a pixel, when the settings say so.
  const std::vector<LineIn>& in = state.input.lines;
  if (cfg.wideRivers &&
      std::any_of(in.begin(), in.end(), [&](const LineIn& l) { return LargeRiver(state, l); })) {
    for (const LayerRule& rule : cfg.lines)
      if (rule.style == "river") {
        layers.push_back(conv.Name(rule.layer, 18) + " - közepes");
        layers.push_back(conv.Name(rule.layer, 18) + " - távoli");
        state.largeRiverLayer = static_cast<int>(layers.size()) - 1;
        break;
      }
  }
  PolyCategoryWriter& lines =
      state.map.AddLines(conv.Name(cfg.linesCategory, kFieldLimit), std::move(layers));
  state.lines = &lines;
  for (const LineIn& l : state.input.lines) {
    const std::string name = conv.Name(l.name, kOtherNameLimit);
    const std::vector<PlanePoint> plane = conv.Project(l.points);
    AddPolyline(lines, static_cast<std::int16_t>(l.rule + 1), conv.ToMap(plane), name);
    const std::string& style = cfg.lines[static_cast<std::size_t>(l.rule)].style;
    if (!name.empty() && (style == "river" || style == "stream") && plane.size() >= 2)
      state.labels.push_back({state.labelLayers.water, plane[plane.size() / 2], 0.0f, name});
    if (LargeRiver(state, l)) AddLargeWaterLabels(state, Halfway(plane), name);
  }
  if (state.largeRiverLayer > 0)
    for (const LineIn& l : state.input.lines) {
      if (!LargeRiver(state, l)) continue;
      const std::vector<PlanePoint> plane = conv.Project(l.points);
      const std::string name = conv.Name(l.name, kOtherNameLimit);
      AddPolyline(lines, static_cast<std::int16_t>(state.largeRiverLayer),
                  conv.ToMap(Simplified(plane, 25.0)), name);
      AddPolyline(lines, static_cast<std::int16_t>(state.largeRiverLayer + 1),
                  conv.ToMap(Simplified(plane, 150.0)), name);
    }
}

void AddOverviewRoads(BuildState& state) {
  const ImportConfig& cfg = state.config;
  Converter& conv = state.conv;
  std::vector<std::string> layers;
  auto bandName = [](Band band) {
    return band == Band::Far ? " - távoli" : band == Band::Medium ? " - közepes" : " - regionális";
  };
  for (Band band : {Band::Far, Band::Medium, Band::Regional})
    for (std::size_t r = 0; r < cfg.roads.size(); ++r)
      if (RoadInBand(cfg.roads[r].style, band)) {
        layers.push_back(conv.Name(cfg.roads[r].layer, 18) + bandName(band));
        state.overviewRoadLayer[{static_cast<int>(r), static_cast<int>(band)}] =
            static_cast<int>(layers.size());
      }
  PolyCategoryWriter& overview =
      state.map.AddLines(conv.Name(cfg.overviewCategory, kFieldLimit), std::move(layers));
  state.overviewRoads = &overview;
  const std::vector<RoadIn>& roads = state.input.roads;
  std::vector<std::size_t> wayOrder(roads.size());
  std::iota(wayOrder.begin(), wayOrder.end(), std::size_t{0});
  std::stable_sort(wayOrder.begin(), wayOrder.end(),
                   [&](std::size_t a, std::size_t b) { return roads[a].rule > roads[b].rule; });
  for (Band band : {Band::Far, Band::Medium, Band::Regional})
    for (std::size_t w : wayOrder) {
      const RoadIn& r = roads[w];
      auto it = state.overviewRoadLayer.find({r.rule, static_cast<int>(band)});
      if (it == state.overviewRoadLayer.end()) continue;
      const double tolerance = band == Band::Far ? 150.0 : band == Band::Medium ? 25.0 : 8.0;
      const std::vector<PlanePoint> plane = Simplified(conv.Project(r.points), tolerance);
      AddPolyline(overview, static_cast<std::int16_t>(it->second), conv.ToMap(plane),
                  conv.Name(r.name, kOtherNameLimit));
    }
}

void AddRoadCategory(BuildState& state) {
  const RoadGraph& graph = state.graph;
  PolyCategoryWriter& roads = state.map.AddLines(state.conv.Name(state.config.roadsCategory, kFieldLimit),
                                                 LayerNames(state.conv, state.config.roads));
  state.roads = &roads;
  std::vector<int> edgeOrder(static_cast<std::size_t>(graph.EdgeCount()));
  std::iota(edgeOrder.begin(), edgeOrder.end(), 0);
  std::stable_sort(edgeOrder.begin(), edgeOrder.end(),
                   [&](int a, int b) { return graph.Edge(a).rule > graph.Edge(b).rule; });
  state.roadRecord.assign(edgeOrder.size(), 0);
  for (int e : edgeOrder) {
    const RoadGraph::GraphEdge& edge = graph.Edge(e);
    std::vector<MapPoint> points = state.conv.ToMap(edge.points);
    if (points.size() == 1) points.push_back(points[0]);
    state.roadRecord[static_cast<std::size_t>(e)] =
        roads.Add(static_cast<std::int16_t>(edge.rule + 1), points, edge.name);
  }
}

void AddNetworkCategory(BuildState& state) {
  // LAYER01 draws the route.
  RoadNetworkWriter& network =
      state.map.AddRoadNetwork(state.conv.Name(state.config.networkCategory, kFieldLimit), {"Útvonal"});
  state.network = &network;
  for (const RoadRule& r : state.config.roads)
    network.costs.push_back(
        {state.conv.Name(r.layer, kFieldLimit), r.enabled ? 1 : 0, 1.0, r.speed, r.unitCost});
  network.defaultCostType = 1;
  // The keys the program writes back when the map closes, as it writes them, so that
  // opening and closing the map leaves the file as it is.
  network.defaultStartNode = "-1,";
  state.map.extraKeys[network.name] = {{"BATCHSOURCEFILE", ""}, {"BATCHTARGETFILE", ""}};
}

void AddOverviewTowns(BuildState& state) {
  const std::vector<LayerRule>& places = state.config.places;
  std::vector<std::string> layers;
  for (std::size_t p = 0; p < places.size(); ++p)
    if (PlaceInBand(places[p].style, Band::Far)) {
      layers.push_back(state.conv.Name(places[p].layer, kFieldLimit));
      state.overviewTownLayer[static_cast<int>(p)] = static_cast<int>(layers.size());
    }
  PointCategoryWriter& overviewTowns = state.map.AddPoints(
      state.conv.Name(state.config.overviewTownsCategory, kFieldLimit), std::move(layers));
  state.overviewTowns = &overviewTowns;
  for (const Settlement& s : state.settlements)
    if (auto it = state.overviewTownLayer.find(s.rule); it != state.overviewTownLayer.end())
      overviewTowns.Add(static_cast<std::int16_t>(it->second), state.conv.ToMap(s.at), s.name);
}

namespace {

// Where a settlement's label in a band stands: the left end of its baseline, beside the
// symbol.
PlanePoint LabelAnchor(const Settlement& s, const std::string& style, Band band) {
  const double symbol = PlaceSymbolHeight(style, band);
  const double height = PlaceLabelHeight(style, band);
  return {s.at.x + symbol * 0.6 + height * 0.15, s.at.y - height * 0.3};
}

struct Box {
  double left, bottom, right, top;
  bool Overlaps(const Box& o) const {
    return left < o.right && o.left < right && bottom < o.top && o.bottom < top;
  }
};

// Which settlements keep their label in `band` when labels are thinned: by rank (the
// class in the order of the settings, then population), a label is left out when its
// box, with a margin, would overlap a label kept before or the symbol of a settlement
// labelled before. Label sizes are ground lengths, so what overlaps at one scale of a
// band overlaps at all of them.
std::vector<bool> KeptLabels(const BuildState& state, Band band) {
  const std::vector<LayerRule>& places = state.config.places;
  const std::vector<Settlement>& all = state.settlements;
  std::vector<bool> kept(all.size(), true);
  if (!state.config.declutterLabels || band == Band::Near) return kept;
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < all.size(); ++i)
    if (PlaceLabelInBand(places[static_cast<std::size_t>(all[i].rule)].style, band)) order.push_back(i);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (all[a].rule != all[b].rule) return all[a].rule < all[b].rule;
    return all[a].population > all[b].population;
  });
  std::vector<Box> placed;  // the labels and the symbols of the settlements labelled so far
  for (std::size_t i : order) {
    const std::string& style = places[static_cast<std::size_t>(all[i].rule)].style;
    const double height = PlaceLabelHeight(style, band);
    const double margin = height * 0.15;
    const PlanePoint a = LabelAnchor(all[i], style, band);
    const double width = height * PlaceLabelCharacterWidth(style) * static_cast<double>(all[i].name.size());
    const Box box{a.x - margin, a.y - height * 0.3 - margin, a.x + width + margin, a.y + height + margin};
    const double half = PlaceSymbolHeight(style, band) / 2;
    const Box symbol{all[i].at.x - half, all[i].at.y - half, all[i].at.x + half, all[i].at.y + half};
    kept[i] = std::none_of(placed.begin(), placed.end(),
                           [&](const Box& p) { return p.Overlaps(box) || (half > 0 && p.Overlaps(symbol)); });
    if (!kept[i]) continue;
    placed.push_back(box);
    if (half > 0) placed.push_back(symbol);
  }
  return kept;
}

// A record per settlement, bound to its node, with its labels beside its symbol in
// every band that labels its class (thinned when the settings say so).
void AddSettlementRecords(BuildState& state) {
  const std::vector<LayerRule>& places = state.config.places;
  std::map<Band, std::vector<bool>> kept;
  for (Band band : {Band::Far, Band::Medium, Band::Regional, Band::Near})
    kept[band] = KeptLabels(state, band);
  for (std::size_t i = 0; i < state.settlements.size(); ++i) {
    const Settlement& s = state.settlements[i];
    const std::int32_t record =
        state.towns->Add(static_cast<std::int16_t>(s.rule + 1), state.conv.ToMap(s.at), s.name);
    if (state.settlementNode[i] >= 0)
      state.bindings.emplace_back(state.settlementNode[i], record);
    else
      ++state.summary.unboundSettlements;
    for (Band band : {Band::Far, Band::Medium, Band::Regional, Band::Near}) {
      auto it = state.labelLayers.place.find({s.rule, static_cast<int>(band)});
      if (it == state.labelLayers.place.end() || !kept[band][i]) continue;
      const std::string& style = places[static_cast<std::size_t>(s.rule)].style;
      state.labels.push_back({it->second, LabelAnchor(s, style, band), 0.0f, s.name});
    }
  }
}

// The street's name along the middle segment of its longest block, reading left to
// right; false for a street without blocks.
bool StreetLabel(const RoadGraph& graph, const Street& s, int layer, Label& label) {
  int longest = -1;
  for (int e : s.edges)
    if (longest < 0 || graph.Edge(e).length > graph.Edge(longest).length) longest = e;
  if (longest < 0 || graph.Edge(longest).points.size() < 2) return false;
  PlanePoint a, b;
  graph.MiddleSegment(longest, a, b);
  if (b.x < a.x) std::swap(a, b);
  const double angle = std::atan2(b.y - a.y, b.x - a.x);
  const double height = StreetLabelHeight();
  const double width = 0.5 * height * static_cast<double>(s.name.size());
  const PlanePoint mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
  const PlanePoint anchor{mid.x - std::cos(angle) * width / 2 + std::sin(angle) * height * 0.35,
                          mid.y - std::sin(angle) * width / 2 - std::cos(angle) * height * 0.35};
  label = {layer, anchor, static_cast<float>(angle * 180.0 / 3.14159265358979), s.name};
  return true;
}

// Each street as a run of records of its name, one per segment with its house-number
// range, each bound to its node, and the street's label.
void AddStreetRecords(BuildState& state) {
  PointCategoryWriter& towns = *state.towns;
  const auto streetLayerNumber = static_cast<std::int16_t>(state.config.places.size() + 1);
  for (std::size_t i = 0; i < state.streets.size(); ++i) {
    const Street& s = state.streets[i];
    // A street that happens to follow a settlement of the same name must not join it.
    if (i == 0 && !state.settlements.empty() && EqualsNoCase(state.settlements.back().name, s.name))
      towns.Add(streetLayerNumber, state.conv.ToMap(s.segments[0].at), "");
    bool first = true;
    const bool numbered = std::any_of(s.segments.begin(), s.segments.end(),
                                      [](const StreetSegment& seg) { return seg.parity != 0; });
    for (const StreetSegment& seg : s.segments) {
      const std::int32_t record = towns.Add(streetLayerNumber, state.conv.ToMap(seg.at), s.name);
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
        state.bindings.emplace_back(seg.node, record);
      else
        ++state.summary.unboundSettlements;
    }
    Label label;
    if (StreetLabel(state.graph, s, state.labelLayers.street, label))
      state.labels.push_back(std::move(label));
  }
  if (state.streets.empty() && state.settlements.empty()) towns.withEntities = false;
}

}  // namespace

void AddTowns(BuildState& state) {
  std::vector<std::string> layers = LayerNames(state.conv, state.config.places);
  if (state.withStreets) layers.push_back(state.conv.Name(state.config.streetLayer, kFieldLimit));
  state.towns =
      &state.map.AddPoints(state.conv.Name(state.config.townsCategory, kFieldLimit), std::move(layers));
  AddSettlementRecords(state);
  if (state.withStreets) AddStreetRecords(state);
}

void LinkNetwork(BuildState& state) {
  const RoadGraph& graph = state.graph;
  RoadNetworkWriter& network = *state.network;
  std::vector<std::int32_t> nodeRecord;
  const std::vector<int> newIndex = graph.Renumber(state.bindings, nodeRecord);
  network.nodes = nodeRecord;
  for (int e = 0; e < graph.EdgeCount(); ++e) {
    const RoadGraph::GraphEdge& edge = graph.Edge(e);
    const std::int32_t from = newIndex[static_cast<std::size_t>(edge.from)];
    const std::int32_t to = newIndex[static_cast<std::size_t>(edge.to)];
    const auto length = static_cast<std::int32_t>(std::lround(edge.length));
    const std::int32_t road = state.roadRecord[static_cast<std::size_t>(e)];
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
  std::stable_sort(
      network.edges.begin(), network.edges.end(),
      [](const RoadNetworkWriter::Edge& a, const RoadNetworkWriter::Edge& b) { return a.from < b.from; });
  state.summary.nodes = static_cast<std::int64_t>(network.nodes.size());
  state.summary.edges = static_cast<std::int64_t>(network.edges.size());
}

void AddLabelCategory(BuildState& state) {
  TextCategoryWriter& texts =
      state.map.AddTexts(state.conv.Name(state.config.textsCategory, kFieldLimit), state.labelLayers.names);
  state.texts = &texts;
  for (const Label& l : state.labels)
    texts.Add(static_cast<std::int16_t>(l.layer), state.conv.ToMap(l.at), l.angle, l.name);
}

}  // namespace koltar::import
