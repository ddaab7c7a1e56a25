#pragma once
// The itinerary (MultipleNodeFilter): the settlements a route passes, with running
// totals, as 70-byte entries. Repeated names are merged by hiding entries, so that a
// settlement the route crosses at several nodes is listed once.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "route/route_records.h"

namespace koltar {

class RoadGraph;
class RouteState;
class SettlementNames;

class MultipleNodeFilter {
 public:
  // Room for `capacity` entries. May throw std::bad_alloc.
  explicit MultipleNodeFilter(std::int32_t capacity);

  std::int32_t capacity() const { return capacity_; }
  std::int32_t count() const { return count_; }

  // Adds a shown entry, the name cut to 48 characters; false when the itinerary is full.
  bool Add(char mark, std::string_view name, std::int32_t settlement, float distance, float time, float cost);

  // Entry fields; precondition 0 <= index < count().
  std::int32_t Shown(std::int32_t index) const;
  void SetShown(std::int32_t index, std::int32_t shown);
  char Mark(std::int32_t index) const;
  std::string_view Name(std::int32_t index) const;
  std::int32_t Settlement(std::int32_t index) const;
  float Distance(std::int32_t index) const;
  float Time(std::int32_t index) const;
  float Cost(std::int32_t index) const;
  // The entry's 70 bytes.
  const std::uint8_t* Record(std::int32_t index) const;

  // Hides repeated names: a run of equal names at the end keeps its last entry (the
  // arrival); before it, a run keeps its first entry, or its marked entry when it has
  // one. The first and the last entry are never hidden.
  void MergeRepeatedNames();

 private:
  std::uint8_t* At(std::int32_t index);
  const std::uint8_t* At(std::int32_t index) const;

  std::int32_t capacity_;
  std::int32_t count_ = 0;
  std::vector<std::uint8_t> bytes_;
};

// The itinerary of the route of `state` on `graph`: the start node, then every
// settlement node the steps arrive at, marked when the node is a route point of the
// request, then merged. Null without route. May throw std::bad_alloc.
std::unique_ptr<MultipleNodeFilter> BuildItinerary(const RoadGraph& graph, const RouteState& state,
                                                   const SettlementNames& towns);

}  // namespace koltar
