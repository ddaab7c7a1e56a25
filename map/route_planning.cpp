#include "map/route_planning.h"

#include <cmath>
#include <limits>

#include "categories/point.h"
#include "categories/text.h"
#include "map/mmap.h"
#include "platform/format.h"
#include "platform/progress.h"
#include "route/opt_path.h"
#include "route/route_search.h"

namespace koltar {
namespace {

constexpr char kNoRoute[] = "A kezdőpontból nem lehet eljutni a végpontba.";
constexpr char kNoSettlementNode[] = "A térképen nincs olyan település, amely útvonalpont lehet.";
constexpr char kFarSettlement[] = "A legközelebbi település ('%s') %s távolságra van a kijelölt ponttól.";

bool NetworkLoaded(const MMap& map) {
  const MOptPath* net = map.roadNetwork();
  return net && net->graph().nodeCount() > 0 && net->graph().edgeCount() > 0;
}

const MPoint* TownCategory(const MMap& map) {
  const std::int32_t towns = map.townCategory();
  return towns >= 0 ? map.points()[static_cast<std::size_t>(towns)] : nullptr;
}

bool HasEqualNeighbours(const RouteRequest& request) {
  for (std::int32_t i = 0; i + 1 < request.routePointCount(); ++i)
    if (request.routePoint(i).node == request.routePoint(i + 1).node) return true;
  return false;
}

}  // namespace

PlanResult SearchRequestedRoute(MMap& map, WindowHandle owner) {
  MOptPath* net = map.roadNetwork();
  if (!net) return PlanResult::NotRun;
  map.DeleteRoute();
  std::string error;
  std::int32_t steps = 0;
  {
    ScopedWaitCursor wait;
    steps = SearchRoute(*net, map.Settlements(), map.Roads(), error);
  }
  if (!error.empty()) ShowMessage(error, MessageKind::Exclamation, owner);
  if (steps == 0) ShowMessage(kNoRoute, MessageKind::Information, owner);
  return steps > 0 && error.empty() ? PlanResult::Found : PlanResult::WithMessage;
}

PlanResult PlanRoute(MMap& map, const RouteDialogRunners& dialogs, WindowHandle owner) {
  MOptPath* net = map.roadNetwork();
  if (!net || !map.CheckRouteCategories(owner)) return PlanResult::NotRun;
  const PointSettlements towns = map.Settlements();
  SelectTargetNode dialog(*net, towns, dialogs.costs, owner);
  if (!dialogs.request || !dialogs.request(dialog)) return PlanResult::NotRun;
  return SearchRequestedRoute(map, owner);
}

bool SetRouteCosts(MMap& map, const RouteDialogRunners& dialogs, WindowHandle owner) {
  MOptPath* net = map.roadNetwork();
  if (!net) return false;
  SetCost dialog(net->costTable(), owner);
  return dialogs.costs && dialogs.costs(dialog);
}

std::optional<NearestSettlement> FindNearestSettlementNode(const MMap& map, MapPoint at) {
  const MOptPath* net = map.roadNetwork();
  const MPoint* points = TownCategory(map);
  if (!net || !points) return std::nullopt;
  const PointSettlements towns = map.Settlements();
  const RoadGraph& graph = net->graph();
  NearestSettlement best;
  double bestSquare = std::numeric_limits<double>::infinity();
  for (std::int32_t node = 0; node < graph.nodeCount(); ++node) {
    const std::int32_t settlement = graph.SettlementOfNode(node, towns);
    if (settlement < 0) continue;
    const MapPoint p = points->GetPosition(settlement);
    const double dx = static_cast<double>(p.x) - at.x;
    const double dy = static_cast<double>(p.y) - at.y;
    const double square = dx * dx + dy * dy;
    // The name is asked only of a closer candidate: most nodes are farther.
    if (square < bestSquare && !towns.PlainName(settlement).empty()) {
      bestSquare = square;
      best = NearestSettlement{node, settlement, std::sqrt(square)};
    }
  }
  if (best.node < 0) return std::nullopt;
  return best;
}

std::optional<NearestSettlement> FindSettlementUnder(const MMap& map, MapPoint at) {
  const MOptPath* net = map.roadNetwork();
  const MPoint* towns = TownCategory(map);
  if (!net || !towns) return std::nullopt;
  // The object under the point: a point symbol, the topmost first, else a label (labels
  // are not hit by the name tool, but a user clicks on a town's name as often as on its
  // symbol). Areas and lines under the point play no part.
  std::int32_t settlement = -1;
  const std::vector<MPoint*>& points = map.points();
  for (auto it = points.rbegin(); it != points.rend() && settlement < 0; ++it) {
    const std::optional<std::int32_t> object = (*it)->HitTest(at);
    if (!object) continue;
    if (*it == towns)
      settlement = *object;
    else if (const std::string name = (*it)->GetObjectName(*object, false); !name.empty())
      settlement = map.Settlements().FindByName(name);
  }
  if (settlement < 0) {
    if (const std::optional<LabelHit> label = map.HitTestLabel(at)) {
      const std::string name =
          map.texts()[static_cast<std::size_t>(label->category)]->GetObjectName(label->label);
      if (!name.empty()) settlement = map.Settlements().FindByName(name);
    }
  }
  if (settlement < 0 || map.Settlements().PlainName(settlement).empty()) return std::nullopt;
  const std::int32_t node = net->graph().FindNodeOfPoint(settlement);
  if (node < 0) return std::nullopt;
  const MapPoint p = towns->GetPosition(settlement);
  return NearestSettlement{node, settlement,
                           std::hypot(static_cast<double>(p.x) - at.x, static_cast<double>(p.y) - at.y)};
}

bool CanPlaceRoutePoint(const MMap& map, RoutePointRole role) {
  return NetworkLoaded(map) && map.roadNetwork()->routeState().request().CanPlace(role);
}

std::string FormatGroundDistance(double metres) {
  if (metres < 1000) return StringPrintf("%.0f m", metres);
  std::string text = StringPrintf("%.1f km", metres / 1000);
  for (char& c : text)
    if (c == '.') c = ',';
  return text;
}

PlaceResult PlaceRoutePointAt(MMap& map, RoutePointRole role, MapPoint at, double tolerance,
                              WindowHandle owner) {
  PlaceResult result;
  if (!CanPlaceRoutePoint(map, role) || !map.CheckRouteCategories(owner)) return result;
  // The settlement whose symbol was clicked, else the nearest one.
  std::optional<NearestSettlement> nearest = FindSettlementUnder(map, at);
  const bool pointedAt = nearest.has_value();
  if (!pointedAt) nearest = FindNearestSettlementNode(map, at);
  if (!nearest) {
    ShowMessage(kNoSettlementNode, MessageKind::Exclamation, owner);
    return result;
  }
  result.name = map.Settlements().PlainName(nearest->settlement);
  if (!pointedAt && nearest->distance > tolerance) {
    const std::string far = FormatGroundDistance(nearest->distance * map.unit());
    ShowMessage(StringPrintf(kFarSettlement, result.name.c_str(), far.c_str()), MessageKind::Information,
                owner);
  }
  RouteRequest& request = map.roadNetwork()->routeState().request();
  const RouteRequest before = request;
  if (!request.PlaceRoutePoint(role, nearest->node, result.name)) return result;
  if (HasEqualNeighbours(request)) {
    // The same place twice in a row is no route; the request stays as it was.
    request = before;
    ShowMessage(kInvalidRouteSelectionText, MessageKind::Exclamation, owner);
    return result;
  }
  result.placed = true;
  if (!request.HasStartAndDestination()) return result;
  result.plan = SearchRequestedRoute(map, owner);
  return result;
}

}  // namespace koltar
