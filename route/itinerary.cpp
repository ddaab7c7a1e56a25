#include "route/itinerary.h"

#include <cstring>
#include <optional>

#include "platform/binary.h"
#include "route/road_data.h"
#include "route/road_graph.h"
#include "route/route_state.h"

namespace koltar {

namespace {
constexpr std::size_t kNameLength = kItineraryNameSize - 1;  // 48 characters
}

MultipleNodeFilter::MultipleNodeFilter(std::int32_t capacity)
    : capacity_(capacity > 0 ? capacity : 0),
      bytes_(static_cast<std::size_t>(capacity_) * kItineraryEntrySize, 0) {}

std::uint8_t* MultipleNodeFilter::At(std::int32_t index) {
  return bytes_.data() + static_cast<std::size_t>(index) * kItineraryEntrySize;
}

const std::uint8_t* MultipleNodeFilter::At(std::int32_t index) const {
  return bytes_.data() + static_cast<std::size_t>(index) * kItineraryEntrySize;
}

bool MultipleNodeFilter::Add(char mark, std::string_view name, std::int32_t settlement, float distance,
                             float time, float cost) {
  if (count_ >= capacity_) return false;
  std::uint8_t* e = At(count_++);
  std::memset(e, 0, kItineraryEntrySize);
  WriteI32(e + kItineraryShownOffset, 1);
  e[kItineraryMarkOffset] = static_cast<std::uint8_t>(mark);
  const std::size_t n = name.size() < kNameLength ? name.size() : kNameLength;
  std::memcpy(e + kItineraryNameOffset, name.data(), n);
  WriteI32(e + kItinerarySettlementOffset, settlement);
  WriteF32(e + kItineraryDistanceOffset, distance);
  WriteF32(e + kItineraryTimeOffset, time);
  WriteF32(e + kItineraryCostOffset, cost);
  return true;
}

std::int32_t MultipleNodeFilter::Shown(std::int32_t index) const {
  return ReadI32(At(index) + kItineraryShownOffset);
}

void MultipleNodeFilter::SetShown(std::int32_t index, std::int32_t shown) {
  WriteI32(At(index) + kItineraryShownOffset, shown);
}

char MultipleNodeFilter::Mark(std::int32_t index) const {
  return static_cast<char>(At(index)[kItineraryMarkOffset]);
}

std::string_view MultipleNodeFilter::Name(std::int32_t index) const {
  const char* name = reinterpret_cast<const char*>(At(index) + kItineraryNameOffset);
  return std::string_view(name, ::strnlen(name, kNameLength));
}

std::int32_t MultipleNodeFilter::Settlement(std::int32_t index) const {
  return ReadI32(At(index) + kItinerarySettlementOffset);
}

float MultipleNodeFilter::Distance(std::int32_t index) const {
  return ReadF32(At(index) + kItineraryDistanceOffset);
}

float MultipleNodeFilter::Time(std::int32_t index) const { return ReadF32(At(index) + kItineraryTimeOffset); }

float MultipleNodeFilter::Cost(std::int32_t index) const { return ReadF32(At(index) + kItineraryCostOffset); }

const std::uint8_t* MultipleNodeFilter::Record(std::int32_t index) const { return At(index); }

void MultipleNodeFilter::MergeRepeatedNames() {
  // From the end: a run of equal names keeps only its last entry, the arrival.
  std::int32_t i = count_ - 2;
  while (i >= 1 && Name(i) == Name(i + 1)) SetShown(i--, 0);
  const std::int32_t last = i > 0 ? i : 0;

  // Before it: a run keeps its first entry, unless a later entry of the run is a route
  // point, which then replaces the unmarked entries before it.
  for (std::int32_t j = 0; j < last; ++j) {
    if (Name(j) != Name(j + 1)) continue;
    if (Mark(j + 1) != kRoutePointMark) {
      SetShown(j + 1, 0);
      continue;
    }
    for (std::int32_t k = j; k >= 1 && Name(k) == Name(j + 1) && Mark(k) != kRoutePointMark; --k)
      SetShown(k, 0);
  }
}

std::unique_ptr<MultipleNodeFilter> BuildItinerary(const RoadGraph& graph, const RouteState& state,
                                                   const SettlementNames& towns) {
  const std::vector<RouteStep>& route = state.steps();
  if (route.empty()) return nullptr;
  auto itinerary = std::make_unique<MultipleNodeFilter>(static_cast<std::int32_t>(route.size()) + 1);

  auto add = [&](std::int32_t node, bool always, float distance, float time, float cost) {
    const std::int32_t settlement = graph.SettlementOfNode(node, towns);
    if (settlement < 0 && !always) return;
    const char mark = state.request().IsRoutePointNode(node) ? kRoutePointMark : kNoMark;
    itinerary->Add(mark, settlement >= 0 ? towns.NameWithHouseNumbers(settlement) : std::string(), settlement,
                   distance, time, cost);
  };

  // The nodes of a step's edge; the step's own nodes when the edge is unknown.
  const std::optional<EdgeEntry> first = graph.EdgeOfStep(route.front());
  add(first ? first->from : route.front().from, true, 0, 0, 0);
  for (const RouteStep& step : route) {
    const std::optional<EdgeEntry> edge = graph.EdgeOfStep(step);
    add(edge ? edge->to : step.to, false, step.distance, step.time, step.cost);
  }
  itinerary->MergeRepeatedNames();
  return itinerary;
}

}  // namespace koltar
