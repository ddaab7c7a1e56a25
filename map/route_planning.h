#pragma once
// Route planning on a map: the command that plans a route interactively (the route
// request dialog, then the search and its messages), the cost settings command, and
// route points chosen on the map itself (the settlement nearest to a point becomes the
// start, the destination or a via point, and the route is planned as soon as there is
// a start and a destination).
//
// The dialogs' behaviour is the plain classes SelectTargetNode and SetCost; the
// application shows them through the runners it gives, tests act in them directly.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "geometry/geometry.h"
#include "platform/messages.h"
#include "route/route_state.h"
#include "route/select_target_node.h"
#include "route/set_cost.h"

namespace koltar {

class MMap;

// How the dialogs are shown.
struct RouteDialogRunners {
  // Shows the route request dialog; true when it was closed with OK (its Accept has
  // stored the request).
  std::function<bool(SelectTargetNode&)> request;
  // Shows the cost settings dialog; true when it was closed with OK.
  SelectTargetNode::CostDialogRunner costs;
};

// What planning came to.
enum class PlanResult {
  NotRun,       // a category missing, the dialog cancelled, or nothing to plan yet
  WithMessage,  // the search ran and a message was shown, or it found no route
  Found,        // a route was found without any message
};

// Plans a route interactively: checks that the map names a settlement and a road
// category (the messages of MMap::CheckRouteCategories), runs the request dialog and,
// on OK, searches (SearchRequestedRoute).
PlanResult PlanRoute(MMap& map, const RouteDialogRunners& dialogs, WindowHandle owner = nullptr);

// Deletes the route, plans the network's request with the wait cursor shown, shows the
// search's message (exclamation icon) and, when there is no route, "A kezdőpontból nem
// lehet eljutni a végpontba." (information icon).
PlanResult SearchRequestedRoute(MMap& map, WindowHandle owner = nullptr);

// Runs the cost settings dialog on the network's cost table; false without network.
bool SetRouteCosts(MMap& map, const RouteDialogRunners& dialogs, WindowHandle owner = nullptr);

// The node of the settlement nearest to a map point.
struct NearestSettlement {
  std::int32_t node = -1;        // the first node of that settlement object
  std::int32_t settlement = -1;  // the object in the settlement category
  double distance = 0;           // from the point, map units
};

// The named settlement object nearest to `at` among those a node stands for (the
// earliest node wins a tie); none without road network, settlement category or such a
// node.
std::optional<NearestSettlement> FindNearestSettlementNode(const MMap& map, MapPoint at);

// The settlement drawn under `at`: the point object found there (in the settlement
// category, or in another point category, such as one of larger towns drawn over the
// settlements, then the first settlement of its exact name), else the label found there
// (the first settlement named as it reads), when a node stands for it; none otherwise.
// Uses what the last drawing showed.
std::optional<NearestSettlement> FindSettlementUnder(const MMap& map, MapPoint at);

// Whether a place chosen on the map can become a route point of that role now: the map
// has a loaded road network, and a via point needs a start and a destination.
bool CanPlaceRoutePoint(const MMap& map, RoutePointRole role);

// What placing a route point came to: a search's result, or Placed when the point was
// stored and the request still waits for its start or destination.
struct PlaceResult {
  PlanResult plan = PlanResult::NotRun;
  bool placed = false;
  std::string name;  // the settlement that became the route point (code page 1250)
};

// Makes the settlement whose symbol is under `at` (FindSettlementUnder), else the one
// nearest to `at`, a route point of `role`. When the nearest lies farther than
// `tolerance` map units from `at`, says so and how far ("A legközelebbi település ('%s')
// %s távolságra van a kijelölt ponttól.", information icon) and takes it.
// Once the request has a start and a destination the route is planned at once with the
// current criterion (SearchRequestedRoute); two equal consecutive points are refused
// with the route request dialog's message first.
PlaceResult PlaceRoutePointAt(MMap& map, RoutePointRole role, MapPoint at, double tolerance,
                              WindowHandle owner = nullptr);

// A ground distance for a message: "850 m", "3,2 km" (a decimal comma).
std::string FormatGroundDistance(double metres);

}  // namespace koltar
