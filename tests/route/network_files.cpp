#include "tests/route/network_files.h"

#include "geometry/records.h"
#include "platform/binary.h"

namespace koltar::test {

std::string EdgeBytes(const std::vector<FileEdge>& edges) {
  std::string out(edges.size() * EdgeRecord::kSize, '\0');
  for (std::size_t i = 0; i < edges.size(); ++i) {
    char* r = out.data() + i * EdgeRecord::kSize;
    WriteI32(r + EdgeRecord::kFrom, edges[i].from);
    WriteI32(r + EdgeRecord::kTo, edges[i].to);
    WriteI32(r + EdgeRecord::kRoad, edges[i].road);
    WriteI32(r + EdgeRecord::kLength, edges[i].length);
  }
  return out;
}

std::string NodeBytes(const std::vector<std::int32_t>& records) {
  std::string out(records.size() * NodeRecord::kSize, '\0');
  for (std::size_t i = 0; i < records.size(); ++i) WriteI32(out.data() + i * NodeRecord::kSize, records[i]);
  return out;
}

std::vector<std::uint8_t> RoadRecords(const std::vector<std::int16_t>& layers) {
  std::vector<std::uint8_t> out(layers.size() * PolyRecord::kSize, 0);
  for (std::size_t i = 0; i < layers.size(); ++i) WriteI16(out.data() + i * PolyRecord::kSize, layers[i]);
  return out;
}

RoadData Roads(const std::vector<std::uint8_t>& records) {
  return RoadData{.records = records.data(),
                  .recordCount = static_cast<std::int32_t>(records.size() / PolyRecord::kSize)};
}

}  // namespace koltar::test
