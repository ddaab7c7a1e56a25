#pragma once
// The bytes of small node and edge files and road records, for tests that load a road
// network's tables from files.

#include <cstdint>
#include <string>
#include <vector>

#include "route/road_data.h"

namespace koltar::test {

struct FileEdge {
  std::int32_t from, to, road, length;
};

// EDGEFILE records, in the order given.
std::string EdgeBytes(const std::vector<FileEdge>& edges);
// NODEFILE records: the settlement index of every node.
std::string NodeBytes(const std::vector<std::int32_t>& records);
// Road records (line category DATAFILE) with the given layers and nothing else.
std::vector<std::uint8_t> RoadRecords(const std::vector<std::int16_t>& layers);
// A view of such records, without points.
RoadData Roads(const std::vector<std::uint8_t>& records);

}  // namespace koltar::test
