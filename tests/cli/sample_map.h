#pragma once
// Writes a small map with every kind of drawing into a folder: areas filled solid and
// hatched, roads with one, two and three strokes (one of them dashed) that cross, town
// symbols with a transparent colour and village symbols without, streets with house
// numbers, labels at 0, 45 and 90 degrees, and a road network over the roads between
// the towns with a batch end-point file (routes.dat). The command-line tests read,
// render and plan on it; it is also the map to look at when drawing changes.
//
//   koltar-sample-map FOLDER   (tests/cli/sample_map_main.cpp)

#include <filesystem>

namespace koltar {

// Writes the sample map (map.map with its files and routes.dat) into the folder; false
// when a file cannot be written.
bool WriteSampleMap(const std::filesystem::path& folder);

}  // namespace koltar
