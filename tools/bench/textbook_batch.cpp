// The floor that `koltar-cli batch` is measured against: a program that reads the same
// map files (through the map object, as koltar-cli does, without a display), reads
// the same end-point file, finds each block's settlements through a hash table, runs
// a textbook binary-heap Dijkstra (tools/bench/textbook_dijkstra.h) per leg, walks the
// path and lists the settlements it passes with their running totals.
//
//   textbook_batch MAPFILE ROUTES [--criterion distance|time|cost]
//
// Prints the listed lines (code page 1250) and, on standard error, the route count.

#include <cstdio>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "map/mmap.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "tools/bench/textbook_dijkstra.h"

namespace koltar {
namespace {

int Run(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: textbook_batch MAPFILE ROUTES [--criterion distance|time|cost]\n", stderr);
    return 2;
  }
  int criterion = -1;
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string value = argv[i + 1];
    if (std::string(argv[i]) == "--criterion")
      criterion = value == "time" ? kCriterionTime : value == "cost" ? kCriterionCost : kCriterionDistance;
  }
  Program().pixel = PixelSize{};
  MMap map(ModelFileName(std::filesystem::path(argv[1])));
  MOptPath* net = map.roadNetwork();
  if (!net || !map.CheckRouteCategories()) return 1;
  if (criterion < 0) criterion = net->costTable().criterion();
  net->ComputeEdgeWeights(map.Roads());
  const RoadGraph& graph = net->graph();
  const PointSettlements towns = map.Settlements();

  // Name -> node: the first settlement of the name, its first node.
  std::vector<std::int32_t> nodeOf(static_cast<std::size_t>(towns.Count()), -1);
  for (std::int32_t n = graph.nodeCount() - 1; n >= 0; --n) {
    const std::int32_t s = graph.NodeRecord(n);
    if (s >= 0 && s < towns.Count()) nodeOf[static_cast<std::size_t>(s)] = n;
  }
  std::unordered_map<std::string, std::int32_t> byName;
  for (std::int32_t s = 0; s < towns.Count(); ++s) byName.emplace(towns.NameWithHouseNumbers(s), nodeOf[s]);

  std::string text;
  if (!ReadBatchSource(ModelFileName(std::filesystem::path(argv[2])), text)) return 1;
  const std::vector<std::string> lines = SplitTextLines(text);

  TextbookDijkstra dijkstra(graph.nodeCount(), graph.edgeTable());
  std::vector<std::int32_t> path;
  std::vector<std::int32_t> points;
  std::string out;
  int routes = 0;
  const auto plan = [&] {
    float distance = 0, time = 0, cost = 0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
      dijkstra.Query(points[i], points[i + 1], criterion, path);
      for (const std::int32_t k : path) {
        const EdgeEntry& e = graph.edge(k);
        distance = AddWeight(distance, e.distanceWeight);
        time = AddWeight(time, e.timeWeight);
        cost = AddWeight(cost, e.costWeight);
        const std::int32_t s = graph.SettlementOfNode(e.to, towns);
        if (s >= 0)
          out += StringPrintf("  %-30.30s %5.1f  %s  %6.1lf\n", towns.NameWithHouseNumbers(s).c_str(),
                              distance / 1000.0, FormatRouteTime(time).c_str(), static_cast<double>(cost));
      }
    }
    ++routes;
    points.clear();
  };
  for (const std::string& line : lines) {
    if (!line.empty() && line[0] == '[') {
      if (points.size() >= 2) plan();
      points.clear();
      out += line + "\n";
    } else if (!line.empty()) {
      const auto found = byName.find(line);
      if (found != byName.end() && found->second >= 0) points.push_back(found->second);
    }
  }
  if (points.size() >= 2) plan();
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fprintf(stderr, "textbook_batch: %d routes\n", routes);
  return 0;
}

}  // namespace
}  // namespace koltar

int main(int argc, char** argv) { return koltar::Run(argc, argv); }
