#include "route/route_state.h"

#include <algorithm>
#include <new>
#include <utility>

#include "route/itinerary.h"

namespace koltar {

bool RouteRequest::AddRoutePoint(std::int32_t node, std::string_view name) {
  if (routePointCount() >= kMaxRoutePoints) return false;
  RoutePoint point;
  point.node = node;
  SetFixedText(point.name, name);
  routePoints_.push_back(point);
  return true;
}

bool RouteRequest::CanPlace(RoutePointRole role) const {
  // A start or a destination either replaces a point or joins a request of one point.
  if (role != RoutePointRole::Via) return true;
  return HasStartAndDestination() && routePointCount() < kMaxRoutePoints;
}

bool RouteRequest::PlaceRoutePoint(RoutePointRole role, std::int32_t node, std::string_view name) {
  if (!CanPlace(role)) return false;
  RoutePoint point;
  point.node = node;
  SetFixedText(point.name, name);
  const std::int32_t n = routePointCount();
  switch (role) {
    case RoutePointRole::Start:
      if (n == 0 || startMissing_)
        routePoints_.insert(routePoints_.begin(), point);
      else
        routePoints_.front() = point;
      startMissing_ = false;
      break;
    case RoutePointRole::Destination:
      if (n == 0) {
        routePoints_.push_back(point);
        startMissing_ = true;
      } else if (n >= 2 || startMissing_) {
        routePoints_.back() = point;
      } else {
        routePoints_.push_back(point);
      }
      break;
    case RoutePointRole::Via: routePoints_.insert(routePoints_.end() - 1, point); break;
  }
  return true;
}

bool RouteRequest::IsRoutePointNode(std::int32_t node) const {
  return std::any_of(routePoints_.begin(), routePoints_.end(),
                     [node](const RoutePoint& p) { return p.node == node; });
}

void RouteRequest::SetDefaultStart(std::int32_t node, std::string_view name) {
  defaultStartNode_ = node;
  SetFixedText(defaultStartName_, name);
}

RouteState::RouteState() = default;
RouteState::~RouteState() = default;

int RouteState::AppendLeg(const std::vector<RouteStep>& leg) {
  const RouteStep last = steps_.empty() ? RouteStep{0, 0, -1, 0, 0, 0} : steps_.back();
  try {
    steps_.reserve(steps_.size() + leg.size());
  } catch (const std::bad_alloc&) {
    return -1;
  }
  for (const RouteStep& s : leg)
    steps_.push_back(RouteStep{s.from, s.to, s.edge, AddWeight(s.distance, last.distance),
                               AddWeight(s.time, last.time), AddWeight(s.cost, last.cost)});
  return 0;
}

void RouteState::DeleteRoute() {
  std::vector<RouteStep>().swap(steps_);
  itinerary_.reset();
}

void RouteState::SetItinerary(std::unique_ptr<MultipleNodeFilter> itinerary) {
  itinerary_ = std::move(itinerary);
}

int RouteState::GetItineraryEntry(std::int32_t index, ItineraryItem& item) const {
  item = ItineraryItem{};
  if (!itinerary_ || index < 0 || index >= itinerary_->count()) return 0;
  item.mark = itinerary_->Mark(index);
  item.name = std::string(itinerary_->Name(index));
  item.settlement = itinerary_->Settlement(index);
  item.distance = itinerary_->Distance(index);
  item.time = itinerary_->Time(index);
  item.cost = itinerary_->Cost(index);
  return itinerary_->Shown(index);
}

}  // namespace koltar
