#pragma once
// A consistency check of a map on disk: every record of every category file read back
// and checked against the others (name offsets inside the name table, coordinate runs
// inside COORDFILE, bounding rectangles, layer numbers, the road graph's node and road
// indices and its order), and the connections and symbol files that the .map names.

#include <string>
#include <vector>

namespace koltar::import {

struct MapCheckCounts {
  long long points = 0, lines = 0, areas = 0, texts = 0, nodes = 0, edges = 0;
};

// The problems found in the map named by the model file name (code page 1250); empty
// when it is consistent. At most `limit` problems are listed.
std::vector<std::string> CheckMap(const std::string& mapFile, MapCheckCounts* counts = nullptr,
                                  int limit = 50);

}  // namespace koltar::import
