#pragma once
// The fixed-size records of route planning in memory: edges, route steps, search labels,
// open list entries, road types, route points and itinerary entries. The layouts are
// those that the route list, printing and batch planning read. The road network's files
// (NodeRecord, EdgeRecord) are laid out in geometry/records.h.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/records.h"

namespace koltar {

// Optimisation criteria (key DEFAULTCOSTTYPE).
inline constexpr int kCriterionDistance = 0;
inline constexpr int kCriterionTime = 1;
inline constexpr int kCriterionCost = 2;

// The weight of an impassable edge and the value of a node the search has not reached.
inline constexpr float kUnreached = 1e38f;

// The three weights of an edge, made from the cost table before a search.
struct EdgeWeights {
  float distance = 0;  // length times the distance factor
  float time = 0;      // hours
  float cost = 0;      // Ft
};
static_assert(sizeof(EdgeWeights) == 12);

// One edge decoded: the four file fields and the three weights.
struct EdgeEntry {
  std::int32_t from = 0;
  std::int32_t to = 0;
  std::int32_t road = -1;    // road object index; negative: no road object
  std::int32_t length = 0;   // metres
  float distanceWeight = 0;  // length times the distance factor
  float timeWeight = 0;      // hours
  float costWeight = 0;      // Ft
  std::int32_t reserved = 0;
};

// An edge table as the searches read it: the records in the edge file's layout
// (EdgeRecord), sorted by from node, and the weights of each record. The road network
// keeps its records in place in the loaded edge file.
struct EdgeTable {
  const std::uint8_t* records = nullptr;
  const EdgeWeights* weights = nullptr;
  std::int32_t count = 0;

  const std::uint8_t* Record(std::int32_t k) const {
    return records + static_cast<std::size_t>(k) * EdgeRecord::kSize;
  }
  std::int32_t From(std::int32_t k) const { return EdgeRecord::From(Record(k)); }
  std::int32_t To(std::int32_t k) const { return EdgeRecord::To(Record(k)); }
  const EdgeWeights& Weights(std::int32_t k) const { return weights[k]; }
  // The edge decoded, with zero weights while there are none.
  EdgeEntry Entry(std::int32_t k) const;
};

// Every edge of a table decoded.
std::vector<EdgeEntry> DecodeEdges(const EdgeTable& table);

// An edge table of its own, made from decoded edges (for the tests, the benchmarks and
// searches over edges that are not in a file).
class EdgeList {
 public:
  EdgeList() = default;
  EdgeList(const EdgeEntry* edges, std::int32_t count);
  explicit EdgeList(const std::vector<EdgeEntry>& edges)
      : EdgeList(edges.data(), static_cast<std::int32_t>(edges.size())) {}
  EdgeTable table() const {
    return EdgeTable{records_.data(), weights_.data(), static_cast<std::int32_t>(weights_.size())};
  }
  // The weights, to be changed in place.
  EdgeWeights& weights(std::int32_t k) { return weights_[static_cast<std::size_t>(k)]; }

 private:
  std::vector<std::uint8_t> records_;
  std::vector<EdgeWeights> weights_;
};

// One edge travelled, with running totals from the start of the whole route.
struct RouteStep {
  std::int32_t from = 0;
  std::int32_t to = 0;
  std::int32_t edge = -1;  // index into the edge table
  float distance = 0;
  float time = 0;  // hours
  float cost = 0;  // Ft
};
static_assert(sizeof(RouteStep) == 24);

// Search work record, one per node.
struct NodeLabel {
  std::int32_t predecessor = -1;  // -1 while the node is unvisited
  float distance = kUnreached;
  float time = kUnreached;
  float cost = kUnreached;
};
static_assert(sizeof(NodeLabel) == 16);

// An entry of the search's open list: the node and the values it was put in with.
struct OpenListEntry {
  std::int32_t node = 0;
  float distance = 0;
  float time = 0;
  float cost = 0;
};
static_assert(sizeof(OpenListEntry) == 16);

// The value of one criterion of a label, a step or an open list entry.
template <typename Record>
inline float CriterionValue(const Record& r, int criterion) {
  return criterion == kCriterionTime ? r.time : criterion == kCriterionCost ? r.cost : r.distance;
}

// Edge weight of one criterion.
inline float CriterionWeight(const EdgeWeights& w, int criterion) { return CriterionValue(w, criterion); }
inline float CriterionWeight(const EdgeEntry& e, int criterion) {
  return criterion == kCriterionTime   ? e.timeWeight
         : criterion == kCriterionCost ? e.costWeight
                                       : e.distanceWeight;
}

// A running total plus a weight, as the search adds them: in higher precision, stored
// as a 32-bit float.
inline float AddWeight(float total, float weight) {
  return static_cast<float>(static_cast<double>(total) + static_cast<double>(weight));
}

// Fixed text fields hold at most this many characters and a terminator.
inline constexpr std::size_t kShortTextSize = 32;

// Copies text into a fixed field, cut to fit, zero-filled.
template <std::size_t N>
inline void SetFixedText(char (&field)[N], std::string_view text) {
  const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
  for (std::size_t i = 0; i < N; ++i) field[i] = i < n ? text[i] : '\0';
}

template <std::size_t N>
inline std::string_view FixedText(const char (&field)[N]) {
  std::size_t n = 0;
  while (n < N && field[n] != '\0') ++n;
  return std::string_view(field, n);
}

// Road type: one entry of the cost table (key COSTnn). Road objects of layer k have
// road type k (counted from 1).
struct RoadType {
  char name[kShortTextSize] = {};
  std::int32_t enabled = 0;  // non-zero: routes may use the type
  float distanceFactor = 0;  // multiplies an edge's length into its distance weight
  float speed = 0;           // km/h
  float unitCost = 0;        // Ft/km
};
static_assert(sizeof(RoadType) == 48);

// One point of a route request: a node and the name shown for it.
struct RoutePoint {
  std::int32_t node = -1;
  char name[kShortTextSize] = {};
};
static_assert(sizeof(RoutePoint) == 36);

inline constexpr int kMaxRoutePoints = 32;

// Itinerary entry: 70 bytes, read and written in place through the accessors of
// MultipleNodeFilter.
inline constexpr std::int32_t kItineraryEntrySize = 70;
inline constexpr std::int32_t kItineraryShownOffset = 0;  // signed 32-bit
inline constexpr std::int32_t kItineraryMarkOffset = 4;   // one character
inline constexpr std::int32_t kItineraryNameOffset = 5;   // 49 bytes, terminated
inline constexpr std::int32_t kItineraryNameSize = 49;
inline constexpr std::int32_t kItinerarySettlementOffset = 54;  // signed 32-bit
inline constexpr std::int32_t kItineraryDistanceOffset = 58;    // 32-bit float
inline constexpr std::int32_t kItineraryTimeOffset = 62;        // 32-bit float, hours
inline constexpr std::int32_t kItineraryCostOffset = 66;        // 32-bit float

// The mark of an itinerary entry whose node is one of the request's route points
// ('>>' sign, code 187 of code page 1250), and of the others.
inline constexpr char kRoutePointMark = '\xBB';
inline constexpr char kNoMark = ' ';

}  // namespace koltar
