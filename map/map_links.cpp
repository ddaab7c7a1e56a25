#include "map/map_links.h"

#include "categories/point.h"
#include "map/mmap.h"
#include "platform/services.h"
#include "route/opt_path.h"

namespace koltar {
namespace {

constexpr char kNoLinkedInfo[] = "Kapcsolt információ nem jeleníthető meg.";

}  // namespace

void ShowSettlementLink(MMap& map, std::int32_t settlement, const MLinkedInfo::ChooserRunner& choose,
                        WindowHandle owner) {
  const std::int32_t towns = map.townCategory();
  const MPoint* points = towns >= 0 ? map.points()[static_cast<std::size_t>(towns)] : nullptr;
  if (!map.linkedInfo().HasStore() || !points || settlement < 0 || settlement >= points->recordCount()) {
    ShowMessage(kNoLinkedInfo, MessageKind::Exclamation, owner);
    return;
  }
  (void)map.linkedInfo().OpenLink(points->name(), points->GetObjectName(settlement), Launcher(), choose,
                                  owner);
}

bool PlanBatchRoutes(MMap& map, const OptPathBatch::FileChoosers& choosers, const BatchDialogRunner& run,
                     WindowHandle owner) {
  MOptPath* net = map.roadNetwork();
  if (!net || !map.CheckRouteCategories(owner)) return false;
  const PointSettlements towns = map.Settlements();
  const RoadData roads = map.Roads();
  OptPathBatch dialog(*net, towns, roads, choosers, owner);
  if (run) run(dialog);
  dialog.Close();
  return true;
}

}  // namespace koltar
