#include "route/route_records.h"

#include "platform/binary.h"

namespace koltar {

EdgeEntry EdgeTable::Entry(std::int32_t k) const {
  const std::uint8_t* r = Record(k);
  EdgeEntry e;
  e.from = EdgeRecord::From(r);
  e.to = EdgeRecord::To(r);
  e.road = EdgeRecord::Road(r);
  e.length = EdgeRecord::Length(r);
  if (weights != nullptr) {
    e.distanceWeight = weights[k].distance;
    e.timeWeight = weights[k].time;
    e.costWeight = weights[k].cost;
  }
  return e;
}

std::vector<EdgeEntry> DecodeEdges(const EdgeTable& table) {
  std::vector<EdgeEntry> edges;
  edges.reserve(static_cast<std::size_t>(table.count > 0 ? table.count : 0));
  for (std::int32_t k = 0; k < table.count; ++k) edges.push_back(table.Entry(k));
  return edges;
}

EdgeList::EdgeList(const EdgeEntry* edges, std::int32_t count)
    : records_(static_cast<std::size_t>(count > 0 ? count : 0) * EdgeRecord::kSize),
      weights_(static_cast<std::size_t>(count > 0 ? count : 0)) {
  for (std::int32_t k = 0; k < count; ++k) {
    std::uint8_t* r = records_.data() + static_cast<std::size_t>(k) * EdgeRecord::kSize;
    WriteI32(r + EdgeRecord::kFrom, edges[k].from);
    WriteI32(r + EdgeRecord::kTo, edges[k].to);
    WriteI32(r + EdgeRecord::kRoad, edges[k].road);
    WriteI32(r + EdgeRecord::kLength, edges[k].length);
    weights_[static_cast<std::size_t>(k)] =
        EdgeWeights{edges[k].distanceWeight, edges[k].timeWeight, edges[k].costWeight};
  }
}

}  // namespace koltar
