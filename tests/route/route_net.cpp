#include "tests/route/route_net.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "platform/binary.h"
#include "platform/format.h"
#include "route/route_search.h"

namespace koltar::test {
namespace {

struct EdgeLine {
  std::int32_t from, to, road, length;
};

bool IsSettlementToken(const std::string& token) {
  const auto c = static_cast<unsigned char>(token[0]);
  return (c >= 'A' && c <= 'Z') || c >= 0x80;
}

std::string Bytes(const std::vector<std::uint8_t>& v) { return std::string(v.begin(), v.end()); }

}  // namespace

RouteNet::RouteNet(std::string_view picture, std::string_view extraKeys) {
  std::map<std::string, int> typeLayer;
  std::vector<std::string> costs;
  std::vector<EdgeLine> edges;
  std::vector<std::int32_t> nodeRecords;
  std::int32_t roadCount = 0;

  auto node = [&](const std::string& token) {
    const auto it = std::find(tokens_.begin(), tokens_.end(), token);
    if (it != tokens_.end()) return static_cast<std::int32_t>(it - tokens_.begin());
    tokens_.push_back(token);
    std::int32_t record = -1;
    if (IsSettlementToken(token)) {
      record = static_cast<std::int32_t>(towns_.names.size());
      towns_.names.push_back(token.substr(0, token.find('#')));
    }
    nodeRecords.push_back(record);
    return static_cast<std::int32_t>(tokens_.size()) - 1;
  };

  std::istringstream lines{std::string(picture)};
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string first;
    if (!(words >> first)) continue;
    if (first == "type") {
      std::string name, enabled, factor, speed, cost;
      words >> name >> enabled >> factor >> speed >> cost;
      typeLayer[name] = static_cast<int>(costs.size()) + 1;
      costs.push_back(name + "," + enabled + "," + factor + "," + speed + "," + cost);
      continue;
    }
    std::string op, to, type;
    std::int32_t length = 0;
    words >> op >> to >> length >> type;
    if (op != "--" && op != "->") {
      ADD_FAILURE() << "not an edge: " << line;
      continue;
    }
    const std::int32_t road = roadCount++;
    const int layer = type == "-" ? 0 : typeLayer.at(type);
    std::vector<std::uint8_t> record(PolyRecord::kSize, 0);
    WriteI16(record.data() + PolyRecord::kLayer, static_cast<std::int16_t>(layer));
    WriteI16(record.data() + PolyRecord::kPointCount, 2);
    WriteI32(record.data() + PolyRecord::kFirstPoint, 2 * road);
    WriteI32(record.data() + PolyRecord::kNameOffset, -1);
    for (const std::int32_t at : {100 * road, 100 * road + 50}) {
      std::uint8_t point[CoordRecord::kSize];
      WriteI32(point, at);
      WriteI32(point + 4, at);
      roadPoints_.insert(roadPoints_.end(), point, point + CoordRecord::kSize);
    }
    std::uint8_t* bounds = record.data() + PolyRecord::kBounds;
    WriteI32(bounds, 100 * road);
    WriteI32(bounds + 4, 100 * road + 50);
    WriteI32(bounds + 8, 100 * road + 50);
    WriteI32(bounds + 12, 100 * road);
    roadRecords_.insert(roadRecords_.end(), record.begin(), record.end());
    const std::int32_t a = node(first);
    const std::int32_t b = node(to);
    const std::int32_t roadIndex = type == "-" ? -1 : road;
    edges.push_back(EdgeLine{a, b, roadIndex, length});
    if (op == "--") edges.push_back(EdgeLine{b, a, roadIndex, length});
  }
  std::stable_sort(edges.begin(), edges.end(),
                   [](const EdgeLine& x, const EdgeLine& y) { return x.from < y.from; });

  std::vector<std::uint8_t> nodeBytes(nodeRecords.size() * NodeRecord::kSize);
  for (std::size_t i = 0; i < nodeRecords.size(); ++i)
    WriteI32(nodeBytes.data() + i * NodeRecord::kSize, nodeRecords[i]);
  std::vector<std::uint8_t> edgeBytes(edges.size() * EdgeRecord::kSize);
  for (std::size_t i = 0; i < edges.size(); ++i) {
    std::uint8_t* r = edgeBytes.data() + i * EdgeRecord::kSize;
    WriteI32(r + EdgeRecord::kFrom, edges[i].from);
    WriteI32(r + EdgeRecord::kTo, edges[i].to);
    WriteI32(r + EdgeRecord::kRoad, edges[i].road);
    WriteI32(r + EdgeRecord::kLength, edges[i].length);
  }
  dir_.Write("nodes.dat", Bytes(nodeBytes));
  dir_.Write("edges.dat", Bytes(edgeBytes));

  std::string map = "[NET]\nNODEFILE=nodes.dat\nEDGEFILE=edges.dat\nNLAYER=1\nLAYER01=Route\n";
  map += StringPrintf("NCOST=%d\n", static_cast<int>(costs.size()));
  for (std::size_t i = 0; i < costs.size(); ++i)
    map += StringPrintf("COST%02d=%s\n", static_cast<int>(i + 1), costs[i].c_str());
  map += extraKeys;
  dir_.Write("net.map", map);

  roads_ = RoadData{.records = roadRecords_.data(),
                    .recordCount = roadCount,
                    .coords = roadPoints_.data(),
                    .pointCount = 2 * roadCount};
  path_ = std::make_unique<MOptPath>("NET", dir_.Model(), "net.map");
  path_->Bind(towns_, roads_);
}

std::int32_t RouteNet::Node(std::string_view token) const {
  const auto it = std::find(tokens_.begin(), tokens_.end(), token);
  EXPECT_NE(it, tokens_.end()) << token;
  return it == tokens_.end() ? -1 : static_cast<std::int32_t>(it - tokens_.begin());
}

void RouteNet::Request(std::initializer_list<std::string_view> tokens) {
  RouteRequest& request = path_->routeState().request();
  request.ClearRoutePoints();
  for (const std::string_view t : tokens) {
    const std::int32_t n = Node(t);
    EXPECT_TRUE(request.AddRoutePoint(n, std::string(t)));
  }
}

std::int32_t RouteNet::Plan(int criterion) {
  path_->costTable().SetCriterion(criterion);
  path_->routeState().DeleteRoute();
  return SearchRoute(*path_, towns_, roads_, error_);
}

std::string RouteNet::Nodes() const {
  const std::vector<RouteStep>& route = path_->routeState().steps();
  if (route.empty()) return "";
  std::string out = tokens_[route.front().from];
  for (const RouteStep& s : route) out += " " + tokens_[s.to];
  return out;
}

std::string RouteNet::Roads() const {
  std::string out;
  for (const RouteStep& s : path_->routeState().steps()) {
    const std::int32_t road = path_->graph().edge(s.edge).road;
    if (!out.empty()) out += " ";
    out += road < 0 ? "-" : std::to_string(road);
  }
  return out;
}

std::string RouteNet::Itinerary() const {
  std::string out;
  ItineraryItem item;
  const RouteState& state = path_->routeState();
  for (std::int32_t i = 0; i <= state.stepCount(); ++i) {
    if (!state.GetItineraryEntry(i, item)) continue;
    if (!out.empty()) out += ", ";
    if (item.mark == kRoutePointMark) out += item.mark;
    out += item.name + StringPrintf(" %g", static_cast<double>(item.distance));
  }
  return out;
}

}  // namespace koltar::test
