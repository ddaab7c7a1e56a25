#pragma once
// The route planning state of a road network: the request (route points and the
// default start place, which the route request dialog edits on a copy) and the last
// route found with its itinerary.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "route/route_records.h"

namespace koltar {

class MultipleNodeFilter;

// What a place chosen on the map becomes in the request: the start, the destination, or
// a via point before the destination.
enum class RoutePointRole { Start, Destination, Via };

// A route request as a plain value: at most kMaxRoutePoints route points in route
// order, and the default start place (key DEFAULTSTARTNODE).
class RouteRequest {
 public:
  std::int32_t routePointCount() const { return static_cast<std::int32_t>(routePoints_.size()); }
  // Precondition: 0 <= index < routePointCount().
  const RoutePoint& routePoint(std::int32_t index) const {
    return routePoints_[static_cast<std::size_t>(index)];
  }
  const std::vector<RoutePoint>& routePoints() const { return routePoints_; }
  void ClearRoutePoints() {
    routePoints_.clear();
    startMissing_ = false;
  }
  // Appends a point, the name cut to 31 characters; false, adding nothing, when there
  // are kMaxRoutePoints already.
  [[nodiscard]] bool AddRoutePoint(std::int32_t node, std::string_view name);
  bool IsRoutePointNode(std::int32_t node) const;

  // Puts a place chosen on the map into the request. A start replaces the first point
  // (or goes before a destination chosen first); a destination replaces the last point
  // of a request with a start and a destination, follows a lone start, or stands alone
  // waiting for a start; a via point goes just before the destination. False, changing
  // nothing, when CanPlace says no.
  [[nodiscard]] bool PlaceRoutePoint(RoutePointRole role, std::int32_t node, std::string_view name);
  // Whether PlaceRoutePoint can put a point of that role in: a via point needs a start
  // and a destination, and no role may make more than kMaxRoutePoints points.
  bool CanPlace(RoutePointRole role) const;
  // True when the request has a start and a destination, so that a route can be planned.
  bool HasStartAndDestination() const { return routePointCount() >= 2 && !startMissing_; }
  // True while the only point is a destination chosen before any start.
  bool startMissing() const { return startMissing_; }

  // Default start place: node -1 for none; the name holds at most 31 characters.
  std::int32_t defaultStartNode() const { return defaultStartNode_; }
  std::string_view defaultStartName() const { return FixedText(defaultStartName_); }
  void SetDefaultStart(std::int32_t node, std::string_view name);

 private:
  std::vector<RoutePoint> routePoints_;
  bool startMissing_ = false;
  std::int32_t defaultStartNode_ = -1;
  char defaultStartName_[kShortTextSize] = {};
};

// One itinerary entry as readers get it.
struct ItineraryItem {
  char mark = kNoMark;
  std::string name;
  std::int32_t settlement = -1;
  float distance = 0;
  float time = 0;
  float cost = 0;
};

class RouteState {
 public:
  RouteState();
  ~RouteState();
  RouteState(const RouteState&) = delete;
  RouteState& operator=(const RouteState&) = delete;

  // The request the next search plans; a dialog copies it and assigns the edited copy.
  RouteRequest& request() { return request_; }
  const RouteRequest& request() const { return request_; }

  // The route: steps in travel order with running totals.
  std::int32_t stepCount() const { return static_cast<std::int32_t>(steps_.size()); }
  const std::vector<RouteStep>& steps() const { return steps_; }
  // Replaces the route by a leg's steps.
  void SetRoute(std::vector<RouteStep> steps) { steps_ = std::move(steps); }
  // Appends a leg, adding the route's last running totals to the leg's. Returns 0, or
  // -1 (route unchanged) when the route cannot be enlarged.
  [[nodiscard]] int AppendLeg(const std::vector<RouteStep>& leg);
  // Frees the route and destroys the itinerary; the request stays.
  void DeleteRoute();

  // Itinerary of the last route, or null.
  const MultipleNodeFilter* itinerary() const { return itinerary_.get(); }
  void SetItinerary(std::unique_ptr<MultipleNodeFilter> itinerary);
  // The entry at `index`; returns its shown flag, or 0 when there is no itinerary or
  // no such entry (then `item` gets a blank mark, an empty name, index -1 and zeros).
  int GetItineraryEntry(std::int32_t index, ItineraryItem& item) const;

 private:
  RouteRequest request_;
  std::vector<RouteStep> steps_;
  std::unique_ptr<MultipleNodeFilter> itinerary_;
};

}  // namespace koltar
