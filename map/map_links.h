#pragma once
// Linked information and batch planning as the map's commands use them: the settlement
// of a route list entry opened through the map's linked information, and the batch
// planning dialog run on the map's road network.

#include <cstdint>
#include <functional>

#include "linkedinfo/linkedinfo.h"
#include "platform/messages.h"
#include "route/opt_path_batch.h"

namespace koltar {

class MMap;

// Opens the linked information of settlement object `settlement` (of the settlement
// category, TOWNCATEGORY), named as the name tool names it (with its house numbers),
// through MLinkedInfo::OpenLink with the installed launcher. Without a linked-information
// file, a settlement category or such an object, shows "Kapcsolt információ nem
// jeleníthető meg." (exclamation icon). The route list's double click does this.
void ShowSettlementLink(MMap& map, std::int32_t settlement, const MLinkedInfo::ChooserRunner& choose,
                        WindowHandle owner = nullptr);

// Shows the batch planning dialog; it returns when the dialog was closed ("Kész").
using BatchDialogRunner = std::function<void(OptPathBatch&)>;

// Command 1023: checks that the map names a settlement and a road category (the
// messages of MMap::CheckRouteCategories), runs the dialog on the road network and
// stores its settings when it closes (OptPathBatch::Close). False when it did not run.
bool PlanBatchRoutes(MMap& map, const OptPathBatch::FileChoosers& choosers, const BatchDialogRunner& run,
                     WindowHandle owner = nullptr);

}  // namespace koltar
