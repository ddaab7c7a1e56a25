#pragma once
// The route search written as plainly as its rules state it, as the reference the fast
// search must agree with: the open list is an array sorted by value in descending
// order, a new entry is placed by a halving search, the first entry of the node being
// expanded is removed by a scan from the array's start, nodes are taken from the end,
// every taken entry is expanded, and each step's edge is found by scanning the whole
// edge table from its first edge. Quadratic on large networks; for tests and the
// benchmark only.

#include <cstdint>
#include <vector>

#include "route/route_records.h"

namespace koltar::reference {

// Fills `steps` (empty when the target is not reached or is the start) and, when
// given, `labels` with the labels at the end of the search. The table must be sorted
// by from node, with every node index inside the table. Returns 0.
int LiteralFindShortestPath(std::int32_t start, std::int32_t target, std::int32_t nodeCount,
                            std::int32_t edgeCount, const EdgeEntry* edges, int criterion,
                            std::vector<RouteStep>& steps, std::vector<NodeLabel>* labels = nullptr);

// The halving search of the literal open list: the index at which `value` is inserted
// into `list` (sorted by the criterion's value, descending).
std::int32_t LiteralInsertPosition(const std::vector<OpenListEntry>& list, float value, int criterion);

}  // namespace koltar::reference
